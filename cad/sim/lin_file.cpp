#include "cad/sim/lin_file.h"

#include <charconv>
#include <sstream>

#include "cad/host_error.h"
#include "cad/names.h"

namespace navisaz::sim {

namespace {

std::string Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

[[noreturn]] void Fail(const std::string& fileName, int line, const std::string& what) {
    throw HostError(fileName + ", line " + std::to_string(line) + ": " + what);
}

// Splits a pattern at commas that are not inside brackets.
std::vector<std::string> PatternElements(const std::string& pattern) {
    std::vector<std::string> elements;
    std::string current;
    int depth = 0;
    for (const char c : pattern) {
        if (c == '[')
            ++depth;
        if (c == ']')
            --depth;
        if (c == ',' && depth == 0) {
            elements.push_back(Trim(current));
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    elements.push_back(Trim(current));
    return elements;
}

}  // namespace

std::vector<LinetypeData> ParseLinFile(std::string_view contents, const std::string& fileName) {
    std::vector<LinetypeData> linetypes;
    std::istringstream lines{std::string(contents)};
    std::string raw;
    int lineNumber = 0;
    bool awaitingPattern = false;
    while (std::getline(lines, raw)) {
        ++lineNumber;
        std::string line = Trim(raw);
        if (line.empty() || line[0] == ';') {
            continue;
        }
        if (line[0] == '*') {
            if (awaitingPattern) {
                Fail(fileName, lineNumber,
                     "line type " + Narrow(linetypes.back().name) + " has no pattern line");
            }
            const std::string header = line.substr(1);
            const auto comma = header.find(',');
            LinetypeData linetype;
            linetype.name = Widen(Trim(header.substr(0, comma)));
            if (linetype.name.empty()) {
                Fail(fileName, lineNumber, "line type without a name");
            }
            if (comma != std::string::npos) {
                linetype.description = Widen(Trim(header.substr(comma + 1)));
            }
            linetypes.push_back(std::move(linetype));
            awaitingPattern = true;
            continue;
        }
        if (!awaitingPattern) {
            Fail(fileName, lineNumber, "pattern line without a line type header");
        }
        const std::vector<std::string> elements = PatternElements(line);
        if (elements.empty() || (elements[0] != "A" && elements[0] != "a")) {
            Fail(fileName, lineNumber, "a pattern line begins with A");
        }
        LinetypeData& linetype = linetypes.back();
        linetype.definition = Widen(line);
        for (std::size_t i = 1; i < elements.size(); ++i) {
            const std::string& element = elements[i];
            if (element.empty() || element[0] == '[') {
                continue;
            }
            double value = 0;
            const auto [end, error] =
                std::from_chars(element.data(), element.data() + element.size(), value);
            if (error != std::errc() || end != element.data() + element.size()) {
                Fail(fileName, lineNumber, "\"" + element + "\" is not a dash length");
            }
            linetype.pattern.push_back(value);
        }
        awaitingPattern = false;
    }
    if (awaitingPattern) {
        Fail(fileName, lineNumber,
             "line type " + Narrow(linetypes.back().name) + " has no pattern line");
    }
    return linetypes;
}

}  // namespace navisaz::sim
