#include "files/load_save_page.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "files/decoder_data.h"
#include "files/decoder_file_transfer.h"
#include "files/file_name_rules.h"
#include "foundation/message_box.h"
#include "foundation/win32_utf8.h"
#include "model/wait_bar.h"
#include "resources/load_save_ids.h"

namespace {

constexpr int textBoxes[decoderTextCount] = {IDC_DECODER_NAME, IDC_OWNER, IDC_NOTES};
// The file dialogs' name buffer.
constexpr DWORD fileNameCapacity = 300;
// Names are used as picked, without an extension, so every file is listed when loading: the
// kind of a file is told by its content.
constexpr wchar_t fileFilter[] = L"Velquist decoder files (*.vqd)\0*.vqd\0CV lists (*.csv)\0*.csv\0"
                                 L"JMRI roster entries (*.xml)\0*.xml\0All files\0*.*\0";
constexpr DWORD decoderFilesFilter = 1;
constexpr DWORD cvListsFilter = 2;
constexpr DWORD allFilesFilter = 4;

class WaitBarProgress : public FileProgress {
  public:
    explicit WaitBarProgress(WaitBar& bar) : bar_(bar) {}
    void reached(uint32_t position) override { bar_.setPosition(position, nullptr); }
    void abandon() override { bar_.abandon(); }

  private:
    WaitBar& bar_;
};

// Shows a file dialog, proposing a name; the chosen path in UTF-8 and the chosen filter, or none
// when the user cancelled. The wide dialogs take names the ANSI code page lacks.
bool chooseFile(HWND owner, const std::string& proposed, std::string& path, DWORD flags,
                DWORD& filter, bool saving) {
    std::vector<wchar_t> name(fileNameCapacity);
    const std::wstring start = wideFromUtf8(proposed);
    std::copy(start.begin(), start.begin() + std::min<size_t>(start.size(), fileNameCapacity - 1),
              name.begin());
    std::vector<wchar_t> title(fileNameCapacity);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = fileFilter;
    dialog.nFilterIndex = filter;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = fileNameCapacity;
    dialog.lpstrFileTitle = title.data();
    dialog.nMaxFileTitle = fileNameCapacity;
    dialog.Flags = flags;
    const bool chosen = saving ? GetSaveFileNameW(&dialog) != 0 : GetOpenFileNameW(&dialog) != 0;
    filter = dialog.nFilterIndex;
    if (chosen)
        path = utf8FromWide(name.data());
    return chosen;
}

} // namespace

LoadSavePage::LoadSavePage(const char* templateName, WindowHandle parent)
    : TabPage(templateName, parent) {}

LoadSavePage::~LoadSavePage() = default;

std::string LoadSavePage::boxText(int id, size_t limit) const {
    std::vector<char> text(limit + 1);
    GetDlgItemTextA(window_, id, text.data(), static_cast<int>(text.size()));
    return text.data();
}

INT_PTR LoadSavePage::onInitDialog(WPARAM, LPARAM) {
    for (int i = 0; i < decoderTextCount; ++i) {
        if (const char* kept = LoadSaveTexts::get(static_cast<DecoderText>(i)))
            SetDlgItemTextA(window_, textBoxes[i], kept);
    }
    return 0;
}

INT_PTR LoadSavePage::onDestroy(WPARAM, LPARAM) {
    for (int i = 0; i < decoderTextCount; ++i)
        LoadSaveTexts::keep(static_cast<DecoderText>(i),
                            boxText(textBoxes[i], decoderFileTextLimit).c_str());
    return 1;
}

INT_PTR LoadSavePage::onCommand(int id, int notification) {
    if (id != IDC_LOAD_BUTTON && id != IDC_SAVE_BUTTON && id != IDC_CLEAR_ALL_BUTTON)
        return TabPage::onCommand(id, notification);
    if (notification != 0)
        return 0;
    if (id == IDC_LOAD_BUTTON)
        loadFromFile();
    else if (id == IDC_SAVE_BUTTON)
        saveToFile();
    else
        clearAllData(true);
    return 1;
}

void LoadSavePage::loadFromFile() {
    std::string path;
    DWORD filter = allFilesFilter;
    if (chooseFile(window_, "", path, OFN_FILEMUSTEXIST, filter, false))
        readDecoderFile(path.c_str());
}

void LoadSavePage::saveToFile() {
    const std::string proposed = cleanFileName(boxText(IDC_DECODER_NAME, fileNameCapacity - 1));
    std::string path;
    DWORD filter = decoderFilesFilter;
    if (chooseFile(window_, proposed, path, OFN_OVERWRITEPROMPT, filter, true))
        writeDecoderFile(path.c_str(), filter == cvListsFilter || namesCvList(path));
}

void LoadSavePage::clearAllData(bool ask) {
    if (ask && !askYesNo(window_, "Clear all fields from all screens. Are you sure?", "Clear All"))
        return;
    clearAllDecoderData();
    for (int box : textBoxes)
        SetDlgItemTextA(window_, box, "");
}

int LoadSavePage::writeDecoderFile(const char* path, bool asCvList) {
    DecoderFileContent content;
    collectCvEntries(content);
    for (int i = 0; i < decoderTextCount; ++i)
        content.texts[i] = boxText(textBoxes[i], decoderFileTextLimit);
    const char* error = nullptr;
    {
        WaitBar bar(window_, 100, "Writing...");
        WaitBarProgress progress(bar);
        error = saveDecoderFile(path, content, &progress, asCvList);
    }
    if (!error)
        return 0;
    showMessageBox(window_, error, "Error");
    return 1;
}

int LoadSavePage::readDecoderFile(const char* path) {
    DecoderFileContent content;
    DecoderFileLoad load;
    {
        WaitBar bar(window_, 100, "Reading...");
        WaitBarProgress progress(bar);
        load = loadDecoderFile(path, content, &progress);
    }
    if (!load.error.empty()) {
        // Nothing half-loaded may remain.
        clearAllData(false);
        showMessageBox(window_, load.error.c_str(), "Error");
        return 1;
    }
    applyFileEntries(content);
    for (int i = 0; i < decoderTextCount; ++i)
        SetDlgItemTextA(window_, textBoxes[i], content.texts[i].c_str());
    if (load.skippedCvEntries > 0)
        showMessageBox(window_, skippedEntriesText(load.skippedCvEntries).c_str(), "Load");
    return 0;
}

TabPage* createLoadSavePage(const char* templateName, WindowHandle parent) {
    return new LoadSavePage(templateName, parent);
}
