#include "editwin/farsi_cad.h"

#include <gtest/gtest.h>

#include "cad/host_fixture.h"
#include "cad/names.h"
#include "commands/command_context.h"
#include "engine/naskh_encoder.h"
#include "text_helpers.h"

namespace navisaz {
namespace {

std::u16string Naskh(const char* persian) {
    return WidenBytes(CodePage::Windows1256, WindowsToNaskh(testing::Cp1256(persian)));
}

class EditWindow : public testing::HostFixture {
  protected:
    void SetUp() override {
        StartHost();
        window = std::make_unique<FarsiCad>(platform, hosts, memo);
        ASSERT_TRUE(window->Connected());
        window->ShowAgain();
        platform.events.clear();
    }
    // Runs an action as the window's button does: a failure reaches the default error display.
    void Click(void (FarsiCad::*action)()) {
        RunGuarded(platform, [&] { ((*window).*action)(); });
    }
    sim::EntityRef Text(const std::u16string& text, double height = 2) {
        sim::EntityRef e = AddEntity(sim::EntityKind::Text, {{0, 0, 0}});
        e->text = text;
        e->height = height;
        return e;
    }
    std::vector<std::u16string> Placements() {
        std::vector<std::u16string> moves;
        for (const auto& event : platform.events) {
            if (event.starts_with(u"parent of"))
                moves.push_back(event);
        }
        return moves;
    }
    MemoryControls memo;
    std::unique_ptr<FarsiCad> window;
};

const std::u16string Hidden = u"parent of TFarsiCad: 0 at 0,0";
const std::u16string Shown = u"parent of TFarsiCad: 4242 at 833,104";

TEST_F(EditWindow, WriteStepsOutOfTheWayAndComesBack) {
    memo.SetText(Control::Memo1, u"سلام\r\n\r\nدنيا");
    user->QueuePoint(10, 20);
    Click(&FarsiCad::Button1Click);
    EXPECT_EQ(Placements(), (std::vector<std::u16string>{Hidden, Shown}));
    ASSERT_EQ(drawing().modelSpace.size(), 2u);
    EXPECT_EQ(drawing().modelSpace[0]->text, Naskh("سلام"));
    EXPECT_EQ(drawing().modelSpace[1]->insertion, (Point3{10, 17, 0}));
    EXPECT_EQ(drawing().modelSpace[1]->height, 1.0);
    EXPECT_EQ(drawing().modelSpace[1]->style, u"farsi");

    // A cancelled point: nothing written, no error, and the window stays out of sight.
    platform.events.clear();
    user->QueueEscape();
    Click(&FarsiCad::Button1Click);
    EXPECT_EQ(Placements(), std::vector<std::u16string>{Hidden});
    EXPECT_TRUE(platform.errors.empty());
    EXPECT_FALSE(window->Visible());
}

TEST_F(EditWindow, EditConfirmAndCancel) {
    const sim::EntityRef text = Text(Naskh("سلام"));
    EXPECT_EQ(window->Button2Caption(), EditCaption);
    EXPECT_EQ(window->Button3Caption(), ChangeCaptionInitial);
    user->QueueSelection({text->handle});
    Click(&FarsiCad::Button2Click);
    EXPECT_EQ(memo.Text(Control::Memo1), u"سلام");
    EXPECT_EQ(window->Button2Caption(), ConfirmCaption);
    EXPECT_EQ(window->Button3Caption(), CancelCaption);
    memo.SetText(Control::Memo1, u"دنيا");
    Click(&FarsiCad::Button2Click);  // confirm: no hiding for this one
    EXPECT_EQ(text->text, Naskh("دنيا"));
    EXPECT_EQ(window->Button2Caption(), EditCaption);
    EXPECT_EQ(window->Button3Caption(), ChangeCaption);
    EXPECT_EQ(Placements(), (std::vector<std::u16string>{Hidden, Shown}));

    user->QueueSelection({text->handle});
    Click(&FarsiCad::Button2Click);
    memo.SetText(Control::Memo1, u"عوض");
    Click(&FarsiCad::Button3Click);  // cancel
    EXPECT_EQ(text->text, Naskh("دنيا"));
    EXPECT_FALSE(window->Editing());
    EXPECT_EQ(window->Button3Caption(), ChangeCaption);

    // Nothing picked: the host's error, and the window stays out of sight.
    platform.events.clear();
    user->QueueSelection({});
    Click(&FarsiCad::Button2Click);
    EXPECT_EQ(platform.errors.size(), 1u);
    EXPECT_EQ(Placements(), std::vector<std::u16string>{Hidden});
    EXPECT_EQ(window->Button2Caption(), EditCaption);
}

TEST_F(EditWindow, ChangeGivesEachPickedTextItsLine) {
    const sim::EntityRef first = Text(u"a");
    const sim::EntityRef second = Text(u"b");
    memo.SetText(Control::Memo1, u"سلام");
    user->QueueSelection({first->handle, second->handle});
    Click(&FarsiCad::Button3Click);
    EXPECT_EQ(first->text, Naskh("سلام"));
    EXPECT_EQ(second->text, u"");
}

TEST_F(EditWindow, CopyWithIncrementEndsQuietly) {
    struct Case {
        const char16_t* text;
        std::vector<std::u16string> copies;
    };
    const Case cases[] = {
        {u"P12", {u"P13", u"P14"}}, {u"A007", {u"A008", u"A009"}},  // the zero-padded width stays
    };
    for (const Case& c : cases) {
        drawing().modelSpace.clear();
        const sim::EntityRef source = Text(c.text);
        user->QueueSelection({source->handle});
        user->QueuePoint(1, 1);
        user->QueuePoint(2, 2);
        user->QueueEscape();
        Click(&FarsiCad::Button5Click);
        std::vector<std::u16string> copies;
        for (std::size_t i = 1; i < drawing().modelSpace.size(); ++i) {
            copies.push_back(drawing().modelSpace[i]->text);
        }
        EXPECT_EQ(copies, c.copies);
        EXPECT_TRUE(platform.errors.empty());
        EXPECT_TRUE(window->Visible());
    }
    const sim::EntityRef words = Text(u"abc");
    user->QueueSelection({words->handle});
    Click(&FarsiCad::Button5Click);
    EXPECT_EQ(platform.messages, std::vector<std::u16string>{u"no num"});
    EXPECT_FALSE(window->Visible());
}

TEST_F(EditWindow, BackReleasesTheAdapter) {
    Click(&FarsiCad::Button4Click);
    EXPECT_EQ(Placements(), std::vector<std::u16string>{Hidden});
    EXPECT_FALSE(window->Connected());
}

TEST(EditWindowWithoutHost, IsNotShown) {
    RunningHosts none;
    RecordingPlatform platform;
    MemoryControls memo;
    FarsiCad window(platform, none, memo);
    EXPECT_FALSE(window.Connected());
    EXPECT_EQ(platform.messages.front(), HostNotFoundMessage);
}

}  // namespace
}  // namespace navisaz
