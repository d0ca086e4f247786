// nivractl's main(): everything else is in the commands' object library.
#include "tools/nivractl/command.h"

int main(int argc, char** argv) { return nivractl::run(argc, argv); }
