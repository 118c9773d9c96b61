#include "cli_arguments.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <set>

#include "files/decoder_file_transfer.h"
#include "foundation/windows_1252.h"

#ifdef _WIN32
#define VELQUIST_DEFAULT_PORT "COM1"
#else
#define VELQUIST_DEFAULT_PORT "/dev/ttyS0"
#endif

const char cliDefaultPort[] = VELQUIST_DEFAULT_PORT;

const char cliUsage[] =
    "usage: velquist-cli [--port DEVICE] [--baud 9600|19200] [--protocol ascii|binary|auto] "
    "[--allow-high-cvs] [--retries N] [--wait S] "
    "[--on-main ADDRESS | --on-main-accessory ADDRESS] "
    "read CV [CV ...] | "
    "write CV=VALUE [CV=VALUE ...] | version | detect | "
    "backup FILE [--name TEXT] [--owner TEXT] [--notes TEXT] [CVS] | restore FILE [--verify] | "
    "show FILE | convert IN OUT | sheet FILE [-o OUT.html] | identify | "
    "reset [--backup FILE] [--yes] | history [--last N] | undo | diff FILE | --help";

const char cliHelp[] =
    "usage: velquist-cli [--port DEVICE] [--baud 9600|19200] [--protocol ascii|binary|auto]\n"
    "                    [--allow-high-cvs] [--retries N] [--wait S]\n"
    "                    [--on-main ADDRESS | --on-main-accessory ADDRESS] COMMAND\n"
    "Reads and writes the CVs of the decoder on the programming track of an NCE station.\n"
    "\n"
    "  read CV [CV ...]              print CV=VALUE for each CV\n"
    "  write CV=VALUE [...] [--no-read-first]\n"
    "                                write the values in the order given, each read first and\n"
    "                                shown as CV=VALUE (was OLD); CV 8 is written only by reset\n"
    "  version                       print the station's version text\n"
    "  detect                        look for NCE stations on every serial port (only on\n"
    "                                --port if given) at 9600 and 19200 baud; print\n"
    "                                PORT BAUD PROTOCOL VERSION NAME for each one found\n"
    "                                (PROTOCOL: ascii, binary or none, the command set that\n"
    "                                programs its track); exit status 1 when none answered\n"
    "  backup FILE [--name TEXT] [--owner TEXT] [--notes TEXT] [CVS]\n"
    "                                read the CVs into a decoder file; CVS is a list such as\n"
    "                                1-11,29,67-94 (default: every CV of the locomotive, speed\n"
    "                                table, function map and consist pages); CVs that cannot be\n"
    "                                read are stored as unknown and reported (exit status 1)\n"
    "  restore FILE [--verify] [--no-read-first]\n"
    "                                write every known value of the file in CV order, except\n"
    "                                the read-only CVs, each read first; --verify reads each back\n"
    "  show FILE                     print the texts and CV=VALUE for each known CV\n"
    "  convert IN OUT                write IN's values to OUT: a CV list when OUT ends in\n"
    "                                .csv, else a decoder file\n"
    "  sheet FILE [-o OUT.html]      write a one-page HTML decoder sheet to print (default:\n"
    "                                standard output)\n"
    "  identify                      print the decoder's maker, version, address and product\n"
    "  reset [--backup FILE] [--yes] reset the decoder to its maker's settings (address 3);\n"
    "                                --backup first reads it into FILE; without --yes only\n"
    "                                print what would be written (exit status 2)\n"
    "  history [--last N]            print the last N write actions of the journal (default 10)\n"
    "  undo                          write back the values before the last write action that\n"
    "                                is not yet undone, if the decoder still holds what it wrote\n"
    "  diff FILE                     print each CV where the decoder differs from FILE\n"
    "\n"
    "FILE and IN may be a Velquist decoder file, a CV list (CSV: a CV,value line per CV) or a\n"
    "JMRI roster entry (XML), told apart by their content. backup and convert write a CV list\n"
    "when the name ends in .csv.\n"
    "\n"
    "  --port DEVICE                 serial device (default " VELQUIST_DEFAULT_PORT ")\n"
    "  --baud 9600|19200             line speed (default 9600)\n"
    "  --protocol ascii|binary       NCE's command set: ascii for a Powerhouse Pro up to the\n"
    "                                2004 EPROM (default), binary for a Powerhouse Pro of 2006\n"
    "                                or later, or a Power Cab or Twin on the USB interface;\n"
    "                                auto asks the station's version first and takes the\n"
    "                                command set it programs with\n"
    "  --allow-high-cvs              let read, backup, write and restore reach CVs above the\n"
    "                                station's safe limit (255 on a Powerhouse Pro, whose\n"
    "                                programming track can reach another CV instead; refused\n"
    "                                whole without it)\n"
    "  --retries N                   try a read the decoder did not acknowledge up to N more\n"
    "                                times, 0 to 5 (default 2)\n"
    "  --wait S                      seconds an answer may take, 2 to 60 (default 16 for ascii,\n"
    "                                10 for binary)\n"
    "  --on-main ADDRESS             write and restore write on the main, to the locomotive\n"
    "                                decoder at ADDRESS: 1 to 127 short, 128 to 10239 long, a\n"
    "                                leading zero (0003) long; nothing can be read back there,\n"
    "                                so read, backup, restore --verify and detect are refused\n"
    "  --on-main-accessory ADDRESS   the same for the accessory decoder with the accessory\n"
    "                                number ADDRESS (1 to 2044)\n"
    "  --help                        this text (only as the first word)\n"
    "Options go before the command. Texts are UTF-8; decoder files hold them in Windows-1252.\n"
    "Exit status: 0 done, 1 the station or a file failed, 2 bad arguments.\n";

