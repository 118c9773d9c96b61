// The live GDI objects of this process, counted where Wine's GetGuiResources cannot, and the
// message through which another process (the end-to-end driver) asks the program for the count.
#pragma once

// Registered with RegisterWindowMessageA; the main window answers it with gdiObjectCount().
constexpr const char* gdiCountMessageName = "Velquist.GdiCount";

// GDI objects of this process. Wine's GetGuiResources always reports 0; its GDI handles are
// indexes that GetObjectType accepts without their generation bits, so they are counted there,
// leaving out the window contexts and regions of the system's own cache.
int gdiObjectCount();
