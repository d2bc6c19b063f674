#include "shell/Navisaz.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "catalogue/qt/UStandard.h"
#include "commands/qt/UFFarsi.h"
#include "commands/support_files.h"
#include "editwin/qt/UFarsiCad.h"
#include "support/run_path.h"
#include "ui_Navisaz.h"

namespace navisaz {

TForm1::TForm1(Platform& platform, HostLocator& hosts, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::TForm1>()), platform_(platform), hosts_(hosts) {
    ui_->setupUi(this);
    frame_ = new TFFarsi(platform, hosts, ui_->FFarsi1Place);
    frame_->setObjectName("FFarsi1");
    ui_->frameHolder->addWidget(frame_);
    connect(ui_->Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(ui_->Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(frame_->Button14(), &QPushButton::clicked, this, [this] { FFarsi1Button14Click(); });
    ui_->Memo1->viewport()->installEventFilter(this);
    frame_->onButton18 = [this] { OpenEditWindow(); };
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
    WriteRunPath(platform_);
}

void TForm1::Button1Click() {
    const std::u16string page = SupportFile(platform_, u"HELP\\index.htm").u16string();
    const std::u16string folder = SupportFile(platform_, u"HELP").u16string();
    platform_.ShellOpen(page, folder);  // a missing page is the shell's business
}

void TForm1::Button2Click() {
    // A new catalogue window on every click; the newest is kept, earlier ones stay open.
    const QString name = QString("TFStandard%1").arg(++catalogueWindows_);
    if (TFStandard* window = TFStandard::Open(platform_, hosts_, name, this)) {
        window->afterCommand = frame_->afterCommand;
        FStandard = window;
    }
}

void TForm1::Memo1Click() {
    platform_.ShellOpen(MakerPage, u"");
}

void TForm1::FFarsi1Button14Click() {
    frame_->Button14Click();
}

void TForm1::OpenEditWindow() {
    // A new window every time; an earlier one stays as it was.
    const QString name = QString("TFarsiCad%1").arg(++editWindows_);
    auto* window = new TFarsiCad(platform_, hosts_, name, this);
    if (!window->Open())
        window->deleteLater();  // no host: the adapter has said why
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->Memo1->viewport() && event->type() == QEvent::MouseButtonRelease) {
        Memo1Click();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace navisaz
