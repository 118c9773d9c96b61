// The entry point: puts the real message boxes and the registry behind the program's seams and
// runs it.
#include <windows.h>

#include "app/start_up.h"
#include "app/win32_message_box.h"
#include "foundation/message_box.h"
#include "foundation/registry_settings_store.h"
#include "foundation/settings_store.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    setMessageBoxHandler(showWin32MessageBox);
    setQuestionHandler(askWin32YesNo);
    RegistrySettingsStore registry;
    setSettingsStore(&registry);
    const int exitCode = runVelquist(instance, showCommand);
    setSettingsStore(nullptr);
    return exitCode;
}
