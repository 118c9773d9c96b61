// Measures the journal: what journaling adds to each CV write (its two lines, appended and closed
// each time), and reading a journal at its rotation size for history and undo.
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "stations/journal_undo.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    const int writes = argc > 1 ? std::atoi(argv[1]) : 2000;
    const std::string path = "/tmp/velquist_journal_bench.csv";
    setenv("VELQUIST_JOURNAL", path.c_str(), 1);
    std::remove(path.c_str());

    std::vector<double> perWrite;
    for (int round = 0; round < 5; ++round) {
        const auto start = Clock::now();
        JournalAction action("bench");
        for (int i = 0; i < writes; ++i) {
            JournalLine line = journalWriteStarting(1 + i % 1024, i % 256, (i + 1) % 256);
            journalWriteEnded(line, 0, nullptr);
        }
        perWrite.push_back(millisecondsSince(start) / writes);
    }
    std::sort(perWrite.begin(), perWrite.end());
    std::printf("journal cost per CV write (two lines): median %.4f ms over 5 x %d writes\n",
                perWrite[2], writes);

    // Filled to just under the size at which it is rotated, in actions of ten CVs.
    std::remove(path.c_str());
    std::remove("/tmp/velquist_journal_bench.1.csv");
    struct stat file {};
    while (stat(path.c_str(), &file) != 0 || file.st_size < journalRotationSize - 4096) {
        JournalAction action("velquist-cli restore");
        for (int cv = 1; cv <= 10; ++cv) {
            JournalLine line = journalWriteStarting(cv, cv, cv + 1);
            journalWriteEnded(line, 0, nullptr);
        }
    }
    std::vector<double> reads;
    size_t actions = 0;
    for (int round = 0; round < 5; ++round) {
        const auto start = Clock::now();
        const std::vector<JournaledAction> all = journaledActions(readJournal().lines);
        UndoPlan plan;
        findUndo(all, plan);
        for (size_t i = all.size() - 10; i < all.size(); ++i)
            describeAction(all[i], "->");
        reads.push_back(millisecondsSince(start));
        actions = all.size();
    }
    std::sort(reads.begin(), reads.end());
    std::printf("reading a %.1f MiB journal (%zu actions) for history and undo: median %.1f ms\n",
                static_cast<double>(file.st_size) / 1048576.0, actions, reads[2]);
    std::remove(path.c_str());
    return 0;
}
