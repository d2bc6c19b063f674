#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace navisaz::dxf {

// A DXF file that cannot be read: the message names the line (counted from 1) or the reason.
class DxfError : public std::runtime_error {
  public:
    DxfError(std::size_t line, const std::string& message)
        : std::runtime_error(line == 0 ? message : "line " + std::to_string(line) + ": " + message),
          line_(line) {}
    std::size_t line() const { return line_; }

  private:
    std::size_t line_;
};

}  // namespace navisaz::dxf
