#include "cad/cadole.h"

#include <cmath>
#include <numbers>
#include <random>

#include "cad/lineweight.h"
#include "cad/names.h"
#include "engine/naskh_encoder.h"
#include "engine/typed_text.h"
#include "support/number_format.h"

namespace navisaz {

const char16_t* const HostProgIds[46] = {
    u"Autocad.Application.30.1", u"Autocad.Application.30", u"Autocad.Application.29.2",
    u"Autocad.Application.29.1", u"Autocad.Application.29", u"Autocad.Application.28.2",
    u"Autocad.Application.28.1", u"Autocad.Application.28", u"Autocad.Application.27.2",
    u"Autocad.Application.27.1", u"Autocad.Application.27", u"Autocad.Application.26.2",
    u"Autocad.Application.26.1", u"Autocad.Application.26", u"Autocad.Application.25.2",
    u"Autocad.Application.25.1", u"Autocad.Application.25", u"Autocad.Application.24.2",
    u"Autocad.Application.24.1", u"Autocad.Application.24", u"Autocad.Application.23.2",
    u"Autocad.Application.23.1", u"Autocad.Application.23", u"Autocad.Application.22.2",
    u"Autocad.Application.22.1", u"Autocad.Application.22", u"Autocad.Application.21.2",
    u"Autocad.Application.21.1", u"Autocad.Application.21", u"Autocad.Application.20.2",
    u"Autocad.Application.20.1", u"Autocad.Application.20", u"Autocad.Application.19.2",
    u"Autocad.Application.19.1", u"Autocad.Application.19", u"Autocad.Application.18.2",
    u"Autocad.Application.18.1", u"Autocad.Application.18", u"Autocad.Application.17",
    u"Autocad.Application.17.2", u"Autocad.Application.16", u"Autocad.Application.15",
    u"Autocad.Application.14",   u"Autocad.Application.13", u"Autocad.Application.12",
    u"Autocad.Application.11",
};

namespace {

// The Persian text styles every adapter makes sure of; the last is the one returned.
struct FarsiStyle {
    const char16_t* name;
    const char16_t* fontFile;
    std::int32_t generationFlag;
};

constexpr FarsiStyle FarsiStyles[] = {
    {u"naskhc", u"naskhc.shx", 2},  // backwards
    {u"farsi", u"naskhd.shx", 2},
};

constexpr char16_t CarriageReturn = 13;
constexpr char16_t Escape = 27;
// Six Enters answer the rest of the "-style" questions with their defaults.
constexpr const char16_t* StyleDefaults = u"      ";

// The selection set an adapter creates when the drawing has none: "NY" and a random number.
constexpr const char16_t* SelectionSetPrefix = u"NY";
constexpr int SelectionSetNumbers = 99999;

// Seven spaces between the two coordinates make the host break the label into two lines.
constexpr const char16_t* LabelGap = u"       ";
constexpr int LabelFieldWidth = 8;

constexpr std::int32_t StraightLeaderWithArrow = 2;
constexpr long double TopAlignmentDrop = 0.2L;  // of the height, for the top alignments

bool IsBlank(char16_t c) {
    return c <= u' ';
}

std::u16string TrimBlanks(const std::u16string& text) {
    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first]))
        ++first;
    std::size_t last = text.size();
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

}  // namespace

std::unique_ptr<tacad> tacad::CreateBare(Platform& platform, HostLocator& locator) {
    return std::unique_ptr<tacad>(new tacad(platform, locator));
}

std::unique_ptr<tacad> tacad::Create(Platform& platform, HostLocator& locator) {
    std::unique_ptr<tacad> adapter = CreateBare(platform, locator);
    adapter->Connect();
    try {
        adapter->RefreshDocument();
        adapter->CreateFarsiStyles();
        adapter->DefineTextStyle("Romanc", "romanc.shx");
    } catch (const std::exception&) {
        // Drawing set-up is best effort: the commands test what they need.
    }
    return adapter;
}

std::u16string tacad::ToHost(const std::string& text) const {
    return WidenBytes(platform_.SystemCodePage(), text);
}

void tacad::Connect() {
    if (Connected) {
        return;
    }
    const char16_t* foundProgId = nullptr;
    for (const char16_t* progId : HostProgIds) {
        try {
            AcadApp = locator_.GetActiveObject(progId);
            foundProgId = progId;
            break;
        } catch (const HostLookupError&) {
            // Not registered or not running: the next release may be.
        }
    }
    if (foundProgId == nullptr) {
        platform_.ShowMessage(HostNotFoundMessage);
        return;
    }
    AcadApp->put_Visible(true);
    AcadAppVar = std::static_pointer_cast<Dispatch>(locator_.GetActiveObject(foundProgId));
    AcadDocs = AcadApp->Documents();
    AcadPrefs = AcadApp->Preferences();
    try {
        AcadPrefsOutput = AcadPrefs->Output();
    } catch (const HostCallRefused&) {
        platform_.ShowMessage(HostBusyMessage);
        return;
    }
    Connected = true;
}

