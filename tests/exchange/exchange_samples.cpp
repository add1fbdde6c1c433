#include "exchange_samples.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

namespace wordloom::exchange::test {

namespace {

Unit& AddUnit(Catalog& catalog, std::string source, std::string target, UnitState state) {
    Unit unit;
    unit.source = std::move(source);
    unit.target = std::move(target);
    unit.state = state;
    catalog.units.push_back(std::move(unit));
    return catalog.units.back();
}

} // namespace

Catalog SampleCatalog() {
    Catalog catalog;
    catalog.sourceLanguage = "English";
    catalog.targetLanguage = "German";
    catalog.project = "Demo";
    const auto add = [&catalog](std::string source, std::string target, UnitState state) -> Unit& {
        return AddUnit(catalog, std::move(source), std::move(target), state);
    };
    Unit& ok = add("&Open file", "Datei ö&ffnen", UnitState::Translated);
    ok.places = {{"Demo", "Main.dfm", 12, "MainForm.OpenButton", "Caption"},
                 {"Demo", "Sub Dir/Other.dfm", 40, "OtherForm.OpenItem", "Caption"}};
    ok.notes = {"Keep it short"};
    Unit& apostrophe = add("Don't save", "Nicht speichern", UnitState::Suggested);
    apostrophe.spFront = 2;
    apostrophe.spEnd = 1;
    apostrophe.places = {{"Demo", "Main.pas", 88, "Main", ""}};
    add("Line one\r\nLine two\r\n\"Quoted\" and back\\slash", "Zeile eins\r\nZeile zwei\r\n\"Zitat\" und \\",
        UnitState::Reviewed);
    add("File %s not found (%0:d of %d)", "Datei %s nicht gefunden (%0:d von %d)", UnitState::Translated);
    add("打开文件", "Открыть файл", UnitState::Translated);
    add("Untranslated text", "", UnitState::New);
    add("TButton", "", UnitState::DontTranslate);
    add("Only\nline feeds\tand tab", "Nur\nZeilenvorschübe\tund Tab", UnitState::Translated);
    std::string longText;
    std::string longTarget;
    for (int i = 0; longText.size() < 4000; ++i) {
        longText += "word" + std::to_string(i) + " ";
        longTarget += "Wort" + std::to_string(i) + " ";
    }
    longText.resize(4000);
    longText.back() = 'x';
    longTarget.back() = 'y';
    add(longText, longTarget, UnitState::Translated);
    add("Bell\x07 and escape\x1b inside", "Glocke\x07 und Escape\x1b darin", UnitState::Translated);
    // Mixed content that begins, ends or goes on with placeholders must not gain the indentation.
    add("\x01"
        "Bell at both ends\x07",
        "\x01"
        "Glocke an beiden\x02\x03Enden\x07",
        UnitState::Translated);
    return catalog;
}

Catalog VariedCatalog() {
    Catalog catalog = SampleCatalog();
    const auto add = [&catalog](std::string source, std::string target, UnitState state) -> Unit& {
        return AddUnit(catalog, std::move(source), std::move(target), state);
    };
    Unit& markup = add("<tag> & \"quote\" 'apos' ]]> >", "<Tag> & \"Zitat\" 'a' ]]>", UnitState::Translated);
    markup.places = {
        {"Other \"&<>' \t\r\n\x07 x", "Fo<r>m&\".dfm\t\x01", 3, "Form1.Label&<>\"'\t\n\r\x05", "Cap\ttion"}};
    markup.notes = {"note with \x07 bell\r\n and <&>", "", "\x02", "plain"};
    markup.spFront = -3;
    markup.spEnd = 1234567890123LL;
    add("  leading and trailing  ", "", UnitState::Suggested);
    add("", "", UnitState::Suggested);
    add("", "x", UnitState::Reviewed);
    add("\x01\x02\x03", "\x04", UnitState::Translated);
    add("a\x01",
        "\x01"
        "b",
        UnitState::Translated);
    add("x\x7f\xc3\xa4 \xff\xfe invalid", "\r", UnitState::Translated);
    add("Same", "Eins", UnitState::Translated);
    add("Same", "Zwei", UnitState::Suggested);
    add("Same", "Drei", UnitState::DontTranslate);
    Unit& noPath = add("With place no path", "Mit", UnitState::Reviewed);
    noPath.places = {{"", "file.pas", 0, "", ""}, {"Third", "", -1, "Comp", ""}};
    Unit& third = add("In third", "", UnitState::DontTranslate);
    third.places = {{"Third", "a.dfm", 1, "F.B", "Hint"}};
    Unit& nul = add(std::string("nul\0inside", 10), std::string("n\0i", 3), UnitState::Translated);
    nul.places = {{"", std::string("f\0g", 3), 2, "", ""}};
    return catalog;
}

std::string LfOnly(std::string text) {
    for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;)
        text.erase(at, 1);
    return text;
}

int RunProgram(const std::string& commandLine, std::string* output) {
    FILE* pipe = popen((commandLine + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return -1;
    std::array<char, 4096> buffer{};
    std::string text;
    std::size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        text.append(buffer.data(), n);
    const int status = pclose(pipe);
    if (output != nullptr)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HaveProgram(const std::string& name) {
    if (name.front() == '/')
        return std::filesystem::exists(name);
    return RunProgram("command -v " + name + " >/dev/null") == 0;
}

std::string LconvertPath() {
    for (const char* path : {"/usr/lib/qt6/bin/lconvert", "/usr/bin/lconvert6"})
        if (std::filesystem::exists(path))
            return path;
    return HaveProgram("lconvert") ? "lconvert" : std::string();
}

} // namespace wordloom::exchange::test
