#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <stdexcept>

#include "host_fixture.h"

namespace navisaz {
namespace {

using testing::HostFixture;

class AdapterConnection : public HostFixture {};

TEST_F(AdapterConnection, FailureTable) {
    struct Case {
        const char* name;
        std::function<void(testing::HostWorld&)> arrange;
        std::vector<std::u16string> messages;
        bool appSet;
    };
    const Case cases[] = {
        {"no host", [](testing::HostWorld&) {}, {HostNotFoundMessage, LeaveCommandMessage}, false},
        {"registered but not running",
         [](testing::HostWorld& t) { t.hosts.RegisterProgId(u"Autocad.Application.24"); },
         {HostNotFoundMessage, LeaveCommandMessage},
         false},
        {"host in its own command",
         [](testing::HostWorld& t) {
             t.StartHost();
             t.host->pendingCommand = sim::HostCommand::Polyline;
         },
         {HostBusyMessage, LeaveCommandMessage},
         true},
    };
    for (const Case& c : cases) {
        testing::HostWorld t;
        c.arrange(t);
        std::unique_ptr<tacad> adapter = tacad::Create(t.platform, t.hosts);
        EXPECT_FALSE(adapter->Connected) << c.name;
        EXPECT_EQ(t.platform.messages, c.messages) << c.name;
        EXPECT_EQ(static_cast<bool>(adapter->AcadApp), c.appSet) << c.name;
        EXPECT_EQ(static_cast<bool>(adapter->AcadAppVar), c.appSet) << c.name;
        EXPECT_EQ(static_cast<bool>(adapter->AcadPrefs), c.appSet) << c.name;
        EXPECT_FALSE(adapter->AcadPrefsOutput) << c.name;
        EXPECT_FALSE(adapter->AcadDoc) << c.name;
        // Whatever an unconnected adapter is asked fails as a host call, never crashes.
        mText text;
        text.TextString = u"x";
        text.Height = 1;
        EXPECT_THROW(adapter->AddText(text), HostError) << c.name;
        EXPECT_THROW(adapter->SetLinetype("DASHED", 0), HostError) << c.name;
    }
}

// A lookup that fails in a way that is not the lookup's own (a broken system).
class BrokenLocator : public HostLocator {
  public:
    std::shared_ptr<AcadApplication> GetActiveObject(const std::u16string&) override {
        throw std::runtime_error("catastrophic failure");
    }
};

TEST_F(AdapterConnection, AnyOtherFailureLeavesCreateWithoutAnAdapter) {
    BrokenLocator locator;
    EXPECT_THROW(tacad::Create(platform, locator), std::runtime_error);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(AdapterConnection, SuccessfulCreateSetsUpTheDrawing) {
    StartHost();
    drawing().textStyles.push_back({.name = u"farsi", .fontFile = u"arial.ttf"});  // damaged
    std::unique_ptr<tacad> adapter = Connected();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(host->Visible());
    ASSERT_EQ(host->commandLog.size(), 1u);
    EXPECT_EQ(host->commandLog[0], u"-style Romanc\rromanc.shx\r      \x1b");
    EXPECT_EQ(drawing().Variable(u"TEXTSTYLE").ToString(), u"Romanc");
    EXPECT_EQ(drawing().FindTextStyle(u"Romanc")->fontFile, u"romanc.shx");
    for (const auto& [name, font] :
         {std::pair{u"naskhc", u"naskhc.shx"}, {u"farsi", u"naskhd.shx"}}) {
        const sim::TextStyleData* style = drawing().FindTextStyle(name);
        ASSERT_NE(style, nullptr);
        EXPECT_EQ(style->fontFile, font);
        EXPECT_EQ(style->generationFlag, 2);
    }
    // Every drawing field is set.
    EXPECT_TRUE(adapter->AcadDoc && adapter->AcadModel && adapter->AcadPaper && adapter->AcadUtil &&
                adapter->AcadSelSets && adapter->AcadLayers && adapter->AcadLayouts &&
                adapter->AcadActiveLayout && adapter->AcadModelLayout && adapter->AcadPlot);

    // Twice changes nothing, and the farsi style comes back.
    const std::size_t styles = drawing().textStyles.size();
    const auto farsi = adapter->CreateFarsiStyles();
    ASSERT_TRUE(farsi);
    EXPECT_EQ(farsi->Name(), u"farsi");
    EXPECT_EQ(drawing().textStyles.size(), styles);
}

TEST_F(AdapterConnection, TheFirstProgIdOfTheListWins) {
    struct Case {
        std::vector<std::u16string> running;
        std::u16string expected;
    };
    const Case cases[] = {
        {{u"Autocad.Application.17", u"Autocad.Application.24"}, u"Autocad.Application.24"},
        {{u"Autocad.Application.17.2", u"Autocad.Application.17"}, u"Autocad.Application.17"},
        {{u"Autocad.Application.11"}, u"Autocad.Application.11"},
        {{u"AUTOCAD.APPLICATION.30.1", u"Autocad.Application.30"}, u"AUTOCAD.APPLICATION.30.1"},
    };
    for (const Case& c : cases) {
        RunningHosts table;
        std::map<std::u16string, std::shared_ptr<sim::SimApplication>> started;
        for (const std::u16string& progId : c.running) {
            started[progId] = std::make_shared<sim::SimApplication>();
            table.Register(progId, started[progId]);
        }
        RecordingPlatform quiet;
        std::unique_ptr<tacad> adapter = tacad::Create(quiet, table);
        ASSERT_TRUE(adapter->Connected);
        EXPECT_EQ(adapter->AcadApp.get(), started[c.expected]);
    }
}

// Counts lookups, to show that a second Connect makes no call.
class CountingLocator : public HostLocator {
  public:
    explicit CountingLocator(HostLocator& inner) : inner_(inner) {}
    std::shared_ptr<AcadApplication> GetActiveObject(const std::u16string& progId) override {
        ++calls;
        return inner_.GetActiveObject(progId);
    }
    int calls = 0;

  private:
    HostLocator& inner_;
};

TEST_F(AdapterConnection, ConnectOnAConnectedAdapterDoesNothing) {
    StartHost(u"Autocad.Application.30.1");
    CountingLocator locator(hosts);
    std::unique_ptr<tacad> adapter = tacad::Create(platform, locator);
    ASSERT_TRUE(adapter->Connected);
    EXPECT_EQ(locator.calls, 2);                     // the typed and the untyped handle
    host->pendingCommand = sim::HostCommand::Hatch;  // any call would now be refused
    EXPECT_NO_THROW(adapter->Connect());
    EXPECT_EQ(locator.calls, 2);
}

TEST_F(AdapterConnection, CreateBareOnlyInitialises) {
    StartHost();
    std::unique_ptr<tacad> adapter = tacad::CreateBare(platform, hosts);
    EXPECT_FALSE(adapter->Connected);
    EXPECT_FALSE(adapter->AcadApp);
    EXPECT_TRUE(host->commandLog.empty());
    adapter->Connect();
    adapter->RefreshDocument();
    EXPECT_TRUE(adapter->Connected);
    EXPECT_TRUE(adapter->AcadDoc);
    EXPECT_TRUE(host->commandLog.empty());
}

TEST_F(AdapterConnection, AnAdapterKeepsItsDrawingUntilRefreshed) {
    StartHost();
    std::unique_ptr<tacad> adapter = Connected();
    const std::shared_ptr<sim::Drawing> first = host->ActiveDrawing();
    const std::shared_ptr<sim::Drawing> second = host->NewDrawing();
    mText text;
    text.TextString = u"a";
    text.Height = 1;
    adapter->AddText(text);
    EXPECT_EQ(first->modelSpace.size(), 1u);
    EXPECT_TRUE(second->modelSpace.empty());
    adapter->RefreshDocument();
    adapter->AddText(text);
    EXPECT_EQ(second->modelSpace.size(), 1u);
}

TEST_F(AdapterConnection, WindowOrderGoesThroughThePlatform) {
    StartHost();
    std::unique_ptr<tacad> adapter = Connected();
    adapter->ShowAcadWindow();
    adapter->ShowOwnWindow();
    EXPECT_EQ(platform.events,
              (std::vector<std::u16string>{u"window to top: 4242", u"own window to top"}));
}

}  // namespace
}  // namespace navisaz
