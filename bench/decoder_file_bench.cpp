// Measures decoder files: save and load above the pause they must take (50 ms between the CV
// block and the texts), and velquist-cli's backup per CV above its commands' pacing against
// the simulated station at zero latency.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "files/decoder_file_transfer.h"
#include "sim_station_process.h"

namespace {

using Clock = std::chrono::steady_clock;

class SilentProgress : public FileProgress {
  public:
    void reached(uint32_t) override {}
    void abandon() override {}
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double medianMs(int count, const std::function<void()>& action) {
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        const auto before = Clock::now();
        action();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - before).count());
    }
    return median(times);
}

void fail(const char* what) {
    std::fprintf(stderr, "%s failed\n", what);
    std::exit(1);
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 20;
    const std::string path = "/tmp/velquist-bench-" + std::to_string(getpid()) + ".vqd";
    DecoderFileContent content;
    for (int cv = 1; cv <= decoderFileCvCount; ++cv)
        content.entries[cv - 1] = cv % 256;
    content.texts[notesText] = std::string(4000, 'n');
    SilentProgress progress;
    const double save = medianMs(count, [&] {
        if (saveDecoderFile(path, content, &progress))
            fail("save");
    });
    const double load = medianMs(count, [&] {
        DecoderFileContent read;
        if (!loadDecoderFile(path, read, &progress).error.empty())
            fail("load");
    });
    std::printf("save  n=%d  median %.3f ms  above its 50 ms pause %.3f ms\n", count, save,
                save - 50);
    std::printf("load  n=%d  median %.3f ms  above its 50 ms pause %.3f ms\n", count, load,
                load - 50);

    // Every command waits 100 ms before it goes out: M, one R per CV, then X, after which the
    // link closes with a 250 ms pause.
    const int cvs = 61;
    SimStationProcess station;
    const std::string command = std::string(VELQUIST_CLI_PATH) + " --port " + station.device() +
                                " backup " + path + " >/dev/null";
    const double backup = medianMs(3, [&] {
        if (std::system(command.c_str()) != 0)
            fail("backup");
    });
    const double floor = (cvs + 2) * 100.0 + 250.0;
    std::printf("backup  %d CVs  median %.1f ms  pacing floor %.1f ms  overhead per CV %.3f ms\n",
                cvs, backup, floor, (backup - floor) / cvs);
    std::remove(path.c_str());
    return 0;
}
