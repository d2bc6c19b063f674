#include "editwin/farsi_cad.h"

#include "cad/names.h"
#include "commands/drafting.h"
#include "engine/naskh_decoder.h"
#include "engine/naskh_encoder.h"
#include "engine/typed_text.h"

namespace navisaz {

namespace {

constexpr double EditWindowTextHeight = 1.0;
constexpr float LinePitch = 1.5f;

}  // namespace

FarsiCad::FarsiCad(Platform& platform, HostLocator& hosts, SurfaceControls& memo,
                   std::u16string windowName)
    : platform_(platform),
      memo_(memo),
      windowName_(std::move(windowName)),
      adapter_(tacad::Create(platform, hosts)) {}

void FarsiCad::ShowAgain() {
    platform_.SetWindowParent(windowName_, adapter_->AcadApp->HWND(), EditWindowLeft,
                              EditWindowTop);
    visible_ = true;
}

void FarsiCad::Hide() {
    // Under the program's own (invisible) window: out of sight.
    platform_.SetWindowParent(windowName_, 0, 0, 0);
    visible_ = false;
}

void FarsiCad::Button1Click() {
    Hide();
    PointRecord start;
    try {
        adapter_->CreateFarsiStyles();
        adapter_->GetPoint(start, TypedWindowsBytes(PointPrompt), true);
    } catch (const std::exception&) {
        return;  // nothing written; the window stays out of sight
    }
    const std::vector<std::u16string> lines = memo_.MemoLines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string glyphs = WindowsToNaskh(TypedWindowsBytes(lines[i]));
        if (glyphs.empty())
            continue;
        const double y = static_cast<double>(start.y) - static_cast<double>(i) *
                                                            EditWindowTextHeight *
                                                            static_cast<double>(LinePitch);
        AcadBlock& space = adapter_->AcadDoc->ActiveSpace() == 1
                               ? *adapter_->AcadModel.operator->()
                               : *adapter_->AcadPaper.operator->();
        const EntityPtr text = space.AddText(WidenBytes(platform_.SystemCodePage(), glyphs),
                                             tacad::MakePoint(start.x, y, 0), EditWindowTextHeight);
        text->put_StyleName(u"farsi");
    }
    ShowAgain();
}

void FarsiCad::Button2Click() {
    if (button2_ == EditCaption) {
        Hide();
        mText record;
        editing_ = adapter_->PickText(record);
        memo_.SetText(Control::Memo1,
                      WidenBytes(CodePage::Windows1256, NaskhToWindows(record.TextString)));
        ShowAgain();
        if (editing_) {
            button2_ = ConfirmCaption;
            button3_ = CancelCaption;
        }
        return;
    }
    // Confirm: the memo's whole text goes back into the text being edited.
    std::u16string text;
    const std::vector<std::u16string> lines = memo_.MemoLines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += u"\r\n";
        text += lines[i];
    }
    editing_->put_TextString(
        WidenBytes(platform_.SystemCodePage(), WindowsToNaskh(TypedWindowsBytes(text))));
    editing_->Update();
    EndEdit();
}

void FarsiCad::Button3Click() {
    if (button3_ == CancelCaption) {
        editing_.reset();
        EndEdit();
        return;
    }
    Hide();
    const std::shared_ptr<AcadSelectionSet> set = adapter_->SelectEntities(1, "");
    const std::vector<std::u16string> lines = memo_.MemoLines();
    for (std::int32_t i = 0; i < set->Count(); ++i) {
        const EntityPtr entity = set->Item(Variant(i));
        if (entity->ObjectName() != u"AcDbText")
            continue;
        const auto index = static_cast<std::size_t>(i);
        const std::u16string line = index < lines.size() ? lines[index] : u"";
        entity->put_TextString(
            WidenBytes(platform_.SystemCodePage(), WindowsToNaskh(TypedWindowsBytes(line))));
    }
    ShowAgain();
}

void FarsiCad::Button5Click() {
    Hide();
    const std::optional<PickedNumberedText> picked = PickNumberedText(*adapter_, platform_);
    if (!picked)
        return;  // nothing to copy: the window stays out of sight
    try {
        WriteNumberedCopies(*adapter_, *picked, 1);
    } catch (const std::overflow_error& error) {
        platform_.ShowError(Widen(error.what()));
    } catch (const std::exception&) {
        // Esc or Enter at the point prompt: the copies are done.
    }
    ShowAgain();
}

void FarsiCad::Button4Click() {
    Hide();
    Close();
}

void FarsiCad::Close() {
    adapter_.reset();
    editing_.reset();
    visible_ = false;
}

void FarsiCad::EndEdit() {
    button2_ = EditCaption;
    button3_ = ChangeCaption;
}

}  // namespace navisaz
