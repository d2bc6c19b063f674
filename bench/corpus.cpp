#include "corpus.h"

#include <fstream>
#include <stdexcept>

namespace navisaz::bench {

namespace {
constexpr const char* WordListPath = "/usr/share/hunspell/fa_IR.dic";
constexpr int WordsPerLine = 8;
}  // namespace

std::vector<std::string> PersianCorpusLines() {
    std::ifstream words(WordListPath);
    if (!words) {
        throw std::runtime_error(std::string("cannot read ") + WordListPath +
                                 " (Debian package myspell-fa)");
    }
    std::string word;
    std::getline(words, word);  // the first line holds the word count
    std::vector<std::string> lines;
    std::string line;
    int inLine = 0;
    while (std::getline(words, word)) {
        word = word.substr(0, word.find('/'));
        if (word.empty()) {
            continue;
        }
        line += (inLine == 0 ? "" : " ") + word;
        if (++inLine == WordsPerLine) {
            lines.push_back(std::move(line));
            line.clear();
            inLine = 0;
        }
    }
    if (!line.empty()) {
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace navisaz::bench
