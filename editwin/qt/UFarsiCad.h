#pragma once

// TFarsiCad: the small Persian text editor that lives inside the host's main window. A thin form
// over FarsiCad.

#include <QWidget>
#include <memory>

#include "editwin/farsi_cad.h"

namespace Ui {
class TFarsiCad;
}

namespace navisaz {

class TFarsiCad : public QWidget, public SurfaceControls {
    Q_OBJECT

  public:
    TFarsiCad(Platform& platform, HostLocator& hosts, const QString& windowName,
              QWidget* parent = nullptr);
    ~TFarsiCad() override;

    // Shows the window inside the host's main window; false when there is no host to show it in.
    bool Open();
    FarsiCad& logic() { return *logic_; }
    Ui::TFarsiCad& ui() const { return *ui_; }

    // SurfaceControls: the memo is the only control here.
    std::u16string Text(Control control) override;
    void SetText(Control control, const std::u16string& text) override;
    std::optional<std::u16string> ChooseFont(const std::u16string&) override {
        return std::nullopt;
    }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void Run(void (FarsiCad::*action)());
    void ShowCaptions();

    std::unique_ptr<Ui::TFarsiCad> ui_;
    Platform& platform_;
    std::unique_ptr<FarsiCad> logic_;
};

}  // namespace navisaz
