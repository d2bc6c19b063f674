#pragma once

// The substitute host: an in-process drawing program with open drawings, a command line and a
// user (the Operator), reached through the same automation interfaces as the real host.

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cad/automation.h"
#include "cad/sim/command_line.h"
#include "cad/sim/drawing.h"
#include "cad/sim/operator.h"

namespace navisaz::sim {

// Reads a drawing file for insertion as a block (the DXF layer provides it). Raises HostError
// when the file cannot be read.
using DrawingFileReader = std::function<std::shared_ptr<Drawing>(const std::u16string& path)>;

// An interactive command the host is in the middle of: until the user ends it, every call from
// outside is refused.
enum class HostCommand { None, Polyline, Hatch };

class SimApplication : public AcadApplication {
  public:
    explicit SimApplication(std::shared_ptr<Operator> user = std::make_shared<ScriptedOperator>());
    ~SimApplication() override;

    // Starts a host with one empty drawing and registers it under progId.
    static std::shared_ptr<SimApplication> Start(const std::u16string& progId,
                                                 std::shared_ptr<Operator> user = nullptr);

    // --- the host's own state, for the program's embedding, the window and tests ---
    std::vector<std::shared_ptr<Drawing>> drawings;
    std::size_t activeIndex = 0;
    std::shared_ptr<Drawing> ActiveDrawing() const;
    std::shared_ptr<Drawing> NewDrawing();
    void OpenDrawing(std::shared_ptr<Drawing> drawing);  // becomes the active one
    void Activate(std::size_t index);

    Operator& User() const { return *user_; }
    void SetUser(std::shared_ptr<Operator> user) { user_ = std::move(user); }

    std::vector<std::u16string> supportFolders;  // the support file search path
    DrawingFileReader drawingFileReader;
    std::int64_t windowHandle = 0;

    // Every text sent with SendCommand, verbatim, and every line the command line showed.
    std::vector<std::u16string> commandLog;
    std::vector<std::u16string> history;
    void WriteLine(const std::u16string& line);

    // Commands defined by loaded lisp files, by folded name.
    std::set<std::u16string> lispCommands;
    // Lisp commands run, by name as typed.
    std::vector<std::u16string> lispCommandsRun;

    // The host's own interactive command, if it is in one; RunPendingCommand lets the user finish
    // it. CheckFree raises the busy refusal while one is pending.
    HostCommand pendingCommand = HostCommand::None;
    bool Busy() const;
    void CheckFree() const;
    void RunPendingCommand();

    // Types text at the host's command line against a drawing (SendCommand does this).
    void TypeCommand(Drawing& drawing, std::u16string_view text);

    // Finds a file on the support path (or as given, when it is a path that exists).
    std::optional<std::u16string> FindSupportFile(const std::u16string& fileName) const;

    // --- AcadApplication ---
    std::shared_ptr<AcadDocument> ActiveDocument() override;
    std::shared_ptr<AcadDocuments> Documents() override;
    std::shared_ptr<AcadPreferences> Preferences() override;
    bool Visible() override;
    void put_Visible(bool visible) override;
    std::int64_t HWND() override;
    Variant Invoke(std::u16string_view member, CallKind kind,
                   const std::vector<Variant>& args) override;

    // The automation object of a drawing of this host.
    std::shared_ptr<AcadDocument> DocumentObject(const std::shared_ptr<Drawing>& drawing);

  private:
    std::shared_ptr<SimApplication> Self();
    std::shared_ptr<Operator> user_;
    std::unique_ptr<CommandLine> commandLine_;
    bool visible_ = false;
};

}  // namespace navisaz::sim
