#pragma once

// Reads tables of a Microsoft Access file (through mdbtools' library) into a SQLite file, so that
// the program can work on Access data without writing to the Access file.

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace navisaz {

class AccessImportError : public std::runtime_error {
  public:
    explicit AccessImportError(const std::string& message) : std::runtime_error(message) {}
};

// The user tables of the file.
std::vector<std::string> AccessTables(const std::filesystem::path& accessFile);

// Copies one table with its columns and rows into a new table of the same name in the SQLite
// file; numbers become INTEGER or REAL columns, Yes/No columns 0 or 1, everything else TEXT.
// progress gets rows done and rows in all. Raises AccessImportError; on failure the SQLite file
// holds no part of the table.
void ImportAccessTable(const std::filesystem::path& accessFile, const std::string& table,
                       const std::filesystem::path& sqliteFile,
                       const std::function<void(std::size_t, std::size_t)>& progress = {});

}  // namespace navisaz