void tacad::RefreshDocument() {
    try {
        AcadDoc = AcadApp->ActiveDocument();
        AcadModel = AcadDoc->ModelSpace();
        AcadPlot = AcadDoc->Plot();
        AcadUtil = AcadDoc->Utility();
        AcadPaper = AcadDoc->PaperSpace();
        AcadModelLayout = AcadModel->Layout();
        AcadLayouts = AcadDoc->Layouts();
        AcadActiveLayout = AcadDoc->ActiveLayout();
        AcadSelSets = AcadDoc->SelectionSets();
        AcadLayers = AcadDoc->Layers();
    } catch (const std::exception&) {
        // The fields not reached keep what they held.
    }
}

void tacad::ShowAcadWindow() {
    platform_.BringWindowToTop(AcadApp->HWND());
}

void tacad::ShowOwnWindow() {
    platform_.BringOwnWindowToTop();
}

std::shared_ptr<AcadTextStyle> tacad::CreateFarsiStyles() {
    std::shared_ptr<AcadTextStyles> styles;
    try {
        styles = AcadDoc->TextStyles();
    } catch (const std::exception&) {
        platform_.ShowMessage(LeaveCommandMessage);
    }
    std::shared_ptr<AcadTextStyle> result;
    try {
        if (!styles) {
            throw HostError("The drawing's text styles are not available");
        }
        for (const FarsiStyle& row : FarsiStyles) {
            std::shared_ptr<AcadTextStyle> style = styles->Add(row.name);
            style->put_fontFile(row.fontFile);
            style->put_TextGenerationFlag(row.generationFlag);
            result = style;
        }
    } catch (const std::exception&) {
        result.reset();
    }
    return result;
}

void tacad::DefineTextStyle(const std::string& name, const std::string& fontFile) {
    try {
        AcadDoc->SendCommand(u"-style " + ToHost(name) + CarriageReturn + ToHost(fontFile) +
                             CarriageReturn + StyleDefaults + Escape);
    } catch (const std::exception&) {
        // The style stays as it was; nothing the user must know.
    }
}

Variant tacad::MakePoint(long double x, long double y, long double z) {
    return PointVariant({static_cast<double>(x), static_cast<double>(y), static_cast<double>(z)});
}

Variant tacad::PointToVariant(const PointRecord& point) {
    return MakePoint(point.x, point.y, point.z);
}

Variant tacad::Point2dToVariant(const mcoor2d& point) {
    return MakePoint(point.X, point.Y, 0);
}

void tacad::GetPoint(PointRecord& point, const std::string& prompt, bool promptFirst) {
    const Variant base = PointToVariant(point);
    ShowAcadWindow();
    Variant picked;
    if (promptFirst) {
        AcadUtil->Prompt(ToHost(prompt));
        picked = AcadUtil->GetPoint(Variant(), Variant());
    } else {
        picked = AcadUtil->GetPoint(base, Variant(ToHost(prompt)));
    }
    const Variant::Array& values = picked.ToArray();
    if (values.size() < 3) {
        throw HostError("The host returned no point");
    }
    point = {values[0].ToDouble(), values[1].ToDouble(), values[2].ToDouble()};
}

std::shared_ptr<AcadSelectionSet> tacad::SelectEntities(std::uint8_t mode,
                                                        const std::string& typeName) {
    ShowAcadWindow();
    if (AcadSelSets->Count() == 0) {
        static std::mt19937 random{std::random_device{}()};
        std::uniform_int_distribution<int> number(0, SelectionSetNumbers - 1);
        AcadSelSets->Add(SelectionSetPrefix + Widen(std::to_string(number(random))));
    }
    std::shared_ptr<AcadSelectionSet> set =
        AcadSelSets->Item(Variant(static_cast<std::int32_t>(AcadSelSets->Count() - 1)));
    set->Clear();
    try {
        if (mode == 1) {
            set->SelectOnScreen(Variant(), Variant());
        } else if (mode == 6) {
            set->SelectOnScreen(Variant(Variant::Array{Variant(std::int16_t{0})}),
                                Variant(Variant::Array{Variant(ToHost(typeName))}));
        }
    } catch (const std::exception&) {
        platform_.ShowErrorWindow(3);
    }
    ShowOwnWindow();
    return set;
}

EntityPtr tacad::PickText(mText& text) {
    std::shared_ptr<AcadSelectionSet> set = SelectEntities(6, "TEXT");
    EntityPtr entity = set->Item(Variant(std::int32_t{0}));
    const Point3 at = PointFromVariant(entity->InsertionPoint());
    text.X = at.x;
    text.Y = at.y;
    text.Z = at.z;
    text.TextString = entity->TextString();
    text.Height = entity->Height();
    text.Rotation = entity->Rotation();
    return entity;
}

