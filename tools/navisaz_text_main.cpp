#include <iostream>

#include "tools/text_tool.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return navisaz::RunTextTool(argc, argv, std::cin, std::cout, std::cerr);
}
