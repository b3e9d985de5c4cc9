#pragma once
// A fresh folder per test under the system's temporary folder, removed afterwards.

#include <atomic>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

#include <unistd.h>

namespace vorlane::testing {

class TempFolder {
  public:
    TempFolder() {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("vorlane-test-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string Path() const { return path_.string(); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

    // Creates (or replaces) a file with the given bytes and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::string file = File(name);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
        return file;
    }

    // Builds a tree from "path=bytes" entries; an entry without '=' is an empty folder.
    void WriteTree(std::initializer_list<std::string> entries) const {
        for (const std::string& entry : entries) {
            const std::size_t equals = entry.find('=');
            const std::filesystem::path path = path_ / entry.substr(0, equals);
            std::filesystem::create_directories(equals == std::string::npos ? path
                                                                            : path.parent_path());
            if (equals != std::string::npos) {
                Write(entry.substr(0, equals), entry.substr(equals + 1));
            }
        }
    }

    static std::string Read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

  private:
    std::filesystem::path path_;
};

}  // namespace vorlane::testing
