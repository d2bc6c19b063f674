#include "cad/sim/command_line.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>

#include "cad/host_error.h"
#include "cad/names.h"
#include "cad/sim/lin_file.h"
#include "cad/sim/sim_application.h"

namespace navisaz::sim {

namespace {

constexpr char16_t Escape = 27;
constexpr char16_t CarriageReturn = 13;
constexpr char16_t LineFeed = 10;

// A command name as typed, without the prefixes that only choose the English or the built-in
// version of a command ("_", ".").
std::u16string CommandName(std::u16string_view typed) {
    std::size_t i = 0;
    while (i < typed.size() && (typed[i] == u'_' || typed[i] == u'.')) {
        ++i;
    }
    return FoldCase(typed.substr(i));
}

std::optional<double> ParseReal(const std::u16string& text) {
    const std::string narrow = Narrow(text);
    double value = 0;
    const auto [end, error] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
    if (error != std::errc() || end != narrow.data() + narrow.size() || narrow.empty()) {
        return std::nullopt;
    }
    return value;
}

bool IsAllDigits(const std::u16string& text) {
    if (text.empty())
        return false;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

enum class VariableKind { PositiveReal, AngleDegrees, Name, Layer, Linetype, Color, Style };

struct SettableVariable {
    const char16_t* name;
    VariableKind kind;
};

// The system variables a name typed at the command prompt sets.
constexpr SettableVariable SettableVariables[] = {
    {u"CELTSCALE", VariableKind::PositiveReal}, {u"LTSCALE", VariableKind::PositiveReal},
    {u"HPSCALE", VariableKind::PositiveReal},   {u"TEXTSIZE", VariableKind::PositiveReal},
    {u"HPANG", VariableKind::AngleDegrees},     {u"HPNAME", VariableKind::Name},
    {u"CLAYER", VariableKind::Layer},           {u"CELTYPE", VariableKind::Linetype},
    {u"CECOLOR", VariableKind::Color},          {u"TEXTSTYLE", VariableKind::Style},
};

const SettableVariable* FindSettable(const std::u16string& folded) {
    for (const SettableVariable& v : SettableVariables) {
        if (folded == v.name)
            return &v;
    }
    return nullptr;
}

}  // namespace

// A command in progress: it takes answers one by one and says when it is done.
struct CommandLine::Command {
    virtual ~Command() = default;
    // Returns true when the command has finished.
    virtual bool Answer(SimApplication& host, Drawing& drawing, const std::u16string& token) = 0;
};

namespace {

using Command = CommandLine::Command;

// -style NAME FONT, then height, width factor, obliquing angle, backwards, upside down and
// vertical (an empty answer keeps the default).
struct StyleCommand : Command {
    std::vector<std::u16string> answers;
    bool Answer(SimApplication&, Drawing& drawing, const std::u16string& token) override {
        answers.push_back(token);
        if (answers.size() == 1 && token.empty()) {
            return true;  // Enter at the name prompt ends the command
        }
        if (answers.size() < 8) {
            return false;
        }
        TextStyleData* style = drawing.FindTextStyle(answers[0]);
        if (style == nullptr) {
            drawing.textStyles.push_back({.name = answers[0]});
            style = &drawing.textStyles.back();
        }
        if (!answers[1].empty()) {
            style->fontFile = answers[1];
            style->typeface.clear();
        }
        if (const auto height = ParseReal(answers[2]))
            style->height = *height;
        if (const auto factor = ParseReal(answers[3]))
            style->widthFactor = *factor;
        const auto yes = [](const std::u16string& a) { return FoldCase(a).starts_with(u"Y"); };
        const auto no = [](const std::u16string& a) { return FoldCase(a).starts_with(u"N"); };
        if (yes(answers[5]))
            style->generationFlag |= 2;
        if (no(answers[5]))
            style->generationFlag &= ~2;
        if (yes(answers[6]))
            style->generationFlag |= 4;
        if (no(answers[6]))
            style->generationFlag &= ~4;
        drawing.SetVariable(u"TEXTSTYLE", Variant(style->name));
        return true;
    }
};

struct LinetypeCommand : Command {
    enum class Step { Option, SetName, LoadNames, LoadFile } step = Step::Option;
    std::u16string names;
    bool Answer(SimApplication& host, Drawing& drawing, const std::u16string& token) override {
        switch (step) {
            case Step::Option: {
                const std::u16string option = CommandName(token);
                if (option.empty())
                    return true;
                if (option == u"S" || option == u"SET") {
                    step = Step::SetName;
                } else if (option == u"L" || option == u"LOAD") {
                    step = Step::LoadNames;
                } else {
                    host.WriteLine(u"Invalid option keyword.");
                }
                return false;
            }
            case Step::SetName:
                step = Step::Option;
                if (token.empty())
                    return false;
                if (const LinetypeData* linetype = drawing.FindLinetype(token)) {
                    drawing.SetVariable(u"CELTYPE", Variant(linetype->name));
                } else {
                    host.WriteLine(u"Linetype \"" + token +
                                   u"\" not found. Use the LOAD option to load it.");
                }
                return false;
            case Step::LoadNames:
                names = token;
                step = token.empty() ? Step::Option : Step::LoadFile;
                return false;
            case Step::LoadFile:
                step = Step::Option;
                Load(host, drawing, token);
                return false;
        }
        return true;
    }

