// Message boxes through a seam: the shell shows real ones, tests record them so nothing blocks.
#pragma once

#include "foundation/window_handle.h"

using MessageBoxHandler = void (*)(WindowHandle owner, const char* text, const char* caption);

// An OK-only message box; owner may be none.
void showMessageBox(WindowHandle owner, const char* text, const char* caption);
// Installs a handler (none restores the default, which writes to stderr); returns the previous.
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);

// Which button of a question Enter presses.
enum class DefaultAnswer { yes, no };

// A Yes/No question: true only when the answer is Yes.
using QuestionHandler = bool (*)(WindowHandle owner, const char* text, const char* caption,
                                 DefaultAnswer defaultAnswer);

bool askYesNo(WindowHandle owner, const char* text, const char* caption,
              DefaultAnswer defaultAnswer = DefaultAnswer::yes);
// Installs a handler (none restores the default, which writes to stderr and answers No);
// returns the previous one.
QuestionHandler setQuestionHandler(QuestionHandler handler);
