#include "app/start_file_rules.h"

const char oneFileAtATimeText[] =
    "Velquist opens one file at a time. A name with spaces goes in quotes: "
    "velquist.exe \"C:\\Decoders\\GP9 1234.vqd\"";

StartFile startFileFrom(const std::vector<std::string>& words) {
    std::vector<std::string> names;
    for (const std::string& word : words) {
        // An empty word ("") names nothing.
        if (!word.empty())
            names.push_back(word);
    }
    if (names.size() > 1)
        return {"", oneFileAtATimeText};
    return {names.empty() ? "" : names.front(), ""};
}
