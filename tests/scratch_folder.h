#pragma once

// A folder of its own for one test, removed with everything in it afterwards (also when a test
// made it read-only).

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>

namespace navisaz::testing {

class ScratchFolder {
  public:
    ScratchFolder() {
        static std::atomic<int> made{0};
        path_ = std::filesystem::temp_directory_path() /
                ("navisaz-test-" + std::to_string(::getpid()) + "-" + std::to_string(++made));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code error;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, error);
        std::filesystem::remove_all(path_, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

}  // namespace navisaz::testing
