#include "catalogue/catalogue_choices.h"

namespace navisaz {

void CatalogueChoices::ChooseScale(const std::u16string& caption, int denominator) {
    scaleCaption = ScaleCaptionPrefix + caption;
    scale = denominator;
}

void CatalogueChoices::ChooseType(const MenuChoice& choice) {
    typeCaption = TypeCaptionPrefix + std::u16string(choice.caption);
    type = choice.tag;
    libraryFilter = false;
}

void CatalogueChoices::ChooseKind(const MenuChoice& choice) {
    kindCaption = choice.caption;
    kind = choice.tag;
    libraryFilter = false;
}

void CatalogueChoices::SetSearch(const std::u16string& text) {
    search = text;
    libraryFilter = false;
}

FeatureFilter CatalogueChoices::Filter() const {
    FeatureFilter filter;
    filter.type = type;
    filter.kind = kind >= 0 && kind <= 3 ? static_cast<FeatureKind>(kind) : FeatureKind::All;
    filter.search = search;
    filter.library = libraryFilter;
    return filter;
}

}  // namespace navisaz
