#include "tools/run_tool.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>

#include "cad/dxf/dxf_file.h"
#include "cad/names.h"
#include "cad/running_hosts.h"
#include "cad/sim/sim_application.h"
#include "commands/handlers.h"
#include "support/recording_platform.h"
#include "support/run_path.h"

namespace navisaz {

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

constexpr const char16_t* HostProgId = u"Autocad.Application.24";

// A scenario that cannot run: the message says what is wrong and where.
struct ScenarioError {
    std::string message;
};

std::u16string Text(const Json& value, const std::string& where) {
    if (!value.is_string())
        throw ScenarioError{where + ": a text is expected"};
    return Widen(value.get<std::string>());
}

std::string Utf8(const std::u16string& text) {
    return Narrow(text);
}

Json Texts(const std::vector<std::u16string>& texts) {
    Json list = Json::array();
    for (const std::u16string& text : texts)
        list.push_back(Utf8(text));
    return list;
}

// One answer of the user at the host.
void QueueAnswer(sim::ScriptedOperator& user, const Json& answer, const std::string& where) {
    if (answer.is_string()) {
        const std::string word = answer.get<std::string>();
        if (word == "esc")
            return user.QueueEscape();
        if (word == "enter")
            return user.QueueEnter();
        throw ScenarioError{where + ": an answer is \"esc\", \"enter\" or an object"};
    }
    if (!answer.is_object() || answer.size() != 1) {
        throw ScenarioError{where +
                            ": an answer is one of point, select, text, integer, esc, enter"};
    }
    const auto& [kind, value] = *answer.items().begin();
    if (kind == "point") {
        if (!value.is_array() || value.size() < 2 || value.size() > 3) {
            throw ScenarioError{where + ": a point is [x, y] or [x, y, z]"};
        }
        for (const Json& coordinate : value) {
            if (!coordinate.is_number())
                throw ScenarioError{where + ": coordinates are numbers"};
        }
        return user.QueuePoint(value[0].get<double>(), value[1].get<double>(),
                               value.size() == 3 ? value[2].get<double>() : 0);
    }
    if (kind == "select") {
        if (!value.is_array())
            throw ScenarioError{where + ": select takes a list of handles"};
        std::vector<std::u16string> handles;
        for (const Json& handle : value)
            handles.push_back(Text(handle, where + " (handle)"));
        return user.QueueSelection(std::move(handles));
    }
    if (kind == "text")
        return user.QueueText(Text(value, where));
    if (kind == "integer") {
        if (!value.is_number_integer())
            throw ScenarioError{where + ": integer takes a whole number"};
        return user.QueueInteger(value.get<std::int32_t>());
    }
    throw ScenarioError{where + ": unknown answer \"" + kind + "\""};
}

Json Report(RecordingPlatform& platform, sim::SimApplication& host, SurfaceControls& controls,
            const std::string& saved) {
    Json report;
    report["messages"] = Texts(platform.messages);
    report["errors"] = Texts(platform.errors);
    report["errorWindows"] = platform.errorWindows;
    report["clipboard"] = Utf8(platform.clipboard);
    report["commandLine"] = Texts(host.commandLog);
    report["history"] = Texts(host.history);
    Json values = Json::object();
    for (const Control control :
         {Control::Memo1, Control::ETextHt, Control::EDec, Control::Edit2, Control::Edit3}) {
        values[Utf8(ControlName(control))] = Utf8(controls.Text(control));
    }
    report["controls"] = values;
    const sim::Drawing& drawing = *host.ActiveDrawing();
    report["entities"] = drawing.modelSpace.size() + drawing.paperSpace.size();
    if (!saved.empty())
        report["saved"] = saved;
    return report;
}

int Run(const Json& scenario, const fs::path& scenarioFolder, const fs::path& programFolder,
        std::ostream& out) {
    if (!scenario.is_object())
        throw ScenarioError{"the scenario is a JSON object"};
    for (const auto& [key, value] : scenario.items()) {
        if (key != "drawing" && key != "decimalSeparator" && key != "steps" && key != "save" &&
            key != "supportFolder") {
            throw ScenarioError{"unknown scenario key \"" + key + "\""};
        }
    }
    const auto path = [&scenarioFolder](const Json& value, const std::string& where) {
        fs::path p = fs::path(Narrow(Text(value, where)));
        return p.is_absolute() ? p : scenarioFolder / p;
    };

    RecordingPlatform platform;
    platform.programFolder = programFolder.u16string();
    WriteRunPath(platform);
    if (scenario.contains("decimalSeparator")) {
        const std::u16string separator = Text(scenario["decimalSeparator"], "decimalSeparator");
        if (separator.size() != 1)
            throw ScenarioError{"decimalSeparator: one character"};
        platform.decimalSeparator = separator[0];
    }
    auto user = std::make_shared<sim::ScriptedOperator>();
    auto host = std::make_shared<sim::SimApplication>(user);
    dxf::ReadDrawingFilesAsDxf(*host);
    if (scenario.contains("drawing")) {
        const fs::path drawing = path(scenario["drawing"], "drawing");
        if (!fs::exists(drawing))
            throw ScenarioError{"drawing: no file " + drawing.string()};
        try {
            host->drawings = {dxf::OpenDxf(drawing)};
            host->activeIndex = 0;
        } catch (const dxf::DxfError& error) {
            throw ScenarioError{std::string("drawing: ") + error.what()};
        }
    }
    const fs::path support = scenario.contains("supportFolder")
                                 ? path(scenario["supportFolder"], "supportFolder")
                                 : fs::temp_directory_path() / "navisaz-run-support";
    fs::create_directories(support);
    host->supportFolders = {support.u16string()};
    RunningHosts hosts;
    hosts.Register(HostProgId, host);

    MemoryControls controls;
    const CommandContext context{controls, platform, hosts};
    const Json steps = scenario.value("steps", Json::array());
    if (!steps.is_array())
        throw ScenarioError{"steps: a list is expected"};
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Json& step = steps[i];
        const std::string where = "step " + std::to_string(i + 1);
        if (!step.is_object())
            throw ScenarioError{where + ": a step is an object"};
        if (step.contains("set")) {
            const std::u16string name = Text(step["set"], where);
            const auto control = ControlNamed(name);
            if (!control)
                throw ScenarioError{where + ": unknown control \"" + Utf8(name) + "\""};
            controls.SetText(*control, Text(step.value("text", Json("")), where + " (text)"));
        } else if (step.contains("answer")) {
            QueueAnswer(*user, step["answer"], where);
        } else if (step.contains("chooseFont")) {
            controls.chosenFont = step["chooseFont"].is_null()
                                      ? std::nullopt
                                      : std::optional(Text(step["chooseFont"], where));
        } else if (step.contains("click")) {
            const std::u16string name = Text(step["click"], where);
            if (!RunHandler(name, context)) {
                throw ScenarioError{where + ": unknown control \"" + Utf8(name) + "\""};
            }
            // The host's own commands (pl, h) end when the user has answered them.
            if (host->Busy())
                host->RunPendingCommand();
        } else {
            throw ScenarioError{where +
                                ": a step sets a control, answers, chooses a font or clicks"};
        }
    }
    std::string saved;
    if (scenario.contains("save")) {
        const fs::path target = path(scenario["save"], "save");
        dxf::SaveDxf(*host->ActiveDrawing(), target);
        saved = target.string();
    }
    out << Report(platform, *host, controls, saved).dump(2) << '\n';
    return 0;
}

}  // namespace

