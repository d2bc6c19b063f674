#pragma once

// Files and programs for the DXF tests: a scratch folder, and the other programs that read and
// write DXF (ezdxf under Debian's Python, GDAL's ogrinfo and ogr2ogr).

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace navisaz::testing {

struct CommandResult {
    int status = -1;
    std::string output;
};

inline CommandResult RunCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return result;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.output.append(buffer, n);
    result.status = ::pclose(pipe);
    return result;
}

// Runs a Python program with Debian's interpreter, where python3-ezdxf lives.
inline CommandResult RunPython(const std::filesystem::path& folder, const std::string& program) {
    const std::filesystem::path script = folder / "script.py";
    std::ofstream(script) << program;
    return RunCommand("/usr/bin/python3 " + script.string());
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class ScratchFolder {
  public:
    ScratchFolder() {
        path_ = std::filesystem::temp_directory_path() /
                ("navisaz-dxf-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code error;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, error);
        std::filesystem::remove_all(path_, error);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

}  // namespace navisaz::testing
