#pragma once

// TFFarsi: the command surface. A thin form over the commands: it reads and writes its controls
// for them and runs each control's handler when it is clicked or changed.

#include <QWidget>
#include <functional>
#include <memory>

#include "commands/command_context.h"

namespace Ui {
class TFFarsi;
}

class QPushButton;

namespace navisaz {

class TFFarsi : public QWidget, public SurfaceControls {
    Q_OBJECT

  public:
    TFFarsi(Platform& platform, HostLocator& hosts, QWidget* parent = nullptr);
    ~TFFarsi() override;

    // SurfaceControls
    std::u16string Text(Control control) override;
    void SetText(Control control, const std::u16string& text) override;
    std::optional<std::u16string> ChooseFont(const std::u16string& current) override;

    // The button whose click the main window routes through its own handler.
    QPushButton* Button14() const;
    // The handler of Button14, for the main window to call.
    void Button14Click();
    // Where the edit window is opened (Button18); the program sets it.
    std::function<void()> onButton18;
    // Called when a command has ended (the drawing may have changed).
    std::function<void()> afterCommand;

    Ui::TFFarsi& ui() const { return *ui_; }

  private:
    void Run(const std::u16string& control);
    QWidget* ControlWidget(Control control) const;

    std::unique_ptr<Ui::TFFarsi> ui_;
    Platform& platform_;
    HostLocator& hosts_;
    bool settingText_ = false;  // Edit2's own handler rewrites Edit2
};

}  // namespace navisaz
