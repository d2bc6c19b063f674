#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace navisaz {

// A failed call into the CAD host. Everything the host contract raises belongs to this family:
// a refused or failing call, a member the object does not have, an adapter without its objects.
class HostError : public std::runtime_error {
  public:
    explicit HostError(const std::string& message) : std::runtime_error(message) {}
};

// A call the host refused with an error code, as AutoCAD does while one of its own commands is
// running (the busy test relies on it).
class HostCallRefused : public HostError {
  public:
    static constexpr std::uint32_t CallRejected = 0x80010001;  // RPC_E_CALL_REJECTED

    explicit HostCallRefused(std::uint32_t code = CallRejected)
        : HostError("Call was rejected by callee."), code_(code) {}
    std::uint32_t code() const { return code_; }

  private:
    std::uint32_t code_;
};

// The lookup of a running host by ProgID failed (not registered, or no instance running).
class HostLookupError : public HostError {
  public:
    explicit HostLookupError(const std::string& message) : HostError(message) {}
};

// What the host reports when the user typed free text where a number was asked and free text was
// allowed.
inline constexpr const char* UserInputIsAKeyword = "User input is a keyword";

}  // namespace navisaz
