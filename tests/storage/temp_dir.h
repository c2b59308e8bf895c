// Test helpers: a fresh folder for real files, and plain reads and writes that do not go
// through the code under test.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quorvin::testing {

class TempDir {
  public:
    TempDir() {
        const char* base = std::getenv("TMPDIR");
        m_path = std::string(base && *base ? base : "/tmp") + "/quorvin-test-XXXXXX";
        if (!::mkdtemp(m_path.data())) throw std::runtime_error("mkdtemp failed");
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() { std::filesystem::remove_all(m_path, m_ignored); }
    const std::string& path() const { return m_path; }
    std::string file(std::string_view name) const { return m_path + "/" + std::string(name); }
    // The names of what the folder holds, sorted.
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(m_path))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }

  private:
    std::string m_path;
    std::error_code m_ignored;
};

inline std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void spit(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

} // namespace quorvin::testing
