#include "engine/letters.h"

#include <algorithm>

namespace navisaz {

// Reversing each maximal run of two or more number characters gives the same result as trying
// the longest candidate from every start position, in one pass instead of a cubic search.
void ReverseNumberRunsInPlace(std::string& text) {
    char* const begin = text.data();
    char* const end = begin + text.size();
    const auto isNumber = [](char c) { return IsNumberCharacter(static_cast<unsigned char>(c)); };
    char* run = std::find_if(begin, end, isNumber);
    while (run != end) {
        char* const runEnd = std::find_if_not(run + 1, end, isNumber);
        if (runEnd - run >= 2) {
            std::reverse(run, runEnd);
        }
        run = std::find_if(runEnd, end, isNumber);
    }
}

std::string ReverseNumberRuns(std::string_view text) {
    std::string result(text);
    ReverseNumberRunsInPlace(result);
    return result;
}

bool ReverseIfNumeric(std::string& run) {
    const bool numeric = std::all_of(run.begin(), run.end(), [](char c) {
        return IsNumberCharacter(static_cast<unsigned char>(c));
    });
    if (numeric) {
        std::reverse(run.begin(), run.end());
    }
    return numeric;
}

}  // namespace navisaz
