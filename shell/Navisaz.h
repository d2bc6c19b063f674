#pragma once

// TForm1: the main window. The command surface fills it above a strip with a note about new
// versions, the help button and the catalogue button.

#include <QPointer>
#include <QWidget>
#include <memory>

#include "cad/automation.h"
#include "support/platform.h"

namespace Ui {
class TForm1;
}

namespace navisaz {

class TFFarsi;

// The maker's page the note about new versions opens.
inline constexpr const char16_t* MakerPage = u"https://navisaz.example.org";

class TFStandard;

class TForm1 : public QWidget {
    Q_OBJECT

  public:
    TForm1(Platform& platform, HostLocator& hosts, QWidget* parent = nullptr);
    ~TForm1() override;

    TFFarsi* FFarsi1() const { return frame_; }
    Ui::TForm1& ui() const { return *ui_; }

    void FormCreate();
    void Button1Click();  // help
    void Button2Click();  // catalogue
    void Memo1Click();    // the maker's page
    void FFarsi1Button14Click();
    // Button18 of the command surface: a new text edit window inside the host's window.
    void OpenEditWindow();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::unique_ptr<Ui::TForm1> ui_;
    Platform& platform_;
    HostLocator& hosts_;
    TFFarsi* frame_;
    int editWindows_ = 0;
    int catalogueWindows_ = 0;

  public:
    // The newest catalogue window.
    QPointer<TFStandard> FStandard;
};

}  // namespace navisaz
