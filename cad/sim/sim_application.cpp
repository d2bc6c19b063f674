#include "cad/sim/sim_application.h"

#include <cmath>
#include <filesystem>

#include "cad/host_error.h"
#include "cad/names.h"
#include "cad/running_hosts.h"
#include "cad/sim/sim_objects.h"

namespace navisaz::sim {

namespace {

// A closed outline an interactive hatch can fill: a closed polyline or a circle.
std::optional<std::vector<Point3>> Boundary(const EntityData& entity) {
    if (entity.kind == EntityKind::LwPolyline && entity.closed && entity.points.size() >= 3) {
        return entity.points;
    }
    if (entity.kind == EntityKind::Circle && !entity.points.empty()) {
        std::vector<Point3> outline;
        constexpr int Segments = 72;
        for (int i = 0; i < Segments; ++i) {
            const double a = 2 * 3.14159265358979323846 * i / Segments;
            outline.push_back({entity.points[0].x + entity.radius * std::cos(a),
                               entity.points[0].y + entity.radius * std::sin(a),
                               entity.points[0].z});
        }
        return outline;
    }
    return std::nullopt;
}

}  // namespace

SimApplication::SimApplication(std::shared_ptr<Operator> user)
    : user_(user ? std::move(user) : std::make_shared<ScriptedOperator>()),
      commandLine_(std::make_unique<CommandLine>(*this)) {
    drawings.push_back(std::make_shared<Drawing>());
}

SimApplication::~SimApplication() = default;

std::shared_ptr<SimApplication> SimApplication::Start(const std::u16string& progId,
                                                      std::shared_ptr<Operator> user) {
    auto host = std::make_shared<SimApplication>(std::move(user));
    RunningHosts::Instance().Register(progId, host);
    return host;
}

std::shared_ptr<SimApplication> SimApplication::Self() {
    return std::static_pointer_cast<SimApplication>(shared_from_this());
}

std::shared_ptr<Drawing> SimApplication::ActiveDrawing() const {
    if (drawings.empty()) {
        throw HostError("No drawing is open");
    }
    return drawings[activeIndex];
}

std::shared_ptr<Drawing> SimApplication::NewDrawing() {
    auto drawing = std::make_shared<Drawing>();
    drawing->name = u"Drawing" + Widen(std::to_string(drawings.size() + 1)) + u".dwg";
    OpenDrawing(drawing);
    return drawing;
}

void SimApplication::OpenDrawing(std::shared_ptr<Drawing> drawing) {
    drawings.push_back(std::move(drawing));
    activeIndex = drawings.size() - 1;
}

void SimApplication::Activate(std::size_t index) {
    if (index >= drawings.size()) {
        throw HostError("No drawing number " + std::to_string(index));
    }
    activeIndex = index;
}

void SimApplication::WriteLine(const std::u16string& line) {
    history.push_back(line);
}

bool SimApplication::Busy() const {
    return pendingCommand != HostCommand::None || commandLine_->InCommand();
}

void SimApplication::CheckFree() const {
    if (Busy()) {
        throw HostCallRefused();
    }
}

void SimApplication::TypeCommand(Drawing& drawing, std::u16string_view text) {
    commandLine_->Type(drawing, text);
}

void SimApplication::RunPendingCommand() {
    Drawing& drawing = *ActiveDrawing();
    const HostCommand command = pendingCommand;
    pendingCommand = HostCommand::None;
    if (command == HostCommand::Polyline) {
        std::vector<Point3> vertices;
        for (;;) {
            const std::optional<Point3> base =
                vertices.empty() ? std::nullopt : std::optional<Point3>(vertices.back());
            const PointAnswer answer = User().GetPoint(
                vertices.empty() ? u"Specify start point: " : u"Specify next point: ", base);
            if (answer.kind != PointAnswer::Kind::Point)
                break;
            vertices.push_back(answer.point);
        }
        if (vertices.size() >= 2) {
            EntityRef polyline = drawing.AddEntity(drawing.ActiveSpace(), EntityKind::LwPolyline);
            polyline->points = std::move(vertices);
        }
        return;
    }
    if (command == HostCommand::Hatch) {
        const EntityFilter closedOutline = [](const EntityData& e) {
            return Boundary(e).has_value();
        };
        const SelectionAnswer answer =
            User().SelectOnScreen(u"Select objects: ", drawing, closedOutline);
        std::vector<std::vector<Point3>> loops;
        for (const std::u16string& handle :
             answer.cancelled ? std::vector<std::u16string>{} : answer.handles) {
            if (const EntityRef entity = drawing.FindEntity(handle)) {
                if (auto outline = Boundary(*entity))
                    loops.push_back(std::move(*outline));
            }
        }
        if (loops.empty()) {
            WriteLine(u"No valid hatch boundary found.");
            return;
        }
        EntityRef hatch = drawing.AddEntity(drawing.ActiveSpace(), EntityKind::Hatch);
        hatch->patternName = drawing.Variable(u"HPNAME").ToString();
        hatch->patternAngle = drawing.Variable(u"HPANG").ToDouble();
        hatch->patternScale = drawing.Variable(u"HPSCALE").ToDouble();
        hatch->loops = std::move(loops);
        return;
    }
    // A command left waiting for answers: the user types them until it ends or is cancelled.
    while (commandLine_->InCommand()) {
        const TypedAnswer answer = User().GetInput(u"");
        switch (answer.kind) {
            case TypedAnswer::Kind::Cancel:
                commandLine_->Cancel();
                break;
            case TypedAnswer::Kind::Enter:
                commandLine_->Type(drawing, u"\r");
                break;
            case TypedAnswer::Kind::Integer:
                commandLine_->Type(drawing, Widen(std::to_string(answer.integer)) + u"\r");
                break;
            case TypedAnswer::Kind::Text:
                commandLine_->Type(drawing, answer.text + u"\r");
                break;
        }
    }
}

std::optional<std::u16string> SimApplication::FindSupportFile(
    const std::u16string& fileName) const {
    namespace fs = std::filesystem;
    const fs::path given(Narrow(fileName));
    if (given.has_parent_path() && fs::is_regular_file(given)) {
        return fileName;
    }
    for (const std::u16string& folder : supportFolders) {
        const fs::path candidate = fs::path(Narrow(folder)) / given.filename();
        if (fs::is_regular_file(candidate)) {
            return Widen(candidate.string());
        }
        // Support folders are matched without regard to case, as on the host's own system.
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(fs::path(Narrow(folder)), error)) {
            if (SameName(Widen(entry.path().filename().string()),
                         Widen(given.filename().string()))) {
                return Widen(entry.path().string());
            }
        }
    }
    return std::nullopt;
}

