#include "cad/variant.h"

#include <cmath>

#include "cad/host_error.h"
#include "engine/utf8.h"

namespace navisaz {

namespace {

[[noreturn]] void TypeMismatch(const char* wanted) {
    throw HostError(std::string("Type mismatch: ") + wanted + " expected");
}

}  // namespace

bool Variant::ToBool() const {
    if (const auto* b = std::get_if<bool>(&value_))
        return *b;
    if (const auto* i = std::get_if<std::int16_t>(&value_))
        return *i != 0;
    if (const auto* i = std::get_if<std::int32_t>(&value_))
        return *i != 0;
    if (const auto* d = std::get_if<double>(&value_))
        return *d != 0;
    TypeMismatch("Boolean");
}

std::int32_t Variant::ToInt32() const {
    if (const auto* i = std::get_if<std::int32_t>(&value_))
        return *i;
    if (const auto* i = std::get_if<std::int16_t>(&value_))
        return *i;
    if (const auto* b = std::get_if<bool>(&value_))
        return *b ? -1 : 0;
    if (const auto* d = std::get_if<double>(&value_)) {
        if (!(std::fabs(*d) < 2147483648.0))
            TypeMismatch("32-bit integer in range");
        return static_cast<std::int32_t>(std::nearbyint(*d));
    }
    TypeMismatch("integer");
}

double Variant::ToDouble() const {
    if (const auto* d = std::get_if<double>(&value_))
        return *d;
    if (const auto* i = std::get_if<std::int32_t>(&value_))
        return *i;
    if (const auto* i = std::get_if<std::int16_t>(&value_))
        return *i;
    if (const auto* b = std::get_if<bool>(&value_))
        return *b ? -1 : 0;
    TypeMismatch("number");
}

std::u16string Variant::ToString() const {
    if (const auto* s = std::get_if<std::u16string>(&value_))
        return *s;
    if (const auto* i = std::get_if<std::int32_t>(&value_)) {
        return DecodeUtf8(std::to_string(*i)).text;
    }
    if (const auto* i = std::get_if<std::int16_t>(&value_)) {
        return DecodeUtf8(std::to_string(*i)).text;
    }
    TypeMismatch("string");
}

const Variant::Array& Variant::ToArray() const {
    if (const auto* a = std::get_if<Array>(&value_))
        return *a;
    TypeMismatch("array");
}

Variant::Object Variant::ToObject() const {
    if (const auto* o = std::get_if<Object>(&value_)) {
        if (*o)
            return *o;
    }
    TypeMismatch("object");
}

Variant PointVariant(const Point3& p) {
    return Variant(Variant::Array{p.x, p.y, p.z});
}

Point3 PointFromVariant(const Variant& v) {
    const Variant::Array& a = v.ToArray();
    if (a.size() < 3) {
        throw HostError("Invalid point: an array of three numbers expected");
    }
    return {a[0].ToDouble(), a[1].ToDouble(), a[2].ToDouble()};
}

Variant DoublesVariant(const std::vector<double>& values) {
    Variant::Array a(values.begin(), values.end());
    return Variant(std::move(a));
}

std::vector<double> DoublesFromVariant(const Variant& v) {
    std::vector<double> values;
    for (const Variant& item : v.ToArray()) {
        values.push_back(item.ToDouble());
    }
    return values;
}

}  // namespace navisaz
