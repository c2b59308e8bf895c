// The Windows-1252 <-> UTF-8 mapping: the 0x80 row, byte-exact round trips, and what cannot map.
#include <gtest/gtest.h>

#include "storage/text_file.h"

namespace quorvin {
namespace {

TEST(Windows1252, TheHighRowIsWindows1252NotLatin1) {
    struct Row {
        unsigned char byte;
        const char* utf8;
    };
    const Row rows[] = {
        {0x80, "€"}, {0x82, "‚"}, {0x83, "ƒ"}, {0x84, "„"}, {0x85, "…"}, {0x86, "†"},
        {0x87, "‡"}, {0x88, "ˆ"}, {0x89, "‰"}, {0x8A, "Š"}, {0x8B, "‹"}, {0x8C, "Œ"},
        {0x8E, "Ž"}, {0x91, "‘"}, {0x92, "’"}, {0x93, "“"}, {0x94, "”"}, {0x95, "•"},
        {0x96, "–"}, {0x97, "—"}, {0x98, "˜"}, {0x99, "™"}, {0x9A, "š"}, {0x9B, "›"},
        {0x9C, "œ"}, {0x9E, "ž"}, {0x9F, "Ÿ"},
    };
    for (const Row& row : rows) {
        const std::string byte(1, static_cast<char>(row.byte));
        SCOPED_TRACE(static_cast<int>(row.byte));
        EXPECT_EQ(fromWindows1252(byte), row.utf8);
        EXPECT_EQ(toWindows1252(row.utf8), byte);
    }
    for (const unsigned char unassigned : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(fromWindows1252(std::string(1, static_cast<char>(unassigned))), "\xEF\xBF\xBD");
    // The C1 control code points are not those bytes.
    EXPECT_EQ(toWindows1252("\xC2\x80\xC2\x9F"), "??");
}

TEST(Windows1252, EveryAssignedByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        if (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D)
            all += static_cast<char>(b);
    EXPECT_EQ(toWindows1252(fromWindows1252(all)), all);
    EXPECT_EQ(fromWindows1252("Vac\xEDo \xCD\xF1igo \xBA"), "Vacío Íñigo º");
    EXPECT_EQ(toWindows1252("Vacío Íñigo º ÿ"), "Vac\xEDo \xCD\xF1igo \xBA \xFF");
}

TEST(Windows1252, WhatItCannotHoldBecomesOneQuestionMark) {
    struct Case {
        const char* utf8;
        const char* expected;
    };
    const Case cases[] = {
        {"Ā", "?"},                       // U+0100, just past Latin-1
        {"a中b", "a?b"},                  // three bytes
        {"😀", "?"},                      // four bytes
        {"\x80x", "?x"},                  // a lone continuation byte
        {"\xE2\x82x", "?x"},              // a sequence cut short counts once
        {"\xC0\x80", "??"},               // an overlong NUL
        {"\xED\xA0\x80", "???"},          // a surrogate
        {"\xF4\x90\x80\x80", "????"},     // past U+10FFFF
        {"\xE2\x82", "?"},                // cut at the end of the text
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(toWindows1252(c.utf8), c.expected);
    }
}

} // namespace
} // namespace quorvin
