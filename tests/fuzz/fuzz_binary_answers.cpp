// Fuzzes the binary driver's answer handling: whatever bytes a station sends back after each
// binary command (9E, A9, A8, AA, 9F), through the real SerialLink over a fake port and the
// station manager. Each answer is a length byte and that many bytes, so any byte can occur.
#include "station_answer_fuzzing.h"
#include "stations/nce_binary_driver.h"

namespace {

CommandStationDriver* makeDriver(std::unique_ptr<SerialPort> port) {
    return new NceBinaryDriver(std::move(port));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzStationAnswers(data, size, {makeDriver, true, AnswerFormat::lengthPrefixed});
}
