// The command line on Windows: argv is in the ANSI code page, which cannot hold every name, so
// the words are taken from the wide command line, and files are opened by their wide names.
#include <windows.h>

#include <shellapi.h>

#include <cstdlib>

#include "cli_platform.h"

namespace {

UINT consoleCodePage = 0; // none without a console

std::string utf8FromWide(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], size, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

} // namespace

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    // The console is shared with the shell: give it back its own code page at the end.
    consoleCodePage = GetConsoleOutputCP();
    if (consoleCodePage && SetConsoleOutputCP(CP_UTF8))
        std::atexit([] { SetConsoleOutputCP(consoleCodePage); });
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!words)
        return {argv, argv + argc};
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(utf8FromWide(words[i]));
    LocalFree(words);
    return arguments;
}

bool progressLineShown() {
    // The line is rewritten with terminal sequences, which a console shows only when asked to.
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    return GetConsoleMode(error, &mode) &&
           SetConsoleMode(error, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

bool isMarkedReadOnly(const std::string& path) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, &wide[0], size);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}
