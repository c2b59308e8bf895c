// The Windows-1252 <-> UTF-8 mapping: the 0x80 row, byte-exact round trips, what cannot map.
#include <gtest/gtest.h>

#include "storage/text_file.h"

namespace quorvin {
namespace {

TEST(Windows1252, TheHighRowIsWindows1252NotLatin1) {
    const char* row[32] = {"€",     nullptr, "‚", "ƒ", "„", "…",     "†", "‡",
                           "ˆ",     "‰",     "Š", "‹", "Œ", nullptr, "Ž", nullptr,
                           nullptr, "‘",     "’", "“", "”", "•",     "–", "—",
                           "˜",     "™",     "š", "›", "œ", nullptr, "ž", "Ÿ"};
    for (int i = 0; i < 32; ++i) {
        const std::string byte(1, static_cast<char>(0x80 + i));
        SCOPED_TRACE(0x80 + i);
        EXPECT_EQ(fromWindows1252(byte), row[i] ? row[i] : "\xEF\xBF\xBD"); // U+FFFD
        if (row[i]) {
            EXPECT_EQ(toWindows1252(row[i]), byte);
        }
    }
    EXPECT_EQ(toWindows1252("\xC2\x80\xC2\x9F"), "??"); // the C1 code points are not those bytes
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
    const std::pair<const char*, const char*> cases[] = {
        {"Ā", "?"},                   // U+0100, just past Latin-1
        {"a中b", "a?b"},              // three bytes
        {"😀", "?"},                   // four bytes
        {"\x80x", "?x"},              // a lone continuation byte
        {"\xE2\x82x", "?x"},          // a sequence cut short counts once
        {"\xE2\x82", "?"},            // cut at the end of the text
        {"\xC0\x80", "??"},           // an overlong NUL
        {"\xED\xA0\x80", "???"},      // a surrogate
        {"\xF4\x90\x80\x80", "????"}, // past U+10FFFF
    };
    for (const auto& [utf8, expected] : cases)
        EXPECT_EQ(toWindows1252(utf8), expected) << utf8;
}

} // namespace
} // namespace quorvin
