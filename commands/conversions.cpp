#include "commands/conversions.h"

#include "cad/names.h"
#include "engine/naskh_decoder.h"
#include "engine/naskh_encoder.h"
#include "engine/shiraz2_decoder.h"
#include "engine/typed_text.h"
#include "support/number_parse.h"
#include "support/records.h"

namespace navisaz {

namespace {

constexpr const char16_t* WindowsFontStyle = u"farsiWin";
constexpr const char16_t* NaskhStyle = u"farsi";
constexpr const char16_t* NaskhFont = u"naskhd.shx";
constexpr long double ParagraphPitchInHeights = 2.0L;
constexpr long double ShiftOfDiagonal = 0.94L;

// Literal pieces of the multi-line text codes, in either width of text.
template <typename String>
String Literal(const char* ascii) {
    return String(ascii, ascii + std::char_traits<char>::length(ascii));
}

// Drops the code at position at (up to and including its ";"), putting the cleaned rest before
// the text that stood in front of it.
template <typename String>
String WithoutCode(const String& text, std::size_t at) {
    const std::size_t end = text.find(static_cast<typename String::value_type>(';'), at);
    if (end == String::npos)
        return text.substr(0, at);  // no ";": the rest goes
    return StripMTextCodes(text.substr(end + 1)) + text.substr(0, at);
}

using Decoder = std::string (*)(std::u16string_view);

// Multi-line text: each paragraph as a single-line text from the insertion point downwards, then
// the multi-line text goes. encode turns a raw paragraph into the new text's contents.
void SplitMText(const CommandContext& context, tacad& adapter, const EntityPtr& mtext,
                const std::u16string& contents,
                const std::function<std::u16string(const std::u16string&)>& encode,
                const char16_t* style, bool backward) {
    const Point3 at = PointFromVariant(mtext->InsertionPoint());
    mcoor2d point = MakeCoor2d(at.x, at.y);
    for (const std::u16string& paragraph : SplitParagraphs(contents)) {
        mText record;
        record.X = point.X;
        record.Y = point.Y;
        record.TextString = encode(paragraph);
        record.Height = mtext->Height();
        record.Rotation = mtext->Rotation();
        record.StyleName = TypedTextToWindows(style).bytes;
        const EntityPtr text = adapter.AddText(record);
        if (text && backward)
            text->put_Backward(true);
        point.Y -= ParagraphPitchInHeights * mtext->Height();
    }
    mtext->Delete();
    (void)context;
}

void ConvertToWindowsFont(const CommandContext& context, Decoder decode) {
    const std::unique_ptr<tacad> adapter = context.CreateAdapter();
    if (!adapter->Connected)
        return;
    const std::shared_ptr<AcadSelectionSet> set = adapter->SelectEntities(1, "");
    const std::shared_ptr<AcadTextStyle> style =
        adapter->AcadDoc->TextStyles()->Add(WindowsFontStyle);
    style->SetFont(context.controls.Text(Control::Edit3), false, false, 0, 1);
    style->put_TextGenerationFlag(0);
    const auto decoded = [decode](const std::u16string& glyphs) {
        return WidenBytes(CodePage::Windows1256, decode(glyphs));
    };
    for (std::int32_t i = 0; i < set->Count(); ++i) {
        const EntityPtr entity = set->Item(Variant(i));
        const std::u16string kind = entity->ObjectName();
        if (kind == u"AcDbText") {
            entity->put_TextString(decoded(entity->TextString()));
            entity->put_StyleName(WindowsFontStyle);
            entity->put_Backward(false);
        } else if (kind == u"AcDbMText") {
            const std::u16string contents = entity->TextString();
            if (contents.empty())
                continue;
            SplitMText(
                context, *adapter, entity, contents,
                [&decoded](const std::u16string& paragraph) {
                    return decoded(StripMTextCodes(paragraph));
                },
                WindowsFontStyle, false);
        }
    }
}

std::u16string NaskhOf(const CommandContext& context, const std::u16string& text) {
    return WidenBytes(context.platform.SystemCodePage(),
                      WindowsToNaskh(TypedTextToWindows(text).bytes));
}

}  // namespace

template <typename String>
std::vector<String> SplitParagraphs(String contents) {
    using Char = typename String::value_type;
    const String breakCode = Literal<String>("\\P");
    std::vector<String> paragraphs;
    const std::size_t open = contents.find(static_cast<Char>('{'));
    if (open != String::npos)
        contents.erase(0, open + 1);
    std::size_t p = contents.find(breakCode);
    while (!contents.empty()) {
        if (p == String::npos)
            p = contents.find(static_cast<Char>('}'));
        if (p == String::npos) {
            paragraphs.push_back(contents);
            contents.clear();
        } else {
            paragraphs.push_back(contents.substr(0, p));
            contents.erase(0, std::min(contents.size(), p + 2));
        }
        p = contents.find(breakCode);
    }
    return paragraphs;
}

template <typename String>
String StripMTextCodes(String paragraph) {
    const std::size_t font = paragraph.find(Literal<String>("\\f"));
    if (font != String::npos)
        paragraph = WithoutCode(paragraph, font);
    const std::size_t colour = paragraph.find(Literal<String>("\\C2"));
    if (colour != String::npos)
        paragraph = WithoutCode(paragraph, colour);
    return paragraph;
}

template std::vector<std::string> SplitParagraphs(std::string);
template std::vector<std::u16string> SplitParagraphs(std::u16string);
template std::string StripMTextCodes(std::string);
template std::u16string StripMTextCodes(std::u16string);

std::u16string RepairUnicodeEscapes(std::u16string text) {
    // Every pass replaces the first escape; the "%%" code written holds no "\U", so this ends.
    for (std::size_t at = text.find(u"\\U"); at != std::u16string::npos; at = text.find(u"\\U")) {
        const std::u16string digits = text.substr(std::min(text.size(), at + 3), 4);
        const std::int32_t code = StrToInt(u"0x" + digits);
        const int byte = UnicodeToWindowsByte(static_cast<char16_t>(code));
        const std::u16string rest = at + 7 < text.size() ? text.substr(at + 7) : u"";
        text = text.substr(0, at) + u"%%" + Widen(std::to_string(byte)) + rest;
    }
    return text;
}

void Button11Click(const CommandContext& context) {
    if (const auto font = context.controls.ChooseFont(context.controls.Text(Control::Edit3))) {
        context.controls.SetText(Control::Edit3, *font);
    }
}

void Button12Click(const CommandContext& context) {
    ConvertToWindowsFont(context, NaskhToWindows);
}

void Button13Click(const CommandContext& context) {
    ConvertToWindowsFont(context, Shiraz2ToWindows);
}

void Button2Click(const CommandContext& context, const std::u16string& senderCaption) {
    const std::unique_ptr<tacad> adapter = context.CreateAdapter();
    if (!adapter->Connected)
        return;
    const bool multiLine = senderCaption.find(u"MText") != std::u16string::npos;
    const std::shared_ptr<AcadSelectionSet> set = adapter->SelectEntities(1, "");
    const std::shared_ptr<AcadTextStyle> style = adapter->AcadDoc->TextStyles()->Add(NaskhStyle);
    style->put_fontFile(NaskhFont);
    style->put_TextGenerationFlag(2);
    for (std::int32_t i = 0; i < set->Count(); ++i) {
        const EntityPtr entity = set->Item(Variant(i));
        const std::u16string kind = entity->ObjectName();
        if (!multiLine && kind == u"AcDbText") {
            Variant low, high;
            entity->GetBoundingBox(low, high);
            const Point3 a = PointFromVariant(low);
            const Point3 b = PointFromVariant(high);
            const auto shift = static_cast<float>(ShiftOfDiagonal * Distance2d(a.x, a.y, b.x, b.y));
            entity->put_TextString(NaskhOf(context, entity->TextString()));
            entity->put_StyleName(NaskhStyle);
            const Point3 at = PointFromVariant(entity->InsertionPoint());
            mcoor2d point = MakeCoor2d(at.x, at.y);
            PolarOffsetPoint(point, shift, entity->Rotation());
            entity->put_InsertionPoint(tacad::Point2dToVariant(point));
        } else if (multiLine && kind == u"AcDbMText") {
            const std::u16string contents = entity->TextString();
            if (contents.empty())
                continue;
            SplitMText(
                context, *adapter, entity, contents,
                [&context](const std::u16string& paragraph) {
                    return NaskhOf(context, StripMTextCodes(paragraph));
                },
                NaskhStyle, true);
        }
    }
}

void Button1Click(const CommandContext& context) {
    const std::unique_ptr<tacad> adapter = context.CreateAdapter();
    if (!adapter->Connected)
        return;
    const std::shared_ptr<AcadSelectionSet> set = adapter->SelectEntities(1, "");
    for (std::int32_t i = 0; i < set->Count(); ++i) {
        const EntityPtr entity = set->Item(Variant(i));
        if (entity->ObjectName() != u"AcDbText")
            continue;
        entity->put_TextString(RepairUnicodeEscapes(entity->TextString()));
    }
}

void Button14Click(const CommandContext& context) {
    const std::unique_ptr<tacad> adapter = context.CreateAdapter();
    if (!adapter->Connected)
        return;
    const std::shared_ptr<AcadSelectionSet> set = adapter->SelectEntities(1, "");
    const std::vector<std::u16string> lines = context.controls.MemoLines();
    for (std::int32_t i = 0; i < set->Count(); ++i) {
        const EntityPtr entity = set->Item(Variant(i));
        if (entity->ObjectName() != u"AcDbText")
            continue;
        const auto index = static_cast<std::size_t>(i);
        entity->put_TextString(NaskhOf(context, index < lines.size() ? lines[index] : u""));
    }
}

}  // namespace navisaz
