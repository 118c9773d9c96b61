#include "foundation/gdi_object_count.h"

#include <windows.h>

#include <cstdint>

int gdiObjectCount() {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0)
        return static_cast<int>(reported);
    int count = 0;
    for (uintptr_t index = 1; index <= 0xFFFF; ++index) {
        const DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(index));
        // Window contexts and their regions belong to the system's cache, which grows as it likes.
        if (type != 0 && type != OBJ_DC && type != OBJ_REGION)
            ++count;
    }
    return count;
}
