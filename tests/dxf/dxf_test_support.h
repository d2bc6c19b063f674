#pragma once

// Files and programs for the DXF tests: a scratch folder, and the other programs that read and
// write DXF (ezdxf under Debian's Python, GDAL's ogrinfo and ogr2ogr).

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "scratch_folder.h"

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

}  // namespace navisaz::testing
