// The held texts of the speed table's step boxes and the procedure that delivers them.
#include "pages/speed_step_boxes.h"

namespace {

// Every step box is an "Edit": one class procedure behind all of them.
WNDPROC editProcedure = nullptr;

} // namespace

int SpeedStepBoxes::indexOf(int controlId) {
    const int index = controlId - firstSpeedBox;
    return index >= 0 && index < speedStepCount ? index : -1;
}

void SpeedStepBoxes::attach(HWND page) {
    for (int i = 0; i < speedStepCount; ++i) {
        HWND box = GetDlgItem(page, firstSpeedBox + i);
        if (!box)
            continue;
        boxes_[i] = box;
        SetWindowLongPtrA(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        const LONG_PTR own =
            SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(boxProcedure));
        editProcedure = reinterpret_cast<WNDPROC>(own);
    }
}

void SpeedStepBoxes::detach() {
    for (int i = 0; i < speedStepCount; ++i) {
        if (!boxes_[i])
            continue;
        release(i);
        SetWindowLongPtrA(boxes_[i], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProcedure));
        SetWindowLongPtrA(boxes_[i], GWLP_USERDATA, 0);
        boxes_[i] = nullptr;
    }
}

bool SpeedStepBoxes::holds(int controlId) const {
    const int index = indexOf(controlId);
    return index >= 0 && held_[index];
}

const std::string& SpeedStepBoxes::heldText(int controlId) const {
    return texts_[indexOf(controlId)];
}

bool SpeedStepBoxes::hold(int controlId, const std::string& text) {
    const int index = indexOf(controlId);
    if (index < 0 || !boxes_[index])
        return false;
    texts_[index] = text;
    held_[index] = true;
    return true;
}

void SpeedStepBoxes::release(int index) {
    if (!held_[index])
        return;
    held_[index] = false;
    CallWindowProcA(editProcedure, boxes_[index], WM_SETTEXT, 0,
                    reinterpret_cast<LPARAM>(texts_[index].c_str()));
}

LRESULT CALLBACK SpeedStepBoxes::boxProcedure(HWND box, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    auto* boxes = reinterpret_cast<SpeedStepBoxes*>(GetWindowLongPtrA(box, GWLP_USERDATA));
    const int index = indexOf(GetDlgCtrlID(box));
    if (boxes && index >= 0)
        boxes->release(index);
    return CallWindowProcA(editProcedure, box, message, wParam, lParam);
}