std::vector<int> defaultBackupCvs() {
    std::set<int> cvs = {8,  7,  1,  18, 17,  3,   4,  29, 2,  6,  5, 65,
                         66, 95, 10, 11, 105, 106, 19, 21, 22, 23, 24};
    for (int cv = 67; cv <= 94; ++cv) // speed table
        cvs.insert(cv);
    for (int cv = 33; cv <= 42; ++cv) // function map
        cvs.insert(cv);
    return {cvs.begin(), cvs.end()};
}

namespace {

// The options before the command; those with a value take the next word.
const char* const valueOptions[] = {"--port", "--baud",    "--protocol",         "--retries",
                                    "--wait", "--on-main", "--on-main-accessory"};
const char* const flagOptions[] = {"--allow-high-cvs", "--help"};

template <size_t count> bool isOneOf(const std::string& word, const char* const (&options)[count]) {
    for (const char* option : options)
        if (word == option)
            return true;
    return false;
}

// A word that belongs before the command found after it: says so rather than judging the word
// as whatever the command expects there.
bool misplacedOption(const std::string& word, std::string& error) {
    if (!isOneOf(word, valueOptions) && !isOneOf(word, flagOptions))
        return false;
    error = "options go before the command: '" + word + "'";
    return true;
}

// A whole decimal number within [lowest, highest], nothing else.
bool parseNumber(const std::string& text, long lowest, long highest, int& number) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    long value = std::strtol(text.c_str(), nullptr, 10);
    if (value < lowest || value > highest)
        return false;
    number = static_cast<int>(value);
    return true;
}

bool parseCv(const std::string& text, int& cv, std::string& error) {
    if (parseNumber(text, 1, 1024, cv))
        return true;
    error = "CV must be a number from 1 to 1024: '" + text + "'";
    return false;
}

bool parseAssignment(const std::string& text, std::pair<int, int>& entry, std::string& error) {
    size_t equals = text.find('=');
    if (equals == std::string::npos) {
        error = "write takes CV=VALUE: '" + text + "'";
        return false;
    }
    if (!parseCv(text.substr(0, equals), entry.first, error))
        return false;
    if (entry.first == 8) {
        error = "writing CV 8 resets most decoders to their factory settings: use "
                "`velquist-cli reset`";
        return false;
    }
    if (parseNumber(text.substr(equals + 1), 0, 255, entry.second))
        return true;
    error = "VALUE must be a number from 0 to 255: '" + text + "'";
    return false;
}

