// Recording a solved game: the name asked for and the line appended. A file that refuses it is
// the window tests' (ClosingWithRecordsWaiting).
#include "records/record_saver.h"
#include "storage/temp_dir.h"
#include "support/fake_platform.h"

#include <gtest/gtest.h>

namespace quorvin {
namespace {

TEST(SaveRecord, StoresTheNameCutToTenAndOffersItWholeNextTime) {
    testing::TempDir dir;
    RecordsFile records(dir.file("Quorvin.dat"));
    ASSERT_EQ(records.load(), FileStatus::Ok);
    test::FakePlatform platform;
    Game game(platform);
    game.boardSize = 10;
    game.colorCount = 3;
    game.startPattern = 6;
    std::tm day{};
    day.tm_year = 125, day.tm_mon = 0, day.tm_mday = 5, day.tm_hour = 12;
    const std::time_t now = std::mktime(&day);

    platform.typedName = "Maximiliano"; // 11 characters
    saveRecord(game, 123, records, now);
    EXPECT_EQ(game.playerName, "Maximiliano");
    platform.typedName = std::nullopt; // cancelled
    saveRecord(game, 10000, records, now); // a clock a late tick left at 1000 s
    EXPECT_EQ(game.playerName, "jugador");
    EXPECT_EQ(platform.questions, (std::vector<std::string>{"Escribe tu nombre", "Escribe tu nombre"}));
    EXPECT_EQ(testing::slurp(records.path()),
              "\" 123  2025/01/05 Maximilian 3  10x10  Ekis\"\r\n"
              "\"9990  2025/01/05 jugador    3  10x10  Ekis\"\r\n");
    EXPECT_EQ(records.records().size(), 2u);
}

} // namespace
} // namespace quorvin