EntityPtr tacad::AddText(const mText& text) {
    if (TrimBlanks(text.TextString).empty() || text.Height == 0) {
        return nullptr;
    }
    std::u16string contents = text.TextString;
    if (text.EncodeNaskh) {
        const std::string windows = TypedTextToWindows(contents).bytes;
        contents = WidenBytes(platform_.SystemCodePage(), WindowsToNaskh(windows));
    }
    const bool modelSpace = AcadDoc->ActiveSpace() == 1;
    const Variant origin = MakePoint(0, 0, 0);
    EntityPtr entity = modelSpace
                           ? AcadModel->AddText(contents, origin, static_cast<double>(text.Height))
                           : AcadPaper->AddText(contents, origin, static_cast<double>(text.Height));
    entity->put_Alignment(text.Alignment);
    entity->put_Rotation(static_cast<double>(text.Rotation));
    entity->put_Backward(text.EncodeNaskh);
    if (text.Alignment >= 6 && text.Alignment <= 8) {
        // Top alignments: one fifth of the height towards the foot of the letters.
        const long double r = entity->Rotation();
        const long double drop = TopAlignmentDrop * text.Height;
        entity->Move(origin,
                     MakePoint(std::cos(r - std::numbers::pi_v<long double> / 2) * drop,
                               std::sin(r - std::numbers::pi_v<long double> / 2) * drop, 0));
    }
    entity->Move(origin, MakePoint(text.X, text.Y, text.Z));
    bool hasStyle = false;
    for (const char c : text.StyleName) {
        hasStyle = hasStyle || static_cast<unsigned char>(c) > ' ';
    }
    if (hasStyle) {
        try {
            entity->put_StyleName(ToHost(text.StyleName));
        } catch (const std::exception&) {
            // Unknown style: the text keeps the drawing's current one.
        }
    }
    return entity;
}

void tacad::AddCoordinateLabel(const EntityPtr& point, std::int32_t decimals, long double addX,
                               long double addY, long double divisor, float textHeight) {
    if (!point) {
        throw HostError("No point entity to label");
    }
    const std::vector<double> c = DoublesFromVariant(point->Coordinates());
    if (c.size() < 3) {
        throw HostError("The point has no coordinates");
    }
    const long double x = c[0] / divisor + addX;
    const long double y = c[1] / divisor + addY;
    const char16_t separator = platform_.DecimalSeparator();
    const std::u16string label = u"X=" + FormatFixed(x, decimals, separator, LabelFieldWidth) +
                                 LabelGap + u"Y=" +
                                 FormatFixed(y, decimals, separator, LabelFieldWidth);
    const float w =
        static_cast<float>((static_cast<long double>(label.size()) - 7) / 2 * textHeight);
    const Variant corner = MakePoint(c[0] - 2 * w, c[1] + w, c[2]);
    EntityPtr text = AcadModel->AddMText(corner, w, label);
    text->put_Height(textHeight);
    const Variant leaderPoints =
        DoublesVariant({c[0], c[1], c[2], c[0] - w, c[1] + w, c[2], c[0] - 2 * w, c[1] + w, c[2]});
    AcadModel->AddLeader(leaderPoints, Variant(Variant::Null{}), StraightLeaderWithArrow);
    text->Move(MakePoint(0, 0, 0), MakePoint(0, textHeight, 0));
}

void tacad::SetLinetype(const std::string& name, float scale) {
    AcadDoc->SendCommand(u"-lt s " + ToHost(name) + CarriageReturn + CarriageReturn);
    if (scale > 0) {
        AcadDoc->SendCommand(u"celtscale " + FormatFixed(scale, 2, platform_.DecimalSeparator()) +
                             u" ");
    }
}

void tacad::SetHatchDefaults(const std::string& name, float angle, float scale) {
    const char16_t separator = platform_.DecimalSeparator();
    AcadDoc->SendCommand(u"hpname " + ToHost(name) + u" ");
    AcadDoc->SendCommand(u"hpang " + FormatFixed(angle, 1, separator) + u" ");
    AcadDoc->SendCommand(u"hpscale " + FormatFixed(scale, 1, separator) + u" ");
}

std::shared_ptr<navisaz::AcadLayer> tacad::CreateLayer(const std::string& name, std::int32_t colour,
                                                       float widthMm) {
    const std::u16string layerName = ToHost(name);
    std::shared_ptr<AcadLayer> layer = AcadLayers->Add(layerName);
    // Made current by name through the untyped handle, as the host's own macros would.
    const Variant document = AcadAppVar->Invoke(u"activedocument", CallKind::PropertyGet, {});
    document.ToObject()->Invoke(u"activelayer", CallKind::PropertyPut,
                                {Variant(std::static_pointer_cast<Dispatch>(layer))});
    layer = AcadLayers->Add(layerName);
    layer->put_color(colour);
    layer->put_Lineweight(LineweightFromMm(widthMm));
    AcadDoc->SetVariable(u"CECOLOR", Variant(u"BYLAYER"));
    return layer;
}

}  // namespace navisaz
