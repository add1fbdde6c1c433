// Translation runs as a whole: all or nothing, the journal, undo, kept form formats, dry runs.
#include "strings_db/run_journal.h"
#include "translate/content_hash.h"
#include "translate/run_history.h"
#include "translate/run_store.h"
#include "translate/translate_fixture.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace wordloom {
namespace {

const std::string kForm = "object MainForm: TMainForm\r\n"
                          "  Caption = 'Open file'\r\n"
                          "  object Label1: TLabel\r\n"
                          "    Caption = 'Close'\r\n"
                          "  end\r\n"
                          "end\r\n";
const std::string kOtherForm = "object Other: TOther\r\n  Caption = 'Close'\r\n  Hint = 'Unknown'\r\nend\r\n";
const std::string kUnit = "unit Main;\r\nconst S = 'Open file'; T = 'Later';\r\nend.\r\n";
const std::string kQuietUnit = "unit Quiet;\r\nconst S = 'Nobody knows me';\r\nend.\r\n";

class TranslateRunTest : public TranslateFixture {
protected:
    void SetUp() override {
        TranslateFixture::SetUp();
        Add("Open file", "Datei \xc3\xb6"
                         "ffnen");
        Add("Close", "Schlie\xc3\x9f"
                     "en");
        Add("Later", "");
        journal = OpenSqliteRunJournal(tablePath);
        options.journal = journal.get();
        originals = {{"Main.dfm", kForm},
                     {"Bin.dfm", TextToBinaryForm(kOtherForm)},
                     {"Main.pas", kUnit},
                     {"Quiet.pas", kQuietUnit}};
    }

    void WriteOriginals() {
        for (const auto& [name, content] : originals)
            Write(name, content);
    }
    /// True when every file holds its original and no backup was made.
    ::testing::AssertionResult Untouched() const {
        for (const auto& [name, content] : originals) {
            if (Read(name) != content)
                return ::testing::AssertionFailure() << name << " was changed";
            if (Exists(BackupPath(File(name))))
                return ::testing::AssertionFailure() << name << " got a backup";
        }
        return ::testing::AssertionSuccess();
    }
    TranslateSummary RunWith() { return RunTranslateCommand(*table, settings, host, options); }
    int RunKilledAt(int killAt);

