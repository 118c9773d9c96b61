#include "pages/cv_editor_rules.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/decimal_text.h"
#include "model/cv_register_table.h"
#include "model/cv_text_store.h"
#include "model/read_retry_progress.h"
#include "stations/factory_reset.h"
#include "stations/high_cv_warning.h"
#include "stations/main_track_target.h"
#include "stations/station_failure_reason.h"
#include "stations/station_manager.h"
#include "stations/write_journal.h"

int32_t cvEditorCv = 1;
CvValue cvEditorValue;
int cvEditorGuard = 1;
bool cvEditorValueKnown = true;

const int32_t registerList[49] = {1,   2,   3,   4,   5,   6,   7,   8,   9,   10, 11, 12,  13,
                                  18,  19,  21,  22,  23,  24,  25,  29,  30,  31, 32, 33,  34,
                                  35,  36,  37,  38,  39,  40,  41,  42,  65,  66, 95, 105, 106,
                                  513, 514, 515, 516, 517, 518, 519, 520, 521, 541};

void resetCvEditorState() {
    cvEditorCv = 1;
    cvEditorValue = CvValue();
    cvEditorGuard = 1;
    cvEditorValueKnown = true;
}

namespace {

constexpr size_t registerCount = sizeof registerList / sizeof registerList[0];
// Where the caret goes after the page writes the decimal box: past any value's last digit.
constexpr int caretAfterValue = 4;

const char* nameOf(int32_t cv) {
    return cvRegisterName(static_cast<uint32_t>(cv));
}

int32_t cvNumberOf(const std::string& text) {
    const long number = leadingNumber(text);
    return number < INT32_MIN   ? INT32_MIN
           : number > INT32_MAX ? INT32_MAX
                                : static_cast<int32_t>(number);
}

} // namespace

const std::vector<int32_t>& sortedRegisterList() {
    static const std::vector<int32_t> sorted = [] {
        std::vector<int32_t> list(registerList, registerList + registerCount);
        std::stable_sort(list.begin(), list.end(), [](int32_t a, int32_t b) {
            return std::strcmp(nameOf(a), nameOf(b)) < 0;
        });
        return list;
    }();
    return sorted;
}

void CvEditorRules::initialise() {
    fillRegisterList();
    char text[16];
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(cvEditorCv));
    view_.setBoxText(cvNumberBox, text);
    view_.setBoxText(mainTrackNoteText, programmingOnMain() ? nothingReadBackOnMain : "");
    refresh();
}

void CvEditorRules::keep() {
    cvEditorCv = cvNumberOf(view_.boxText(cvNumberBox));
}

void CvEditorRules::fillRegisterList() {
    const bool sorted = view_.isChecked(sortCheckBox);
    std::vector<const char*> names;
    for (size_t i = 0; i < registerCount; ++i)
        names.push_back(nameOf(sorted ? sortedRegisterList()[i] : registerList[i]));
    view_.setListNames(names);
    view_.setBoxText(registerCombo, nameOf(cvEditorCv));
}

void CvEditorRules::refresh() {
    cvEditorGuard = 0;
    view_.setBoxText(decimalValueBox, cvEditorValueKnown ? cvEditorValue.text() : "");
    view_.setCaret(decimalValueBox, caretAfterValue);
    for (unsigned bit = 0; bit < 8; ++bit)
        view_.setChecked(firstBitBox + 7 - static_cast<int>(bit),
                         cvEditorValueKnown && cvEditorValue.testBit(bit) != 0);
    cvEditorGuard = 1;
}

bool CvEditorRules::command(int controlId, int notification) {
    if (controlId == cvNumberBox && notification == textChangeNotification) {
        cvEditorCv = cvNumberOf(view_.boxText(cvNumberBox));
        view_.setBoxText(registerCombo, nameOf(cvEditorCv));
    } else if (controlId == registerCombo && notification == selectionChangeNotification) {
        const int position = view_.selectedListPosition();
        if (position < 0 || static_cast<size_t>(position) >= registerCount)
            return true;
        cvEditorCv =
            view_.isChecked(sortCheckBox) ? sortedRegisterList()[position] : registerList[position];
        view_.setBoxText(cvNumberBox, std::to_string(cvEditorCv));
    } else if (controlId == sortCheckBox && notification == clickedNotification) {
        fillRegisterList();
    } else if (controlId >= firstBitBox && controlId <= firstBitBox + 7 &&
               notification == clickedNotification) {
        if (cvEditorGuard == 1) {
            cvEditorValueKnown = true;
            const unsigned bit = static_cast<unsigned>(7 - (controlId - firstBitBox));
            if (view_.isChecked(controlId))
                cvEditorValue.setBit(bit);
            else
                cvEditorValue.clearBit(bit);
            cvEditorGuard = 0;
            view_.setBoxText(decimalValueBox, cvEditorValue.text());
            cvEditorGuard = 1;
        }
    } else if (controlId == decimalValueBox && notification == textChangeNotification) {
        if (cvEditorGuard == 1) {
            const std::string text = view_.boxText(decimalValueBox);
            // Emptying the box of no value gives none.
            if (text != (cvEditorValueKnown ? cvEditorValue.text() : "")) {
                cvEditorValue.setFromText(text.c_str());
                cvEditorValueKnown = true;
                refresh();
            }
        }
    } else if ((controlId == setAllBitsButton || controlId == clearAllBitsButton) &&
               notification == clickedNotification) {
        cvEditorValue.setValue(controlId == setAllBitsButton ? 255 : 0);
        cvEditorValueKnown = true;
        refresh();
    } else if (controlId == readCvButton && notification == clickedNotification) {
        readCv();
    } else if (controlId == writeCvButton && notification == clickedNotification) {
        writeCv();
    } else if (controlId == factoryResetButton && notification == clickedNotification) {
        factoryReset();
    } else {
        return false;
    }
    return true;
}

