#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>

#include "cad/lineweight.h"
#include "cad/names.h"
#include "host_fixture.h"

namespace navisaz {
namespace {

using testing::HostFixture;

TEST(LineweightFromMm, StepsAndSinglePrecisionThresholds) {
    struct Case {
        float mm;
        std::int32_t code;
    };
    const Case cases[] = {
        {-0.1f, -1},
        {0.0f, 0},
        {0.049f, 0},
        {0.05f, 5},
        {0.25f, 25},
        {0.5f, 50},
        {1.0f, 100},
        {1.5f, 140},
        {3.0f, 211},
        {2.0f, 200},
        {0.2f, 20},
        {0.09f, 9},
        // just below their decimal value as single precision: the row below
        {0.13f, 9},
        {0.35f, 30},
        {0.53f, 50},
        {0.7f, 60},
        {0.9f, 80},
        {1.06f, 100},
        {1.4f, 120},
        {2.11f, 200},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LineweightFromMm(c.mm), c.code) << c.mm;
    }
}

class AdapterSettings : public HostFixture {
  protected:
    void SetUp() override {
        StartHost();
        drawing().linetypes.push_back({.name = u"DASHED"});
        adapter = Connected();
        host->commandLog.clear();
    }
    std::unique_ptr<tacad> adapter;
};

TEST_F(AdapterSettings, LinetypeMacros) {
    struct Case {
        float scale;
        char16_t separator;
        std::vector<std::u16string> sent;
        double celtscale;  // what the host holds afterwards
        bool leftWaiting;  // the host still asks for the value
    };
    const Case cases[] = {
        {0, u'.', {u"-lt s DASHED\r\r"}, 1.0, false},
        {-1, u'.', {u"-lt s DASHED\r\r"}, 1.0, false},
        {0.5f, u'.', {u"-lt s DASHED\r\r", u"celtscale 0.50 "}, 0.5, false},
        // The host reads only '.': a comma leaves it asking for the value until Esc.
        {0.5f, u',', {u"-lt s DASHED\r\r", u"celtscale 0,50 "}, 1.0, true},
    };
    for (const Case& c : cases) {
        host->commandLog.clear();
        drawing().SetVariable(u"CELTSCALE", Variant(1.0));
        drawing().SetVariable(u"CELTYPE", Variant(u"ByLayer"));
        platform.decimalSeparator = c.separator;
        adapter->SetLinetype("DASHED", c.scale);
        EXPECT_EQ(host->commandLog, c.sent);
        EXPECT_EQ(drawing().Variable(u"CELTYPE").ToString(), u"DASHED");
        EXPECT_EQ(drawing().Variable(u"CELTSCALE").ToDouble(), c.celtscale);
        EXPECT_EQ(host->Busy(), c.leftWaiting);
        user->QueueEscape();
        host->RunPendingCommand();
        EXPECT_FALSE(host->Busy());
    }
}

TEST_F(AdapterSettings, HatchDefaultMacros) {
    struct Case {
        float angle, scale;
        char16_t separator;
        std::vector<std::u16string> sent;
    };
    const Case cases[] = {
        {45, 2, u'.', {u"hpname ANSI31 ", u"hpang 45.0 ", u"hpscale 2.0 "}},
        {0, 0.05f, u'.', {u"hpname ANSI31 ", u"hpang 0.0 ", u"hpscale 0.1 "}},
        {22.5f, 1.25f, u'.', {u"hpname ANSI31 ", u"hpang 22.5 ", u"hpscale 1.3 "}},
    };
    for (const Case& c : cases) {
        host->commandLog.clear();
        platform.decimalSeparator = c.separator;
        adapter->SetHatchDefaults("ANSI31", c.angle, c.scale);
        EXPECT_EQ(host->commandLog, c.sent);
    }
    // With a comma the host keeps asking for the angle, so it refuses the scale macro.
    host->commandLog.clear();
    platform.decimalSeparator = u',';
    EXPECT_THROW(adapter->SetHatchDefaults("ANSI31", 22.5f, 1.25f), HostCallRefused);
    EXPECT_EQ(host->commandLog, (std::vector<std::u16string>{u"hpname ANSI31 ", u"hpang 22,5 "}));
    user->QueueEscape();
    host->RunPendingCommand();
    // What the first case does in the host.
    platform.decimalSeparator = u'.';
    adapter->SetHatchDefaults("NET", 45, 2);
    EXPECT_EQ(drawing().Variable(u"HPNAME").ToString(), u"NET");
    EXPECT_NEAR(drawing().Variable(u"HPANG").ToDouble(), std::numbers::pi / 4, 1e-12);
    EXPECT_EQ(drawing().Variable(u"HPSCALE").ToDouble(), 2.0);
}

TEST_F(AdapterSettings, CreateLayerMakesItCurrentAndOverwritesItsLook) {
    drawing().layers.push_back({.name = u"ROADS", .color = 3, .lineweight = 9});
    drawing().SetVariable(u"CECOLOR", Variant(u"5"));
    for (const char* name : {"ROADS", "NEW"}) {
        const auto layer = adapter->CreateLayer(name, 1, 0.35f);
        ASSERT_TRUE(layer);
        const sim::LayerData* data = drawing().FindLayer(Widen(name));
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->color, 1);
        EXPECT_EQ(data->lineweight, 30);
        EXPECT_EQ(drawing().Variable(u"CLAYER").ToString(), Widen(name));
        EXPECT_EQ(drawing().Variable(u"CECOLOR").ToString(), u"BYLAYER");
    }
    EXPECT_THROW(adapter->CreateLayer("BAD", 300, 0.35f), HostError);  // colour rejected
}

}  // namespace
}  // namespace navisaz
