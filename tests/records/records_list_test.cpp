// The records list's views: the ranking, the category times, the listing and the trim.
#include <gtest/gtest.h>

#include <cstdio>

#include <algorithm>
#include <random>

#include "records/records_list.h"

namespace quorvin {
namespace {

const int kEkis = categoryIndex({3, 10, 6});

// A memory line written out by hand: the time as the list shows it, the date, the name.
std::string line(std::string_view time, std::string_view date, std::string name,
                 std::string_view category = "3  10x10  Ekis") {
    name.resize(10, ' ');
    return std::string(time) + "  " + std::string(date) + " " + name + " " + std::string(category);
}

TEST(Ranking, TimeThenOldestDateThenNameIgnoringCase) {
    const std::vector<std::string> ranked = {
        line("   .4", "2024/01/01", "z"),      line("   .9", "2024/01/01", "z"),
        line("  1.0", "2024/01/01", "z"),      line("  9.5", "2023/12/31", "z"), // older
        line("  9.5", "2024/01/01", "ana"),    line("  9.5", "2024/01/01", "Bea"),
        line("  9.5", "2024/01/01", "\xC9va"), // É after the ASCII letters
        line("  9.5", "2024/01/01", "\xE9vb"), // é folds to É
        line(" 12.3", "2020/01/01", "z"),      line("123.0", "2020/01/01", "z")};
    std::vector<std::string> shuffled = ranked;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    std::sort(shuffled.begin(), shuffled.end(), ranksBefore);
    EXPECT_EQ(shuffled, ranked);
    EXPECT_NE(ranksBefore("  9.5  a", "  9.5  A"), ranksBefore("  9.5  A", "  9.5  a"));
}

// Records ranked from their fields, and the trim, against plain sorts of their texts.
TEST(Ranking, FieldsRankAsTextsAndTheTrimIsTheWalkOfThe297) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 engine(seed);
    const char* names[] = {"ana", "Ana", "ANA", "Íñigo", "íñigo", "bea"};
    // Few times, dates and names, so records tie on time and on date; most records in a few
    // categories, the rest anywhere.
    RecordsList records;
    std::vector<std::string> lines;
    std::vector<std::uint32_t> all;
    for (std::uint32_t i = 0; i < 20'000; ++i) {
        const int category = engine() % 4 ? static_cast<int>(engine() % 6) * 50
                                          : static_cast<int>(engine() % kCategoryCount);
        const int tenths = engine() % 500
                               ? static_cast<int>(engine() % 60) * (engine() % 2 ? 7 : 166)
                               : 9990; // the clock's limit, which ends the category times too
        const std::string text = recordText(tenths, {2024, 1, static_cast<int>(engine() % 3) + 1},
                                            names[engine() % 6], category);
        ASSERT_TRUE(records.addFileText(text));
        lines.push_back(memoryLineFromFileText(text));
        all.push_back(i);
    }
    // All of them (bucketed by time first) and a few (sorted directly).
    for (const std::size_t count : {all.size(), std::size_t{300}}) {
        std::vector<std::string> sorted(lines.begin(), lines.begin() + count), ranked;
        std::sort(sorted.begin(), sorted.end(), ranksBefore);
        for (const auto i : rankedLines(records, {all.begin(), all.begin() + count}))
            ranked.push_back(records.line(i));
        EXPECT_EQ(ranked, sorted) << count << " records";
    }
    // The category times of a category of thousands, of one of a few and of an empty one, read
    // from the lines' texts ("  9.5", "123.0", "   .4"), best first, with the clock's limit.
    EXPECT_EQ(categoryTimes(RecordsList{}, 0), std::vector<int>{kClockLimitTenths});
    for (const int category : {50, 7}) {
        std::vector<int> times = {kClockLimitTenths};
        for (const std::string& l : lines) {
            if (std::string_view(l).substr(29) != categoryBytes(category)) continue;
            std::string digits = l.substr(0, 5);
            std::erase(digits, ' ');
            std::erase(digits, '.');
            times.push_back(std::stoi(digits));
        }
        std::sort(times.begin(), times.end());
        EXPECT_EQ(categoryTimes(records, category), times) << "category " << category;
    }

    for (int item = 0; item < kTrimItemCount; ++item) {
        const int keep = keptPerCategory(item);
        std::vector<std::string> walked, kept;
        for (int c = 0; c < kCategoryCount; ++c) { // gather, sort, keep the first k
            std::vector<std::string> category;
            for (const std::string& l : lines)
                if (std::string_view(l).substr(29) == categoryBytes(c)) category.push_back(l);
            std::sort(category.begin(), category.end(), ranksBefore);
            category.resize(std::min<std::size_t>(category.size(), std::size_t(keep)));
            walked.insert(walked.end(), category.begin(), category.end());
        }
        for (const std::uint32_t i : bestOfEachCategory(records, keep))
            kept.push_back(records.line(i));
        EXPECT_EQ(kept, walked) << "keep " << keep;
    }
}

TEST(Listing, RanksUnderTheFiltersTypedTextsThatAreNoItemAreTodos) {
    RecordsList records;
    for (const std::string& l :
         {line(" 20.0", "2024/02/01", "\xCD\xF1igo"),
          line(" 15.5", "2024/02/01", "Ana", "2  7x7    Vac\xEDo"),
          line("  8.1", "2024/02/03", "Bea"), line(" 20.0", "2024/01/31", "Carla"),
          line("  3.2", "2024/02/01", "Dani", "4  5x5    Barrotes")})
        records.add(l);
    const std::pair<RecordFilters, std::string> cases[] = {
        {allFilters(), "Dani Bea Ana Carla Íñigo "}, // ranks over all categories
        {{"(Todos)", "3 colores", "(Todos)"}, "Bea Carla Íñigo "},
        {{"7x7  ", "3 Colores", "vacío"}, "Ana "},
        {{"(Todos)", "(Todos)", "Barrotes"}, "Dani "},
        {{"10x10", "2 colores", "(Todos)"}, ""}};
    for (const auto& [filters, expected] : cases) {
        const RecordsListing listing = listRecords(records, filters);
        std::string names;
        for (std::size_t rank = 1; rank <= listing.ranked.size(); ++rank) {
            const std::string shown = listedLine(records, listing, rank);
            EXPECT_EQ(shown.substr(0, 7), "   " + std::to_string(rank) + "º ");
            names += shown.substr(25, shown.find(' ', 25) - 25) + " ";
        }
        EXPECT_EQ(names, expected) << filters.size << "|" << filters.colours;
    }
}

TEST(Listing, RanksOfTwoAndThreeDigitsStayRightAlignedInFourCharacters) {
    RecordsList records;
    for (int tenths = 10; tenths < 130; ++tenths) { // from 1.0 s: "0.5" is written ".5"
        char time[8];
        std::snprintf(time, sizeof time, "%3d.%d", tenths / 10, tenths % 10);
        records.add(line(time, "2024/02/01", "p" + std::to_string(tenths)));
    }
    const RecordsListing listing = listRecords(records, allFilters());
    ASSERT_EQ(listing.ranked.size(), 120u);
    EXPECT_EQ(listedLine(records, listing, 9).substr(0, 12), "   9º   1.8");
    EXPECT_EQ(listedLine(records, listing, 10).substr(0, 12), "  10º   1.9");
    EXPECT_EQ(listedLine(records, listing, 100).substr(0, 12), " 100º  10.9");
    EXPECT_EQ(listedLine(records, listing, 120).substr(0, 12), " 120º  12.9");
}

} // namespace
} // namespace quorvin
