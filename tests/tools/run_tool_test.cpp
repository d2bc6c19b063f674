#include "tools/run_tool.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cad/dxf/dxf_file.h"
#include "cad/names.h"

namespace navisaz {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

struct RunResult {
    int status;
    std::string out, err;
};

class Runner : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("navisaz-run-test-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    RunResult Run(const std::string& scenario) {
        const fs::path file = folder / "scenario.json";
        std::ofstream(file) << scenario;
        const std::string path = file.string();
        const char* argv[] = {"navisaz-run", path.c_str()};
        std::ostringstream out, err;
        const int status = RunScenarioTool(2, argv, out, err);
        return {status, out.str(), err.str()};
    }
    fs::path folder;
};

const fs::path Sample = fs::path(NAVISAZ_SOURCE_DIR) / "data" / "samples" / "survey_map.dxf";

TEST_F(Runner, RunsHandlersOnASampleDrawingAndSavesIt) {
    std::vector<std::string> points;
    int farsiBefore = 0;
    const auto sample = dxf::OpenDxf(Sample);
    for (const auto& e : sample->modelSpace) {
        if (e->kind == sim::EntityKind::Point)
            points.push_back(Narrow(e->handle));
        if (e->kind == sim::EntityKind::Text && e->style == u"farsi")
            ++farsiBefore;
    }
    ASSERT_EQ(points.size(), 6u);
    Json scenario = {
        {"drawing", Sample.string()},
        {"steps",
         {{{"set", "Memo1"}, {"text", "سلام\nدنيا"}},
          {{"set", "ETextHt"}, {"text", "2"}},
          {{"answer", {{"point", {538250, 3951450}}}}},
          {{"click", "Button3"}},
          {{"set", "EDec"}, {"text", "2"}},
          {{"answer", {{"select", {points[0], points[1]}}}}},
          {{"click", "Button16"}},
          {{"set", "Edit2"}, {"text", "1,250"}},
          {{"click", "Edit2"}},
          {{"click", "Button9"}}}},
        {"save", (folder / "out.dxf").string()},
    };
    const RunResult result = Run(scenario.dump());
    ASSERT_EQ(result.status, 0) << result.err;
    const Json report = Json::parse(result.out);
    EXPECT_TRUE(report["errors"].empty()) << report.dump(2);
    EXPECT_EQ(report["controls"]["Edit2"], "1250");
    EXPECT_EQ(report["controls"]["Memo1"], "يک هزار و دويست و پنجاه");
    EXPECT_FALSE(report["clipboard"].get<std::string>().empty());
    EXPECT_EQ(report["commandLine"][0], "-style Romanc\rromanc.shx\r      \x1b");
    const auto saved = dxf::OpenDxf(folder / "out.dxf");
    int farsi = 0, labels = 0;
    for (const auto& e : saved->modelSpace) {
        if (e->kind == sim::EntityKind::Text && e->style == u"farsi")
            ++farsi;
        if (e->kind == sim::EntityKind::MText && e->text.starts_with(u"X="))
            ++labels;
    }
    EXPECT_EQ(farsi, farsiBefore + 2);  // the memo's two lines
    EXPECT_EQ(labels, 2);
    EXPECT_EQ(report["entities"], saved->modelSpace.size() + saved->paperSpace.size());
}

TEST_F(Runner, TheShippedSupportTreeInstallsAndItsLispsLoad) {
    const Json scenario = {
        {"supportFolder", (folder / "support").string()},
        {"steps", {{{"click", "Button4"}}, {{"click", "Button5"}}, {{"click", "Button6"}}}},
    };
    const RunResult result = Run(scenario.dump());
    ASSERT_EQ(result.status, 0) << result.err;
    const Json report = Json::parse(result.out);
    EXPECT_TRUE(report["errors"].empty()) << report.dump(2);
    const std::vector<std::string> sent = report["commandLine"];
    for (const char* expected : {"(Load \"Kateb.lsp\")\r", "(Load \"farsi.lsp\")\r",
                                 "(Load \"kateb.lsp\")\r", "kateb\r", "farsi\r"}) {
        EXPECT_NE(std::find(sent.begin(), sent.end(), expected), sent.end()) << expected;
    }
    for (const std::string line : report["history"]) {
        EXPECT_EQ(line.find("LOAD failed"), std::string::npos) << line;
        EXPECT_EQ(line.find("Unknown command"), std::string::npos) << line;
    }
    EXPECT_TRUE(fs::exists(folder / "support" / "ncc.lin"));
}

TEST_F(Runner, BadScenariosStopWithStatusTwo) {
    struct Case {
        std::string scenario;
        std::string message;
    };
    const Case cases[] = {
        {R"({"steps": [{"click": "Button99"}]})", "step 1: unknown control \"Button99\""},
        {R"({"steps": [{"set": "Memo9", "text": "x"}]})", "unknown control \"Memo9\""},
        {R"({"steps": [ {"click": )", "not valid JSON"},
        {R"({"drawing": "nowhere.dxf"})", "drawing: no file"},
        {R"({"colour": 1})", "unknown scenario key \"colour\""},
        {R"({"steps": [{"answer": {"point": [1]}}]})", "a point is [x, y]"},
        {R"({"steps": [{"answer": "maybe"}]})", "step 1: an answer is"},
    };
    for (const Case& c : cases) {
        const RunResult result = Run(c.scenario);
        EXPECT_EQ(result.status, 2) << c.scenario;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty());
    }
}

TEST_F(Runner, TheHostsOwnCommandsAreAnsweredByTheScenario) {
    // The support tree holds a line type; the catalogue later draws with "pl" like this.
    const Json scenario = {
        {"steps",
         {{{"answer", {{"point", {0, 0}}}}},
          {{"answer", {{"point", {10, 0}}}}},
          {{"answer", "enter"}},
          {{"click", "Button20"}}}},
    };
    // No polyline yet: the lister's pick of nothing is an error shown to the user.
    const RunResult result = Run(scenario.dump());
    ASSERT_EQ(result.status, 0) << result.err;
    const Json report = Json::parse(result.out);
    EXPECT_EQ(report["errors"].size(), 1u);
}

}  // namespace
}  // namespace navisaz
