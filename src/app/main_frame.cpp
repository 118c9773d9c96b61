#include "app/main_frame.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "app/build_info.h"
#include "app/page_table.h"
#include "app/placement_rules.h"
#include "app/undo_command.h"
#include "foundation/gdi_object_count.h"
#include "foundation/heap_in_use.h"
#include "foundation/message_box.h"
#include "foundation/settings_store.h"
#include "model/cv_text_store.h"
#include "resources/resource_ids.h"

namespace {

ScreenRect reportedWorkArea() {
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return {area.left, area.top, area.right, area.bottom};
}

// A stored DWORD, or nothing when missing or of another type or size.
bool readStoredDword(SettingsStore& store, const char* name, uint32_t* value) {
    uint32_t type = 0;
    uint32_t stored = 0;
    uint32_t size = sizeof stored;
    if (!store.readValue(name, &type, &stored, &size) || type != settingTypeDword ||
        size != sizeof stored)
        return false;
    *value = stored;
    return true;
}

} // namespace

MainFrame::MainFrame(int showCommand, int firstTab)
    : TabPage("TAB_TAB_BASE", nullptr), firstTab_(firstTab) {
    showCommand_ = showCommand;
}

MainFrame::~MainFrame() = default;

HWND MainFrame::tabControl() const {
    return GetDlgItem(window_, IDC_MAIN_TABS);
}

void MainFrame::showSelectedPage() {
    if (currentPage_) {
        currentPage_->destroyPage();
        currentPage_ = nullptr;
    }
    HWND tabs = tabControl();
    const int selected = static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0));
    currentPage_ = createPageAt(selected, window_);
    // A page whose dialog cannot be built stays current, windowless, until the next change.
    if (!currentPage_ || currentPage_->createWindow() != 0)
        return;
    currentPage_->centreInTab(tabs);
    currentPage_->showPage();
}

void MainFrame::checkWorkArea(int width, int height) {
    const WorkAreaFit fit = fitWorkArea(width, height);
    if (fit == WorkAreaFit::TooSmall) {
        ShowWindow(window_, SW_HIDE);
        char text[128];
        std::snprintf(text, sizeof text, "%s requires at least %dx%d of work area", productName,
                      static_cast<int>(minimumWorkWidth), static_cast<int>(minimumWorkHeight));
        showMessageBox(nullptr, text, "Error");
        PostQuitMessage(0);
        return;
    }
    HWND tabs = tabControl();
    LONG style = GetWindowLongA(tabs, GWL_STYLE);
    if (fit == WorkAreaFit::MultiLineTabs)
        style |= TCS_MULTILINE;
    else
        style &= ~TCS_MULTILINE;
    SetWindowLongA(tabs, GWL_STYLE, style);
    SetWindowPos(tabs, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
    if (currentPage_)
        currentPage_->centreInTab(tabs);
}

void MainFrame::checkReportedWorkArea() {
    const ScreenRect area = reportedWorkArea();
    checkWorkArea(area.right - area.left, area.bottom - area.top);
}

void MainFrame::insertTabs() {
    HWND tabs = tabControl();
    for (size_t position = 0; position < pageCount; ++position) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.iImage = -1;
        item.pszText = const_cast<char*>(pageEntry(position).caption);
        SendMessageA(tabs, TCM_INSERTITEMA, position, reinterpret_cast<LPARAM>(&item));
    }
}

uint32_t MainFrame::readStoredLocation() {
    SettingsStore& store = settingsStore();
    bool existed = false;
    if (!store.openKey("WindowLocation", &existed))
        return 0;
    uint32_t location = 0;
    // A value of another type (edited by hand, or left by another program) is no position.
    if (existed && readStoredDword(store, "MainLocation", &location)) {
        uint32_t zoomed = 0;
        if (readStoredDword(store, "MainZoom", &zoomed) && zoomed != 0)
            showCommand_ = SW_MAXIMIZE;
    }
    store.closeKey();
    return location;
}

