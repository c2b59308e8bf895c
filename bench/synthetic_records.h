// What the benchmarks share: synthetic records files made from a fixed seed, a temporary folder
// on the same disk as the game's data, and the median of a set of timings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvin::bench {

// The bytes of a records file of `lines` records, as the game writes them (Windows-1252, quoted,
// CR LF): categories drawn evenly over the 297, times from 0.1 s to 999 s, dates from 2000 to
// 2024 and names with accented letters, in several letter cases. The same count and seed give
// the same bytes.
std::string syntheticRecordsBytes(std::size_t lines, std::uint64_t seed = 20240611);

// One more record's file text, as the game would append it, drawn from `state`.
std::string syntheticRecordText(std::uint64_t& state);

// Writes the bytes; with `durable`, syncs them before returning. False when it fails.
bool writeFile(const std::string& path, std::string_view bytes, bool durable);
// Syncs a file's written pages to the disk.
bool syncFile(const std::string& path);

// A new folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // With a trailing '/'.
    const std::string& path() const { return m_path; }

  private:
    std::string m_path;
};

// The median: the middle value, or the mean of the two middle values.
double median(std::vector<double> values);

// Nanoseconds of CLOCK_MONOTONIC: one clock for every process, so a child's times and the
// parent's compare.
long long monotonicNs();

} // namespace quorvin::bench
