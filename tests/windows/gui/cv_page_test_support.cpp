#include "cv_page_test_support.h"

#include "model/cv_text_store.h"
#include "pages/cv_editor_rules.h"
#include "pages/locomotive_rules.h"
#include "stations/station_drivers.h"
#include "stations/station_manager.h"

namespace {

void constructDecoderStation() {
    new DecoderStation();
}

} // namespace

std::map<int32_t, uint8_t>& DecoderStation::cvs() {
    static std::map<int32_t, uint8_t> memory;
    return memory;
}

std::vector<std::string>& DecoderStation::traffic() {
    static std::vector<std::string> lines;
    return lines;
}

std::map<int32_t, std::function<void()>>& DecoderStation::beforeRead() {
    static std::map<int32_t, std::function<void()>> actions;
    return actions;
}

int DecoderStation::readCv(int32_t cv, uint8_t* value) {
    traffic().push_back("R" + std::to_string(cv));
    if (beforeRead().count(cv))
        beforeRead()[cv]();
    auto found = cvs().find(cv);
    if (found == cvs().end()) {
        setStationErrorText("NO DATA RETURNED");
        return 1;
    }
    *value = found->second;
    return 0;
}

int DecoderStation::writeCv(int32_t cv, int value) {
    traffic().push_back("W" + std::to_string(cv) + "=" + std::to_string(value));
    cvs()[cv] = static_cast<uint8_t>(value);
    return 0;
}

void CvPageTest::SetUp() {
    ShellTest::SetUp();
    resetLocomotivePageState();
    resetCvEditorState();
    CvTextStore::reset();
    for (int32_t cv = lowestCv; cv <= highestCv; ++cv)
        forgetCvValue(cv);
    DecoderStation::cvs().clear();
    DecoderStation::traffic().clear();
    DecoderStation::beforeRead().clear();
    setStationConstructor(constructDecoderStation);
    storeDword("CmdSt_IDX", DecoderStation::tag);
    restoreStation();
    frame = CreateWindowExA(0, "Static", "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 625,
                            455, nullptr, nullptr, nullptr, nullptr);
}

void CvPageTest::TearDown() {
    closePage();
    saveAndShutdownStations();
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
