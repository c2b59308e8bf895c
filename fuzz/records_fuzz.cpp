// The records loader on arbitrary bytes: every line it takes is a record of the layout, and the
// file written from the loaded list loads back to the same records, byte for byte, with no line
// skipped. The category times and the listing of every loaded category are built on the way.
#include "fuzz_check.h"

#include "records/records_file.h"
#include "records/records_list.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace quorvin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    RecordsList loaded;
    const std::size_t skipped = parseRecords(bytes, loaded);
    FUZZ_CHECK(skipped + loaded.size() <= size);

    for (std::size_t i = 0; i < loaded.size(); ++i) {
        const std::string text = loaded.fileText(i);
        const auto facts = examineFileText(text);
        FUZZ_CHECK(facts && facts->category == loaded.category(i) &&
                   facts->tenths == loaded.tenths(i));
        FUZZ_CHECK(facts->tenths >= 0 && facts->tenths <= 9999);
        const std::string line = loaded.line(i);
        FUZZ_CHECK(line == memoryLineFromFileText(text));
        FUZZ_CHECK(fileTextFromMemoryLine(line) == text);
        const auto memoryFacts = examineMemoryLine(line);
        FUZZ_CHECK(memoryFacts && memoryFacts->category == facts->category &&
                   memoryFacts->tenths == facts->tenths);
    }

    const std::string written = recordsFileBytes(loaded);
    RecordsList reloaded;
    FUZZ_CHECK(parseRecords(written, reloaded) == 0);
    FUZZ_CHECK(reloaded.size() == loaded.size());
    for (std::size_t i = 0; i < loaded.size(); ++i)
        FUZZ_CHECK(reloaded.fileText(i) == loaded.fileText(i));
    FUZZ_CHECK(recordsFileBytes(reloaded) == written);

    // What the game builds from the list, for each category that has records.
    for (int category = 0; category < kCategoryCount; ++category) {
        const auto lines = loaded.linesOf(category);
        if (lines.empty()) continue;
        const std::vector<std::string> times = categoryTimes(loaded, category);
        // Every time once, in order, with the sentinel among them (a time of 999.0 s after it).
        FUZZ_CHECK(times.size() == lines.size() + 1 && std::is_sorted(times.begin(), times.end()));
        FUZZ_CHECK(std::count(times.begin(), times.end(), kTimesSentinel) == 1);
        const RecordsListing listing = listRecords(loaded, filtersFor(categoryAt(category)));
        FUZZ_CHECK(listing.ranked.size() == lines.size());
        for (std::size_t rank = 1; rank <= listing.ranked.size(); ++rank)
            FUZZ_CHECK(!listedLine(loaded, listing, rank).empty());
    }
    const std::vector<std::uint32_t> kept = bestOfEachCategory(loaded, 5);
    FUZZ_CHECK(kept.size() <= loaded.size());
    return 0;
}