// "1-11,29,67-94": numbers and ranges, each CV once, in CV order.
bool parseCvList(const std::string& text, std::vector<std::pair<int, int>>& cvs,
                 std::string& error) {
    std::set<int> chosen;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        std::string item = text.substr(start, comma == std::string::npos ? comma : comma - start);
        size_t dash = item.find('-');
        int first = 0;
        int last = 0;
        if (!parseCv(item.substr(0, dash), first, error) ||
            !parseCv(dash == std::string::npos ? item : item.substr(dash + 1), last, error))
            return false;
        if (last < first) {
            error = "CV range must go upwards: '" + item + "'";
            return false;
        }
        for (int cv = first; cv <= last; ++cv)
            chosen.insert(cv);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    for (int cv : chosen)
        cvs.push_back({cv, 0});
    return true;
}

// FILE, then the command's own options and at most one list of CVs.
bool parseFileCommand(int at, int argc, const char* const* argv, CliRequest& request,
                      std::string& error) {
    const std::string command = argv[at - 1];
    if (at < argc && misplacedOption(argv[at], error))
        return false;
    if (at >= argc || std::strncmp(argv[at], "--", 2) == 0 || argv[at][0] == '\0') {
        error = command + " needs a FILE";
        return false;
    }
    request.file = argv[at++];
    const bool backup = request.command == CliRequest::Command::backup;
    const char* textOptions[] = {"--name", "--owner", "--notes"};
    bool listGiven = false;
    bool textsGiven = false;
    for (; at < argc; ++at) {
        const std::string word = argv[at];
        int text = -1;
        for (int i = 0; i < 3; ++i)
            text = backup && word == textOptions[i] ? i : text;
        if (text >= 0 && at + 1 < argc) {
            textsGiven = true;
            std::string refused;
            if (!windows1252FromUtf8(argv[++at], request.texts[text], refused)) {
                error = word + ": " + refused;
                return false;
            }
        } else if (text >= 0) {
            error = word + " needs a value";
            return false;
        } else if (word == "--verify" && request.command == CliRequest::Command::restore) {
            request.verify = true;
        } else if (word == "--no-read-first" && request.command == CliRequest::Command::restore) {
            request.readFirst = false;
        } else if (request.command == CliRequest::Command::convert && request.output.empty() &&
                   !word.empty() && word.compare(0, 1, "-") != 0) {
            request.output = word;
        } else if (word == "-o" && request.command == CliRequest::Command::sheet &&
                   request.output.empty() && at + 1 < argc && argv[at + 1][0] != '\0') {
            request.output = argv[++at];
        } else if (backup && !listGiven && word.compare(0, 2, "--") != 0) {
            listGiven = true;
            if (!parseCvList(word, request.cvs, error))
                return false;
        } else {
            if (!misplacedOption(word, error))
                error = command + " does not take '" + word + "'";
            return false;
        }
    }
    if (request.command == CliRequest::Command::convert && request.output.empty()) {
        error = "convert needs IN and OUT";
        return false;
    }
    if (textsGiven && namesCvList(request.file)) {
        error = "a CV list (" + request.file +
                ") cannot hold --name, --owner or --notes: back up into a decoder file";
        return false;
    }
    if (backup && !listGiven)
        for (int cv : defaultBackupCvs())
            request.cvs.push_back({cv, 0});
    return true;
}

bool readsOnMain(const std::string& command, const CliRequest& request, std::string& error);
// The command and its own arguments, after the global options.
bool parseCommand(const std::string& command, int at, int argc, const char* const* argv,
                  CliRequest& request, std::string& error);

} // namespace

