// nivractl entry point: the command line, run by the registered commands.
#include "tools/nivractl/command.h"

#include <string>
#include <vector>

int main(int argc, char** argv) { return nivractl::runCommandLine(std::vector<std::string>(argv, argv + argc)); }
