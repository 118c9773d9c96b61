// UTF-8 names and the wide strings of Win32: the program's file names are UTF-8, so a name that
// the ANSI code page lacks reaches the file system whole.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

std::string utf8FromWide(const wchar_t* text);
std::wstring wideFromUtf8(const std::string& text);
// The words of the process's wide command line in UTF-8, its own name first; none when the
// command line cannot be split.
std::vector<std::string> utf8CommandLineWords();
