#include "foundation/win32_utf8.h"

#include <shellapi.h>

std::string utf8FromWide(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], size, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

std::wstring wideFromUtf8(const std::string& text) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    if (size <= 1)
        return {};
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &out[0], size);
    out.resize(out.size() - 1);
    return out;
}

std::vector<std::string> utf8CommandLineWords() {
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!words)
        return {};
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i)
        out.push_back(utf8FromWide(words[i]));
    LocalFree(words);
    return out;
}