std::shared_ptr<AcadDocument> SimApplication::ActiveDocument() {
    CheckFree();
    return DocumentObject(ActiveDrawing());
}

// The application object itself answers while the host is in a command; the refusals begin
// with the preferences' pages and the drawings, which is what the busy test reads.
std::shared_ptr<AcadDocuments> SimApplication::Documents() {
    return MakeDocumentsObject(Self());
}

std::shared_ptr<AcadPreferences> SimApplication::Preferences() {
    return MakePreferencesObject(Self());
}

bool SimApplication::Visible() {
    return visible_;
}

void SimApplication::put_Visible(bool visible) {
    visible_ = visible;
}

std::int64_t SimApplication::HWND() {
    return windowHandle;
}

std::shared_ptr<AcadDocument> SimApplication::DocumentObject(const std::shared_ptr<Drawing>& d) {
    return MakeDocumentObject(Self(), d);
}

Variant SimApplication::Invoke(std::u16string_view member, CallKind kind,
                               const std::vector<Variant>& args) {
    if (SameName(member, u"ActiveDocument")) {
        return Variant(std::static_pointer_cast<Dispatch>(ActiveDocument()));
    }
    if (SameName(member, u"Visible")) {
        if (kind == CallKind::PropertyPut && !args.empty()) {
            put_Visible(args[0].ToBool());
            return {};
        }
        return Visible();
    }
    if (SameName(member, u"HWND")) {
        return Variant(static_cast<std::int32_t>(HWND()));
    }
    return Dispatch::Invoke(member, kind, args);
}

}  // namespace navisaz::sim
