#include "commands/writers.h"

#include "cad/names.h"
#include "commands/support_files.h"
#include "engine/ipt_encoder.h"
#include "engine/naskh_encoder.h"
#include "engine/number_words.h"
#include "engine/typed_text.h"
#include "support/number_parse.h"

namespace navisaz {

namespace {

constexpr const char16_t* NaskhStyle = u"farsi";
constexpr const char16_t* IptStyle = u"farsiIPT";
constexpr const char16_t* IptFont = u"IBadr.ttf";
constexpr const char16_t* PersianKeyboardLayout = u"00000429";

double TextHeight(const CommandContext& context) {
    return static_cast<double>(
        StrToFloat(context.controls.Text(Control::ETextHt), context.platform.DecimalSeparator()));
}

// Writes each memo line, encoded, one pitch lower than the last, from a point the user picks.
// space chooses the block for each line (it may look at the drawing each time).
void WriteLines(const CommandContext& context, tacad& adapter,
                std::string (*encode)(std::string_view), const char16_t* style,
                const std::function<AcadBlock&()>& space) {
    const double height = TextHeight(context);
    PointRecord start;
    adapter.GetPoint(start, TypedWindowsBytes(PointPrompt), true);
    const std::vector<std::u16string> lines = context.controls.MemoLines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string glyphs = encode(TypedWindowsBytes(lines[i]));
        if (glyphs.empty())
            continue;  // the line's pitch stays empty
        const double y = static_cast<double>(start.y) -
                         static_cast<double>(i) * height * static_cast<double>(LinePitchInHeights);
        const EntityPtr text =
            space().AddText(WidenBytes(context.platform.SystemCodePage(), glyphs),
                            tacad::MakePoint(start.x, y, 0), height);
        text->put_StyleName(style);
    }
}

std::string NaskhOf(std::string_view line) {
    return WindowsToNaskh(line);
}
std::string IptOf(std::string_view line) {
    return WindowsToIpt(line);
}

// The lisp writers differ only in these.
struct LispWriter {
    const char16_t* lisp;      // under CADSupport\Lisps
    const char* lispTarget;    // as copied into the support folder
    const char16_t* loadName;  // as the load command names it
    const char16_t* font;      // under CADSupport\fonts
    const char* fontTarget;
    const char16_t* style;
    const char16_t* command;
};

constexpr LispWriter Kateb = {u"Kateb.lsp", "Kateb.lsp", u"kateb.lsp", u"naskhd.shx",
                              "naskhd.shx", u"farsi",    u"kateb"};
constexpr LispWriter Farsi = {u"farsi.lsp", "farsi.lsp", u"farsi.lsp", u"sade.shx",
                              "sade.shx",   u"sade",     u"farsi"};

void RunLispWriter(const CommandContext& context, const LispWriter& writer) {
    const std::unique_ptr<tacad> adapter = context.CreateAdapter();
    if (!adapter->Connected)
        return;
    const std::filesystem::path target = SupportTargetFolder(*adapter);
    // A copy that fails is the host's to report, when it cannot load the file.
    CopyUnlessPresent(
        SupportFile(context.platform, u"CADSupport\\Lisps\\" + std::u16string(writer.lisp)), target,
        writer.lispTarget);
    CopyUnlessPresent(
        SupportFile(context.platform, u"CADSupport\\fonts\\" + std::u16string(writer.font)), target,
        writer.fontTarget);
    const std::shared_ptr<AcadTextStyle> style = adapter->AcadDoc->TextStyles()->Add(writer.style);
    style->Invoke(u"fontFile", CallKind::PropertyPut, {Variant(std::u16string(writer.font))});
    style->Invoke(u"TextGenerationFlag", CallKind::PropertyPut, {Variant(std::int32_t{2})});
    const Variant document = adapter->AcadAppVar->Invoke(u"ActiveDocument", CallKind::Method, {});
    document.ToObject()->Invoke(u"ActiveTextStyle", CallKind::PropertyPut,
                                {Variant(std::static_pointer_cast<Dispatch>(style))});
    adapter->AcadDoc->SendCommand(u"(Load \"" + std::u16string(writer.loadName) + u"\")\r");
    adapter->AcadDoc->SendCommand(std::u16string(writer.command) + u"\r");
}

}  // namespace

void Button3Click(const CommandContext& context) {
    const std::unique_ptr<tacad> adapter = context.CreateAdapter();
    if (!adapter->Connected)
        return;
    adapter->CreateFarsiStyles();
    tacad& a = *adapter;
    WriteLines(context, a, NaskhOf, NaskhStyle, [&a]() -> AcadBlock& {
        return a.AcadDoc->ActiveSpace() == 1 ? *a.AcadModel.operator->()
                                             : *a.AcadPaper.operator->();
    });
}

void Button8Click(const CommandContext& context) {
    const std::unique_ptr<tacad> adapter = context.CreateAdapter();
    if (!adapter->Connected)
        return;
    adapter->AcadDoc->TextStyles()->Add(IptStyle)->put_fontFile(IptFont);
    tacad& a = *adapter;
    WriteLines(context, a, IptOf, IptStyle,
               [&a]() -> AcadBlock& { return *a.AcadModel.operator->(); });
}

void Button9Click(const CommandContext& context) {
    std::u16string memo;
    const std::vector<std::u16string> lines = context.controls.MemoLines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            memo += u"\r\n";
        memo += lines[i];
    }
    context.platform.SetClipboardText(
        WidenBytes(context.platform.SystemCodePage(), WindowsToIpt(TypedWindowsBytes(memo))));
}

void Edit2Change(const CommandContext& context) {
    std::u16string text = context.controls.Text(Control::Edit2);
    for (;;) {
        try {
            const std::int64_t value = StrToInt64(text);
            context.controls.SetText(Control::Memo1,
                                     WidenBytes(CodePage::Windows1256, NumberToWords(value)));
            return;
        } catch (const ConvertError&) {
            std::u16string cleaned;
            for (const char16_t c : text) {
                if (c != u',' && c != u' ')
                    cleaned.push_back(c);
            }
            if (cleaned.size() < text.size()) {
                text = cleaned;
                context.controls.SetText(Control::Edit2, text);
                continue;
            }
            if (!cleaned.empty())
                context.platform.ShowMessage(text + NotANumberMessage);
            return;
        }
    }
}

void Button10Click(const CommandContext& context) {
    context.platform.LoadKeyboardLayout(PersianKeyboardLayout);
    const std::u16string text = context.controls.Text(Control::Edit2);
    try {
        context.platform.SetClipboardText(
            WidenBytes(CodePage::Windows1256, NumberToWords(StrToInt64(text))));
    } catch (const std::exception&) {
        context.platform.ShowMessage(text + NotANumberMessage);
    }
}

void Button5Click(const CommandContext& context) {
    RunLispWriter(context, Kateb);
}

void Button6Click(const CommandContext& context) {
    RunLispWriter(context, Farsi);
}

}  // namespace navisaz
