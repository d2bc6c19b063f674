#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace navisaz {

class Dispatch;

// A value that crosses the automation boundary: what COM carries in a VARIANT, as far as the
// program uses it. Empty also stands for an optional argument that is left out.
class Variant {
  public:
    struct Empty {
        bool operator==(const Empty&) const = default;
    };
    struct Null {
        bool operator==(const Null&) const = default;
    };
    using Array = std::vector<Variant>;
    using Object = std::shared_ptr<Dispatch>;
    using Value = std::variant<Empty, Null, bool, std::int16_t, std::int32_t, double,
                               std::u16string, Object, Array>;

    Variant() = default;
    Variant(Null) : value_(Null{}) {}
    Variant(bool b) : value_(b) {}
    Variant(std::int16_t i) : value_(i) {}
    Variant(std::int32_t i) : value_(i) {}
    Variant(double d) : value_(d) {}
    Variant(std::u16string s) : value_(std::move(s)) {}
    Variant(const char16_t* s) : value_(std::u16string(s)) {}
    Variant(Object o) : value_(std::move(o)) {}
    Variant(Array a) : value_(std::move(a)) {}

    bool IsEmpty() const { return std::holds_alternative<Empty>(value_); }
    bool IsNull() const { return std::holds_alternative<Null>(value_); }
    bool IsArray() const { return std::holds_alternative<Array>(value_); }
    bool IsString() const { return std::holds_alternative<std::u16string>(value_); }
    bool IsObject() const { return std::holds_alternative<Object>(value_); }

    // Conversions as automation performs them; a value that cannot convert raises HostError.
    bool ToBool() const;
    std::int32_t ToInt32() const;
    double ToDouble() const;
    std::u16string ToString() const;
    const Array& ToArray() const;
    Object ToObject() const;

    const Value& value() const { return value_; }
    bool operator==(const Variant& other) const = default;

  private:
    Value value_;
};

// A point as the host takes it: an array of three doubles.
struct Point3 {
    double x = 0;
    double y = 0;
    double z = 0;
    bool operator==(const Point3&) const = default;
};

Variant PointVariant(const Point3& p);
// Reads an array of at least three numbers; raises HostError otherwise.
Point3 PointFromVariant(const Variant& v);
// An array of doubles (coordinates lists).
Variant DoublesVariant(const std::vector<double>& values);
std::vector<double> DoublesFromVariant(const Variant& v);

}  // namespace navisaz
