// What the command line needs from the system it runs on.
#pragma once

#include <string>
#include <vector>

// The words of the command line in UTF-8, with the console set to show UTF-8.
std::vector<std::string> utf8Arguments(int argc, char** argv);
// Whether standard error is a terminal that can show a progress line rewritten in place.
bool progressLineShown();
// Whether an existing file (a UTF-8 name) is marked read-only, which a save respects by leaving it
// alone.
bool isMarkedReadOnly(const std::string& path);
