#pragma once

// The logic of the text edit window TFarsiCad: writing the memo's lines as Naskh texts, editing
// the text of one picked drawing text, changing picked texts to the memo's lines and copying a
// numbered text, with the window stepping out of the host's window while the user works there.

#include <functional>
#include <memory>
#include <string>

#include "cad/cadole.h"
#include "commands/controls.h"
#include "support/platform.h"

namespace navisaz {

inline constexpr const char16_t* EditWindowName = u"TFarsiCad";
inline constexpr int EditWindowLeft = 833;
inline constexpr int EditWindowTop = 104;

// The window's captions.
inline constexpr const char16_t* WriteCaption = u"نوشتن";
inline constexpr const char16_t* EditCaption = u"ويرايش";
inline constexpr const char16_t* ConfirmCaption = u"تاييد";
inline constexpr const char16_t* ChangeCaptionInitial = u"تغيير ";
inline constexpr const char16_t* ChangeCaption = u"تغيير";
inline constexpr const char16_t* CancelCaption = u"انصراف";
inline constexpr const char16_t* CopyCaption = u"کپي با افزايش";
inline constexpr const char16_t* BackCaption = u"بازگشت";

class FarsiCad {
  public:
    // memo is the window's memo; the window, known to the platform by windowName, is placed
    // through it.
    FarsiCad(Platform& platform, HostLocator& hosts, SurfaceControls& memo,
             std::u16string windowName = EditWindowName);

    // Whether the window may be shown: the adapter found a host that takes calls.
    bool Connected() const { return adapter_ && adapter_->Connected; }
    // Puts the window inside the host's main window (the first showing, and after each action).
    void ShowAgain();
    // Takes the window out of the host's window while the user works there.
    void Hide();

    void Button1Click();  // write
    void Button2Click();  // edit / confirm
    void Button3Click();  // change / cancel
    void Button5Click();  // copy with increment 1
    void Button4Click();  // back
    // The window closes (its close box or Back): the adapter is released.
    void Close();

    std::u16string Button2Caption() const { return button2_; }
    std::u16string Button3Caption() const { return button3_; }
    bool Editing() const { return button2_ == ConfirmCaption; }
    bool Visible() const { return visible_; }

  private:
    void EndEdit();

    Platform& platform_;
    SurfaceControls& memo_;
    std::u16string windowName_;
    std::unique_ptr<tacad> adapter_;
    EntityPtr editing_;
    std::u16string button2_ = EditCaption;
    std::u16string button3_ = ChangeCaptionInitial;
    bool visible_ = false;
};

}  // namespace navisaz
