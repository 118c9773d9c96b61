// The engine shared by the pages that edit CVs in boxes: a table of (box, CV) bindings, and the
// Fill, Keep, Read, Clear, Write Changes and Write All that every such page runs over it. Pages
// derive from it to change how a box text and a CV byte turn into each other.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/cv_page_view.h"

struct CvBinding {
    int32_t controlId; // 0: the CV has no box
    int32_t cv;
};

// The page buttons the engine answers.
enum : int {
    readButton = 1052,
    writeChangesButton = 1054,
    writeAllButton = 1056,
    clearButton = 1057,
};

class CvPageEngine {
  public:
    static constexpr size_t maxBindings = 30;

    // Takes the first maxBindings of the table.
    CvPageEngine(CvPageView& view, const CvBinding* bindings, size_t count);
    CvPageEngine(const CvPageEngine&) = delete;
    CvPageEngine& operator=(const CvPageEngine&) = delete;
    virtual ~CvPageEngine() = default;

    // When the page is built: kept texts, else known values, then the composite controls.
    void fill();
    // When the page goes: the box texts into the text store.
    void keep();
    // Whether a control id is one of the engine's buttons.
    static bool isEngineButton(int controlId);
    // A button's command: runs the action on a click and reports 1, else reports 0.
    int command(int controlId, int notification);

    // The four actions; each reports 1.
    int readAll();
    int clearAll();
    int writeChanges();
    int writeAll();

    // 0 when read, or left unknown when above the station's safe limit and the user said No;
    // on failure the box is left empty and the error shown.
    int readOne(size_t index, WaitProgress& bar);
    // Writes unless the decoder is known to hold the value already, or the CV lies above the
    // station's safe limit and the user said No; 0 on success and when skipped.
    int writeIfChanged(size_t index, uint8_t value, WaitProgress& bar);
    // Takes a key press off the queue; Escape cancels, with a beep and a full bar.
    bool escapePressed(WaitProgress& bar);

    // The box text for a binding's CV from its value; a null text updates only the page's
    // composite controls.
    virtual void formatValue(size_t index, uint8_t value, std::string* text);
    // The CV byte of a box text; 0 on success, 1 after showing why not. Letters would read as 0
    // and overwrite the decoder's value, so a text that does not start with a number is refused.
    virtual int parseValue(size_t index, const std::string& text, uint8_t* value);
    // Computes bound boxes from composite controls, before writing and before keeping.
    virtual int prepareWrite() { return 0; }
    // Sets composite controls from the bound boxes, after Fill and Clear.
    virtual int refreshDerived() { return 0; }

    size_t bindingCount() const { return count_; }
    const CvBinding& binding(size_t index) const { return bindings_[index]; }

    // The reason given for a box without a number.
    static const char* const notANumber;

  protected:
    // "Error with <register name>, <reason>" for a binding's CV.
    void showValueError(size_t index, const char* reason);

    CvPageView& view_;

  private:
    bool stationReady();
    // Write Changes, or with all every box whatever the decoder is known to hold.
    int writeBoxes(bool all);
    // Asked once per read or write action, before its first CV above the station's safe limit.
    bool consentToHighCvs(const std::string& question);

    enum class HighCvConsent { notAsked, granted, refused };
    HighCvConsent highCvConsent_ = HighCvConsent::notAsked;

    CvBinding bindings_[maxBindings] = {};
    size_t count_ = 0;
};
