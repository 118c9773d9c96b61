// The command line on POSIX systems: words, names and terminals are UTF-8 already.
#include <unistd.h>

#include "cli_platform.h"

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    return {argv, argv + argc};
}

bool progressLineShown() {
    return isatty(STDERR_FILENO) != 0;
}

std::string systemPath(const std::string& utf8Path) {
    return utf8Path;
}
