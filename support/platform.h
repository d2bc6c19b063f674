#pragma once

// The services of the user's desktop the program needs: message boxes, the error window, window
// order, the clipboard, the install-folder setting, the shell, the user's settings. The desktop
// application implements it with Qt; tests and the headless runner use a recording fake.

#include <cstdint>
#include <string>

#include "engine/codepage.h"

namespace navisaz {

class Platform {
  public:
    virtual ~Platform() = default;

    // A modal message box with an OK button and the caption "Navisaz"; returns when closed.
    virtual void ShowMessage(const std::u16string& text) = 0;
    // The modal error window showing the picture for an error code.
    virtual void ShowErrorWindow(int code) = 0;
    // The default error display for a failure no command handled: its message in a message box.
    virtual void ShowError(const std::u16string& message) = 0;

    // Window order and placement.
    virtual void BringWindowToTop(std::int64_t windowHandle) = 0;
    virtual void BringOwnWindowToTop() = 0;
    // Makes one of the program's windows a child of a foreign window at a position.
    virtual void SetWindowParent(const std::u16string& window, std::int64_t parentHandle, int left,
                                 int top) = 0;

    virtual void SetClipboardText(const std::u16string& text) = 0;
    virtual std::u16string ClipboardText() = 0;

    // Per-user settings: a string value under a key (the install folder: key "Navisaz", value
    // "RUNPATH"). Reading a missing value gives the empty text; writing may fail silently.
    virtual std::u16string ReadSetting(const std::u16string& key, const std::u16string& value) = 0;
    virtual void WriteSetting(const std::u16string& key, const std::u16string& value,
                              const std::u16string& data) = 0;
    // The folder of the running program's file.
    virtual std::u16string ProgramFolder() = 0;

    // Opens a file or address with the shell's "open" action, in a working folder (empty: any);
    // false when nothing opened it.
    virtual bool ShellOpen(const std::u16string& path, const std::u16string& workingFolder) = 0;
    // The system's own folder ("Windows folder"), whose Fonts subfolder takes TrueType fonts.
    virtual std::u16string WindowsFolder() = 0;
    // Asks for a keyboard layout by its identifier (a no-op where the platform has none).
    virtual void LoadKeyboardLayout(const std::u16string& layoutId) = 0;

    // The user's decimal separator, for numbers in macros and labels.
    virtual char16_t DecimalSeparator() = 0;
    // The code page that widens 8-bit text (glyph codes) to the host's UTF-16.
    virtual CodePage SystemCodePage() = 0;
};

}  // namespace navisaz
