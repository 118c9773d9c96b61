#include "model/read_retry_progress.h"

#include <cstdio>

#include "stations/station_manager.h"

namespace {

void showTry(void* bar, int32_t cv, int tryNumber, int tries) {
    char text[64];
    std::snprintf(text, sizeof text, "Reading CV %ld (try %d of %d)", static_cast<long>(cv),
                  tryNumber, tries);
    static_cast<WaitProgress*>(bar)->setMessage(text);
}

} // namespace

ReadRetryProgress::ReadRetryProgress(WaitProgress& bar) {
    setReadRetryObserver(showTry, &bar);
}

ReadRetryProgress::~ReadRetryProgress() {
    setReadRetryObserver(nullptr, nullptr);
}
