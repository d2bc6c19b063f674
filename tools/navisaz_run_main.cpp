#include <iostream>

#include "tools/run_tool.h"

int main(int argc, char** argv) {
    return navisaz::RunScenarioTool(argc, argv, std::cout, std::cerr);
}