int RunScenarioTool(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app{
        "Runs the command surface's handlers on the substitute host from a JSON scenario "
        "and prints a JSON report.",
        "navisaz-run"};
    std::string scenarioPath;
    app.add_option("scenario", scenarioPath, "the scenario file (JSON)")->required();
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error, out, err) == 0 ? 0 : 2;
    }
    try {
        std::ifstream file(scenarioPath, std::ios::binary);
        if (!file)
            throw ScenarioError{"cannot read " + scenarioPath};
        Json scenario;
        try {
            scenario = Json::parse(file);
        } catch (const Json::parse_error& error) {
            throw ScenarioError{scenarioPath + ": not valid JSON: " + error.what()};
        }
        // The support tree lies beside the program.
        std::error_code noLink;
        fs::path program = fs::read_symlink("/proc/self/exe", noLink).parent_path();
        if (noLink)
            program = fs::absolute(fs::path(argv[0])).parent_path();
        return Run(scenario, fs::absolute(scenarioPath).parent_path(), program, out);
    } catch (const ScenarioError& error) {
        err << "navisaz-run: " << error.message << '\n';
        return 2;
    } catch (const std::exception& error) {
        err << "navisaz-run: " << error.what() << '\n';
        return 1;
    }
}

}  // namespace navisaz
