// The command line on Windows: argv is in the ANSI code page, which cannot hold every name, so
// the words are taken from the wide command line; file calls take ANSI names.
#include <windows.h>

#include <shellapi.h>

#include <cstdlib>

#include "cli_platform.h"

namespace {

UINT consoleCodePage = 0; // none without a console

std::string convert(UINT from, UINT to, const std::string& text) {
    if (text.empty())
        return text;
    const int wideSize =
        MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(wideSize), L'\0');
    MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), &wide[0], wideSize);
    const int size =
        WideCharToMultiByte(to, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(to, 0, wide.data(), wideSize, &out[0], size, nullptr, nullptr);
    return out;
}

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

std::string systemPath(const std::string& utf8Path) {
    return convert(CP_UTF8, CP_ACP, utf8Path);
}

bool isMarkedReadOnly(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}
