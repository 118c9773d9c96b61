// The words of the commands that know the decoder and the journal: identify, reset, history,
// undo and diff.
#include <cstdlib>
#include <cstring>

#include "cli_arguments.h"

namespace {

bool isOption(const char* word) {
    return std::strncmp(word, "-", 1) == 0;
}

} // namespace

bool parseJournalCommand(const std::string& command, int at, int argc, const char* const* argv,
                         CliRequest& request, std::string& error) {
    using Command = CliRequest::Command;
    const std::pair<const char*, Command> commands[] = {{"identify", Command::identify},
                                                        {"reset", Command::reset},
                                                        {"history", Command::history},
                                                        {"undo", Command::undo},
                                                        {"diff", Command::diff}};
    bool known = false;
    for (const auto& [name, value] : commands) {
        if (command == name) {
            request.command = value;
            known = true;
        }
    }
    if (!known)
        return false;
    if (request.command == Command::diff) {
        if (at >= argc || isOption(argv[at]) || argv[at][0] == '\0') {
            error = "diff needs a FILE";
            return false;
        }
        request.file = argv[at++];
    }
    for (; at < argc; ++at) {
        const std::string word = argv[at];
        const bool valueFollows = at + 1 < argc && argv[at + 1][0] != '\0';
        if (request.command == Command::reset && word == "--yes") {
            request.confirmed = true;
        } else if (request.command == Command::reset && word == "--backup" && valueFollows &&
                   request.file.empty()) {
            request.file = argv[++at];
        } else if (request.command == Command::history && word == "--last" && valueFollows) {
            const std::string number = argv[++at];
            const long last =
                number.size() <= 6 && number.find_first_not_of("0123456789") == std::string::npos
                    ? std::atol(number.c_str())
                    : 0;
            if (last < 1) {
                error = "--last must be a number from 1 to 999999: '" + number + "'";
                return false;
            }
            request.last = static_cast<int>(last);
        } else {
            error = command + " does not take '" + word + "'";
            return false;
        }
    }
    return true;
}
