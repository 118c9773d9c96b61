// The command line on POSIX systems: words, names and terminals are UTF-8 already.
#include <sys/stat.h>
#include <unistd.h>

#include "cli_platform.h"

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    return {argv, argv + argc};
}

bool progressLineShown() {
    return isatty(STDERR_FILENO) != 0;
}

bool isMarkedReadOnly(const std::string& path) {
    struct stat target {};
    return ::stat(path.c_str(), &target) == 0 && (target.st_mode & 0222) == 0;
}
