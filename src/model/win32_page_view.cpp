#include "model/win32_page_view.h"

#include "app/tab_page.h"
#include "foundation/message_box.h"
#include "model/wait_bar.h"

#include <commdlg.h>

#include "cli_arguments.h"
#include "decoder_backup.h"
#include "files/decoder_file_transfer.h"
#include "model/cv_register_table.h"

HWND Win32PageView::dialog() const {
    return page_.window();
}

HWND Win32PageView::box(int controlId) {
    const auto known = boxes_.find(controlId);
    if (known != boxes_.end())
        return known->second;
    HWND found = GetDlgItem(dialog(), controlId);
    if (found)
        boxes_[controlId] = found;
    return found;
}

void Win32PageView::forgetBoxes() {
    boxes_.clear();
}

std::string Win32PageView::boxText(int controlId) {
    HWND control = box(controlId);
    if (!control)
        return std::string();
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(
        static_cast<size_t>(GetWindowTextA(control, &text[0], static_cast<int>(text.size()))));
    return text;
}

void Win32PageView::setBoxText(int controlId, const std::string& text) {
    if (HWND control = box(controlId))
        SetWindowTextA(control, text.c_str());
}

bool Win32PageView::isChecked(int controlId) {
    HWND control = box(controlId);
    return control && SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32PageView::setChecked(int controlId, bool checked) {
    if (HWND control = box(controlId))
        SendMessageA(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32PageView::backUpDecoder(std::string& error) {
    std::vector<char> name(MAX_PATH);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = this->dialog();
    dialog.lpstrFilter = "Velquist decoder files (*.vqd)\0*.vqd\0CV lists (*.csv)\0*.csv\0";
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrTitle = "Back the decoder up to";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameA(&dialog))
        return false;
    const std::vector<int> cvs = defaultBackupCvs();
    DecoderFileContent content;
    std::vector<CvProblem> problems;
    {
        WaitBar bar(this->dialog(), static_cast<uint32_t>(cvs.size()) + 1, "Reading...");
        problems = backupCvs(cvs, content, [&bar](size_t, size_t, int cv) {
            bar.step(("Reading " + std::string(cvRegisterName(static_cast<uint32_t>(cv)))).c_str());
        });
    }
    if (!problems.empty()) {
        error = "The backup failed: CV " + std::to_string(problems.front().cv) + ": " +
                problems.front().reason;
        return false;
    }
    const bool asCvList = dialog.nFilterIndex == 2 || namesCvList(name.data());
    if (const char* failed = saveDecoderFile(name.data(), content, nullptr, asCvList)) {
        error = failed;
        return false;
    }
    return true;
}

void Win32PageView::showNote(const std::string& text, const char* caption) {
    showMessageBox(dialog(), text.c_str(), caption);
}

void Win32PageView::showError(const std::string& text) {
    showMessageBox(dialog(), text.c_str(), "Error");
}

bool Win32PageView::confirm(const std::string& text, const char* caption) {
    return askYesNo(dialog(), text.c_str(), caption, DefaultAnswer::no);
}

std::unique_ptr<WaitProgress> Win32PageView::openWaitBar(uint32_t maximum, const char* message) {
    return std::make_unique<WaitBar>(dialog(), maximum, message);
}

void Win32PageView::repaintMainWindow() {
    UpdateWindow(GetParent(dialog()));
}

int Win32PageView::takeKeyPress() {
    MSG message;
    if (!PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE))
        return 0;
    return static_cast<int>(message.wParam);
}

void Win32PageView::beep() {
    MessageBeep(0);
}

void Win32PageView::setListNames(const std::vector<const char*>& names) {
    HWND list = GetDlgItem(dialog(), registerCombo);
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < names.size(); ++i)
        SendMessageA(list, CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(names[i]));
}

int Win32PageView::selectedListPosition() {
    return static_cast<int>(SendDlgItemMessageA(dialog(), registerCombo, CB_GETCURSEL, 0, 0));
}

void Win32PageView::setCaret(int controlId, int position) {
    SendDlgItemMessageA(dialog(), controlId, EM_SETSEL, position, position);
}