    void Load(SimApplication& host, Drawing& drawing, const std::u16string& fileName) {
        const auto path = host.FindSupportFile(fileName);
        if (!path) {
            host.WriteLine(u"Can't find file \"" + fileName + u"\".");
            return;
        }
        std::ifstream file(Narrow(*path), std::ios::binary);
        std::stringstream contents;
        contents << file.rdbuf();
        std::vector<LinetypeData> loaded;
        try {
            loaded = ParseLinFile(contents.str(), Narrow(fileName));
        } catch (const HostError& error) {
            host.WriteLine(Widen(error.what()));
            return;
        }
        for (LinetypeData& linetype : loaded) {
            if (names != u"*" && !SameName(linetype.name, names))
                continue;
            if (LinetypeData* existing = drawing.FindLinetype(linetype.name)) {
                *existing = std::move(linetype);  // reloaded
            } else {
                drawing.linetypes.push_back(std::move(linetype));
            }
        }
    }
};

struct SetVariableCommand : Command {
    SettableVariable variable;
    explicit SetVariableCommand(SettableVariable v) : variable(v) {}

    bool Answer(SimApplication& host, Drawing& drawing, const std::u16string& token) override {
        if (token.empty())
            return true;  // Enter keeps the value
        switch (variable.kind) {
            case VariableKind::PositiveReal: {
                const auto value = ParseReal(token);
                if (!value || *value <= 0) {
                    host.WriteLine(u"Requires a positive number.");
                    return false;
                }
                drawing.SetVariable(variable.name, Variant(*value));
                return true;
            }
            case VariableKind::AngleDegrees: {
                const auto value = ParseReal(token);
                if (!value) {
                    host.WriteLine(u"Requires a valid angle.");
                    return false;
                }
                drawing.SetVariable(variable.name, Variant(*value * std::numbers::pi / 180.0));
                return true;
            }
            case VariableKind::Name:
                drawing.SetVariable(variable.name, Variant(token));
                return true;
            case VariableKind::Layer:
                if (const LayerData* layer = drawing.FindLayer(token)) {
                    drawing.SetVariable(variable.name, Variant(layer->name));
                    return true;
                }
                host.WriteLine(u"Cannot find layer \"" + token + u"\".");
                return false;
            case VariableKind::Linetype:
                if (const LinetypeData* linetype = drawing.FindLinetype(token)) {
                    drawing.SetVariable(variable.name, Variant(linetype->name));
                    return true;
                }
                host.WriteLine(u"Cannot find linetype \"" + token + u"\".");
                return false;
            case VariableKind::Color: {
                const std::u16string folded = FoldCase(token);
                if (folded == u"BYLAYER" || folded == u"BYBLOCK" ||
                    (IsAllDigits(token) && token.size() <= 3 && ParseReal(token) <= 255.0 &&
                     ParseReal(token) >= 1.0)) {
                    drawing.SetVariable(variable.name, Variant(folded));
                    return true;
                }
                host.WriteLine(u"Invalid color.");
                return false;
            }
            case VariableKind::Style:
                if (const TextStyleData* style = drawing.FindTextStyle(token)) {
                    drawing.SetVariable(variable.name, Variant(style->name));
                    return true;
                }
                host.WriteLine(u"Cannot find text style \"" + token + u"\".");
                return false;
        }
        return true;
    }
};

// The position of the parenthesis that closes the one at open (parentheses inside strings do not
// count), or the text's length when none does.
std::size_t MatchingParenthesis(std::u16string_view text, std::size_t open) {
    int depth = 0;
    bool inString = false;
    for (std::size_t i = open; i < text.size(); ++i) {
        if (text[i] == u'"')
            inString = !inString;
        if (inString)
            continue;
        if (text[i] == u'(')
            ++depth;
        if (text[i] == u')' && --depth == 0)
            return i;
    }
    return text.size();
}

// Splits a lisp expression into its top-level elements: atoms, strings (without their quotes)
// and nested expressions (with their parentheses).
struct LispElement {
    enum class Kind { Atom, String, List } kind;
    std::u16string text;
};

std::vector<LispElement> LispElements(std::u16string_view expression) {
    std::vector<LispElement> elements;
    std::u16string_view inner = expression.substr(1, expression.size() - 2);
    std::size_t i = 0;
    while (i < inner.size()) {
        const char16_t c = inner[i];
        if (c == u' ' || c == u'\t' || c == CarriageReturn || c == LineFeed) {
            ++i;
        } else if (c == u'"') {
            std::u16string text;
            ++i;
            while (i < inner.size() && inner[i] != u'"') {
                if (inner[i] == u'\\' && i + 1 < inner.size())
                    ++i;
                text.push_back(inner[i++]);
            }
            ++i;
            elements.push_back({LispElement::Kind::String, text});
        } else if (c == u'(') {
            const std::size_t start = i;
            const std::size_t close = MatchingParenthesis(inner, i);
            i = close == inner.size() ? close : close + 1;
            elements.push_back(
                {LispElement::Kind::List, std::u16string(inner.substr(start, i - start))});
        } else {
            const std::size_t start = i;
            while (i < inner.size() && inner[i] != u' ' && inner[i] != u'(' && inner[i] != u')' &&
                   inner[i] != u'"') {
                ++i;
            }
            elements.push_back(
                {LispElement::Kind::Atom, std::u16string(inner.substr(start, i - start))});
        }
    }
    return elements;
}

// The names of the commands a lisp file defines with (defun c:NAME ...).
std::vector<std::u16string> DefinedCommands(const std::string& source) {
    std::vector<std::u16string> names;
    std::string folded = source;
    for (char& c : folded)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::size_t at = 0;
    while ((at = folded.find("(defun", at)) != std::string::npos) {
        at += 6;
        std::size_t i = at;
        while (i < folded.size() && std::isspace(static_cast<unsigned char>(folded[i])))
            ++i;
        if (folded.compare(i, 2, "c:") != 0)
            continue;
        i += 2;
        const std::size_t start = i;
        while (i < folded.size() && !std::isspace(static_cast<unsigned char>(folded[i])) &&
               folded[i] != '(' && folded[i] != ')') {
            ++i;
        }
        if (i > start)
            names.push_back(FoldCase(Widen(source.substr(start, i - start))));
    }
    return names;
}

}  // namespace

CommandLine::CommandLine(SimApplication& host) : host_(host) {}
CommandLine::~CommandLine() = default;

bool CommandLine::InCommand() const {
    return command_ != nullptr;
}

void CommandLine::Cancel() {
    if (command_) {
        command_.reset();
        host_.WriteLine(u"*Cancel*");
    }
}

void CommandLine::Type(Drawing& drawing, std::u16string_view text) {
    std::u16string token;
    std::size_t i = 0;
    while (i < text.size()) {
        const char16_t c = text[i];
        if (c == Escape) {
            token.clear();
            Cancel();
            ++i;
        } else if (c == u' ' || c == CarriageReturn || c == LineFeed) {
            Answer(drawing, token);
            token.clear();
            ++i;
        } else if (c == u'(' && token.empty()) {
            // A lisp expression runs to its matching parenthesis.
            const std::size_t end = MatchingParenthesis(text, i);
            if (end == text.size()) {
                host_.WriteLine(u"(_> unbalanced lisp expression");
                return;
            }
            EvaluateLisp(drawing, text.substr(i, end - i + 1));
            i = end + 1;
        } else {
            token.push_back(c);
            ++i;
        }
    }
    // Text that does not end in Enter stays typed but not given; nothing more to do with it.
}

void CommandLine::Answer(Drawing& drawing, const std::u16string& token) {
    if (command_) {
        if (command_->Answer(host_, drawing, token)) {
            command_.reset();
        }
        return;
    }
    if (!token.empty()) {
        StartCommand(drawing, token);
    }
}

void CommandLine::StartCommand(Drawing& drawing, const std::u16string& typed) {
    const std::u16string name = CommandName(typed);
    host_.WriteLine(u"Command: " + typed);
    if (name == u"-STYLE") {
        command_ = std::make_unique<StyleCommand>();
    } else if (name == u"-LT" || name == u"-LINETYPE") {
        command_ = std::make_unique<LinetypeCommand>();
    } else if (const SettableVariable* variable = FindSettable(name)) {
        command_ = std::make_unique<SetVariableCommand>(*variable);
    } else if (name == u"R" || name == u"REDRAW") {
        // The picture is always current here.
    } else if (name == u"RE" || name == u"REGEN") {
        host_.WriteLine(u"Regenerating model.");
    } else if (name == u"PL" || name == u"PLINE") {
        host_.pendingCommand = HostCommand::Polyline;
    } else if (name == u"H" || name == u"HATCH" || name == u"BH" || name == u"BHATCH") {
        host_.pendingCommand = HostCommand::Hatch;
    } else if (host_.lispCommands.contains(name)) {
        host_.lispCommandsRun.push_back(typed);
    } else {
        host_.WriteLine(u"Unknown command \"" + FoldCase(typed) + u"\".  Press F1 for help.");
    }
    (void)drawing;
}

void CommandLine::EvaluateLisp(Drawing& drawing, std::u16string_view expression) {
    const std::vector<LispElement> elements = LispElements(expression);
    if (elements.empty() || elements[0].kind != LispElement::Kind::Atom) {
        host_.WriteLine(u"; error: bad function");
        return;
    }
    const std::u16string function = FoldCase(elements[0].text);
    if (function == u"LOAD") {
        if (elements.size() < 2 || elements[1].kind != LispElement::Kind::String) {
            host_.WriteLine(u"; error: bad argument type");
            return;
        }
        const std::u16string& fileName = elements[1].text;
        const auto path = host_.FindSupportFile(fileName);
        std::ifstream file;
        if (path)
            file.open(Narrow(*path), std::ios::binary);
        if (!path || !file) {
            host_.WriteLine(u"; error: LOAD failed: \"" + fileName + u"\"");
            return;
        }
        std::stringstream source;
        source << file.rdbuf();
        const std::vector<std::u16string> defined = DefinedCommands(source.str());
        for (const std::u16string& name : defined) {
            host_.lispCommands.insert(name);
        }
        host_.WriteLine(defined.empty() ? u"nil" : u"C:" + defined.back());
    } else if (function == u"COMMAND") {
        for (std::size_t k = 1; k < elements.size(); ++k) {
            Answer(drawing, elements[k].text);
        }
    } else if (function == u"WHILE") {
        // (while <command active> (command "")): Enter until the command has ended.
        for (int guard = 0; guard < 1000 && command_ != nullptr; ++guard) {
            Answer(drawing, u"");
        }
    } else if (function == u"DEFUN" || function == u"SETQ" || function == u"PRINC") {
        // Definitions and output change nothing the program relies on.
    } else {
        host_.WriteLine(u"; error: no function definition: " + function);
    }
}

}  // namespace navisaz::sim
