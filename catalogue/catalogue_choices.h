#pragma once

// What the catalogue window's menus and search edit hold: the map scale, the feature type and the
// kind of object, each with the caption its button shows, and the filter they make.

#include <string>

#include "catalogue/feature.h"
#include "catalogue/menus.h"

namespace navisaz {

struct CatalogueChoices {
    std::u16string scaleCaption = InitialScaleCaption;
    int scale = InitialScale;  // the map scale's denominator
    std::u16string typeCaption = InitialTypeCaption;
    int type = 0;
    std::u16string kindCaption = InitialKindCaption;
    int kind = 0;
    std::u16string search;
    // The block library was loaded: its filter stands until a menu choice or the search changes.
    bool libraryFilter = false;

    // The scale does not enter the filter.
    void ChooseScale(const std::u16string& caption, int denominator);
    void ChooseType(const MenuChoice& choice);
    void ChooseKind(const MenuChoice& choice);
    void SetSearch(const std::u16string& text);

    FeatureFilter Filter() const;
    // The map scale factor the drawing commands apply: 1:500 gives 0.5.
    double ScaleFactor() const { return scale / 1000.0; }
};

}  // namespace navisaz
