#include "foundation/message_box.h"

#include <cstdio>

namespace {

void writeToStderr(WindowHandle, const char* text, const char* caption) {
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
}

MessageBoxHandler currentHandler = writeToStderr;

// Without a window nobody can answer: the safe answer is No.
bool answerNo(WindowHandle owner, const char* text, const char* caption, DefaultAnswer) {
    writeToStderr(owner, text, caption);
    return false;
}

QuestionHandler currentQuestionHandler = answerNo;

} // namespace

void showMessageBox(WindowHandle owner, const char* text, const char* caption) {
    currentHandler(owner, text, caption);
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler) {
    MessageBoxHandler previous = currentHandler;
    currentHandler = handler ? handler : writeToStderr;
    return previous;
}

bool askYesNo(WindowHandle owner, const char* text, const char* caption,
              DefaultAnswer defaultAnswer) {
    return currentQuestionHandler(owner, text, caption, defaultAnswer);
}

QuestionHandler setQuestionHandler(QuestionHandler handler) {
    QuestionHandler previous = currentQuestionHandler;
    currentQuestionHandler = handler ? handler : answerNo;
    return previous;
}
