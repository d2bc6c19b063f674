#pragma once

// A substitute host registered in a private table of running hosts, with a scripted user and a
// recording platform: what the adapter tests stand on.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cad/cadole.h"
#include "cad/running_hosts.h"
#include "cad/sim/sim_application.h"
#include "support/recording_platform.h"

namespace navisaz::testing {

// The host, its table and the platform, usable alone (a table of cases makes one per case).
struct HostWorld {
    void StartHost(const std::u16string& progId = u"Autocad.Application.24") {
        host = std::make_shared<sim::SimApplication>(user);
        host->windowHandle = 4242;
        hosts.Register(progId, host);
    }
    sim::Drawing& drawing() { return *host->ActiveDrawing(); }

    std::unique_ptr<tacad> Connected() {
        std::unique_ptr<tacad> adapter = tacad::Create(platform, hosts);
        EXPECT_TRUE(adapter->Connected);
        return adapter;
    }

    sim::EntityRef AddEntity(sim::EntityKind kind, std::vector<Point3> points = {{0, 0, 0}}) {
        sim::EntityRef e = drawing().AddEntity(drawing().modelSpace, kind);
        e->points = std::move(points);
        if (kind == sim::EntityKind::Text || kind == sim::EntityKind::MText) {
            e->text = u"text";
            e->insertion = e->points[0];
        }
        return e;
    }

    RunningHosts hosts;
    RecordingPlatform platform;
    std::shared_ptr<sim::ScriptedOperator> user = std::make_shared<sim::ScriptedOperator>();
    std::shared_ptr<sim::SimApplication> host;
};

class HostFixture : public ::testing::Test, public HostWorld {};

}  // namespace navisaz::testing
