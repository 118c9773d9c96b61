// A CV page of the program on its own template, over a plain window, for the page tests: texts
// kept beforehand show when it is built, clicks go through the page's real dialog.
#pragma once

#include <string>

#include "gui_test_support.h"
#include "model/cv_text_store.h"

template <class Page> class CvPageFixture : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        CvTextStore::reset();
        parent = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 20, 20, 800, 600, nullptr,
                                 nullptr, nullptr, nullptr);
    }

    void TearDown() override {
        if (page)
            page->destroyPage();
        DestroyWindow(parent);
        CvTextStore::reset();
        ShellTest::TearDown();
    }

    void open(const char* templateName) {
        page = new Page(templateName, parent);
        ASSERT_EQ(page->createWindow(), 0);
        page->showPage();
    }

    HWND control(int id) { return GetDlgItem(page->window(), id); }
    void click(int id) { SendMessageA(control(id), BM_CLICK, 0, 0); }
    bool checked(int id) { return IsDlgButtonChecked(page->window(), id) == BST_CHECKED; }
    std::string text(int id) {
        char buffer[256] = {};
        GetDlgItemTextA(page->window(), id, buffer, sizeof buffer);
        return buffer;
    }
    bool visible(int id) { return (GetWindowLongA(control(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    // A control's rectangle in the page's client coordinates.
    RECT place(int id) {
        RECT rect = windowRect(control(id));
        MapWindowPoints(nullptr, page->window(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    // Every visible control that does not lie wholly inside the page, by id.
    std::string controlsOutsideThePage() {
        RECT client{};
        GetClientRect(page->window(), &client);
        std::string outside;
        for (HWND child = GetWindow(page->window(), GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            const int id = GetDlgCtrlID(child);
            const RECT rect = place(id);
            if (visible(id) && (rect.left < 0 || rect.top < 0 || rect.right > client.right ||
                                rect.bottom > client.bottom))
                outside += std::to_string(id) + " ";
        }
        return outside;
    }

    HWND parent = nullptr;
    Page* page = nullptr;
};
