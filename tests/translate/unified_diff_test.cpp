// The unified diff is judged by GNU patch: applied to the old text it must give the new one.
#include "support/file_read.h"
#include "support/temp_dir.h"
#include "translate/unified_diff.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

namespace wordloom {
namespace {

/// Applies `diff` to `before` with the patch program; the patched text.
std::string Patched(const std::string& before, const std::string& diff) {
    TempDir dir;
    const std::string target = dir.Write("file.txt", before);
    const std::string patch = dir.Write("change.diff", diff);
    const std::string command = "patch --quiet --batch --binary " + target + " " + patch + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        return "(patch refused the diff)";
    return ReadBytes(target);
}

bool HavePatch() {
    return std::system("patch --version >/dev/null 2>&1") == 0;
}

TEST(UnifiedDiff, EqualTextsGiveNoDiff) {
    EXPECT_EQ(UnifiedDiff("a\nb\n", "a\nb\n", "x", "y"), "");
}

TEST(UnifiedDiff, OneChangedLineWithItsContext) {
    const std::string before = "1\n2\n3\n4\n5\n6\n7\n8\n9\n";
    const std::string after = "1\n2\n3\n4\nfive\n6\n7\n8\n9\n";
    EXPECT_EQ(UnifiedDiff(before, after, "a/F.pas", "b/F.pas"),
              "--- a/F.pas\n+++ b/F.pas\n@@ -2,7 +2,7 @@\n 2\n 3\n 4\n-5\n+five\n 6\n 7\n 8\n");
}

TEST(UnifiedDiff, PatchTurnsTheOldTextIntoTheNew) {
    if (!HavePatch())
        GTEST_SKIP() << "the patch program is not installed";
    struct Case {
        const char* name;
        std::string before;
        std::string after;
    };
    const std::vector<Case> cases = {
        {"CR LF lines", "object F\r\n  Caption = 'Open'\r\nend\r\n",
         "object F\r\n  Caption = 'Auf'\r\nend\r\n"},
        {"no line end at the end", "a\nb\nc", "a\nB\nc"},
        {"line end added at the end", "a\nb", "a\nb\n"},
        {"everything new", "", "x\ny\n"},
        {"everything gone", "x\ny\n", ""},
        {"changes far apart", std::string(20, 'a') + "\n" + "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\nz\n",
         "A\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\nZ\n"},
        {"lines moved", "a\nb\nc\nd\ne\n", "c\nd\na\nb\ne\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Patched(c.before, UnifiedDiff(c.before, c.after, "a", "b")), c.after) << c.name;

    // Random edits of a long text: insertions, removals, changes, in clusters and alone.
    std::mt19937 random(17);
    for (int round = 0; round < 20; ++round) {
        std::string before;
        std::string after;
        for (int line = 0; line < 200; ++line) {
            const std::string text = "line " + std::to_string(line) + "\r\n";
            before += text;
            switch (random() % 12) {
            case 0:
                break; // removed
            case 1:
                after += "new " + std::to_string(line) + "\r\n" + text;
                break;
            case 2:
                after += "changed " + std::to_string(line) + "\r\n";
                break;
            default:
                after += text;
            }
        }
        EXPECT_EQ(Patched(before, UnifiedDiff(before, after, "a", "b")), after) << "round " << round;
    }
}

} // namespace
} // namespace wordloom
