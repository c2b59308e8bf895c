// Record lines: the category, the time and name fields, the file text and the memory line.
#include <gtest/gtest.h>

#include "records/record_line.h"

namespace quorvin {
namespace {

TEST(Category, WalkOrderAndExactTexts) {
    EXPECT_EQ(categoryText(9), "2  6x6    50-por-ciento");
    EXPECT_EQ(categoryText(99), "3  5x5    50-por-ciento");
    EXPECT_EQ(categoryBytes(296), "4  15x15  Vac\xEDo");
    for (int i = 0; i < kCategoryCount; ++i) {
        ASSERT_EQ(categoryIndex(categoryAt(i)), i);
        ASSERT_EQ(findCategory(categoryBytes(i)), i);
    }
    for (const Category bad : {Category{1, 5, 0}, Category{5, 5, 0}, Category{2, 4, 0},
                               Category{2, 16, 0}, Category{2, 5, -1}, Category{2, 5, 9}})
        EXPECT_EQ(categoryIndex(bad), -1);
    for (const char* text : {"3  10x10  Ekis ", "3  10x10  ekis", "3  7x7  Ekis", "5  10x10  Ekis",
                             "3  10x10  Vacío" /* UTF-8 */, "3 10x10  Ekis", "", "3  10x10  "})
        EXPECT_EQ(findCategory(text), -1) << text;
}

TEST(RecordText, TheNameAsItsFieldCarriesIt) {
    const std::pair<const char*, const char*> names[] = {
        {"Bartolomeu", "Bartolomeu"},  // exactly 10
        {"Bartolomeus", "Bartolomeu"}, // 11 loses its last
        {"Ñoño Núñez!", "\xD1o\xF1o N\xFA\xF1"
                        "ez"},                     // one byte a letter, then cut
        {"  a ", "  a       "},                    // typed blanks stay
        {"Di \"Jo\"", "Di 'Jo'   "},               // a quote would end the field
        {"a\r\nb\tc", "a  b c    "},               // line breaks and controls
        {"x\xC2\x85y\xE2\x80\xA8z", "x y z     "}, // NEL and the line separator
        {"李小龍", "???       "}};                 // not in Windows-1252
    for (const auto& [name, stored] : names)
        EXPECT_EQ(storedName(name), stored) << name;
}

TEST(RecordText, OnlyTheLayoutWithAKnownCategoryIsARecord) {
    const std::string good = " 123  2024/03/07 Ana        3  10x10  Ekis";
    ASSERT_TRUE(examineFileText(good));
    EXPECT_EQ(examineFileText(good)->category, categoryIndex({3, 10, 6}));
    EXPECT_EQ(examineMemoryLine(memoryLineFromFileText(good))->tenths, 123);
    EXPECT_FALSE(examineMemoryLine(good));
    EXPECT_EQ(examineFileText("   0  2024/03/07 Ana        3  10x10  Ekis")->tenths, 0);
    EXPECT_TRUE(examineFileText(" 123  el martes! Ana        3  10x10  Ekis")); // any date
    for (const char* bad :
         {" 123  2024/03/07 Ana         3  10x10  Ekis", // name of 11: columns shifted
          "10001  2024/03/07 Ana       3  10x10  Ekis",  // five-digit time
          "0123  2024/03/07 Ana        3  10x10  Ekis",  // leading zero
          "  1 3  2024/03/07 Ana       3  10x10  Ekis",  // blank inside the time
          "      2024/03/07 Ana        3  10x10  Ekis",  // no time at all
          " 123 x2024/03/07 Ana        3  10x10  Ekis",  // a separator taken
          " 123  2024/03/07 O\"Neil     3  10x10  Ekis", // a quote would end the line's field
          " 123  2024/03/07 Ana        3  10x10  Ek", "", "12"}) {
        EXPECT_FALSE(examineFileText(bad)) << bad;
        EXPECT_FALSE(examineMemoryLine(memoryLineFromFileText(bad))) << bad;
    }
}

} // namespace
} // namespace quorvin