bool parseCliArguments(int argc, const char* const* argv, CliRequest& request, std::string& error) {
    // Only as the first word: anywhere else it may be a text, such as the notes "--help".
    if (argc > 1 && std::strcmp(argv[1], "--help") == 0) {
        request.command = CliRequest::Command::help;
        return true;
    }
    int at = 1;
    for (; at < argc && std::strncmp(argv[at], "--", 2) == 0; ++at) {
        std::string option = argv[at];
        if (option == "--allow-high-cvs") {
            request.allowHighCvs = true;
            continue;
        }
        if (!isOneOf(option, valueOptions)) {
            error = "unknown option '" + option + "'";
            return false;
        }
        // "--port --baud 9600": the next option is no value, and no device is named so.
        if (at + 1 >= argc || argv[at + 1][0] == '\0' || std::strncmp(argv[at + 1], "--", 2) == 0) {
            error = option + " needs a value";
            return false;
        }
        std::string value = argv[++at];
        if (option == "--port") {
            request.port = value;
            request.portGiven = true;
        } else if (option == "--on-main" || option == "--on-main-accessory") {
            if (request.target.on != ProgramOn::track) {
                error = "one decoder on the main at a time: '" + option + "'";
                return false;
            }
            std::string refused;
            if (option == "--on-main"
                    ? !parseLocomotiveAddress(value, false, request.target, refused)
                    : !parseAccessoryNumber(value, request.target, refused)) {
                error = option + ": " + refused;
                return false;
            }
        } else if (option == "--retries" || option == "--wait") {
            const bool retries = option == "--retries";
            if (!parseNumber(value, retries ? 0 : 2, retries ? 5 : 60,
                             retries ? request.readRetries : request.answerWaitSeconds)) {
                error = option +
                        (retries ? " must be a number from 0 to 5: '"
                                 : " must be a number from 2 to 60: '") +
                        value + "'";
                return false;
            }
        } else if (option == "--protocol") {
            if (value != "ascii" && value != "binary" && value != "auto") {
                error = "protocol must be ascii, binary or auto: '" + value + "'";
                return false;
            }
            request.binaryProtocol = value == "binary";
            request.autoProtocol = value == "auto";
        } else if (value == "9600" || value == "19200") {
            request.baudIndex = value == "19200" ? 1 : 0;
        } else {
            error = "baud must be 9600 or 19200: '" + value + "'";
            return false;
        }
    }
    if (at >= argc) {
        error = "missing command";
        return false;
    }
    std::string command = argv[at++];
    const bool onMain = request.target.on != ProgramOn::track;
    if (onMain && readsOnMain(command, request, error))
        return false;
    if (!parseCommand(command, at, argc, argv, request, error))
        return false;
    return !onMain || !readsOnMain(command, request, error);
}

namespace {

// Nothing can be read back from a decoder on the main.
bool readsOnMain(const std::string& command, const CliRequest& request, std::string& error) {
    const bool reads = command == "read" || command == "backup" || command == "detect" ||
                       (request.command == CliRequest::Command::restore && request.verify);
    if (reads)
        error = "nothing can be read back on the main: '" + command +
                (request.verify ? " --verify'" : "'");
    return reads;
}

bool parseCommand(const std::string& command, int at, int argc, const char* const* argv,
                  CliRequest& request, std::string& error) {
    const std::pair<const char*, CliRequest::Command> bareCommands[] = {
        {"version", CliRequest::Command::version}, {"detect", CliRequest::Command::detect}};
    for (const auto& [name, value] : bareCommands) {
        if (command != name)
            continue;
        request.command = value;
        if (at == argc)
            return true;
        if (!misplacedOption(argv[at], error))
            error = command + " takes no arguments";
        return false;
    }
    const std::pair<const char*, CliRequest::Command> fileCommands[] = {
        {"backup", CliRequest::Command::backup},
        {"restore", CliRequest::Command::restore},
        {"show", CliRequest::Command::show},
        {"convert", CliRequest::Command::convert},
        {"sheet", CliRequest::Command::sheet}};
    for (const auto& [name, value] : fileCommands) {
        if (command == name) {
            request.command = value;
            return parseFileCommand(at, argc, argv, request, error);
        }
    }
    if (command != "read" && command != "write") {
        if (!parseJournalCommand(command, at, argc, argv, request, error) && error.empty())
            error = "unknown command '" + command + "'";
        return error.empty();
    }
    request.command = command == "read" ? CliRequest::Command::read : CliRequest::Command::write;
    if (at >= argc) {
        error = command + " needs at least one CV";
        return false;
    }
    for (; at < argc; ++at) {
        if (misplacedOption(argv[at], error))
            return false;
        if (request.command == CliRequest::Command::write &&
            std::strcmp(argv[at], "--no-read-first") == 0) {
            request.readFirst = false;
            continue;
        }
        std::pair<int, int> entry{0, 0};
        bool ok = request.command == CliRequest::Command::read
                      ? parseCv(argv[at], entry.first, error)
                      : parseAssignment(argv[at], entry, error);
        if (!ok)
            return false;
        request.cvs.push_back(entry);
    }
    return true;
}

} // namespace