INT_PTR MainFrame::onInitDialog(WPARAM, LPARAM) {
    insertTabs();
    if (firstTab_ != 0)
        SendMessageA(tabControl(), TCM_SETCURSEL, firstTab_, 0);
    showSelectedPage();

    const ScreenRect workArea = shrinkWorkArea(reportedWorkArea());
    const ScreenPoint position = restoredMainPosition(readStoredLocation(), workArea);
    SetWindowPos(window_, nullptr, position.x, position.y, mainWindowWidth, mainWindowHeight,
                 SWP_NOZORDER);
    checkWorkArea(workArea.right - workArea.left, workArea.bottom - workArea.top);
    return 1;
}

void MainFrame::storePlacement() {
    RECT frame{};
    GetWindowRect(window_, &frame);
    const uint32_t zoomed = IsZoomed(window_) ? 1 : 0;
    SettingsStore& store = settingsStore();
    if (!store.openKey("Orvale App", nullptr))
        return;
    const uint32_t location = encodeMainLocation(frame.left, frame.top);
    const std::string version = buildText();
    // Nothing can be done about a failed write at exit; the next start falls back to defaults.
    store.writeValue("MainLocation", settingTypeDword, &location, sizeof location);
    store.writeValue("MainZoom", settingTypeDword, &zoomed, sizeof zoomed);
    store.writeValue("Version", settingTypeText, version.c_str(),
                     static_cast<uint32_t>(version.size() + 1));
    store.closeKey();
}

INT_PTR MainFrame::onDestroy(WPARAM, LPARAM) {
    if (currentPage_) {
        currentPage_->destroyPage();
        currentPage_ = nullptr;
    }
    storePlacement();
    return 1;
}

INT_PTR MainFrame::onNotify(NMHDR* header) {
    if (header->code != static_cast<UINT>(TCN_SELCHANGE))
        return 0;
    showSelectedPage();
    return 1;
}

INT_PTR MainFrame::onSize(WPARAM, LPARAM lParam) {
    HWND tabs = tabControl();
    SetWindowPos(tabs, nullptr, 2, 2, LOWORD(lParam) - 4, HIWORD(lParam) - 4, SWP_NOZORDER);
    if (currentPage_)
        currentPage_->centreInTab(tabs);
    checkReportedWorkArea();
    return 1;
}

INT_PTR MainFrame::onDisplayChange(WPARAM, LPARAM) {
    checkReportedWorkArea();
    return 1;
}

INT_PTR MainFrame::onSysColorChange() {
    SendMessageA(tabControl(), WM_SYSCOLORCHANGE, 0, 0);
    if (currentPage_ && currentPage_->window())
        SendMessageA(currentPage_->window(), WM_SYSCOLORCHANGE, 0, 0);
    return 1;
}

INT_PTR MainFrame::onEnterSizeMove() {
    if (currentPage_ && currentPage_->window())
        SendMessageA(currentPage_->window(), WM_ENTERSIZEMOVE, 0, 0);
    return 0;
}

INT_PTR MainFrame::onExitSizeMove() {
    if (currentPage_ && currentPage_->window())
        SendMessageA(currentPage_->window(), WM_EXITSIZEMOVE, 0, 0);
    return 0;
}

INT_PTR MainFrame::onCommand(int id, int notification) {
    if (id != IDM_UNDO)
        return TabPage::onCommand(id, notification);
    const std::vector<int> written = undoLastWrite(window_);
    if (written.empty())
        return 1;
    // The page shown keeps its texts when it goes; the ones of the CVs written back are dropped
    // so the new page shows the values the decoder holds now.
    if (currentPage_) {
        currentPage_->destroyPage();
        currentPage_ = nullptr;
    }
    for (int cv : written)
        CvTextStore::forget(cv);
    showSelectedPage();
    return 1;
}

// The end-to-end driver, another process, asks for the GDI count and the heap bytes in use to see
// whether use leaks.
INT_PTR MainFrame::onOtherMessage(UINT message, WPARAM, LPARAM) {
    static const UINT gdiCountMessage = RegisterWindowMessageA(gdiCountMessageName);
    static const UINT heapInUseMessage = RegisterWindowMessageA(heapInUseMessageName);
    LONG_PTR answer = 0;
    if (message == gdiCountMessage)
        answer = gdiObjectCount();
    else if (message == heapInUseMessage)
        answer = static_cast<LONG_PTR>(heapInUse().bytes / 1024);
    else
        return 0;
    SetWindowLongPtrA(window(), DWLP_MSGRESULT, answer);
    return TRUE;
}
