// The Windows-1252 <-> UTF-8 mapping of the data files' text.
#include <gtest/gtest.h>

#include "storage/windows1252.h"

namespace quorvin {
namespace {

TEST(Windows1252, EveryAssignedByteRoundTripsAndWhatItCannotHoldIsMarked) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        if (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D) all += char(b);
    EXPECT_EQ(toWindows1252(fromWindows1252(all)), all);
    EXPECT_EQ(exactWindows1252(fromWindows1252(all)), all);
    EXPECT_EQ(fromWindows1252("\x80\x81\x9F\xE9"), "€\uFFFDŸé"); // not Latin-1's controls
    const std::pair<const char*, const char*> cases[] = {
        {"\xC2\x80\xC2\x9F", "??"},   // the C1 code points are not the bytes 0x80-0x9F
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
    for (const auto& [utf8, expected] : cases) {
        EXPECT_EQ(toWindows1252(utf8), expected) << utf8;
        EXPECT_FALSE(exactWindows1252(std::string("¿") + utf8)) << utf8;
    }
}

} // namespace
} // namespace quorvin