    std::unique_ptr<RunJournal> journal;
    TranslateOptions options;
    std::map<std::string, std::string> originals;
};

TEST_F(TranslateRunTest, FilesWithNothingToChangeAreNeitherRewrittenNorBackedUp) {
    WriteOriginals();
    struct stat before {};
    ASSERT_EQ(::stat(File("Quiet.pas").c_str(), &before), 0);
    const TranslateSummary summary = RunWith();
    ASSERT_FALSE(summary.failed) << summary.failure;
    EXPECT_EQ(summary.formFilesTranslated, 2);
    EXPECT_EQ(summary.unitFilesTranslated, 1);
    EXPECT_EQ(summary.unchanged, std::vector<std::string>{"Quiet.pas"});
    EXPECT_EQ(Read("Quiet.pas"), kQuietUnit);
    EXPECT_FALSE(Exists(File("Quiet.~pa")));
    struct stat after {};
    ASSERT_EQ(::stat(File("Quiet.pas").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(Read("Main.~pa"), kUnit);
    // Texts met without a translation, each once: an empty translation counts as none.
    std::vector<std::string> untranslated = summary.untranslatedTexts;
    std::sort(untranslated.begin(), untranslated.end());
    EXPECT_EQ(untranslated, (std::vector<std::string>{"Later", "Nobody knows me", "Unknown"}));
}

TEST_F(TranslateRunTest, ASecondRunKeepsTheFirstRunsOriginalsAndUndoingBothGivesThemBack) {
    WriteOriginals();
    const TranslateSummary first = RunWith();
    ASSERT_FALSE(first.failed) << first.failure;
    const std::string afterFirst = Read("Main.pas");
    Add("Later", "Sp\xc3\xa4ter");
    const TranslateSummary second = RunWith();
    ASSERT_FALSE(second.failed) << second.failure;
    ASSERT_NE(first.runId, second.runId);
    // The specified backup now holds the first run's result; the run store still has the original.
    EXPECT_EQ(Read("Main.~pa"), afterFirst);
    EXPECT_NE(Read("Main.pas").find("'Sp\xe4ter'"), std::string::npos);
    const std::vector<RunRecord> runs = journal->Runs(settings.projectPath);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].id, second.runId);
    EXPECT_EQ(runs[0].state, run_state::kDone);
    EXPECT_EQ(runs[0].target, "German");
    const std::vector<RunFileRecord> files = journal->Files(second.runId);
    ASSERT_EQ(files.size(), 1u); // only the unit had something new
    EXPECT_EQ(files[0].file, "Main.pas");
    EXPECT_EQ(files[0].sha256Before, Sha256Hex(afterFirst));
    EXPECT_EQ(files[0].sha256After, Sha256Hex(Read("Main.pas")));

    // Undoing the second run first: the first run's files are then as it left them.
    UndoResult undo = UndoRun(*journal, settings.projectPath, second.runId, false);
    EXPECT_EQ(undo.restored, 1);
    EXPECT_EQ(Read("Main.pas"), afterFirst);
    ASSERT_TRUE(LastUndoableRun(*journal, settings.projectPath).has_value());
    EXPECT_EQ(LastUndoableRun(*journal, settings.projectPath)->id, first.runId);
    undo = UndoRun(*journal, settings.projectPath, first.runId, false);
    EXPECT_EQ(undo.restored, 3);
    EXPECT_TRUE(undo.changedSince.empty());
    for (const auto& [name, content] : originals)
        EXPECT_EQ(Read(name), content) << name;
    EXPECT_FALSE(LastUndoableRun(*journal, settings.projectPath).has_value());
    EXPECT_EQ(journal->Runs(settings.projectPath)[1].state, run_state::kUndone);
}

int CrossDeviceLink(const char*, const char*) {
    errno = EXDEV;
    return -1;
}

TEST_F(TranslateRunTest, UndoGivesTheOriginalsBackWithTheStoreOnAnotherFileSystem) {
    WriteOriginals();
    SetStoreLinkForTesting(CrossDeviceLink);
    const TranslateSummary summary = RunWith();
    SetStoreLinkForTesting(nullptr);
    ASSERT_FALSE(summary.failed) << summary.failure;
    const std::vector<RunFileRecord> files = journal->Files(summary.runId);
    ASSERT_EQ(files.size(), 3u);
    for (const RunFileRecord& file : files) {
        struct stat object {};
        struct stat backup {};
        ASSERT_EQ(::stat((project.Path() + "/" + file.backup).c_str(), &object), 0) << file.file;
        ASSERT_EQ(::stat(BackupPath(File(file.file)).c_str(), &backup), 0) << file.file;
        EXPECT_NE(object.st_ino, backup.st_ino) << file.file << " was copied";
    }
    const UndoResult undo = UndoRun(*journal, settings.projectPath, summary.runId, false);
    EXPECT_EQ(undo.restored, 3);
    for (const auto& [name, content] : originals)
        EXPECT_EQ(Read(name), content) << name;
}

TEST_F(TranslateRunTest, UndoLeavesAFileChangedSinceAloneUnlessForced) {
    WriteOriginals();
    const TranslateSummary run = RunWith();
    ASSERT_FALSE(run.failed) << run.failure;
    Write("Main.pas", "edited by the user\r\n");
    UndoResult undo = UndoRun(*journal, settings.projectPath, run.runId, false);
    EXPECT_EQ(undo.changedSince, std::vector<std::string>{"Main.pas"});
    EXPECT_EQ(undo.restored, 2);
    EXPECT_EQ(Read("Main.pas"), "edited by the user\r\n");
    EXPECT_EQ(Read("Main.dfm"), kForm);
    // The run stays undoable: the user may still say the edit can go.
    EXPECT_EQ(journal->Runs(settings.projectPath)[0].state, run_state::kDone);
    undo = UndoRun(*journal, settings.projectPath, run.runId, true);
    EXPECT_EQ(undo.restored, 1);
    EXPECT_EQ(Read("Main.pas"), kUnit);
    EXPECT_EQ(journal->Runs(settings.projectPath)[0].state, run_state::kUndone);
}

/// Holds an exclusive lock on a file from another process while alive.
class ForeignLock {
public:
    explicit ForeignLock(const std::string& path) {
        int ready[2];
        if (::pipe(ready) != 0 || ::pipe(m_release) != 0)
            return;
        m_child = ::fork();
        if (m_child == 0) {
            const int fd = ::open(path.c_str(), O_RDONLY);
            const char state = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? 'L' : 'x';
            [[maybe_unused]] ssize_t ignored = ::write(ready[1], &state, 1);
            char done;
            ignored = ::read(m_release[0], &done, 1);
            ::_exit(0);
        }
        char state = 0;
        m_locked = ::read(ready[0], &state, 1) == 1 && state == 'L';
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~ForeignLock() {
        [[maybe_unused]] ssize_t ignored = ::write(m_release[1], "x", 1);
        ::waitpid(m_child, nullptr, 0);
        ::close(m_release[0]);
        ::close(m_release[1]);
    }
    bool Locked() const { return m_locked; }

private:
    int m_release[2] = {-1, -1};
    pid_t m_child = -1;
    bool m_locked = false;
};

TEST_F(TranslateRunTest, AReadOnlyOrLockedFileAnywhereLeavesEveryFileUntouched) {
    for (const std::string blocked : {"Main.dfm", "Bin.dfm", "Main.pas", "Quiet.pas"}) {
        for (const bool locked : {false, true}) {
            SCOPED_TRACE(blocked + (locked ? " locked" : " read-only"));
            WriteOriginals();
            const std::string path = File(blocked);
            std::unique_ptr<ForeignLock> lock;
            if (locked) {
                lock = std::make_unique<ForeignLock>(path);
                ASSERT_TRUE(lock->Locked());
            } else {
                ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
            }
            host.Clear();
            const TranslateSummary summary = RunWith();
            lock.reset();
            ::chmod(path.c_str(), 0644);
            EXPECT_TRUE(summary.failed);
            EXPECT_NE(summary.failure.find("Cannot open file " + path), std::string::npos) << summary.failure;
            EXPECT_EQ(summary.formFilesTranslated + summary.unitFilesTranslated, 0);
            EXPECT_TRUE(Untouched());
            EXPECT_TRUE(journal->Runs(settings.projectPath).empty());
            EXPECT_FALSE(host.Busy());
            EXPECT_TRUE(host.ViewAttached());
        }
    }
}

TEST_F(TranslateRunTest, ATranslationTheUnitsCodePageCannotHoldStopsTheRunBeforeAnyFile) {
    WriteOriginals();
    Write("Main.pas", "unit Main;\r\nconst S = 'Open file'; R = 'Russian';\r\nend.\r\n");
    originals["Main.pas"] = Read("Main.pas");
    Add("Russian", "\xd0\xa0\xd1\x83\xd1\x81\xd1\x81\xd0\xba\xd0\xb8\xd0\xb9");
    const TranslateSummary summary = RunWith();
    EXPECT_TRUE(summary.failed);
    EXPECT_NE(summary.failure.find("cannot be written in code page"), std::string::npos) << summary.failure;
    EXPECT_TRUE(Untouched());
}

int g_renames = 0;
int g_failAt = 0;

void FailingRename(ReplaceStep step, const std::string&) {
    if (step == ReplaceStep::Renamed && ++g_renames == g_failAt)
        throw FileError("No space left on device");
}

TEST_F(TranslateRunTest, AFailureDuringTheReplacementPutsBackEveryFile) {
    // Three files replaced, each with its backup: six renames.
    for (g_failAt = 1; g_failAt <= 6; ++g_failAt) {
        SCOPED_TRACE("failing rename " + std::to_string(g_failAt));
        WriteOriginals();
        for (const auto& [name, content] : originals)
            std::filesystem::remove(BackupPath(File(name)));
        host.Clear();
        g_renames = 0;
        SetReplaceHookForTesting(FailingRename);
        const TranslateSummary summary = RunWith();
        SetReplaceHookForTesting(nullptr);
        EXPECT_TRUE(summary.failed);
        EXPECT_NE(summary.failure.find("No space left on device"), std::string::npos) << summary.failure;
        ASSERT_EQ(host.Errors().size(), 1u);
        for (const auto& [name, content] : originals) {
            EXPECT_EQ(Read(name), content) << name;
            // A backup already in place holds the original: nothing is lost.
            if (Exists(BackupPath(File(name)))) {
                EXPECT_EQ(ReadBytes(BackupPath(File(name))), content) << name;
            }
        }
        EXPECT_EQ(journal->Runs(settings.projectPath).front().state, run_state::kRolledBack);
        EXPECT_EQ(summary.formFilesTranslated + summary.unitFilesTranslated, 0);
    }
}

std::string g_meddled;

bool g_meddleInPlace = false; // instead of appending, writes "UNIT" over the start

void MeddleBeforeRenames(ReplaceStep step, const std::string&) {
    if (step == ReplaceStep::Written && !g_meddled.empty()) {
        // Another program saves the file between its reading and its replacement.
        if (g_meddleInPlace)
            std::ofstream(g_meddled, std::ios::binary | std::ios::in | std::ios::out) << "UNIT";
        else
            std::ofstream(g_meddled, std::ios::binary | std::ios::app) << "// saved meanwhile\r\n";
        g_meddled.clear();
    }
}

TEST_F(TranslateRunTest, AFileChangedMeanwhileStopsTheRunAndKeepsTheChange) {
    WriteOriginals();
    g_meddled = File("Main.pas");
    SetReplaceHookForTesting(MeddleBeforeRenames);
    const TranslateSummary summary = RunWith();
    SetReplaceHookForTesting(nullptr);
    EXPECT_TRUE(summary.failed);
    EXPECT_NE(summary.failure.find("changed meanwhile"), std::string::npos) << summary.failure;
    EXPECT_EQ(Read("Main.pas"), kUnit + "// saved meanwhile\r\n");
    EXPECT_EQ(Read("Main.dfm"), kForm);
    EXPECT_EQ(Read("Bin.dfm"), originals["Bin.dfm"]);
}

TEST_F(TranslateRunTest, AFileSavedInPlaceBeforeAFailedRunIsUndoneRightByTheNextRun) {
    WriteOriginals();
    g_meddled = File("Main.pas");
    g_meddleInPlace = true;
    SetReplaceHookForTesting(MeddleBeforeRenames);
    const TranslateSummary failed = RunWith();
    SetReplaceHookForTesting(nullptr);
    g_meddleInPlace = false;
    ASSERT_TRUE(failed.failed);
    EXPECT_EQ(Read("Main.pas").substr(0, 4), "UNIT");

    // Put back as a new file, as a checkout does.
    std::filesystem::remove(File("Main.pas"));
    Write("Main.pas", kUnit);
    const TranslateSummary summary = RunWith();
    ASSERT_FALSE(summary.failed) << summary.failure;
    const UndoResult undo = UndoRun(*journal, settings.projectPath, summary.runId, false);
    EXPECT_EQ(undo.restored, 3);
    for (const auto& [name, content] : originals)
        EXPECT_EQ(Read(name), content) << name;
}

int g_steps = 0;
int g_killAt = 0;

void KillingHook(ReplaceStep, const std::string&) {
    if (++g_steps == g_killAt)
        ::_exit(7);
}

/// Runs the command with a journal in a child process killed at replacement step `killAt`: the
/// child's exit status (7 when killed, 0 when the run got through), or -1.
int TranslateRunTest::RunKilledAt(int killAt) {
    const pid_t child = ::fork();
    if (child == 0) {
        StringsTable childTable(tablePath, OpenMode::ReadOnly);
        auto childJournal = OpenSqliteRunJournal(tablePath);
        TranslateOptions childOptions;
        childOptions.journal = childJournal.get();
        RecordingHost childHost;
        g_steps = 0;
        g_killAt = killAt;
        SetReplaceHookForTesting(KillingHook);
        RunTranslateCommand(childTable, settings, childHost, childOptions);
        ::_exit(0);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

TEST_F(TranslateRunTest, AKilledRunIsUndoneOnTheNextStart) {
    // Steps of a whole run: three temporary files (two hooks each when written), the sync, six renames.
    int killed = 0;
    for (g_killAt = 1; g_killAt <= 40; ++g_killAt) {
        WriteOriginals();
        for (const auto& [name, content] : originals)
            std::filesystem::remove(BackupPath(File(name)));
        const int status = RunKilledAt(g_killAt);
        ASSERT_GE(status, 0);
        if (status == 0)
            break; // the run got through: every step has been tried
        ++killed;
        SCOPED_TRACE("killed at step " + std::to_string(g_killAt));
        host.Clear();
        EXPECT_LE(RecoverInterruptedRuns(*journal, settings.projectPath, host), 1);
        for (const auto& [name, content] : originals)
            EXPECT_EQ(Read(name), content) << name;
        for (const RunRecord& run : journal->Runs(settings.projectPath))
            EXPECT_NE(run.state, run_state::kRunning);
    }
    EXPECT_GT(killed, 10);
    // The next run itself repairs first: a run killed after its first rename, then run again.
    WriteOriginals();
    // Past the sync and the first renames: some files are replaced.
    ASSERT_EQ(RunKilledAt(13), 7);
    ASSERT_EQ(journal->Runs(settings.projectPath).front().state, run_state::kRunning);
    host.Clear();
    const TranslateSummary summary = RunWith();
    ASSERT_FALSE(summary.failed) << summary.failure;
    EXPECT_EQ(host.Count(RecordingHost::Kind::Report), 1);
    for (const auto& [name, content] : originals) {
        if (name != "Quiet.pas") {
            EXPECT_EQ(ReadBytes(BackupPath(File(name))), content) << name;
        }
    }
}

TEST_F(TranslateRunTest, KeptTextFormsStayTextInTheWritersLayout) {
    options.formFormat = FormFormat::Keep;
    const std::string untranslated = "object Quiet: TQuiet\r\n    Caption  =  'Nothing known'\r\nend";
    Write("Main.dfm", kForm);
    Write("Quiet.dfm", untranslated);
    const std::string binary = Write("Bin.dfm", TextToBinaryForm(kOtherForm));
    settings.includePas = false;
    const TranslateSummary summary = RunWith();
    ASSERT_FALSE(summary.failed) << summary.failure;
    const std::string text = Read("Main.dfm");
    ASSERT_TRUE(IsTextForm(text));
    EXPECT_EQ(text, BinaryFormToText(TextToBinaryForm(text)));
    EXPECT_NE(text.find("Caption = 'Datei "), std::string::npos) << text;
    EXPECT_EQ(Read("Main.~df"), kForm);
    // Nothing translated: byte for byte as it was, in whatever layout.
    EXPECT_EQ(Read("Quiet.dfm"), untranslated);
    EXPECT_FALSE(Exists(File("Quiet.~df")));
    // A binary form stays binary.
    EXPECT_FALSE(IsTextForm(Read("Bin.dfm")));
    EXPECT_NE(BinaryFormToText(Read("Bin.dfm")).find("Schlie"), std::string::npos);

    // The default remains the binary form.
    Write("Main.dfm", kForm);
    options.formFormat = FormFormat::Binary;
    ASSERT_FALSE(RunWith().failed);
    EXPECT_FALSE(IsTextForm(Read("Main.dfm")));
}

TEST_F(TranslateRunTest, ADryRunTellsWhatWouldChangeAndChangesNothing) {
    WriteOriginals();
    options.dryRun = true;
    options.keepTexts = true;
    const TranslateSummary summary = RunWith();
    ASSERT_FALSE(summary.failed) << summary.failure;
    EXPECT_FALSE(summary.confirmed);
    EXPECT_EQ(host.Count(RecordingHost::Kind::Question), 0);
    EXPECT_TRUE(Untouched());
    EXPECT_TRUE(journal->Runs(settings.projectPath).empty());
    EXPECT_FALSE(Exists(project.Path() + "/.wordloom"));
    std::map<std::string, const ChangedFile*> changed;
    for (const ChangedFile& file : summary.changed)
        changed[file.name] = &file;
    ASSERT_EQ(changed.size(), 3u);
    EXPECT_EQ(changed["Main.dfm"]->textsReplaced, 2);
    EXPECT_EQ(changed["Main.pas"]->textsReplaced, 1);
    // Forms are shown in text form, whatever their storage.
    EXPECT_EQ(changed["Bin.dfm"]->before.rfind("object Other: TOther", 0), 0u);
    EXPECT_NE(changed["Bin.dfm"]->after.find("Caption = 'Schlie"), std::string::npos);
    EXPECT_EQ(changed["Main.pas"]->before, kUnit);
    EXPECT_EQ(summary.unchanged, std::vector<std::string>{"Quiet.pas"});
}

TEST_F(TranslateRunTest, PruningKeepsTheNewestRunsAndTheOriginalsTheyNeed) {
    WriteOriginals();
    ASSERT_FALSE(RunWith().failed);
    const std::string firstUnitObject = journal->Files(journal->Runs(settings.projectPath)[0].id)[2].backup;
    Add("Later", "Sp\xc3\xa4ter");
    const TranslateSummary second = RunWith();
    ASSERT_FALSE(second.failed);
    const std::string secondObject = journal->Files(second.runId)[0].backup;
    ASSERT_TRUE(Exists(project.Path() + "/" + firstUnitObject));

    EXPECT_EQ(PruneRuns(*journal, settings.projectPath, 1), 1);
    const std::vector<RunRecord> runs = journal->Runs(settings.projectPath);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].id, second.runId);
    EXPECT_FALSE(Exists(project.Path() + "/" + firstUnitObject));
    EXPECT_TRUE(Exists(project.Path() + "/" + secondObject));
    EXPECT_EQ(RunStore(project.Path() + "/").Read(secondObject), Read("Main.~pa"));
}

TEST_F(TranslateRunTest, ProgressCountsTheFilesOfBothPassesFormsFirst) {
    WriteOriginals();
    const TranslateSummary summary = RunWith();
    ASSERT_FALSE(summary.failed) << summary.failure;
    EXPECT_FALSE(summary.cancelled);
    const std::vector<RecordingHost::ProgressStep>& steps = host.ProgressSteps();
    ASSERT_EQ(steps.size(), 5u);
    // At the end, nothing is left to cancel.
    EXPECT_EQ(steps.back().done, 4);
    EXPECT_EQ(steps.back().total, 4);
    EXPECT_EQ(steps.back().current, "");
    std::vector<std::string> forms;
    std::vector<std::string> units;
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(steps[i].done, static_cast<long long>(i));
        EXPECT_EQ(steps[i].total, 4);
        (i < 2 ? forms : units).push_back(steps[i].current);
    }
    std::sort(forms.begin(), forms.end());
    std::sort(units.begin(), units.end());
    EXPECT_EQ(forms, (std::vector<std::string>{"Bin.dfm", "Main.dfm"}));
    EXPECT_EQ(units, (std::vector<std::string>{"Main.pas", "Quiet.pas"}));
}

TEST_F(TranslateRunTest, CancelBeforeTheReplacementChangesNoFile) {
    // In the form pass, between the passes, in the unit pass, and after the last file.
    for (const int after : {1, 2, 3, 4}) {
        SCOPED_TRACE(after);
        WriteOriginals();
        host = RecordingHost();
        host.cancelAfterProgress = after;
        const TranslateSummary summary = RunWith();
        EXPECT_TRUE(summary.cancelled);
        EXPECT_FALSE(summary.failed) << summary.failure;
        EXPECT_EQ(summary.formFilesTranslated + summary.unitFilesTranslated, 0);
        EXPECT_EQ(host.ProgressSteps().size(), static_cast<std::size_t>(after));
        EXPECT_TRUE(Untouched());
        for (const auto& entry : std::filesystem::directory_iterator(project.Path())) {
            const std::string name = entry.path().filename().string();
            EXPECT_TRUE(!entry.is_regular_file() || name == "Demo.dpr" || originals.count(name) == 1) << name;
        }
        EXPECT_TRUE(journal->Runs(settings.projectPath).empty());
        ASSERT_FALSE(host.StatusTexts().empty());
        EXPECT_EQ(host.StatusTexts().back(), "Cancelled");
        EXPECT_TRUE(host.Errors().empty());
        EXPECT_FALSE(host.Busy());
        EXPECT_TRUE(host.ViewAttached());
    }
    // Not cancelled, the same run changes the files.
    host = RecordingHost();
    const TranslateSummary summary = RunWith();
    EXPECT_FALSE(summary.cancelled);
    EXPECT_EQ(summary.formFilesTranslated + summary.unitFilesTranslated, 3);
}

} // namespace
} // namespace wordloom
