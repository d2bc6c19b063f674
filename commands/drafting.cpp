#include "commands/drafting.h"

#include <cmath>
#include <stdexcept>

#include "cad/names.h"
#include "engine/typed_text.h"
#include "support/number_format.h"
#include "support/number_parse.h"
#include "support/records.h"

namespace navisaz {

namespace {

constexpr int TextHeightDecimals = 3;
constexpr int VertexDecimals = 4;

// The leading digits of a field as a number; 0 when it has none.
std::int32_t LeadingNumber(const std::u16string& text) {
    std::int32_t value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9')
            break;
        if (value > 100000)
            break;  // decimals beyond any use
        value = value * 10 + (c - u'0');
    }
    return value;
}

double CoordinateOrZero(const Variant::Array& values, std::size_t index) {
    if (index >= values.size())
        return 0;
    try {
        return values[index].ToDouble();
    } catch (const std::exception&) {
        return 0;  // empty or not a number
    }
}

}  // namespace

std::optional<NumberedText> SplitNumberedText(const std::u16string& text) {
    std::size_t digitsBegin = text.size();
    while (digitsBegin > 0 && text[digitsBegin - 1] >= u'0' && text[digitsBegin - 1] <= u'9') {
        --digitsBegin;
    }
    if (digitsBegin == text.size())
        return std::nullopt;
    const std::u16string digits = text.substr(digitsBegin);
    std::size_t numberBegin = digitsBegin;
    bool negative = false;
    if (numberBegin > 0 && text[numberBegin - 1] == u'-') {  // a '+' stays in the prefix
        negative = true;
        --numberBegin;
    }
    std::uint64_t magnitude = 0;
    for (const char16_t c : digits) {
        const auto digit = static_cast<std::uint64_t>(c - u'0');
        if (magnitude > (static_cast<std::uint64_t>(INT64_MAX) - digit) / 10) {
            throw std::overflow_error("the number at the end of \"" + Narrow(text) +
                                      "\" is too large to count on");
        }
        magnitude = magnitude * 10 + digit;
    }
    NumberedText parts;
    parts.prefix = text.substr(0, numberBegin);
    parts.number =
        negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    // Leading zeros keep the number's width as it counts: A007, A008, ..., A010.
    if (digits.size() > 1 && digits[0] == u'0')
        parts.width = digits.size();
    return parts;
}

std::u16string JoinNumberedText(const NumberedText& parts, std::int64_t number) {
    const std::uint64_t magnitude =
        number < 0 ? ~static_cast<std::uint64_t>(number) + 1 : static_cast<std::uint64_t>(number);
    std::u16string digits = Widen(std::to_string(magnitude));
    if (digits.size() < parts.width)
        digits.insert(0, parts.width - digits.size(), u'0');
    return parts.prefix + (number < 0 ? u"-" : u"") + digits;
}

void Button7Click(const CommandContext& context) {
    const std::unique_ptr<tacad> adapter = context.CreateAdapter();
    if (!adapter->Connected)
        return;
    PointRecord first, second;
    adapter->GetPoint(first, TypedWindowsBytes(PointPrompt), true);
    adapter->GetPoint(second, TypedWindowsBytes(PointPrompt), true);
    const long double distance = Distance2d(first.x, first.y, second.x, second.y);
    context.controls.SetText(Control::ETextHt, FormatFixed(distance, TextHeightDecimals,
                                                           context.platform.DecimalSeparator()));
}

void Button16Click(const CommandContext& context) {
    std::unique_ptr<tacad> adapter = tacad::CreateBare(context.platform, context.hosts);
    adapter->Connect();
    adapter->RefreshDocument();
    if (!adapter->Connected)
        return;
    const std::int32_t decimals = LeadingNumber(context.controls.Text(Control::EDec));
    const std::shared_ptr<AcadSelectionSet> set = adapter->SelectEntities(1, "");
    for (std::int32_t i = 0; i < set->Count(); ++i) {
        const EntityPtr entity = set->Item(Variant(i));
        if (entity->ObjectName() != u"AcDbPoint")
            continue;
        const auto height = static_cast<float>(StrToFloat(context.controls.Text(Control::ETextHt),
                                                          context.platform.DecimalSeparator()));
        adapter->AddCoordinateLabel(entity, decimals, 0, 0, 1, height);
    }
    adapter->AcadDoc->Regen(0);
}

void Button17Click(const CommandContext& context) {
    const std::unique_ptr<tacad> adapter = context.CreateAdapter();
    if (!adapter->Connected)
        return;
    adapter->ShowAcadWindow();
    std::int64_t increment = 0;
    try {
        adapter->AcadUtil->InitializeUserInput(128, Variant(u"1"));
        increment = adapter->AcadUtil->GetInteger(Variant(IncrementPrompt));
    } catch (const std::exception& error) {
        // Free text means the default step; anything else (Esc) means no step at all.
        increment = std::string(error.what()) == UserInputIsAKeyword ? 1 : 0;
    }
    if (const std::optional<PickedNumberedText> picked =
            PickNumberedText(*adapter, context.platform))
        WriteNumberedCopies(*adapter, *picked, increment);
}

std::optional<PickedNumberedText> PickNumberedText(tacad& adapter, Platform& platform) {
    const std::shared_ptr<AcadSelectionSet> set = adapter.SelectEntities(1, "");
    const EntityPtr picked = set->Item(Variant(std::int32_t{0}));
    if (picked->ObjectName() != u"AcDbText")
        return std::nullopt;
    std::optional<NumberedText> parts = SplitNumberedText(picked->TextString());
    if (!parts) {
        platform.ShowMessage(NoNumberMessage);
        return std::nullopt;
    }
    return PickedNumberedText{picked, std::move(*parts)};
}

void WriteNumberedCopies(tacad& adapter, const PickedNumberedText& picked, std::int64_t increment) {
    std::int64_t number = picked.parts.number;
    PointRecord base;
    for (;;) {
        if (__builtin_add_overflow(number, increment, &number)) {
            throw std::overflow_error("the number is too large to count further");
        }
        adapter.GetPoint(base, TypedWindowsBytes(PointPrompt), false);  // ends with Esc or Enter
        adapter.AcadModel->AddText(JoinNumberedText(picked.parts, number),
                                   tacad::PointToVariant(base), picked.text->Height());
    }
}

void Button20Click(const CommandContext& context) {
    const std::unique_ptr<tacad> adapter = context.CreateAdapter();
    if (!adapter->Connected)
        return;
    const std::shared_ptr<AcadSelectionSet> set = adapter->SelectEntities(6, "LWPOLYLINE");
    const EntityPtr polyline = set->Item(Variant(std::int32_t{0}));
    const Variant coordinates = polyline->Coordinates();
    const Variant::Array& values = coordinates.ToArray();
    const auto vertices =
        static_cast<std::size_t>(std::lround(static_cast<double>(values.size()) / 2 + 0.01));
    const char16_t separator = context.platform.DecimalSeparator();
    std::u16string memo;
    for (std::size_t j = 0; j < vertices; ++j) {
        memo += FormatFixed(CoordinateOrZero(values, 2 * j), VertexDecimals, separator) + u"," +
                FormatFixed(CoordinateOrZero(values, 2 * j + 1), VertexDecimals, separator) +
                u"\r\n";
    }
    context.controls.SetText(Control::Memo1, memo);
    context.platform.SetClipboardText(memo);
}

}  // namespace navisaz
