#include "commands/controls.h"

namespace navisaz {

namespace {

struct ControlRow {
    Control control;
    const char16_t* name;
    const char16_t* initial;
};

constexpr ControlRow Controls[] = {
    {Control::Memo1, u"Memo1", u""},      {Control::ETextHt, u"ETextHt", u"1"},
    {Control::EDec, u"EDec", u"3"},       {Control::Edit2, u"Edit2", u""},
    {Control::Edit3, u"Edit3", u"Arial"},
};

const ControlRow& Row(Control control) {
    for (const ControlRow& row : Controls) {
        if (row.control == control)
            return row;
    }
    return Controls[0];
}

}  // namespace

std::optional<Control> ControlNamed(const std::u16string& name) {
    for (const ControlRow& row : Controls) {
        if (name == row.name)
            return row.control;
    }
    return std::nullopt;
}

std::u16string ControlName(Control control) {
    return Row(control).name;
}

std::u16string ControlDefault(Control control) {
    return Row(control).initial;
}

std::vector<std::u16string> SurfaceControls::MemoLines() {
    std::vector<std::u16string> lines;
    const std::u16string text = Text(Control::Memo1);
    if (text.empty())
        return lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(u'\n', start);
        if (end == std::u16string::npos)
            end = text.size();
        std::u16string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == u'\r')
            line.pop_back();
        lines.push_back(std::move(line));
        if (end == text.size())
            break;
        start = end + 1;
    }
    // A memo ending in a line break has no empty line after it.
    if (!lines.empty() && lines.back().empty() && (text.back() == u'\n'))
        lines.pop_back();
    return lines;
}

std::u16string MemoryControls::Text(Control control) {
    const auto found = texts_.find(control);
    return found == texts_.end() ? ControlDefault(control) : found->second;
}

void MemoryControls::SetText(Control control, const std::u16string& text) {
    texts_[control] = text;
}

}  // namespace navisaz
