// The trim "Borrar a partir del...": the best k of every category, grouped in walking order.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "records/record_builders.h"
#include "records/records_list.h"

namespace quorvin {
namespace {

using testing::kEkis10;
using testing::memoryLine;

std::vector<std::string> keptLines(const RecordsList& records, int keep) {
    std::vector<std::string> lines;
    for (const std::uint32_t i : bestOfEachCategory(records, keep))
        lines.push_back(records.line(i));
    return lines;
}

// The trim as a plain walk: for each of the 297 categories in turn, gather its lines by
// comparing the text from the category column, sort them, keep the first k.
std::vector<std::string> walkOf297(const std::vector<std::string>& lines, int keep) {
    std::vector<std::string> kept;
    for (int c = 0; c < kCategoryCount; ++c) {
        std::vector<std::string> sorted;
        for (const std::string& line : lines)
            if (std::string_view(line).substr(29) == categoryBytes(c)) sorted.push_back(line);
        std::sort(sorted.begin(), sorted.end(), ranksBefore);
        sorted.resize(std::min<std::size_t>(sorted.size(), static_cast<std::size_t>(keep)));
        kept.insert(kept.end(), sorted.begin(), sorted.end());
    }
    return kept;
}

TEST(Trim, AtTheBorderTheOlderOfEqualTimesStays) {
    RecordsList records;
    for (const char* time : {"  1.0", "  2.0", "  3.0", "  4.0"})
        records.add(memoryLine(time, "2024/05/01", "x", kEkis10));
    records.add(memoryLine("  5.0", "2024/05/02", "newer", kEkis10));
    records.add(memoryLine("  5.0", "2024/05/01", "older", kEkis10));
    const auto kept = keptLines(records, 5);
    ASSERT_EQ(kept.size(), 5u);
    EXPECT_EQ(kept.back(), memoryLine("  5.0", "2024/05/01", "older", kEkis10));
}

TEST(Trim, MatchesTheWalkOfEveryCategoryOnARandomList) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 engine(seed);
    const char* names[] = {"ana", "Ana", "Íñigo", "íñigo", "bea", "x"};
    // Few times, dates and names, so that many records tie on time and on date; most records
    // in a few categories, the rest anywhere.
    std::vector<std::string> lines;
    RecordsList records;
    for (int i = 0; i < 20'000; ++i) {
        const int category = engine() % 4 ? static_cast<int>(engine() % 6) * 50
                                          : static_cast<int>(engine() % kCategoryCount);
        const RecordDate date{2024, 1, static_cast<int>(engine() % 3) + 1};
        const std::string text =
            recordText(static_cast<int>(engine() % 60) * 7, date, names[engine() % 6], category);
        lines.push_back(memoryLineFromFileText(text));
        ASSERT_TRUE(records.addFileText(text));
    }
    for (int item = 0; item < kTrimItemCount; ++item) {
        const int keep = keptPerCategory(item);
        EXPECT_EQ(keptLines(records, keep), walkOf297(lines, keep)) << "keep " << keep;
    }
}

TEST(Trim, Texts) {
    EXPECT_EQ(trimQuestion(15), "Esta opción borrará los records de todas las categorías a "
                                "partir del 15º puesto.\nQuieres continuar?");
    EXPECT_EQ(trimProgress(12), "Borrando datos. Categoría 12 de 297.");
    EXPECT_EQ(trimmedMessage(2), "2 datos borrados.");
    EXPECT_EQ(trimItemCaption(0), "5º puesto");
    EXPECT_EQ(trimItemCaption(3), "20º puesto");
}

} // namespace
} // namespace quorvin
