#include "foundation/pause.h"

#include <chrono>
#include <thread>

namespace {

void sleepFor(unsigned milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

PauseHandler currentHandler = sleepFor;

} // namespace

void pauseFor(unsigned milliseconds) {
    currentHandler(milliseconds);
}

PauseHandler setPauseHandler(PauseHandler handler) {
    PauseHandler previous = currentHandler;
    currentHandler = handler ? handler : sleepFor;
    return previous;
}
