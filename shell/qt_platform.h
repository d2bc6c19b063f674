#pragma once

// The desktop's services through Qt: message boxes titled "Navisaz", the error window, the
// clipboard, the settings store, the shell, window order and the user's number format.

#include <QPointer>
#include <QWidget>

#include "support/platform.h"

namespace navisaz {

class QtPlatform : public Platform {
  public:
    // The program's own main window, for window order and as the parent of its dialogs.
    void SetMainWindow(QWidget* window) { mainWindow_ = window; }

    void ShowMessage(const std::u16string& text) override;
    void ShowErrorWindow(int code) override;
    void ShowError(const std::u16string& message) override;
    void BringWindowToTop(std::int64_t windowHandle) override;
    void BringOwnWindowToTop() override;
    void SetWindowParent(const std::u16string& window, std::int64_t parentHandle, int left,
                         int top) override;
    void SetClipboardText(const std::u16string& text) override;
    std::u16string ClipboardText() override;
    std::u16string ReadSetting(const std::u16string& key, const std::u16string& value) override;
    void WriteSetting(const std::u16string& key, const std::u16string& value,
                      const std::u16string& data) override;
    std::u16string ProgramFolder() override;
    bool ShellOpen(const std::u16string& path, const std::u16string& workingFolder) override;
    std::u16string WindowsFolder() override;
    void LoadKeyboardLayout(const std::u16string& layoutId) override;
    char16_t DecimalSeparator() override;
    CodePage SystemCodePage() override { return CodePage::Windows1256; }

  private:
    QPointer<QWidget> mainWindow_;
};

}  // namespace navisaz
