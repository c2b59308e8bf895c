// The writers' calls, and what a power cut after any of them would leave.
#include "storage/power_cut.h"

#include <algorithm>
#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

namespace quorvin {

namespace {

constexpr int kFolder = -1; // a descriptor of the folder itself

PowerCutRecorder* g_recorder = nullptr;

// The whole file behind a descriptor, even one opened for writing only.
std::string bytesBehind(int fd) {
    std::string bytes;
    const int in = ::open(("/proc/self/fd/" + std::to_string(fd)).c_str(), O_RDONLY | O_CLOEXEC);
    char block[4096];
    for (ssize_t n; in >= 0 && (n = ::read(in, block, sizeof block)) > 0;)
        bytes.append(block, static_cast<std::size_t>(n));
    if (in >= 0) ::close(in);
    return bytes;
}

} // namespace

namespace recorded {

int open(const std::string& path, int flags, mode_t mode) {
    const int fd = ::open(path.c_str(), flags, mode);
    if (fd >= 0 && g_recorder) g_recorder->opened(fd, path);
    return fd;
}

ssize_t write(int fd, const void* data, std::size_t size) {
    const ssize_t written = ::write(fd, data, size);
    if (written > 0 && g_recorder) g_recorder->changed(fd);
    return written;
}

int ftruncate(int fd, off_t size) {
    const int result = ::ftruncate(fd, size);
    if (result == 0 && g_recorder) g_recorder->changed(fd);
    return result;
}

int fsync(int fd) {
    const int result = ::fsync(fd);
    if (result == 0 && g_recorder) g_recorder->synced(fd);
    return result;
}

int rename(const std::string& from, const std::string& to) {
    const int result = ::rename(from.c_str(), to.c_str());
    if (result == 0 && g_recorder) g_recorder->renamed(from, to);
    return result;
}

int unlink(const std::string& path) {
    const int result = ::unlink(path.c_str());
    if (result == 0 && g_recorder) g_recorder->unlinked(path);
    return result;
}

int close(int fd) {
    if (g_recorder) g_recorder->closed(fd); // first: the number is free again once closed
    return ::close(fd);
}

} // namespace recorded

PowerCutRecorder::PowerCutRecorder(std::string folder) : m_folder(std::move(folder)) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(m_folder, error)) {
        if (!entry.is_regular_file()) continue;
        const int file = m_files++;
        m_names[entry.path().filename().string()] = file;
        const int fd = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC);
        m_durableBytes[file] = bytesBehind(fd);
        if (fd >= 0) ::close(fd);
    }
    m_durableNames = m_names;
    g_recorder = this;
}

PowerCutRecorder::~PowerCutRecorder() {
    g_recorder = nullptr;
}

std::map<std::string, std::string> PowerCutRecorder::afterCut(std::size_t calls) const {
    Names names = m_durableNames;
    std::map<int, std::string> bytes = m_durableBytes;
    for (std::size_t i = 0; i < std::min(calls, m_steps.size()); ++i) {
        if (m_steps[i].names) names = *m_steps[i].names;
        if (m_steps[i].file >= 0) bytes[m_steps[i].file] = m_steps[i].bytes;
    }
    std::map<std::string, std::string> files;
    for (const auto& [name, file] : names)
        files[name] = bytes[file]; // a file never synced is empty
    return files;
}

std::optional<std::string> PowerCutRecorder::nameOf(const std::string& path) const {
    if (path == m_folder || path == m_folder + "/") return std::string();
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos || path.compare(0, slash, m_folder) != 0 ||
        slash != m_folder.size())
        return std::nullopt;
    return path.substr(slash + 1);
}

void PowerCutRecorder::opened(int fd, const std::string& path) {
    const auto name = nameOf(path);
    if (!name) return;
    if (name->empty()) {
        m_descriptors[fd] = kFolder;
    } else {
        // A name it has not seen is a new file, with nothing durable yet.
        const auto [at, created] = m_names.try_emplace(*name, m_files);
        if (created) ++m_files;
        m_descriptors[fd] = at->second;
    }
    m_steps.emplace_back();
}

void PowerCutRecorder::changed(int fd) {
    if (m_descriptors.count(fd)) m_steps.emplace_back();
}

void PowerCutRecorder::synced(int fd) {
    const auto at = m_descriptors.find(fd);
    if (at == m_descriptors.end()) return;
    if (at->second == kFolder)
        m_steps.push_back({m_names, -1, {}});
    else
        m_steps.push_back({std::nullopt, at->second, bytesBehind(fd)});
}

void PowerCutRecorder::renamed(const std::string& from, const std::string& to) {
    const auto source = nameOf(from), target = nameOf(to);
    if (!source || !target || !m_names.count(*source)) return;
    m_names[*target] = m_names[*source];
    m_names.erase(*source);
    m_steps.emplace_back();
}

void PowerCutRecorder::unlinked(const std::string& path) {
    const auto name = nameOf(path);
    if (name && m_names.erase(*name)) m_steps.emplace_back();
}

void PowerCutRecorder::closed(int fd) {
    if (m_descriptors.erase(fd)) m_steps.emplace_back();
}

} // namespace quorvin
