#include "app/speed_table_classes.h"

#include "foundation/module_instance.h"
#include "app/window_class.h"

// The controls sit on a tab page, so they take the tab control's background.
int registerSpeedTableClasses() {
    WNDCLASSEXA tabClass{};
    tabClass.cbSize = sizeof tabClass;
    HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    if (GetClassInfoExA(moduleInstance(), "SysTabControl32", &tabClass))
        background = tabClass.hbrBackground;
    // Plain child windows until the speed table page gives them their behaviour.
    int result =
        registerControlClass("Orvale_DCC_SpeedTableSlide_Window", DefWindowProcA, background);
    if (result == 0)
        result =
            registerControlClass("Orvale_DCC_SpeedTableThumb_Window", DefWindowProcA, background);
    return result;
}
