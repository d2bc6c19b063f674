#pragma once

#include <string>
#include <vector>

namespace navisaz::bench {

// Lines of Persian text for the engine benchmarks: the words of Debian's Persian word list,
// eight to a line, as UTF-8.
std::vector<std::string> PersianCorpusLines();

}  // namespace navisaz::bench
