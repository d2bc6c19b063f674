#include "cad/dxf/dxf_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "cad/names.h"

namespace navisaz::dxf {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void SaveFailed(const fs::path& path, const std::string& why) {
    throw DxfError(0, "cannot save " + path.string() + ": " + why);
}

// Writes all of text to a new file beside target and flushes it to the disk; returns its path.
fs::path WriteTemporary(const fs::path& target, const std::string& text) {
    std::string pattern =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        SaveFailed(target, std::strerror(errno));
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const std::string why = std::strerror(errno);
            ::close(fd);
            ::unlink(pattern.c_str());
            SaveFailed(target, why);
        }
        written += static_cast<std::size_t>(n);
    }
    // The saved file gets the permissions the old one had, or those of any new file.
    struct stat old {};
    mode_t mode = 0;
    if (::stat(target.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0 || ::close(fd) != 0) {
        const std::string why = std::strerror(errno);
        ::unlink(pattern.c_str());
        SaveFailed(target, why);
    }
    return pattern;
}

}  // namespace

std::shared_ptr<sim::Drawing> OpenDxf(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw DxfError(0, "cannot open " + path.string() + ": " + std::strerror(errno));
    }
    std::stringstream bytes;
    bytes << file.rdbuf();
    std::shared_ptr<sim::Drawing> drawing;
    try {
        drawing = ReadDxf(std::move(bytes).str());
    } catch (const DxfError& error) {
        throw DxfError(error.line(), path.filename().string() + ": " + error.what());
    }
    drawing->path = path.u16string();
    drawing->name = path.filename().u16string();
    return drawing;
}

void SaveDxf(const sim::Drawing& drawing, const fs::path& path) {
    const std::string text = WriteDxf(drawing);
    const fs::path temporary = WriteTemporary(path, text);
    std::error_code error;
    if (fs::exists(path, error)) {
        fs::path backup = path;
        backup.replace_extension(".bak");
        fs::copy_file(path, backup, fs::copy_options::overwrite_existing, error);
        if (error) {
            fs::remove(temporary);
            SaveFailed(path, "cannot keep the previous file as " + backup.filename().string() +
                                 ": " + error.message());
        }
    }
    fs::rename(temporary, path, error);
    if (error) {
        fs::remove(temporary);
        SaveFailed(path, error.message());
    }
}

fs::path BlockDrawingFile(const fs::path& requested) {
    std::string extension = requested.extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const fs::path resolved = ResolveCase(requested);
    if (extension == ".dwg" && !fs::exists(resolved)) {
        fs::path dxf = requested;
        dxf.replace_extension(".dxf");
        return ResolveCase(dxf);
    }
    return resolved;
}

}  // namespace navisaz::dxf

#include "cad/host_error.h"
#include "cad/sim/sim_application.h"

namespace navisaz::dxf {

void ReadDrawingFilesAsDxf(sim::SimApplication& host) {
    host.drawingFileReader = [](const std::u16string& path) {
        std::u16string portable = path;
#ifndef _WIN32
        std::replace(portable.begin(), portable.end(), u'\\', u'/');
#endif
        try {
            return OpenDxf(BlockDrawingFile(fs::path(portable)));
        } catch (const DxfError& error) {
            throw HostError(error.what());
        }
    };
}

}  // namespace navisaz::dxf
