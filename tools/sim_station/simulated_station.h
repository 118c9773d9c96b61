// The command station as the program sees it from the far end of the serial line: a decoder's
// CV table behind the station's command lines, with switchable misbehaviour so the program's
// error paths can be driven on purpose.
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>

enum class StationFault {
    NoDecoder,           // programming commands find no decoder on the track
    Silent,              // lines arrive but nothing is ever answered
    DoubledPromptLetter, // the prompt goes out as "CCOMMAND: "
    ValueOver255,        // reads answer a value no CV can hold
    NulBytes,            // value answers start with NUL bytes
    Overlong,            // read and version answers start with 900 bytes of noise
    Chatter,             // instead of answering, "CO" goes out again and again until the next line
    NotUnderstood,       // every command is refused as one the station does not understand
    // The binary command set's faults.
    ShortCircuit,   // 9E finds a short circuit on the programming track
    NotProgramming, // CV commands are refused as if the station had left programming mode
    Truncated,      // answers of more than one byte lose their last byte
    StrayBytes,     // an accessory broadcast goes out before each answer
};

// How the station frames its answers.
enum class AnswerStyle {
    Plain,        // bare values and texts before the prompt, "?" for a command it refuses
    Real,         // as a real station: line ends and blanks around values, its failure words
    RealNoPrompt, // as Real, but failure words come without a prompt after them
};

// Maps a style's command-line name ("plain", "real", "real-no-prompt"); false when unknown.
bool parseAnswerStyle(const std::string& name, AnswerStyle& style);

// Maps a fault's command-line name ("no-decoder", ...) to the fault; false when unknown.
bool parseStationFault(const std::string& name, StationFault& fault);
// All those names, comma separated, for help texts.
std::string stationFaultNames();

struct StationReply {
    std::string bytes;    // everything to send back, prompt included; empty when silent
    bool wroteCv = false; // a write reached a writable CV, so the table may have changed
    bool chatter = false; // keep sending chatterText until the next line arrives
};

class SimulatedStation {
  public:
    static constexpr int cvCount = 1024;
    static constexpr const char* defaultVersionText = "NCE Powerhouse Pro simulator 1.0";
    static constexpr const char* chatterText = "CO";

    SimulatedStation();

    void addFault(StationFault fault);
    bool hasFault(StationFault fault) const;
    // From now on the faults hit only every nth answer (n > 0), one fault at a time in turn
    // (in the order of StationFault); the answers in between are sound.
    void setFaultEvery(int n) { faultEvery_ = n; }
    void setVersionText(const std::string& text) { versionText_ = text; }
    void setAnswerStyle(AnswerStyle style) { style_ = style; }
    // The decoder gives no acknowledgement for this CV: its reads and writes find no feedback.
    void addDeafCv(int number) { deafCvs_.insert(number); }
    // Whether the decoder acknowledges nothing on this CV, now: by choice or by a fault.
    bool isDeaf(int number) const;
    // The programming track reaches CV ((n - 1) mod 256) + 1 for a CV n above 255, as a
    // Powerhouse Pro before EPROM 6.2.3 does.
    void setLimited(bool limited) { limited_ = limited; }
    int reachedCv(int number) const {
        return limited_ && number > 255 ? (number - 1) % 256 + 1 : number;
    }
    // Every nth read (n > 0) is not acknowledged once; the next one succeeds.
    void setFlakyReads(int n) { flakyEvery_ = n; }
    // Counts one more read: whether the decoder leaves this one unacknowledged.
    bool takeFlakyRead();

    // Direct access to the decoder, past the station: CV numbers 1..cvCount.
    uint8_t cv(int number) const { return cvs_[number - 1]; }
    void setCv(int number, uint8_t value) { cvs_[number - 1] = value; }

    // One complete command line, without its line end.
    StationReply answer(const std::string& line);

    // Read and write commands are the slow ones on a real programming track.
    static bool isProgrammingCommand(const std::string& line);

    // Counts one more answer and settles which faults it carries (see setFaultEvery).
    void startAnswer();
    // Whether the answer being made carries the fault.
    bool faulty(StationFault fault) const;

  private:
    std::string prompt() const;
    // The station's words for a command it did not carry out, with what follows them.
    std::string failure(const char* words) const;
    std::string readAnswer(int number, bool flaky) const;
    StationReply writeAnswer(int number, int value);
    std::string noisePrefix() const;
    unsigned faultsForAnswer(long answer) const;

    std::array<uint8_t, cvCount> cvs_;
    unsigned faults_ = 0;
    int faultEvery_ = 0;
    long answers_ = 0;
    unsigned faultsNow_ = 0; // the faults of the answer being made
    std::string versionText_ = defaultVersionText;
    AnswerStyle style_ = AnswerStyle::Plain;
    std::set<int> deafCvs_;
    bool limited_ = false;
    int flakyEvery_ = 0;
    long reads_ = 0;
    bool lastReadFlaked_ = false;
};
