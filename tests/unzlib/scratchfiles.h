#pragma once

// Files of the unzip library's tests. No Qt: these tests also run as
// Windows programs. Paths are UTF-8 strings, as the library takes them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

inline fs::path fsPath(const std::string &utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string readAll(const std::string &path)
{
    std::ifstream in(fsPath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeAll(const std::string &path, const std::string &bytes)
{
    std::ofstream out(fsPath(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    ASSERT_TRUE(out.flush()) << path;
}

inline bool exists(const std::string &path)
{
    return fs::exists(fsPath(path));
}

inline void setModified(const std::string &path, std::int64_t secondsSinceEpoch)
{
    const std::chrono::sys_seconds when{std::chrono::seconds(secondsSinceEpoch)};
    fs::last_write_time(fsPath(path), std::chrono::file_clock::from_sys(when));
}

// File names in a folder, hidden ones (temporary files) included, sorted.
inline std::vector<std::string> filesIn(const std::string &dir)
{
    std::vector<std::string> names;
    for (const fs::directory_entry &entry : fs::directory_iterator(fsPath(dir)))
        if (entry.is_regular_file()) {
            const std::u8string name = entry.path().filename().u8string();
            names.emplace_back(name.begin(), name.end());
        }
    std::sort(names.begin(), names.end());
    return names;
}

// A new folder of its own, removed with everything in it.
class ScratchDir {
public:
    ScratchDir()
    {
        std::random_device random;
        do
            path_ = fs::temp_directory_path() / ("unzlib-test-" + std::to_string(random()));
        while (!fs::create_directory(path_));
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;

    std::string path() const
    {
        const std::u8string name = path_.generic_u8string();
        return std::string(name.begin(), name.end());
    }

private:
    fs::path path_;
};
