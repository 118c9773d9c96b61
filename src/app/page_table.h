// The nine tabs of the main window in order: caption, page template and how to build the page.
#pragma once

#include <cstddef>

#include "foundation/window_handle.h"

class TabPage;

// Builds the page object of a tab (without its window); parent is the main window.
using PageFactory = TabPage* (*)(const char* templateName, WindowHandle parent);

struct PageEntry {
    const char* caption;
    const char* templateName;
    PageFactory create;
};

constexpr size_t pageCount = 9;
// The "Load/Save" tab, on which the program opens with a file named on its command line.
constexpr int loadSavePosition = 6;

const PageEntry& pageEntry(size_t position);
// The page object for a tab position; none outside the table.
TabPage* createPageAt(int position, WindowHandle parent);
// Replaces how a tab's page is built (none restores the program's own) and returns the previous
// factory; lets tests put an observable page under a tab.
PageFactory setPageFactory(size_t position, PageFactory factory);

// A page with no behaviour of its own, for tabs whose page class has yet to be written: without
// its template it shows nothing, as a missing template does.
TabPage* createPlainPage(const char* templateName, WindowHandle parent);
