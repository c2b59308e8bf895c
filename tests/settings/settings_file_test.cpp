// The settings file: the field reading rules, damaged files, and loading and saving both written
// forms in a real folder.
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include "storage/temp_dir.h"

namespace quorvin {
namespace {

using testing::slurp;
using testing::spit;

// A file with the usual labels and the four value lines exactly as given.
std::string fileWith(const std::string& side, const std::string& colours,
                     const std::string& pattern, const std::string& continued) {
    return "\"NIVEL (5-15):\"\r\n" + side + "\r\n\"COLORES (2-4):\"\r\n" + colours +
           "\r\n\"INICIO (0-8):\"\r\n" + pattern + "\r\n\"CONTINUADO (0/1):\"\r\n" + continued +
           "\r\n";
}

struct ReadCase {
    const char* what;
    std::string bytes;
    Settings expected;
    bool damaged;
};

void expectReads(const ReadCase& c) {
    const ParsedSettings parsed = parseSettings(c.bytes);
    EXPECT_EQ(parsed.settings, c.expected) << c.what;
    EXPECT_EQ(parsed.damaged, c.damaged) << c.what;
}

TEST(SettingsParse, ReadsFieldsByTheRules) {
    const ReadCase cases[] = {
        {"continued \"1 \" is off", fileWith("7", "2", "0", "\"1 \""), {7, 2, 0, false}, false},
        {"bare continued 1 and a blank is on",
         fileWith("7", "2", "0", "1 "),
         {7, 2, 0, true},
         false},
        {"side with letters after it", fileWith("12abc", "2", "0", "1"), {12, 2, 0, true}, false},
        {"blanks inside the side", fileWith("\"1 2\"", "2", "0", "1"), {12, 2, 0, true}, false},
        {"side 7.5 rounds to even 8", fileWith("7.5", "2", "0", "1"), {8, 2, 0, true}, false},
        {"colours 2.5 rounds to 2", fileWith("7", "2.5", "0", "1"), {7, 2, 0, true}, false},
        {"colours with blanks around", fileWith("7", "\" 3 \"", "0", "1"), {7, 3, 0, true}, false},
        {"pattern 5.5 rounds to 6", fileWith("7", "2", "5.5x", "1"), {7, 2, 6, true}, false},
        {"text after the quote", fileWith("\"9\"xyz", "2", "0", "1"), {9, 2, 0, true}, false},
        {"labels may hold commas and any text",
         "\"a, b\"\r\n9\r\n\"\"\r\n3\r\n\"c\"\r\n2\r\n\"d,\"\r\n0\r\n",
         {9, 3, 2, false},
         false},
        {"line feeds alone", "\"N\"\n10\n\"C\"\n4\n\"I\"\n8\n\"K\"\n1\n", {10, 4, 8, true}, false},
        {"commas between items", "\"N\",11,\"C\",3,\"I\",7,\"K\",\"1\"", {11, 3, 7, true}, false},
    };
    for (const ReadCase& c : cases)
        expectReads(c);
}

// Each damaged value falls back to its own default (7, 2, 0, on); the rest of the file holds.
TEST(SettingsParse, DamagedValuesFallBackOneByOne) {
    const ReadCase cases[] = {
        {"side without a number", fileWith("abc", "3", "4", "0"), {7, 3, 4, false}, true},
        {"side 1", fileWith("1", "3", "4", "0"), {7, 3, 4, false}, true},
        {"side 4", fileWith("\"4\"", "3", "4", "0"), {7, 3, 4, false}, true},
        {"side 4.5 rounds to 4", fileWith("4.5", "3", "4", "0"), {7, 3, 4, false}, true},
        {"side 16", fileWith("16", "3", "4", "0"), {7, 3, 4, false}, true},
        {"side 15.5 rounds to 16", fileWith("15.5", "3", "4", "0"), {7, 3, 4, false}, true},
        {"side far too large", fileWith("1e300", "3", "4", "0"), {7, 3, 4, false}, true},
        {"colours no number", fileWith("9", "abc", "4", "0"), {9, 2, 4, false}, true},
        {"colours with letters after", fileWith("9", "3abc", "4", "0"), {9, 2, 4, false}, true},
        {"colours infinite", fileWith("9", "inf", "4", "0"), {9, 2, 4, false}, true},
        {"colours 5", fileWith("9", "5", "4", "0"), {9, 2, 4, false}, true},
        {"colours 4.5 rounds to 4", fileWith("9", "4.5", "4", "0"), {9, 4, 4, false}, false},
        {"pattern 9", fileWith("9", "3", "9", "0"), {9, 3, 0, false}, true},
        {"everything out of range", fileWith("0", "9", "99", "1"), {7, 2, 0, true}, true},
        {"cut after the colours", "\"N\"\r\n12\r\n\"C\"\r\n4\r\n", {12, 4, 0, true}, true},
        {"empty file", "", Settings{}, true},
        {"binary junk", std::string("\0\xff\x01\"", 4), Settings{}, true},
    };
    for (const ReadCase& c : cases)
        expectReads(c);
}

// Every setting the dialog can choose reads back from both written forms.
TEST(SettingsParse, EverySettingReadsBackInBothForms) {
    for (int i = 0; i < 11 * 3 * 9 * 2 * 2; ++i) {
        const Settings settings{5 + i % 11, 2 + i / 11 % 3, i / 33 % 9, i / 297 % 2 == 1};
        const ParsedSettings parsed = parseSettings(formatSettings(settings, i / 594 == 1));
        ASSERT_EQ(parsed.settings, settings) << i;
        ASSERT_FALSE(parsed.damaged) << i;
    }
}

// A missing file is written with the quoted defaults; an existing one, damaged or not, is read
// and left as it is; the dialog's save writes bare numbers that load back.
TEST(SettingsFile, LoadsAndSavesInARealFolder) {
    testing::TempDir dir;
    const std::string dataPath = dir.path() + "/";
    const std::string path = dir.file("Quorvin.inf");
    const LoadedSettings first = loadSettings(dataPath);
    EXPECT_EQ(first.settings, Settings{});
    EXPECT_FALSE(first.writeFailed() || first.damaged);
    EXPECT_EQ(first.readStatus, FileStatus::Ok);
    EXPECT_EQ(slurp(path), "\"NIVEL (5-15):\"\r\n\"7\"\r\n\"COLORES (2-4):\"\r\n\"2\"\r\n"
                           "\"INICIO (0-8):\"\r\n\"0\"\r\n\"CONTINUADO (0/1):\"\r\n\"1\"\r\n");

    EXPECT_EQ(saveSettings(dataPath, Settings{13, 3, 4, false}), FileStatus::Ok);
    EXPECT_EQ(slurp(path), "\"NIVEL (5-15):\"\r\n13\r\n\"COLORES (2-4):\"\r\n3\r\n"
                           "\"INICIO (0-8):\"\r\n4\r\n\"CONTINUADO (0/1):\"\r\n0\r\n");
    EXPECT_EQ(loadSettings(dataPath).settings, (Settings{13, 3, 4, false}));

    const std::string damaged = fileWith("13", "abc", "6", "0");
    spit(path, damaged);
    const LoadedSettings loaded = loadSettings(dataPath);
    EXPECT_EQ(loaded.settings, (Settings{13, 2, 6, false}));
    EXPECT_TRUE(loaded.damaged);
    EXPECT_EQ(slurp(path), damaged);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"Quorvin.inf"});
}

} // namespace
} // namespace quorvin
