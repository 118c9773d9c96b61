#include "app/animation_window.h"

#include "app/window_class.h"

// The strip draws nothing yet; the version page gives it its trains.
int registerAnimationClass() {
    return registerControlClass("Orvale_DCC_Animation_Window", DefWindowProcA,
                                static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}
