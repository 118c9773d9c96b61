#include "app/window_class.h"

#include "foundation/module_instance.h"

int registerControlClass(const char* name, WNDPROC procedure, HBRUSH background) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = moduleInstance();
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    if (RegisterClassExA(&windowClass))
        return 0;
    const DWORD error = GetLastError();
    return error == ERROR_CLASS_ALREADY_EXISTS ? 0 : static_cast<int>(error);
}
