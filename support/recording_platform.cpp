#include "support/recording_platform.h"

#include "engine/utf8.h"

namespace navisaz {

namespace {
std::u16string Number(long long value) {
    return DecodeUtf8(std::to_string(value)).text;
}
}  // namespace

void RecordingPlatform::ShowMessage(const std::u16string& text) {
    messages.push_back(text);
    events.push_back(u"message: " + text);
}

void RecordingPlatform::ShowErrorWindow(int code) {
    errorWindows.push_back(code);
    events.push_back(u"error window: " + Number(code));
}

void RecordingPlatform::ShowError(const std::u16string& message) {
    errors.push_back(message);
    events.push_back(u"error: " + message);
}

void RecordingPlatform::BringWindowToTop(std::int64_t windowHandle) {
    events.push_back(u"window to top: " + Number(windowHandle));
}

void RecordingPlatform::BringOwnWindowToTop() {
    events.push_back(u"own window to top");
}

void RecordingPlatform::SetWindowParent(const std::u16string& window, std::int64_t parentHandle,
                                        int left, int top) {
    events.push_back(u"parent of " + window + u": " + Number(parentHandle) + u" at " +
                     Number(left) + u"," + Number(top));
}

void RecordingPlatform::SetClipboardText(const std::u16string& text) {
    clipboard = text;
    events.push_back(u"clipboard: " + text);
}

std::u16string RecordingPlatform::ReadSetting(const std::u16string& key,
                                              const std::u16string& value) {
    const auto found = settings.find({key, value});
    return found == settings.end() ? u"" : found->second;
}

void RecordingPlatform::WriteSetting(const std::u16string& key, const std::u16string& value,
                                     const std::u16string& data) {
    settings[{key, value}] = data;
    events.push_back(u"setting " + key + u"\\" + value + u": " + data);
}

bool RecordingPlatform::ShellOpen(const std::u16string& path, const std::u16string& workingFolder) {
    opened.push_back(path);
    events.push_back(u"open: " + path + (workingFolder.empty() ? u"" : u" in " + workingFolder));
    return shellOpenSucceeds;
}

void RecordingPlatform::LoadKeyboardLayout(const std::u16string& layoutId) {
    events.push_back(u"keyboard layout: " + layoutId);
}

}  // namespace navisaz
