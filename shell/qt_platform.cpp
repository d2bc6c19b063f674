#include "shell/qt_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

namespace navisaz {

namespace {

constexpr const char* Title = "Navisaz";

QString ToQt(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

// What the error window says for each code it is shown with.
QString ErrorWindowText(int code) {
    switch (code) {
        case 3:
            return QString::fromUtf8("انتخاب موضوعات در اتوکد انجام نشد.");
        default:
            return QString::fromUtf8("خطا شماره %1").arg(code);
    }
}

}  // namespace

void QtPlatform::ShowMessage(const std::u16string& text) {
    QMessageBox box(QMessageBox::NoIcon, Title, ToQt(text), QMessageBox::Ok, mainWindow_);
    box.exec();
}

void QtPlatform::ShowErrorWindow(int code) {
    QDialog window(mainWindow_);
    window.setWindowTitle(Title);
    window.setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(&window);
    auto* picture = new QLabel(ErrorWindowText(code), &window);
    picture->setObjectName(QString("ErrorCode%1").arg(code));
    layout->addWidget(picture);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, &window);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    layout->addWidget(buttons);
    window.exec();
}

void QtPlatform::ShowError(const std::u16string& message) {
    QMessageBox box(QMessageBox::Critical, Title, ToQt(message), QMessageBox::Ok, mainWindow_);
    box.exec();
}

void QtPlatform::BringWindowToTop(std::int64_t windowHandle) {
    if (QWidget* window = QWidget::find(static_cast<WId>(windowHandle))) {
        window->window()->raise();
        window->window()->activateWindow();
    }
}

void QtPlatform::BringOwnWindowToTop() {
    if (mainWindow_) {
        mainWindow_->raise();
        mainWindow_->activateWindow();
    }
}

void QtPlatform::SetWindowParent(const std::u16string& window, std::int64_t parentHandle, int left,
                                 int top) {
    QWidget* parent = parentHandle == 0 ? nullptr : QWidget::find(static_cast<WId>(parentHandle));
    for (QWidget* candidate : QApplication::allWidgets()) {
        if (candidate->objectName() != ToQt(window))
            continue;
        if (parentHandle == 0) {
            // Under the program's own (invisible) window: out of sight until it comes back.
            candidate->hide();
            continue;
        }
        if (parent == nullptr) {
            // A native window of another program: the widget's own native window becomes its
            // child, where the windowing system allows that.
            QWindow* foreign = QWindow::fromWinId(static_cast<WId>(parentHandle));
            if (foreign == nullptr)
                continue;
            candidate->setParent(nullptr, Qt::Window | Qt::FramelessWindowHint);
            candidate->winId();
            candidate->windowHandle()->setParent(foreign);
            candidate->move(left, top);
            candidate->show();
            continue;
        }
        // A child of the host's window, kept inside it however small that window is.
        candidate->setParent(parent, Qt::Widget);
        const QSize room = parent->size() - candidate->size();
        candidate->move(std::clamp(left, 0, std::max(0, room.width())),
                        std::clamp(top, 0, std::max(0, room.height())));
        candidate->show();
        candidate->raise();
    }
}

void QtPlatform::SetClipboardText(const std::u16string& text) {
    QGuiApplication::clipboard()->setText(ToQt(text));
}

std::u16string QtPlatform::ClipboardText() {
    return QGuiApplication::clipboard()->text().toStdU16String();
}

std::u16string QtPlatform::ReadSetting(const std::u16string& key, const std::u16string& value) {
    // One settings store per key, with no organisation: ~/.config/Navisaz.conf on Linux, the
    // registry under HKEY_CURRENT_USER\Navisaz on Windows.
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, ToQt(key));
    return settings.value(ToQt(value)).toString().toStdU16String();
}

void QtPlatform::WriteSetting(const std::u16string& key, const std::u16string& value,
                              const std::u16string& data) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, ToQt(key));
    settings.setValue(ToQt(value), ToQt(data));
}

std::u16string QtPlatform::ProgramFolder() {
    return QCoreApplication::applicationDirPath().toStdU16String();
}

bool QtPlatform::ShellOpen(const std::u16string& path, const std::u16string&) {
    const QString target = ToQt(path);
    const QUrl url = target.contains("://") ? QUrl(target) : QUrl::fromLocalFile(target);
    return QDesktopServices::openUrl(url);
}

std::u16string QtPlatform::WindowsFolder() {
    // The folder whose "fonts" subfolder takes the user's TrueType fonts.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdU16String();
}

void QtPlatform::LoadKeyboardLayout(const std::u16string&) {
    // Keyboard layouts are the desktop's own business here.
}

char16_t QtPlatform::DecimalSeparator() {
    return static_cast<char16_t>(QLocale::system().decimalPoint().at(0).unicode());
}

}  // namespace navisaz
