#include "cv_page_test_support.h"

#include "pages/cv_editor_rules.h"
#include "pages/locomotive_rules.h"

void CvPageTest::SetUp() {
    ShellTest::SetUp();
    resetLocomotivePageState();
    resetCvEditorState();
    station = std::make_unique<DecoderStation>();
    frame = CreateWindowExA(0, "Static", "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 625,
                            455, nullptr, nullptr, nullptr, nullptr);
}

void CvPageTest::TearDown() {
    closePage();
    station.reset();
    DestroyWindow(frame);
    ShellTest::TearDown();
}

void CvPageTest::openPage(TabPage* newPage) {
    page = newPage;
    ASSERT_EQ(page->createWindow(), 0);
    page->showPage();
}

void CvPageTest::closePage() {
    if (page)
        page->destroyPage();
    page = nullptr;
}

std::string CvPageTest::text(int id) const {
    char buffer[256] = {};
    GetDlgItemTextA(page->window(), id, buffer, sizeof buffer);
    return buffer;
}

void CvPageTest::choose(int id, int index) const {
    SendMessageA(control(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(page->window(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(control(id)));
}

std::vector<std::string> CvPageTest::errors() {
    std::vector<std::string> texts;
    for (const RecordedMessageBox& box : messageBoxes())
        texts.push_back(box.caption + ": " + box.text);
    return texts;
}

void CvPageTest::expectTemplate(int width, int height,
                                const std::vector<ExpectedControl>& controls) {
    RECT size = {0, 0, width, height};
    MapDialogRect(page->window(), &size);
    RECT client{};
    GetClientRect(page->window(), &client);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    for (const ExpectedControl& expected : controls) {
        HWND box = control(expected.id);
        ASSERT_NE(box, nullptr) << expected.id;
        char className[32] = {};
        GetClassNameA(box, className, sizeof className);
        EXPECT_STREQ(className, expected.className) << expected.id;
        EXPECT_EQ(GetWindowLongA(box, GWL_STYLE) & expected.mask, expected.style) << expected.id;
        EXPECT_EQ(IsWindowVisible(box) != 0, expected.visible) << expected.id;
    }
}
