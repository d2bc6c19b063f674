#pragma once

// The automation objects of the substitute host, each a view on the drawing data it belongs to.
// Every call first checks that the host is free to take it.

#include <memory>

#include "cad/automation.h"
#include "cad/sim/drawing.h"

namespace navisaz::sim {

class SimApplication;

std::shared_ptr<AcadDocument> MakeDocumentObject(std::shared_ptr<SimApplication> host,
                                                 std::shared_ptr<Drawing> drawing);
std::shared_ptr<AcadEntity> MakeEntityObject(std::shared_ptr<SimApplication> host,
                                             std::shared_ptr<Drawing> drawing, EntityRef entity);
std::shared_ptr<AcadDocuments> MakeDocumentsObject(std::shared_ptr<SimApplication> host);
std::shared_ptr<AcadPreferences> MakePreferencesObject(std::shared_ptr<SimApplication> host);

// The documented character-width rule of the host's text extents: every character of a
// single-line text is 0.8 text heights wide (times the style's width factor), and the text
// reaches from its baseline up to one height. Backward texts run the other way from their
// insertion point. The box is the axis-aligned box around that rectangle, rotated with the text.
void TextExtents(const EntityData& text, double widthFactor, Point3& minPoint, Point3& maxPoint);
inline constexpr double CharacterWidthInHeights = 0.8;

}  // namespace navisaz::sim
