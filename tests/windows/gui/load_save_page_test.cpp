// The Load/Save page on its real dialog: kept texts, the clear-all question, loading and saving
// through the file dialogs and the files the page leaves on disk.
#include "gui_test_support.h"

#include <fstream>
#include <iterator>

#include "app/main_frame.h"
#include "app/page_table.h"
#include "files/decoder_data.h"
#include "files/decoder_file_transfer.h"
#include "files/load_save_page.h"
#include "foundation/message_box.h"
#include "gui_test_ids.h"
#include "model/cv_page.h"
#include "model/cv_text_store.h"
#include "resources/load_save_ids.h"
#include "stations/station_manager.h"

namespace {

constexpr int loadSaveTab = 6;

struct Question {
    std::string text;
    std::string caption;
};
std::vector<Question> questions;
bool answerYes = false;

bool recordQuestion(WindowHandle, const char* text, const char* caption, DefaultAnswer) {
    questions.push_back({text, caption});
    return answerYes;
}

// What a file dialog proposed and offered, and how the test answers it: a path, and a file type
// (none: the one the dialog chose).
std::string proposedName;
std::vector<std::string> offeredTypes;
std::string pathToPick;
int typeToPick = 0;
constexpr int fileTypeCombo = 1136; // cmb1

HWND fileNameBox(HWND dialog) {
    for (int id : {1148, 1152}) { // cmb13 in the Explorer-style dialog, edt1 in the old one
        HWND box = GetDlgItem(dialog, id);
        if (box && IsWindowVisible(box))
            return box;
    }
    return nullptr;
}

BOOL CALLBACK findFileDialog(HWND window, LPARAM found) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "#32770" || !IsWindowVisible(window) || !fileNameBox(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// Runs inside the file dialog's own loop: answers it as a user typing a name and pressing OK.
void CALLBACK answerFileDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findFileDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog)
        return; // not shown yet: the timer comes again
    KillTimer(nullptr, timer);
    HWND box = fileNameBox(dialog);
    char text[300] = {};
    GetWindowTextA(box, text, sizeof text);
    proposedName = text;
    HWND types = GetDlgItem(dialog, fileTypeCombo);
    offeredTypes.clear();
    const int count = static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char type[100] = {};
        SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(type));
        offeredTypes.push_back(type);
    }
    if (typeToPick > 0) {
        SendMessageA(types, CB_SETCURSEL, typeToPick - 1, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(fileTypeCombo, CBN_SELENDOK),
                     reinterpret_cast<LPARAM>(types));
    }
    SetWindowTextA(box, pathToPick.c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

// A CV page with one box, bound to CV 29, on the tests' own template.
class Cv29Page : public CvPage {
  public:
    Cv29Page(const char*, WindowHandle parent) : CvPage("GUI_TEST_PAGE", parent) {
        attachRules(rules_);
    }

  private:
    static constexpr CvBinding bindings[] = {{IDC_TEST_EDIT, 29}};
    CvPageEngine rules_{*this, bindings, 1};
};

TabPage* createCv29Page(const char* templateName, WindowHandle parent) {
    return new Cv29Page(templateName, parent);
}

std::string fileContents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

class LoadSavePageTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        questions.clear();
        answerYes = false;
        setQuestionHandler(recordQuestion);
        clearAllDecoderData();
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "velquist-load-save-" + std::to_string(GetTickCount());
        CreateDirectoryA(folder.c_str(), nullptr);
        frame = new MainFrame(SW_SHOWNORMAL);
        ASSERT_EQ(frame->createWindow(), 0);
        frame->showPage();
        pumpMessages();
        selectTab(loadSaveTab);
    }

    void TearDown() override {
        if (frame)
            frame->destroyPage();
        clearAllDecoderData();
        setQuestionHandler(nullptr);
        ShellTest::TearDown();
    }

    void selectTab(int position) {
        clickTab(frame->tabControl(), position);
        pumpMessages();
    }
    HWND page() const { return frame->currentPage()->window(); }
    std::string box(int id) const {
        char text[5000] = {};
        GetDlgItemTextA(page(), id, text, sizeof text);
        return text;
    }
    void setBox(int id, const char* text) { SetDlgItemTextA(page(), id, text); }
    void click(int id) { SendMessageA(page(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    // Clicks a button that opens a file dialog and answers it with path.
    void clickAndPick(int id, const std::string& path, int type = 0) {
        pathToPick = path;
        typeToPick = type;
        proposedName = "(no dialog)";
        SetTimer(nullptr, 0, 50, answerFileDialog);
        click(id);
    }
    static int known(int32_t cv) {
        uint8_t value = 0;
        return knownCvValue(cv, &value, 1) == 0 ? value : -1;
    }

    MainFrame* frame = nullptr;
    std::string folder;
};

TEST_F(LoadSavePageTest, TextsSurviveTabChangesEmptyOnesIncluded) {
    setBox(IDC_DECODER_NAME, "GP9 #1234");
    setBox(IDC_OWNER, "Ann");
    setBox(IDC_NOTES, "");
    selectTab(2);
    selectTab(loadSaveTab);
    EXPECT_EQ(box(IDC_DECODER_NAME), "GP9 #1234");
    EXPECT_EQ(box(IDC_OWNER), "Ann");
    EXPECT_EQ(box(IDC_NOTES), "");
}

TEST_F(LoadSavePageTest, ClearAllAsksFirstAndWipesEveryPageOnlyOnYes) {
    setBox(IDC_OWNER, "Ann");
    CvTextStore::keep(29, "6");
    rememberFileCvValue(1, 3);
    click(IDC_CLEAR_ALL_BUTTON);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, "Clear all fields from all screens. Are you sure?");
    EXPECT_EQ(questions[0].caption, "Clear All");
    EXPECT_EQ(box(IDC_OWNER), "Ann");
    EXPECT_STREQ(CvTextStore::get(29), "6");
    EXPECT_EQ(known(1), 3);

    answerYes = true;
    click(IDC_CLEAR_ALL_BUTTON);
    EXPECT_EQ(box(IDC_OWNER), "");
    EXPECT_EQ(CvTextStore::get(29), nullptr);
    EXPECT_EQ(known(1), -1);
    EXPECT_TRUE(messageBoxes().empty());
}

TEST_F(LoadSavePageTest, SavesAndLoadsThroughTheFileDialogs) {
    setBox(IDC_DECODER_NAME, "GP9 #1234");
    setBox(IDC_OWNER, "Ann");
    setBox(IDC_NOTES, "first line\r\nsecond line");
    CvTextStore::keep(2, "300"); // typed, never written: the known value goes instead
    rememberFileCvValue(2, 7);
    CvTextStore::keep(29, "34");
    const std::string path = folder + "\\loco";
    clickAndPick(IDC_SAVE_BUTTON, path);
    EXPECT_EQ(proposedName, "GP91234");
    EXPECT_EQ(fileContents(path).size(), 4151u + 9 + 3 + 23);
    EXPECT_TRUE(fileContents(savingPathFor(path)).empty());

    answerYes = true;
    click(IDC_CLEAR_ALL_BUTTON);
    setBox(IDC_OWNER, "someone else");
    clickAndPick(IDC_LOAD_BUTTON, path);
    EXPECT_EQ(box(IDC_DECODER_NAME), "GP9 #1234");
    EXPECT_EQ(box(IDC_OWNER), "Ann");
    EXPECT_EQ(box(IDC_NOTES), "first line\r\nsecond line");
    EXPECT_EQ(known(2), 7);
    EXPECT_EQ(known(29), 34);
    EXPECT_EQ(known(1), -1);
    EXPECT_TRUE(messageBoxes().empty());
}

// The file types on offer; a CV list is saved by its type or by a name ending in .csv; a roster
// entry loads its values and texts and says which entries it passed over.
TEST_F(LoadSavePageTest, SavesCvListsAndLoadsEveryKindThroughTheFileDialogs) {
    const std::vector<std::string> types = {"Velquist decoder files (*.vqd)", "CV lists (*.csv)",
                                            "JMRI roster entries (*.xml)", "All files"};
    rememberFileCvValue(1, 3);
    CvTextStore::keep(29, "34");
    const struct {
        const char* name;
        int type;
        std::string contents;
    } saves[] = {
        {"by-type", 2, "CV,value\r\n1,3\r\n29,34\r\n"},
        {"by-name.CSV", 0, "CV,value\r\n1,3\r\n29,34\r\n"},
        {"decoder", 0, ""},
    };
    for (const auto& save : saves) {
        clickAndPick(IDC_SAVE_BUTTON, folder + "\\" + save.name, save.type);
        EXPECT_EQ(offeredTypes, types);
        const std::string written = fileContents(folder + "\\" + save.name);
        EXPECT_EQ(save.contents.empty() ? std::to_string(written.size()) : written,
                  save.contents.empty() ? "4151" : save.contents)
            << save.name;
    }

    const std::string roster = folder + "\\gp9.xml";
    std::ofstream(roster, std::ios::binary)
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<locomotive-config><locomotive "
           "id=\"GP9\" owner=\"Jos\xC3\xA9\" comment=\"a&#10;b\"><values><CVvalue name=\"8\" "
           "value=\"151\"/><CVvalue name=\"16.3.257\" value=\"1\"/><CVvalue name=\"16.3.258\" "
           "value=\"1\"/></values></locomotive></locomotive-config>";
    clickAndPick(IDC_LOAD_BUTTON, roster);
    EXPECT_EQ(offeredTypes, types);
    EXPECT_EQ(box(IDC_DECODER_NAME), "GP9");
    EXPECT_EQ(box(IDC_OWNER), "Jos\xE9");
    EXPECT_EQ(box(IDC_NOTES), "a\r\nb");
    EXPECT_EQ(known(8), 151);
    EXPECT_EQ(known(29), -1);
    ASSERT_EQ(messageBoxes().size(), 1u);
    EXPECT_EQ(messageBoxes()[0].text, "2 CV entries were skipped: indexed CVs, named like "
                                      "16.3.257, are not loaded from roster entries");
    EXPECT_EQ(messageBoxes()[0].caption, "Load");

    clickAndPick(IDC_LOAD_BUTTON, folder + "\\by-type");
    EXPECT_EQ(box(IDC_DECODER_NAME), "");
    EXPECT_EQ(known(8), -1);
    EXPECT_EQ(known(29), 34);
    std::ofstream(folder + "\\bad.csv", std::ios::binary) << "CV,value\r\n29,34\r\n29;6\r\n";
    clickAndPick(IDC_LOAD_BUTTON, folder + "\\bad.csv");
    EXPECT_EQ(known(29), -1); // nothing half-loaded
    ASSERT_EQ(messageBoxes().size(), 2u);
    EXPECT_EQ(messageBoxes()[1].text, "Line 3: expected CV,value but found '29;6'");
    EXPECT_EQ(messageBoxes()[1].caption, "Error");
}

TEST_F(LoadSavePageTest, AfterALoadAPageShowsTheFilesValuesNotItsOldText) {
    auto* loadSave = static_cast<LoadSavePage*>(frame->currentPage());
    const std::string path = folder + "\\cv29";
    CvTextStore::keep(29, "34");
    ASSERT_EQ(loadSave->writeDecoderFile(path.c_str()), 0);
    CvTextStore::keep(29, "12"); // typed after the save
    ASSERT_EQ(loadSave->readDecoderFile(path.c_str()), 0);

    setPageFactory(0, createCv29Page);
    selectTab(0);
    char text[16] = {};
    GetDlgItemTextA(frame->currentPage()->window(), IDC_TEST_EDIT, text, sizeof text);
    EXPECT_STREQ(text, "34");
}

TEST_F(LoadSavePageTest, CancelledDialogsChangeNothing) {
    setBox(IDC_OWNER, "Ann");
    rememberFileCvValue(1, 3);
    for (int button : {IDC_SAVE_BUTTON, IDC_LOAD_BUTTON}) {
        SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR timer, DWORD) {
            HWND dialog = nullptr;
            EnumThreadWindows(GetCurrentThreadId(), findFileDialog,
                              reinterpret_cast<LPARAM>(&dialog));
            if (!dialog)
                return;
            KillTimer(nullptr, timer);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        click(button);
    }
    EXPECT_EQ(box(IDC_OWNER), "Ann");
    EXPECT_EQ(known(1), 3);
    EXPECT_TRUE(messageBoxes().empty());
}

TEST_F(LoadSavePageTest, DeepPathsSaveAndFailuresKeepTheOldFile) {
    auto* loadSave = static_cast<LoadSavePage*>(frame->currentPage());
    std::string deep = folder;
    for (int depth = 0; depth < 4; ++depth) {
        deep += "\\a-folder-name-long-enough-to-pass-the-old-limit-" + std::to_string(depth);
        CreateDirectoryA(deep.c_str(), nullptr);
    }
    const std::string path = deep + "\\loco";
    ASSERT_GT(path.size(), 127u);
    EXPECT_EQ(loadSave->writeDecoderFile(path.c_str()), 0);
    EXPECT_EQ(fileContents(path).size(), 4151u);

    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    setBox(IDC_NOTES, "new notes");
    EXPECT_EQ(loadSave->writeDecoderFile(path.c_str()), 1);
    EXPECT_EQ(loadSave->writeDecoderFile(deep.c_str()), 1); // a folder chosen as the file
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(fileContents(path).size(), 4151u);
    EXPECT_TRUE(fileContents(savingPathFor(path)).empty());
    ASSERT_EQ(messageBoxes().size(), 2u);
    EXPECT_EQ(messageBoxes()[0].text, "Cannot write file");
    EXPECT_EQ(messageBoxes()[0].caption, "Error");
    EXPECT_EQ(messageBoxes()[0].owner, page());
}

TEST_F(LoadSavePageTest, AFailedLoadLeavesNoDecoderDataAndSaysWhy) {
    auto* loadSave = static_cast<LoadSavePage*>(frame->currentPage());
    const std::string path = folder + "\\broken";
    ASSERT_EQ(loadSave->writeDecoderFile(path.c_str()), 0);
    std::string bytes = fileContents(path);
    bytes[31 + 4 * 5] = 0; // CV 6: 0xffffff00, neither unknown nor a byte
    std::ofstream(path, std::ios::binary) << bytes;
    setBox(IDC_OWNER, "Ann");
    rememberFileCvValue(1, 3);
    EXPECT_EQ(loadSave->readDecoderFile(path.c_str()), 1);
    EXPECT_EQ(loadSave->readDecoderFile(folder.c_str()), 1);
    EXPECT_EQ(box(IDC_OWNER), "");
    EXPECT_EQ(known(1), -1);
    ASSERT_EQ(messageBoxes().size(), 2u);
    EXPECT_EQ(messageBoxes()[0].text, "File corrupted");
    EXPECT_EQ(messageBoxes()[1].text, "Cannot open file");
    EXPECT_TRUE(questions.empty());
}

} // namespace
