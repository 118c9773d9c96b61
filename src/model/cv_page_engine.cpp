#include "model/cv_page_engine.h"

#include <cstdio>

#include "foundation/decimal_text.h"
#include "foundation/pause.h"
#include "model/cv_register_table.h"
#include "model/cv_text_store.h"
#include "model/manufacturer_table.h"
#include "model/read_retry_progress.h"
#include "stations/high_cv_warning.h"
#include "stations/main_track_target.h"
#include "stations/station_failure_reason.h"
#include "stations/station_manager.h"
#include "stations/write_journal.h"

namespace {

// The manufacturer box of the locomotive and accessory pages shows the maker's name too.
constexpr int manufacturerBox = 1050;
constexpr int escapeKey = 27;
// Long enough to see the full bar and "Canceling..." before the page comes back.
constexpr unsigned cancelPauseMs = 555;

std::string registerMessage(const char* format, int32_t cv) {
    char text[160];
    std::snprintf(text, sizeof text, format, cvRegisterName(static_cast<uint32_t>(cv)));
    return text;
}

// "Error reading <register name>", then why.
std::string failureMessage(const char* format, int32_t cv, int result, bool write) {
    return registerMessage(format, cv) + "\n" + stationFailureReason(result, write);
}

} // namespace

CvPageEngine::CvPageEngine(CvPageView& view, const CvBinding* bindings, size_t count)
    : view_(view), count_(count < maxBindings ? count : maxBindings) {
    for (size_t i = 0; i < count_; ++i)
        bindings_[i] = bindings[i];
}

void CvPageEngine::fill() {
    for (size_t i = 0; i < count_; ++i) {
        const CvBinding& b = bindings_[i];
        std::string text;
        if (const char* kept = CvTextStore::get(b.cv)) {
            text = kept;
        } else {
            uint8_t value = 0;
            if (knownCvValue(b.cv, &value, 1) == 0)
                formatValue(i, value, &text);
        }
        if (b.controlId)
            view_.setBoxText(b.controlId, text);
    }
    refreshDerived();
}

void CvPageEngine::keep() {
    prepareWrite();
    for (size_t i = 0; i < count_; ++i) {
        const CvBinding& b = bindings_[i];
        if (!b.controlId || !b.cv)
            continue;
        CvTextStore::forget(b.cv);
        const std::string text = view_.boxText(b.controlId);
        if (!text.empty())
            CvTextStore::keep(b.cv, text.c_str());
    }
}

bool CvPageEngine::isEngineButton(int controlId) {
    return controlId == readButton || controlId == writeChangesButton ||
           controlId == writeAllButton || controlId == clearButton;
}

int CvPageEngine::command(int controlId, int notification) {
    if (notification != 0)
        return 0;
    switch (controlId) {
    case readButton:
        return readAll();
    case writeChangesButton:
        return writeChanges();
    case writeAllButton:
        return writeAll();
    case clearButton:
        return clearAll();
    default:
        return 0;
    }
}

bool CvPageEngine::stationReady() {
    if (isStationOpen())
        return true;
    view_.showError(stationClosedReason());
    return false;
}

int CvPageEngine::readAll() {
    if (programmingOnMain()) {
        view_.showError(nothingReadBackOnMain);
        return 1;
    }
    if (!stationReady())
        return 1;
    highCvConsent_ = HighCvConsent::notAsked;
    std::unique_ptr<WaitProgress> bar = view_.openWaitBar(static_cast<uint32_t>(count_ + 2), "");
    ReadRetryProgress tries(*bar);
    clearAll();
    for (size_t i = 0; i < count_; ++i) {
        if (readOne(i, *bar) != 0)
            break;
        view_.repaintMainWindow();
        if (escapePressed(*bar))
            break;
    }
    return 1;
}

int CvPageEngine::readOne(size_t index, WaitProgress& bar) {
    const CvBinding& b = bindings_[index];
    CvTextStore::forget(b.cv);
    if (needsHighCvConsent(b.cv) && !consentToHighCvs(highCvReadQuestion(b.cv)))
        return 0;
    bar.step(registerMessage("Reading %s", b.cv).c_str());
    std::string text;
    uint8_t value = 0;
    const int32_t result = stationReadCv(b.cv, &value);
    if (result == 0)
        formatValue(index, value, &text);
    if (b.controlId)
        view_.setBoxText(b.controlId, text);
    if (result != 0) {
        view_.showError(failureMessage("Error reading %s", b.cv, result, false));
        return 1;
    }
    return 0;
}

