#pragma once

// The controls of the command surface that the commands read and write, by name. The Qt frame
// backs them with its widgets; the headless runner and the tests with plain values.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace navisaz {

enum class Control { Memo1, ETextHt, EDec, Edit2, Edit3 };

// "Memo1" and the rest; nullopt for a name that is not a control.
std::optional<Control> ControlNamed(const std::u16string& name);
std::u16string ControlName(Control control);
// What each control holds when the program starts.
std::u16string ControlDefault(Control control);

class SurfaceControls {
  public:
    virtual ~SurfaceControls() = default;
    virtual std::u16string Text(Control control) = 0;
    virtual void SetText(Control control, const std::u16string& text) = 0;

    // The memo's lines, top to bottom (CR LF or LF between them).
    std::vector<std::u16string> MemoLines();

    // The font chooser: the chosen font's name, or nullopt when the user cancelled.
    virtual std::optional<std::u16string> ChooseFont(const std::u16string& current) = 0;
};

class MemoryControls : public SurfaceControls {
  public:
    std::u16string Text(Control control) override;
    void SetText(Control control, const std::u16string& text) override;
    std::optional<std::u16string> ChooseFont(const std::u16string&) override { return chosenFont; }

    // What the font chooser answers (nullopt: cancelled).
    std::optional<std::u16string> chosenFont;

  private:
    std::map<Control, std::u16string> texts_;
};

}  // namespace navisaz
