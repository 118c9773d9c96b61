// The command line on Windows: argv is in the ANSI code page, which cannot hold every name, so
// the words are taken from the wide command line; file names stay UTF-8 down to the files seam.
#include <windows.h>

#include <cstdlib>

#include "cli_platform.h"
#include "foundation/win32_utf8.h"

namespace {

UINT consoleCodePage = 0; // none without a console

} // namespace

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    // The console is shared with the shell: give it back its own code page at the end.
    consoleCodePage = GetConsoleOutputCP();
    if (consoleCodePage && SetConsoleOutputCP(CP_UTF8))
        std::atexit([] { SetConsoleOutputCP(consoleCodePage); });
    std::vector<std::string> words = utf8CommandLineWords();
    if (words.empty())
        return {argv, argv + argc};
    return words;
}

bool progressLineShown() {
    // The line is rewritten with terminal sequences, which a console shows only when asked to.
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    return GetConsoleMode(error, &mode) &&
           SetConsoleMode(error, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

bool isMarkedReadOnly(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(wideFromUtf8(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}
