#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace navisaz::sim {

class SimApplication;
class Drawing;

// The host's command line: text typed (or sent) is split into answers at every space and
// carriage return, an escape character cancels the command in progress, and an opening
// parenthesis at the command prompt starts a lisp expression. The commands and lisp forms the
// program sends are carried out with their real effect on the drawing:
//   -style NAME FONT and six answers   defines the style and makes it current
//   -lt / -linetype, options s and l   sets the current line type, loads line types
//   a system variable's name, value    sets it (celtscale, hpname, hpang, hpscale, ...)
//   r / redraw, re / regen             nothing to do here
//   pl / pline, h / hatch              hand over to the user (the host is busy until done)
//   (load "file.lsp")                  reads the file from the support path and defines the
//                                      commands it declares with (defun c:NAME ...)
//   (command "a" "b" ...)              the strings as answers
//   (while ... (command ""))           Enter until no command is active
// A command a loaded lisp file defines runs by its name; any other name is an unknown command.
class CommandLine {
  public:
    explicit CommandLine(SimApplication& host);
    ~CommandLine();

    // Interprets text against the drawing. A command still waiting for answers afterwards keeps
    // its state for the next text (or the user).
    void Type(Drawing& drawing, std::u16string_view text);
    // True while a command waits for more answers.
    bool InCommand() const;
    // Cancels the command in progress, as Esc does.
    void Cancel();

    struct Command;

  private:
    void Answer(Drawing& drawing, const std::u16string& token);
    void StartCommand(Drawing& drawing, const std::u16string& name);
    void EvaluateLisp(Drawing& drawing, std::u16string_view expression);

    SimApplication& host_;
    std::unique_ptr<Command> command_;
};

}  // namespace navisaz::sim
