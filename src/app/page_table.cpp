#include "app/page_table.h"

#include "app/tab_page.h"
#include "app/version_page.h"
#include "files/load_save_page.h"
#include "pages/accessory_page.h"
#include "pages/consist_page.h"
#include "pages/cv_editor_page.h"
#include "pages/function_map_page.h"
#include "pages/locomotive_page.h"
#include "pages/speed_table_page.h"
#include "stations/station_setup_page.h"

namespace {

TabPage* createLocomotivePage(const char* templateName, WindowHandle parent) {
    return new LocomotivePage(templateName, parent);
}

TabPage* createCvEditorPage(const char* templateName, WindowHandle parent) {
    return new CvEditorPage(templateName, parent);
}

TabPage* createFunctionMapPage(const char* templateName, WindowHandle parent) {
    return new FunctionMapPage(templateName, parent);
}

TabPage* createConsistPage(const char* templateName, WindowHandle parent) {
    return new ConsistPage(templateName, parent);
}

TabPage* createAccessoryPage(const char* templateName, WindowHandle parent) {
    return new AccessoryPage(templateName, parent);
}

// The program's own pages, in tab order.
constexpr PageEntry programPages[pageCount] = {
    {"Locomotive Decoder", "TAB_BASIC_LOCO", createLocomotivePage},
    {"Speed Table Editor", "TAB_SPEED_TABLE", createSpeedTablePage},
    {"CV Editor", "TAB_SIMPLE_CV", createCvEditorPage},
    {"Function Map Editor", "TAB_FUNC_CONFIG", createFunctionMapPage},
    {"Consist Editor", "TAB_CONSIST", createConsistPage},
    {"Accessory Decoder", "TAB_BASIC_ACCY", createAccessoryPage},
    {"Load/Save", "TAB_LOAD_SAVE", createLoadSavePage},
    {"Connection Setup", "TAB_STATION_SETUP", createStationSetupPage},
    {"Version", "TAB_VERSION_DIALOG", createVersionPage},
};

// Factories tests put in place of the program's own; none where the program's own apply.
PageFactory replacedFactories[pageCount] = {};

PageFactory factoryAt(size_t position) {
    return replacedFactories[position] ? replacedFactories[position]
                                       : programPages[position].create;
}

} // namespace

const PageEntry& pageEntry(size_t position) {
    return programPages[position];
}

TabPage* createPageAt(int position, WindowHandle parent) {
    if (position < 0 || static_cast<size_t>(position) >= pageCount)
        return nullptr;
    return factoryAt(position)(programPages[position].templateName, parent);
}

PageFactory setPageFactory(size_t position, PageFactory factory) {
    PageFactory previous = factoryAt(position);
    replacedFactories[position] = factory;
    return previous;
}

TabPage* createPlainPage(const char* templateName, WindowHandle parent) {
    return new TabPage(templateName, parent);
}
