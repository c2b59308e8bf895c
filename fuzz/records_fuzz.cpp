// The records loader and the trim on arbitrary bytes: every line the loader takes is a record of
// the layout; the file written from the loaded list loads back to the same records, byte for
// byte, with no line skipped; the trim's file holds the kept records and, after them, every line
// the loader could not read, byte for byte; the listings are in ranking order.
// These run in memory. A share of the inputs (every one when the corpus is replayed) also goes
// through a real file: loaded and trimmed by RecordsFile, it must give the same records and bytes.
#include "fuzz_check.h"

#include "records/records_file.h"
#include "records/records_list.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

using namespace quorvin;

namespace {

#ifdef QUORVIN_FUZZ_REPLAY
constexpr std::uint32_t kFileShare = 1;
#else
// A real file costs two syncs; one input in 64 keeps the fuzzer near its in-memory speed.
constexpr std::uint32_t kFileShare = 64;
#endif

std::uint32_t hashOf(std::string_view bytes) {
    std::uint32_t hash = 2166136261u; // FNV-1a
    for (const char c : bytes)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

// A folder of this process for the file round trip, on a memory file system when there is one.
class Folder {
  public:
    Folder() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = base && *base                               ? base
                              : std::filesystem::is_directory("/dev/shm") ? "/dev/shm"
                                                                          : "/tmp";
        pattern += "/quorvin-fuzz-XXXXXX";
        FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr);
        m_path = pattern;
    }
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string file() const { return m_path + "/Quorvin.dat"; }

  private:
    std::string m_path;
};

std::vector<std::string> fileTexts(const RecordsList& records) {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < records.size(); ++i)
        texts.push_back(records.fileText(i));
    return texts;
}

void checkFileRoundTrip(std::string_view bytes, const std::vector<std::string>& texts,
                        std::size_t skipped, int keep, const Trimmed& trimmed) {
    static const Folder folder;
    const std::string path = folder.file();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    RecordsFile file(path);
    FUZZ_CHECK(file.load() == FileStatus::Ok);
    FUZZ_CHECK(file.skippedLines() == skipped && fileTexts(file.records()) == texts);
    const RecordsFile::TrimResult result = file.trim(keep);
    FUZZ_CHECK(result.status == FileStatus::Ok && result.deleted == trimmed.deleted);
    std::ifstream in(path, std::ios::binary);
    const std::string written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    FUZZ_CHECK(written == trimmed.bytes);
}

} // namespace

#ifndef QUORVIN_FUZZ_REPLAY
// Inputs of at most 2 KB (about 40 lines) unless -max_len says otherwise. Every rule the target
// checks acts within a line or within one category's few records, so longer inputs find nothing
// new, while each input's cost grows with its lines: at 4 KB, libFuzzer's default limit, the
// target runs at a third of its speed.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static std::vector<char*> args(*argv, *argv + *argc);
    static char maxLen[] = "-max_len=2048";
    if (std::none_of(args.begin(), args.end(),
                     [](const char* a) { return std::string_view(a).starts_with("-max_len="); }))
        args.push_back(maxLen);
    args.push_back(nullptr);
    *argc = static_cast<int>(args.size() - 1);
    *argv = args.data();
    return 0;
}
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    RecordsList loaded;
    std::string unreadable;
    const std::size_t skipped = parseRecords(bytes, loaded, &unreadable);
    FUZZ_CHECK(skipped + loaded.size() <= size);

    std::vector<std::string> texts, lines; // of the loaded records, in list order
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        const std::string& text = texts.emplace_back(loaded.fileText(i));
        const auto facts = examineFileText(text);
        FUZZ_CHECK(facts && facts->category == loaded.category(i) &&
                   facts->tenths == loaded.tenths(i));
        FUZZ_CHECK(facts->tenths >= 0 && facts->tenths <= 9999);
        const std::string& line = lines.emplace_back(loaded.line(i));
        FUZZ_CHECK(line == memoryLineFromFileText(text));
        FUZZ_CHECK(fileTextFromMemoryLine(line) == text);
        const auto memoryFacts = examineMemoryLine(line);
        FUZZ_CHECK(memoryFacts && memoryFacts->category == facts->category &&
                   memoryFacts->tenths == facts->tenths);
    }

    const std::string written = recordsFileBytes(loaded);
    RecordsList reloaded;
    FUZZ_CHECK(parseRecords(written, reloaded) == 0);
    FUZZ_CHECK(fileTexts(reloaded) == texts);

    // The trim keeps every line it cannot read, and deletes records only. With room for every
    // record, it deletes none.
    const int keep = size % 2 ? 5 : 1'000'000;
    const Trimmed trimmed = trimmedFile(loaded, unreadable, keep);
    FUZZ_CHECK(trimmed.kept.size() + trimmed.deleted == loaded.size());
    FUZZ_CHECK(keep < 1'000'000 || trimmed.deleted == 0);
    RecordsList afterTrim;
    std::string stillUnreadable;
    FUZZ_CHECK(parseRecords(trimmed.bytes, afterTrim, &stillUnreadable) == skipped);
    FUZZ_CHECK(stillUnreadable == unreadable);
    FUZZ_CHECK(fileTexts(afterTrim) == fileTexts(trimmed.kept));

    // What the game builds from the list: the listing of every record and of the first record's
    // category, each in ranking order, and that category's times. One category stands for all:
    // walking the 297 for every input would cost more than the rest of the checks together.
    if (!loaded.empty()) {
        const int category = loaded.category(0);
        const std::size_t count = loaded.linesOf(category).size();
        const std::vector<int> times = categoryTimes(loaded, category);
        // Every time once, in order, with the clock's limit among them.
        std::vector<int> expected{kClockLimitTenths};
        for (const std::uint32_t i : loaded.linesOf(category))
            expected.push_back(loaded.tenths(i));
        FUZZ_CHECK(
            std::is_sorted(times.begin(), times.end()) &&
            std::is_permutation(times.begin(), times.end(), expected.begin(), expected.end()));
        for (const RecordFilters& filters : {allFilters(), filtersFor(categoryAt(category))}) {
            const RecordsListing listing = listRecords(loaded, filters);
            FUZZ_CHECK(listing.ranked.size() == (filters == allFilters() ? loaded.size() : count));
            for (std::size_t rank = 1; rank < listing.ranked.size(); ++rank)
                FUZZ_CHECK(
                    !ranksBefore(lines[listing.ranked[rank]], lines[listing.ranked[rank - 1]]));
            FUZZ_CHECK(!listedLine(loaded, listing, 1).empty());
        }
    }

    if (hashOf(bytes) % kFileShare == 0) checkFileRoundTrip(bytes, texts, skipped, keep, trimmed);
    return 0;
}
