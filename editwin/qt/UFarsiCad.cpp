#include "editwin/qt/UFarsiCad.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include "commands/command_context.h"
#include "ui_UFarsiCad.h"

namespace navisaz {

TFarsiCad::TFarsiCad(Platform& platform, HostLocator& hosts, const QString& windowName,
                     QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      ui_(std::make_unique<Ui::TFarsiCad>()),
      platform_(platform) {
    ui_->setupUi(this);
    setObjectName(windowName);
    logic_ = std::make_unique<FarsiCad>(platform, hosts, *this, windowName.toStdU16String());
    connect(ui_->Button1, &QPushButton::clicked, this, [this] { Run(&FarsiCad::Button1Click); });
    connect(ui_->Button2, &QPushButton::clicked, this, [this] { Run(&FarsiCad::Button2Click); });
    connect(ui_->Button3, &QPushButton::clicked, this, [this] { Run(&FarsiCad::Button3Click); });
    connect(ui_->Button5, &QPushButton::clicked, this, [this] { Run(&FarsiCad::Button5Click); });
    connect(ui_->Button4, &QPushButton::clicked, this, [this] { Run(&FarsiCad::Button4Click); });
}

TFarsiCad::~TFarsiCad() = default;

bool TFarsiCad::Open() {
    if (!logic_->Connected())
        return false;
    logic_->ShowAgain();
    return true;
}

void TFarsiCad::Run(void (FarsiCad::*action)()) {
    RunGuarded(platform_, [&] { (logic_.get()->*action)(); });
    ShowCaptions();
}

void TFarsiCad::ShowCaptions() {
    ui_->Button2->setText(QString::fromStdU16String(logic_->Button2Caption()));
    ui_->Button3->setText(QString::fromStdU16String(logic_->Button3Caption()));
}

std::u16string TFarsiCad::Text(Control control) {
    if (control != Control::Memo1)
        return {};
    return ui_->Memo1->toPlainText().toStdU16String();
}

void TFarsiCad::SetText(Control control, const std::u16string& text) {
    if (control == Control::Memo1)
        ui_->Memo1->setPlainText(QString::fromStdU16String(text));
}

void TFarsiCad::closeEvent(QCloseEvent* event) {
    logic_->Close();
    hide();  // hidden, not destroyed; the command surface opens a new one
    event->ignore();
}

}  // namespace navisaz
