// A record built from an arbitrary name and time always follows the layout: it reads back with
// its category and its time, as a file text, as a memory line and as a line of the file.
//
// Input: two bytes choose the category (some out of range), four bytes give a time in tenths
// (some negative, some past the clock's limit), four bytes give a date; the rest is the name
// (UTF-8 or not).
#include "fuzz_check.h"

#include "records/record_line.h"
#include "records/records_file.h"
#include "records/records_list.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

using namespace quorvin;

namespace {

constexpr std::size_t kHeader = 10;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kHeader) return 0;
    const int category = (data[0] << 8 | data[1]) % (kCategoryCount + 20) - 10;
    std::int32_t rawTenths;
    std::memcpy(&rawTenths, data + 2, sizeof rawTenths);
    // The dates localDate() gives for the clock of any machine.
    const RecordDate date{1970 + (data[6] << 8 | data[7]) % 8030, 1 + data[8] % 12,
                          1 + data[9] % 31};
    const std::string_view name(reinterpret_cast<const char*>(data) + kHeader, size - kHeader);

    const int tenths = rawTenths;
    const int expected = tenths < 0 ? 0 : (tenths > kClockLimitTenths ? kClockLimitTenths : tenths);

    const std::string stored = storedName(name);
    FUZZ_CHECK(stored.size() == kNameWidth);
    for (const char c : stored)
        FUZZ_CHECK(c != '"' && (static_cast<unsigned char>(c) >= 0x20 && c != '\x7F'));

    const std::string text = recordText(tenths, date, name, category);
    if (category < 0 || category >= kCategoryCount) {
        FUZZ_CHECK(text.empty());
        return 0;
    }
    FUZZ_CHECK(text.size() == kFileCategoryOffset + categoryBytes(category).size());
    FUZZ_CHECK(text.substr(kFileNameOffset, kNameWidth) == stored);

    const auto facts = examineFileText(text);
    FUZZ_CHECK(facts && facts->category == category && facts->tenths == expected);
    const std::string memory = memoryLineFromFileText(text);
    const auto memoryFacts = examineMemoryLine(memory);
    FUZZ_CHECK(memoryFacts && memoryFacts->category == category && memoryFacts->tenths == expected);
    FUZZ_CHECK(fileTextFromMemoryLine(memory) == text);

    // As a line of the file, between its quotes and with its CR LF.
    RecordsList list;
    FUZZ_CHECK(parseRecords(fileLine(text), list) == 0);
    FUZZ_CHECK(list.size() == 1 && list.fileText(0) == text && list.line(0) == memory);
    return 0;
}