int32_t CvEditorRules::validCvFromBox() {
    const int32_t cv = cvNumberOf(view_.boxText(cvNumberBox));
    return cv >= lowestCv && cv <= highestCv ? cv : 0;
}

void CvEditorRules::readInto(int32_t cv, std::string* error) {
    uint8_t value = 0;
    const int32_t result = stationReadCv(cv, &value);
    cvEditorValueKnown = result == 0;
    cvEditorValue.setValue(value);
    if (result)
        *error = stationFailureReason(result, false);
    refresh();
}

void CvEditorRules::runAccess(uint32_t steps, const char* message, CvAccess access) {
    std::string error;
    if (!isStationOpen()) {
        error = stationClosedReason();
    } else {
        std::unique_ptr<WaitProgress> bar = view_.openWaitBar(steps, message);
        ReadRetryProgress tries(*bar);
        const int32_t cv = validCvFromBox();
        if (!cv) {
            error = "Invalid CV Register";
        } else {
            CvTextStore::forget(cv);
            bar->step(nullptr);
            (this->*access)(cv, *bar, &error);
        }
    }
    // The bar is gone before the error shows.
    if (!error.empty())
        view_.showError(error);
}

void CvEditorRules::readCv() {
    if (programmingOnMain()) {
        view_.showError(nothingReadBackOnMain);
        return;
    }
    // Asked before the wait bar opens; No sends nothing at all.
    const int32_t cv = isStationOpen() ? validCvFromBox() : 0;
    if (cv && needsHighCvConsent(cv) && !view_.confirm(highCvReadQuestion(cv), highCvCaption))
        return;
    runAccess(2, "Reading CV", &CvEditorRules::readStep);
}

void CvEditorRules::writeCv() {
    if (!cvEditorValueKnown) {
        view_.showError("Type the value to write: the last read failed, so there is none");
        return;
    }
    // Asked before the wait bar opens; No sends nothing at all.
    const int32_t cv = isStationOpen() ? validCvFromBox() : 0;
    if (cv && !cvIsReadOnly(static_cast<uint32_t>(cv)) && needsHighCvConsent(cv) &&
        !view_.confirm(highCvQuestion(cv), highCvCaption))
        return;
    // The bit boxes make one byte: on the main, as on the track, the whole byte is written.
    const std::string message = programmingOnMain() && cv ? mainTrackWriteText(cv) : "Writing CV";
    runAccess(3, message.c_str(), &CvEditorRules::writeStep);
}

void CvEditorRules::readStep(int32_t cv, WaitProgress&, std::string* error) {
    readInto(cv, error);
}

void CvEditorRules::writeStep(int32_t cv, WaitProgress& bar, std::string* error) {
    if (cvIsReadOnly(static_cast<uint32_t>(cv))) {
        // Writing CV 8 resets most decoders: that is done knowingly, by Factory Reset.
        *error = cv == 8 ? "CV is Read Only. To reset the decoder to its factory settings, use "
                           "Factory Reset\x85"
                         : "CV is Read Only";
    } else {
        JournalAction action("CV Editor: Write CV");
        if (const int32_t result = stationWriteCv(cv, cvEditorValue.value())) {
            *error = stationFailureReason(result, true);
            return; // a failed write is not read back
        }
        if (programmingOnMain()) {
            view_.setBoxText(mainTrackNoteText, "CV " + std::to_string(cv) + " = " +
                                                    cvEditorValue.text() +
                                                    " written on the main (not verified)");
            return;
        }
    }
    if (view_.isChecked(rereadCheckBox)) {
        bar.step("Reading CV");
        readInto(cv, error);
    }
}

void CvEditorRules::factoryReset() {
    uint8_t manufacturer = 0;
    std::string error = isStationOpen() ? "" : stationClosedReason();
    if (isStationOpen() && knownCvValue(8, &manufacturer, 0) != 0) {
        // The maker decides the reset: read it unless this connection knows it.
        std::unique_ptr<WaitProgress> bar = view_.openWaitBar(2, "Reading CV");
        bar->step(nullptr);
        if (const int32_t result = stationReadCv(8, &manufacturer))
            error = stationFailureReason(result, false);
    }
    if (!isStationOpen() || !error.empty()) {
        if (!error.empty())
            view_.showError(error);
        return;
    }
    const std::vector<CvAssignment> writes = factoryResetWrites(manufacturer);
    if (!view_.confirm(factoryResetQuestion(manufacturer, writes), factoryResetCaption))
        return;
    if (view_.confirm("Back the decoder up to a file first?", factoryResetCaption) &&
        !view_.backUpDecoder(error)) {
        if (!error.empty())
            view_.showError(error + "\n\nThe decoder was not reset.");
        return;
    }
    {
        std::unique_ptr<WaitProgress> bar =
            view_.openWaitBar(static_cast<uint32_t>(writes.size()) + 1, "Writing CV");
        bar->step(nullptr);
        if (const int32_t result = runFactoryReset(writes))
            error = stationFailureReason(result, true);
        // Whatever this connection knew of the decoder is gone with the reset, or may be.
        forgetStationCvValues();
    }
    if (error.empty())
        view_.showNote(factoryResetDoneText, factoryResetCaption);
    else
        view_.showError(error);
}
