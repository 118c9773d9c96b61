// Which file velquist.exe opens at start: the words of its command line after its own name.
// Explorer's "Open" passes one quoted name. The program takes no options, so every word is a
// name; a name with spaces typed without quotes arrives as several words and is refused whole
// rather than guessed at.
#pragma once

#include <string>
#include <vector>

extern const char oneFileAtATimeText[];

struct StartFile {
    std::string path;  // empty: start as usual
    std::string error; // when set, shown before the program starts as usual
};

StartFile startFileFrom(const std::vector<std::string>& words);
