// Synthetic records files, the temporary folder and the median of the benchmarks.
#include "synthetic_records.h"

#include "records/record_line.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <filesystem>
#include <stdexcept>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace quorvin::bench {

namespace {

// Names as players type them (UTF-8): accents, tildes, a diaeresis, a Nordic letter, one longer
// than the ten bytes a record keeps, and one name in three letter cases, so that equal times are
// ordered by the case-insensitive comparison of names.
constexpr std::array<std::string_view, 24> kNames = {
    "José",  "JOSÉ",  "josé",  "María",   "Begoña",  "Íñigo",
    "Ángel", "Renée", "Zoë",   "Müller",  "Ødegård", "Françoise Dupont",
    "Nuño",  "Iñaki", "Jesús", "Inés",    "Ramón",   "Lucía",
    "Óscar", "Raúl",  "Sofía", "Anónimo", "jugador", "Ana Peña"};

// splitmix64: a fixed, portable sequence (the standard distributions are not portable).
std::uint64_t next(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int below(std::uint64_t& state, int bound) {
    return static_cast<int>(next(state) % static_cast<std::uint64_t>(bound));
}

} // namespace

std::string syntheticRecordText(std::uint64_t& state) {
    const int category = below(state, kCategoryCount);
    const int tenths = 1 + below(state, kClockLimitTenths);
    const RecordDate date{2000 + below(state, 25), 1 + below(state, 12), 1 + below(state, 28)};
    const std::string_view name =
        kNames[static_cast<std::size_t>(below(state, static_cast<int>(kNames.size())))];
    return recordText(tenths, date, name, category);
}

std::string syntheticRecordsBytes(std::size_t lines, std::uint64_t seed) {
    std::string bytes;
    bytes.reserve(lines * 56);
    std::uint64_t state = seed;
    for (std::size_t i = 0; i < lines; ++i)
        bytes += fileLine(syntheticRecordText(state));
    return bytes;
}

bool writeFile(const std::string& path, std::string_view bytes, bool durable) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        ok = n > 0;
        if (ok) done += static_cast<std::size_t>(n);
    }
    if (ok && durable) ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

bool syncFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

TempFolder::TempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quorvin-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make " + pattern);
    m_path = pattern + '/';
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

long long monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

} // namespace quorvin::bench
