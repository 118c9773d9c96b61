// The entry point: puts the real message boxes, the registry and Sleep behind the program's seams
// and runs it, with the file its command line names.
#include <windows.h>

#include "app/start_file_rules.h"
#include "app/start_up.h"
#include "app/win32_message_box.h"
#include "foundation/message_box.h"
#include "foundation/pause.h"
#include "foundation/registry_settings_store.h"
#include "foundation/settings_store.h"
#include "foundation/win32_utf8.h"

namespace {

// Sleep ends within a fraction of a millisecond of its time; the C++ library's sleep, built on
// the POSIX layer, overshoots by nearly a millisecond, and every station command pauses once.
void sleepMilliseconds(unsigned milliseconds) {
    Sleep(milliseconds);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    setPauseHandler(sleepMilliseconds);
    setMessageBoxHandler(showWin32MessageBox);
    setQuestionHandler(askWin32YesNo);
    RegistrySettingsStore registry;
    setSettingsStore(&registry);
    // Explorer's "Open" of a decoder file; the wide command line holds any name.
    std::vector<std::string> words = utf8CommandLineWords();
    if (!words.empty())
        words.erase(words.begin());
    const int exitCode = runVelquist(instance, showCommand, startFileFrom(words));
    setSettingsStore(nullptr);
    return exitCode;
}
