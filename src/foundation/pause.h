// Fixed pauses that pace the station and keep progress readable. Tests replace the handler so
// they need not wait; the integration tests keep the real one.
#pragma once

using PauseHandler = void (*)(unsigned milliseconds);

void pauseFor(unsigned milliseconds);
// Installs a handler (none restores the real sleep) and returns the previous one.
PauseHandler setPauseHandler(PauseHandler handler);
