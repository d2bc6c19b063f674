#include "catalogue/feature.h"

#include <algorithm>

#include "cad/names.h"

namespace navisaz {

namespace {

constexpr const char16_t* NoValue = u"-";

std::u16string Trim(const std::u16string& text) {
    const auto first = text.find_first_not_of(u" \t");
    if (first == std::u16string::npos)
        return {};
    const auto last = text.find_last_not_of(u" \t");
    return text.substr(first, last - first + 1);
}

bool Has(const std::u16string& value) {
    const std::u16string trimmed = Trim(value);
    return !trimmed.empty() && trimmed != NoValue;
}

}  // namespace

std::u16string FilterText(const FeatureFilter& filter) {
    if (filter.library)
        return u"Block_Name  <> '-' ";
    std::u16string text;
    if (filter.type > 0)
        text = u" (a = " + Widen(std::to_string(filter.type)) + u") ";
    if (filter.kind == FeatureKind::Point) {
        text += u"and (IsExist = true)  and ( Block_Name  <> '-' )";
    } else if (filter.kind == FeatureKind::Surface) {
        text += u"and ( Hatch_Name  <> '-' )";
    }
    const std::u16string search = Trim(filter.search);
    if (!search.empty())
        text += u"and (Farsi_Name like '%" + search + u"%' )";
    if (text.starts_with(u"and"))
        text.erase(0, 3);
    return text;
}

bool Matches(const FeatureFilter& filter, const FeatureRecord& feature) {
    if (filter.library)
        return Trim(feature.blockName) != NoValue;
    if (filter.type > 0 && Trim(feature.type) != Widen(std::to_string(filter.type)))
        return false;
    switch (filter.kind) {
        case FeatureKind::Point:
            if (!feature.isExist || Trim(feature.blockName) == NoValue)
                return false;
            break;
        case FeatureKind::Line:
            if (!Has(feature.linetype) || Has(feature.blockName))
                return false;
            break;
        case FeatureKind::Surface:
            if (Trim(feature.hatchName) == NoValue)
                return false;
            break;
        case FeatureKind::All:
            break;
    }
    const std::u16string search = FoldCase(Trim(filter.search));
    return search.empty() || FoldCase(feature.farsiName).find(search) != std::u16string::npos;
}

}  // namespace navisaz
