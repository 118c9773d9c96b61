// Fuzzes the ASCII driver's answer handling: whatever bytes a station sends back after each
// command line, through the real SerialLink over a fake port and the station manager. The
// answers are separated by 0xFF bytes.
#include "station_answer_fuzzing.h"
#include "stations/nce_driver.h"

namespace {

CommandStationDriver* makeDriver(std::unique_ptr<SerialPort> port) {
    return new NceDriver(std::move(port));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzStationAnswers(data, size, {makeDriver, false, AnswerFormat::separated});
}
