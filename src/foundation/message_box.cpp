#include "foundation/message_box.h"

#include <cstdio>

namespace {

void writeToStderr(WindowHandle, const char* text, const char* caption) {
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
}

MessageBoxHandler currentHandler = writeToStderr;

} // namespace

void showMessageBox(WindowHandle owner, const char* text, const char* caption) {
    currentHandler(owner, text, caption);
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler) {
    MessageBoxHandler previous = currentHandler;
    currentHandler = handler ? handler : writeToStderr;
    return previous;
}
