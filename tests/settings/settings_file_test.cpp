// The settings file: both written forms byte for byte, the field reading rules, damaged files,
// and loading and saving in a real folder.
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace quorvin {
namespace {

namespace fs = std::filesystem;

const char* const kDefaultsQuoted = "\"NIVEL (5-15):\"\r\n\"7\"\r\n"
                                    "\"COLORES (2-4):\"\r\n\"2\"\r\n"
                                    "\"INICIO (0-8):\"\r\n\"0\"\r\n"
                                    "\"CONTINUADO (0/1):\"\r\n\"1\"\r\n";

// A file with the usual labels and the four value lines exactly as given.
std::string fileWith(const std::string& side, const std::string& colours,
                     const std::string& pattern, const std::string& continued) {
    return "\"NIVEL (5-15):\"\r\n" + side + "\r\n\"COLORES (2-4):\"\r\n" + colours +
           "\r\n\"INICIO (0-8):\"\r\n" + pattern + "\r\n\"CONTINUADO (0/1):\"\r\n" + continued +
           "\r\n";
}

TEST(SettingsFormat, WritesBothFormsByteForByte) {
    EXPECT_EQ(formatSettings(Settings{}, true), kDefaultsQuoted);
    EXPECT_EQ(formatSettings(Settings{13, 3, 4, false}, false),
              "\"NIVEL (5-15):\"\r\n13\r\n\"COLORES (2-4):\"\r\n3\r\n"
              "\"INICIO (0-8):\"\r\n4\r\n\"CONTINUADO (0/1):\"\r\n0\r\n");
}

TEST(SettingsFormat, EverySettingReadsBackInBothForms) {
    for (int side = 5; side <= 15; ++side) {
        for (int colours = 2; colours <= 4; ++colours) {
            for (int pattern = 0; pattern <= 8; ++pattern) {
                for (bool continued : {false, true}) {
                    for (bool quotedValues : {false, true}) {
                        const Settings settings{side, colours, pattern, continued};
                        const ParsedSettings parsed =
                            parseSettings(formatSettings(settings, quotedValues));
                        ASSERT_EQ(parsed.settings, settings)
                            << side << " " << colours << " " << pattern << " " << continued;
                        ASSERT_FALSE(parsed.damaged);
                    }
                }
            }
        }
    }
}

struct ReadCase {
    const char* what;
    std::string bytes;
    Settings expected;
    bool damaged;
};

TEST(SettingsParse, ReadsFieldsByTheRules) {
    const ReadCase cases[] = {
        {"continued 1 with a blank inside quotes is off",
         fileWith("7", "2", "0", "\"1 \""),
         {7, 2, 0, false},
         false},
        {"continued 0 is off", fileWith("7", "2", "0", "0"), {7, 2, 0, false}, false},
        {"bare continued with a trailing blank is on",
         fileWith("7", "2", "0", "1 "),
         {7, 2, 0, true},
         false},
        {"side with letters after it", fileWith("12abc", "2", "0", "1"), {12, 2, 0, true}, false},
        {"blanks inside the side number",
         fileWith("\"1 2\"", "2", "0", "1"),
         {12, 2, 0, true},
         false},
        {"side 7.5 rounds to even 8", fileWith("7.5", "2", "0", "1"), {8, 2, 0, true}, false},
        {"colours 2.5 rounds to 2", fileWith("7", "2.5", "0", "1"), {7, 2, 0, true}, false},
        {"colours 3.5 rounds to 4", fileWith("7", "3.5", "0", "1"), {7, 4, 0, true}, false},
        {"colours with blanks around", fileWith("7", "\" 3 \"", "0", "1"), {7, 3, 0, true}, false},
        {"pattern 5.5 rounds to 6", fileWith("7", "2", "5.5x", "1"), {7, 2, 6, true}, false},
        {"text after the closing quote is ignored",
         fileWith("\"9\"xyz", "2", "0", "1"),
         {9, 2, 0, true},
         false},
        {"labels may hold commas and any text",
         "\"a, b\"\r\n9\r\n\"\"\r\n3\r\n\"c\"\r\n2\r\n\"d,\"\r\n0\r\n",
         {9, 3, 2, false},
         false},
        {"line feeds alone end lines",
         "\"N\"\n10\n\"C\"\n4\n\"I\"\n8\n\"K\"\n1\n",
         {10, 4, 8, true},
         false},
        {"commas separate items on one line",
         "\"N\",11,\"C\",3,\"I\",7,\"K\",\"1\"",
         {11, 3, 7, true},
         false},
        {"the ends of each range", fileWith("15", "4", "8", "1"), {15, 4, 8, true}, false},
    };
    for (const ReadCase& c : cases) {
        const ParsedSettings parsed = parseSettings(c.bytes);
        EXPECT_EQ(parsed.settings, c.expected) << c.what;
        EXPECT_EQ(parsed.damaged, c.damaged) << c.what;
    }
}

// Each damaged value falls back to its own default (7, 2, 0, on); the rest of the file holds.
TEST(SettingsParse, DamagedValuesFallBackOneByOne) {
    const ReadCase cases[] = {
        {"side without a number", fileWith("abc", "3", "4", "0"), {7, 3, 4, false}, true},
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
    for (const ReadCase& c : cases) {
        const ParsedSettings parsed = parseSettings(c.bytes);
        EXPECT_EQ(parsed.settings, c.expected) << c.what;
        EXPECT_EQ(parsed.damaged, c.damaged) << c.what;
    }
}

// A fresh folder under the system's temporary folder, removed again after the test.
class SettingsFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quorvin-settings-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        m_dataPath = m_folder.string() + "/";
    }
    void TearDown() override {
        fs::permissions(m_folder, fs::perms::owner_all);
        fs::remove_all(m_folder);
    }

    std::string readBack() const {
        std::ifstream in(m_folder / "Quorvin.inf", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void writeFile(const std::string& bytes) const {
        std::ofstream(m_folder / "Quorvin.inf", std::ios::binary) << bytes;
    }

    fs::path m_folder;
    std::string m_dataPath;
};

TEST_F(SettingsFolder, MissingFileIsCreatedWithQuotedDefaults) {
    const LoadedSettings loaded = loadSettings(m_dataPath);
    EXPECT_EQ(loaded.settings, Settings{});
    EXPECT_FALSE(loaded.writeFailed());
    EXPECT_FALSE(loaded.damaged);
    EXPECT_EQ(loaded.readStatus, FileStatus::Ok);
    EXPECT_EQ(readBack(), kDefaultsQuoted);
}

TEST_F(SettingsFolder, ExistingFileIsReadAndLeftAsItIs) {
    const std::string damaged = fileWith("13", "abc", "6", "0");
    writeFile(damaged);
    const LoadedSettings loaded = loadSettings(m_dataPath);
    EXPECT_EQ(loaded.settings, (Settings{13, 2, 6, false}));
    EXPECT_TRUE(loaded.damaged);
    EXPECT_FALSE(loaded.writeFailed());
    EXPECT_EQ(readBack(), damaged);
}

TEST_F(SettingsFolder, SaveWritesBareNumbersThatLoadBack) {
    const Settings chosen{13, 3, 4, false};
    loadSettings(m_dataPath);
    EXPECT_EQ(saveSettings(m_dataPath, chosen), FileStatus::Ok);
    EXPECT_EQ(readBack(), formatSettings(chosen, false));
    EXPECT_EQ(loadSettings(m_dataPath).settings, chosen);
}

// A folder that cannot be written (one that does not exist stops even root).
TEST_F(SettingsFolder, MissingFolderReportsTheFailure) {
    const std::string dataPath = (m_folder / "gone").string() + "/";
    const LoadedSettings loaded = loadSettings(dataPath);
    EXPECT_TRUE(loaded.writeFailed());
    EXPECT_EQ(loaded.settings, Settings{});
    EXPECT_EQ(saveSettings(dataPath, Settings{9, 3, 1, false}), FileStatus::Failed);
    EXPECT_NE(settingsWriteFailedMessage(dataPath).find(dataPath), std::string::npos);
}

} // namespace
} // namespace quorvin