int CvPageEngine::writeChanges() {
    return writeBoxes(false);
}

// Write All forgets what the decoder is known to hold, also when the station is not open, but
// only after prepareWrite: composite controls may keep bits of a CV from its known value (the
// accessory address does).
int CvPageEngine::writeBoxes(bool all) {
    JournalAction action(all ? "Write All" : "Write Changes");
    const auto forgetValues = [this, all] {
        for (size_t i = 0; all && i < count_; ++i)
            forgetCvValue(bindings_[i].cv);
    };
    if (!stationReady()) {
        forgetValues();
        return 1;
    }
    highCvConsent_ = HighCvConsent::notAsked;
    std::unique_ptr<WaitProgress> bar =
        view_.openWaitBar(static_cast<uint32_t>(2 * count_ + 2), "");
    prepareWrite();
    forgetValues();
    for (size_t i = 0; i < count_; ++i) {
        const CvBinding& b = bindings_[i];
        bar->step("Checking changes");
        if (b.controlId && !cvIsReadOnly(static_cast<uint32_t>(b.cv))) {
            const std::string text = view_.boxText(b.controlId);
            uint8_t value = 0;
            if (!text.empty() && parseValue(i, text, &value) == 0 &&
                writeIfChanged(i, value, *bar) != 0)
                break;
        }
        view_.repaintMainWindow();
        if (escapePressed(*bar))
            break;
    }
    bar->step("Finishing");
    return 1;
}

int CvPageEngine::writeIfChanged(size_t index, uint8_t value, WaitProgress& bar) {
    const CvBinding& b = bindings_[index];
    CvTextStore::forget(b.cv);
    uint8_t known = 0;
    if (knownCvValue(b.cv, &known, 0) == 0 && known == value)
        return 0;
    if (needsHighCvConsent(b.cv) && !consentToHighCvs(highCvQuestion(b.cv)))
        return 0;
    bar.step(programmingOnMain() ? mainTrackWriteText(b.cv).c_str()
                                 : registerMessage("Writing %s", b.cv).c_str());
    if (const int32_t result = stationWriteCv(b.cv, value)) {
        view_.showError(failureMessage("Error writing %s", b.cv, result, true));
        return 1;
    }
    return 0;
}

bool CvPageEngine::consentToHighCvs(const std::string& question) {
    if (highCvConsent_ == HighCvConsent::notAsked)
        highCvConsent_ = view_.confirm(question, highCvCaption) ? HighCvConsent::granted
                                                                : HighCvConsent::refused;
    return highCvConsent_ == HighCvConsent::granted;
}

int CvPageEngine::writeAll() {
    return writeBoxes(true);
}

int CvPageEngine::clearAll() {
    for (size_t i = 0; i < count_; ++i) {
        const CvBinding& b = bindings_[i];
        forgetCvValue(b.cv);
        CvTextStore::forget(b.cv);
        if (b.controlId)
            view_.setBoxText(b.controlId, "");
    }
    refreshDerived();
    return 1;
}

bool CvPageEngine::escapePressed(WaitProgress& bar) {
    if (view_.takeKeyPress() != escapeKey)
        return false;
    view_.beep();
    bar.setPosition(1000000, "Canceling...");
    pauseFor(cancelPauseMs);
    return true;
}

void CvPageEngine::formatValue(size_t index, uint8_t value, std::string* text) {
    if (!text)
        return;
    char buffer[160];
    if (bindings_[index].controlId == manufacturerBox)
        std::snprintf(buffer, sizeof buffer, "%s - %d", manufacturerName(value), value);
    else
        std::snprintf(buffer, sizeof buffer, "%d", value);
    *text = buffer;
}

const char* const CvPageEngine::notANumber = "Not a number";

int CvPageEngine::parseValue(size_t index, const std::string& text, uint8_t* value) {
    if (!isNumberText(text)) {
        showValueError(index, notANumber);
        *value = 0;
        return 1;
    }
    const long number = leadingNumber(text);
    if (number >= 0 && number < 256) {
        *value = static_cast<uint8_t>(number);
        return 0;
    }
    showValueError(index, "Value too large");
    *value = 0;
    return 1;
}

void CvPageEngine::showValueError(size_t index, const char* reason) {
    char text[200];
    std::snprintf(text, sizeof text, "Error with %s, %s",
                  cvRegisterName(static_cast<uint32_t>(bindings_[index].cv)), reason);
    view_.showError(text);
}
