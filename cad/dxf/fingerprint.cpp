#include "cad/dxf/fingerprint.h"

#include <cstring>
#include <string>
#include <vector>

namespace navisaz::dxf {

namespace {

// FNV-1a over the bytes of each field, each field followed by a separator so that moving bytes
// between neighbouring fields changes the digest.
class Digest {
  public:
    void Bytes(const void* data, std::size_t size) {
        const auto* p = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            hash_ = (hash_ ^ p[i]) * 1099511628211ULL;
        }
        hash_ = (hash_ ^ 0xFF) * 1099511628211ULL;
    }
    template <typename T>
    void Value(const T& value) {
        Bytes(&value, sizeof value);
    }
    void Text(const std::u16string& text) { Bytes(text.data(), text.size() * sizeof(char16_t)); }
    void Point(const Point3& p) {
        Value(p.x);
        Value(p.y);
        Value(p.z);
    }
    void Points(const std::vector<Point3>& points) {
        Value(points.size());
        for (const Point3& p : points)
            Point(p);
    }
    void Numbers(const std::vector<double>& values) {
        Value(values.size());
        for (const double v : values)
            Value(v);
    }
    std::uint64_t hash() const { return hash_; }

  private:
    std::uint64_t hash_ = 14695981039346656037ULL;
};

}  // namespace

std::uint64_t Fingerprint(const sim::EntityData& e) {
    Digest d;
    d.Value(e.kind);
    d.Text(e.handle);
    d.Text(e.layer);
    d.Value(e.color);
    d.Text(e.linetype);
    d.Value(e.linetypeScale);
    d.Value(e.lineweight);
    d.Text(e.text);
    d.Point(e.insertion);
    d.Value(e.height);
    d.Value(e.rotation);
    d.Value(e.alignment);
    d.Value(e.backward);
    d.Text(e.style);
    d.Value(e.width);
    d.Points(e.points);
    d.Numbers(e.startWidths);
    d.Numbers(e.endWidths);
    d.Value(e.constantWidth);
    d.Value(e.closed);
    d.Value(e.radius);
    d.Text(e.patternName);
    d.Value(e.patternType);
    d.Value(e.patternAngle);
    d.Value(e.patternScale);
    d.Value(e.loops.size());
    for (const auto& loop : e.loops)
        d.Points(loop);
    d.Text(e.blockName);
    d.Value(e.xScale);
    d.Value(e.yScale);
    d.Value(e.zScale);
    return d.hash();
}

}  // namespace navisaz::dxf
