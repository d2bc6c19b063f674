#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/platform.h"

namespace navisaz {

// A Platform that shows nothing and remembers everything, for tests and the headless runner.
class RecordingPlatform : public Platform {
  public:
    // Everything asked of the platform, in order, as readable lines ("message: ...").
    std::vector<std::u16string> events;
    std::vector<std::u16string> messages;  // ShowMessage texts
    std::vector<std::u16string> errors;    // ShowError texts
    std::vector<int> errorWindows;         // ShowErrorWindow codes
    std::vector<std::u16string> opened;    // ShellOpen paths
    std::u16string clipboard;
    std::map<std::pair<std::u16string, std::u16string>, std::u16string> settings;
    std::u16string programFolder = u"/opt/navisaz";
    std::u16string windowsFolder = u"/tmp/navisaz-windows";
    char16_t decimalSeparator = u'.';
    CodePage systemCodePage = CodePage::Windows1256;
    bool shellOpenSucceeds = true;

    void ShowMessage(const std::u16string& text) override;
    void ShowErrorWindow(int code) override;
    void ShowError(const std::u16string& message) override;
    void BringWindowToTop(std::int64_t windowHandle) override;
    void BringOwnWindowToTop() override;
    void SetWindowParent(const std::u16string& window, std::int64_t parentHandle, int left,
                         int top) override;
    void SetClipboardText(const std::u16string& text) override;
    std::u16string ClipboardText() override { return clipboard; }
    std::u16string ReadSetting(const std::u16string& key, const std::u16string& value) override;
    void WriteSetting(const std::u16string& key, const std::u16string& value,
                      const std::u16string& data) override;
    std::u16string ProgramFolder() override { return programFolder; }
    bool ShellOpen(const std::u16string& path, const std::u16string& workingFolder) override;
    std::u16string WindowsFolder() override { return windowsFolder; }
    void LoadKeyboardLayout(const std::u16string& layoutId) override;
    char16_t DecimalSeparator() override { return decimalSeparator; }
    CodePage SystemCodePage() override { return systemCodePage; }
};

}  // namespace navisaz
