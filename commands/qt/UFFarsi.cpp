#include "commands/qt/UFFarsi.h"

#include <QFontDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "commands/conversions.h"
#include "commands/handlers.h"
#include "ui_UFFarsi.h"

namespace navisaz {

namespace {

std::u16string FromQt(const QString& text) {
    return text.toStdU16String();
}
QString ToQt(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

}  // namespace

TFFarsi::TFFarsi(Platform& platform, HostLocator& hosts, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::TFFarsi>()), platform_(platform), hosts_(hosts) {
    ui_->setupUi(this);
    ui_->Memo1->document()->setDefaultTextOption(QTextOption(Qt::AlignRight));
    ui_->Memo1->setLayoutDirection(Qt::RightToLeft);
    // Every button with a handler runs it; Button14 is routed by the main window, Button18 opens
    // the edit window, Button2 and Button15 tell their handler which one was clicked.
    for (const std::u16string& name : HandlerControlNames()) {
        auto* button = findChild<QPushButton*>(ToQt(name));
        if (button == nullptr || name == u"Button14")
            continue;
        connect(button, &QPushButton::clicked, this, [this, name] { Run(name); });
    }
    connect(ui_->Edit2, &QLineEdit::textChanged, this, [this] {
        if (!settingText_)
            Run(u"Edit2");
    });
    connect(ui_->Button18, &QPushButton::clicked, this, [this] {
        if (onButton18)
            onButton18();
    });
}

TFFarsi::~TFFarsi() = default;

void TFFarsi::Run(const std::u16string& control) {
    const CommandContext context{*this, platform_, hosts_};
    if (control == u"Button2" || control == u"Button15") {
        // The handler looks at the clicked button's caption.
        const QString caption =
            control == u"Button2" ? ui_->Button2->text() : ui_->Button15->text();
        RunGuarded(platform_, [&] { Button2Click(context, FromQt(caption)); });
    } else {
        RunHandler(control, context);
    }
    if (afterCommand)
        afterCommand();
}

QPushButton* TFFarsi::Button14() const {
    return ui_->Button14;
}

void TFFarsi::Button14Click() {
    Run(u"Button14");
}

QWidget* TFFarsi::ControlWidget(Control control) const {
    switch (control) {
        case Control::Memo1:
            return ui_->Memo1;
        case Control::ETextHt:
            return ui_->ETextHt;
        case Control::EDec:
            return ui_->EDec;
        case Control::Edit2:
            return ui_->Edit2;
        case Control::Edit3:
            return ui_->Edit3;
    }
    return nullptr;
}

std::u16string TFFarsi::Text(Control control) {
    if (control == Control::Memo1)
        return FromQt(ui_->Memo1->toPlainText());
    return FromQt(static_cast<QLineEdit*>(ControlWidget(control))->text());
}

void TFFarsi::SetText(Control control, const std::u16string& text) {
    if (control == Control::Memo1) {
        ui_->Memo1->setPlainText(ToQt(text));
        return;
    }
    settingText_ = true;
    static_cast<QLineEdit*>(ControlWidget(control))->setText(ToQt(text));
    settingText_ = false;
}

std::optional<std::u16string> TFFarsi::ChooseFont(const std::u16string& current) {
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, QFont(ToQt(current)), this);
    if (!chosen)
        return std::nullopt;
    return FromQt(font.family());
}

}  // namespace navisaz
