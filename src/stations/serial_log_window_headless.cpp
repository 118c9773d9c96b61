// Without a window system the log has no window: it is only recorded.
#include "stations/serial_log_window.h"

void SerialLogWindow::show(int) {}

void SerialLogWindow::showAppended(size_t, bool) {}
