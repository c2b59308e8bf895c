// The records list's views: the ranking, the category times, the filters and the listing.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "records/record_builders.h"
#include "records/records_list.h"

namespace quorvin {
namespace {

using testing::kBarrotes5;
using testing::kEkis10;
using testing::kVacio7;
using testing::memoryLine;

RecordsList listOf(const std::vector<std::string>& lines) {
    RecordsList records;
    for (const std::string& line : lines)
        EXPECT_TRUE(records.add(line)) << line;
    return records;
}

std::vector<std::string> linesBelowHeader(const RecordsList& records,
                                          const RecordsListing& listing) {
    std::vector<std::string> lines;
    for (std::size_t rank = 2; rank <= listing.ranked.size(); ++rank)
        lines.push_back(listedLine(records, listing, rank));
    return lines;
}

TEST(Ranking, TimeThenOldestDateThenNameIgnoringCase) {
    const std::vector<std::string> ranked = {
        memoryLine("   .4", "2024/01/01", "z", kEkis10),
        memoryLine("   .9", "2024/01/01", "z", kEkis10),
        memoryLine("  1.0", "2024/01/01", "z", kEkis10),
        memoryLine("  9.5", "2023/12/31", "z", kEkis10), // equal times: the older first
        memoryLine("  9.5", "2024/01/01", "ana", kEkis10),
        memoryLine("  9.5", "2024/01/01", "Bea", kEkis10),    // case ignored: after "ana"
        memoryLine("  9.5", "2024/01/01", "\xC9va", kEkis10), // É after the ASCII letters
        memoryLine("  9.5", "2024/01/01", "\xE9vb", kEkis10), // é folds to É
        memoryLine(" 12.3", "2020/01/01", "z", kEkis10),
        memoryLine("123.0", "2020/01/01", "z", kEkis10),
    };
    std::vector<std::string> shuffled = ranked;
    std::mt19937 engine(7);
    for (int round = 0; round < 20; ++round) {
        std::shuffle(shuffled.begin(), shuffled.end(), engine);
        std::sort(shuffled.begin(), shuffled.end(), ranksBefore);
        ASSERT_EQ(shuffled, ranked);
    }
    EXPECT_NE(ranksBefore("  9.5  a", "  9.5  A"), ranksBefore("  9.5  A", "  9.5  a"));
}

// The list ranks records from their fields; it must agree with the order of their texts.
TEST(Ranking, RecordsRankAsTheirTextsSort) {
    const unsigned seed = std::random_device{}();
    std::mt19937 engine(seed);
    const char* names[] = {"ana", "Ana", "ANA", "bea", "Álvaro", "álvaro", "zoe"};
    RecordsList records;
    std::vector<std::uint32_t> all;
    for (std::uint32_t i = 0; i < 5000; ++i) {
        const int tenths = static_cast<int>(engine() % 40) * (engine() % 2 ? 1 : 250);
        const RecordDate date{2024, static_cast<int>(engine() % 3) + 1, 1};
        ASSERT_TRUE(records.addFileText(
            recordText(tenths, date, names[engine() % 7], static_cast<int>(engine() % 3))));
        all.push_back(i);
    }
    std::vector<std::string> expected, actual;
    for (const auto i : all)
        expected.push_back(records.line(i));
    std::sort(expected.begin(), expected.end(), ranksBefore);
    for (const auto i : rankedLines(records, all))
        actual.push_back(records.line(i));
    EXPECT_EQ(actual, expected) << "seed " << seed;
}

TEST(CategoryTimes, BestFirstThenTheSentinel) {
    EXPECT_EQ(categoryTimes(RecordsList{}, 0), std::vector<std::string>{"999"});
    const RecordsList records = listOf({
        memoryLine("123.0", "2024/01/01", "a", kEkis10),
        memoryLine("  9.5", "2024/01/01", "a", kEkis10),
        memoryLine("999.0", "2024/01/01", "a", kEkis10),
        memoryLine("  1.0", "2024/01/01", "a", kVacio7), // another category
        memoryLine(" 12.3", "2024/01/01", "a", kEkis10),
        memoryLine("   .4", "2024/01/01", "a", kEkis10),
        memoryLine("  9.5", "2024/01/02", "b", kEkis10),
    });
    EXPECT_EQ(
        categoryTimes(records, categoryIndex({3, 10, 6})),
        (std::vector<std::string>{"000.4", "009.5", "009.5", "012.3", "123.0", "999", "999.0"}));
    EXPECT_EQ(categoryTimes(records, categoryIndex({2, 7, 8})),
              (std::vector<std::string>{"001.0", "999"}));
    EXPECT_EQ(categoryKey({2, 7, 8}), "2  7x7    Vacío");
}

TEST(Filters, ATextThatIsNotAnItemBecomesTodos) {
    const std::pair<RecordFilters, RecordFilters> cases[] = {
        {{"7x7", "3 colores", "Ekis"}, {"(Todos)", "3 colores", "Ekis"}}, // blanks missing
        {{"7x7  ", "3 colores", "Vacío"}, {"7x7  ", "3 colores", "Vacío"}},
        {{"", "3 Colores", "vacío"}, {"(Todos)", "(Todos)", "(Todos)"}},
        {{"15x15", "5 colores", "Vacio"}, {"15x15", "(Todos)", "(Todos)"}},
    };
    for (const auto& [typed, checked] : cases)
        EXPECT_EQ(checkedFilters(typed), checked) << typed.size << "|" << typed.pattern;
    EXPECT_EQ(filtersFor({3, 7, 8}), (RecordFilters{"7x7  ", "3 colores", "Vacío"}));
    EXPECT_EQ(allFilters(), (RecordFilters{"(Todos)", "(Todos)", "(Todos)"}));
    const auto sizes = sizeFilterItems();
    EXPECT_EQ(std::vector<std::string>(sizes.begin() + 9, sizes.end()),
              (std::vector<std::string>{"14x14", "15x15", "(Todos)"}));
    EXPECT_EQ(colourFilterItems(),
              (std::vector<std::string>{"2 colores", "3 colores", "4 colores", "(Todos)"}));
    EXPECT_EQ(patternFilterItems().size(), 10u);
}

class Listing : public ::testing::Test {
  protected:
    RecordsList records = listOf({
        memoryLine(" 20.0", "2024/02/01", "\xCD\xF1igo", kEkis10),
        memoryLine(" 15.5", "2024/02/01", "Ana", kVacio7),
        memoryLine("  8.1", "2024/02/03", "Bea", kEkis10),
        memoryLine(" 20.0", "2024/01/31", "Carla", kEkis10),
        memoryLine("  3.2", "2024/02/01", "Dani", kBarrotes5),
    });
};

TEST_F(Listing, OneCategoryIsItsRankingWithRankOneInTheHeader) {
    const RecordsListing listing = listRecords(records, filtersFor({3, 10, 6}));
    EXPECT_EQ(listing.header, "   1º   8.1  2024/02/03 Bea        3  10x10  Ekis");
    EXPECT_EQ(linesBelowHeader(records, listing),
              (std::vector<std::string>{"   2º  20.0  2024/01/31 Carla      3  10x10  Ekis",
                                        "   3º  20.0  2024/02/01 Íñigo      3  10x10  Ekis"}));
    const RecordsListing one = listRecords(records, filtersFor({2, 7, 8}));
    EXPECT_EQ(one.header, "   1º  15.5  2024/02/01 Ana        2  7x7    Vacío");
    EXPECT_EQ(one.lineCount(), 0u);
    const RecordsListing none = listRecords(records, filtersFor({4, 15, 0}));
    EXPECT_EQ(none.header, "        (En esta categoría no hay ningún dato)");
    EXPECT_EQ(none.lineCount(), 0u);
}

TEST_F(Listing, FiltersAtTodosRankSeveralCategoriesTogether) {
    const std::pair<RecordFilters, std::vector<std::string>> cases[] = {
        {allFilters(), {"Dani", "Bea", "Ana", "Carla", "Íñigo"}},
        {{"(Todos)", "3 colores", "(Todos)"}, {"Bea", "Carla", "Íñigo"}},
        {{"7x7", "(Todos)", "(Todos)"}, {"Dani", "Bea", "Ana", "Carla", "Íñigo"}}, // reset
        {{"7x7  ", "(Todos)", "(Todos)"}, {"Ana"}},
        {{"(Todos)", "(Todos)", "Barrotes"}, {"Dani"}},
        {{"10x10", "2 colores", "(Todos)"}, {}},
    };
    for (const auto& [filters, expected] : cases) {
        const RecordsListing listing = listRecords(records, filters);
        std::vector<std::string> names;
        for (std::size_t rank = 1; rank <= listing.ranked.size(); ++rank) {
            const std::string line = listedLine(records, listing, rank);
            EXPECT_EQ(line.substr(0, 7), "   " + std::to_string(rank) + "º ");
            names.push_back(line.substr(25, line.find(' ', 25) - 25));
        }
        EXPECT_EQ(names, expected) << filters.size << "|" << filters.colours;
    }
}

} // namespace
} // namespace quorvin
