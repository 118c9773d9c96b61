// The CV editor's rules: one CV read or written at a time by number or register name, its value
// edited in decimal or bit by bit. The number and the value outlive the page.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/cv_value.h"
#include "model/cv_page_view.h"

enum : int {
    cvNumberBox = 1009,
    registerCombo = 1039,
    sortCheckBox = 1045,
    firstBitBox = 1000, // bit 7; 1007 is bit 0
    setAllBitsButton = 1037,
    clearAllBitsButton = 1038,
    decimalValueBox = 1008,
    rereadCheckBox = 1010,
    readCvButton = 101,
    writeCvButton = 100,
    // What the page says of the main: nothing read back, the last write not verified.
    mainTrackNoteText = 1011,
    factoryResetButton = 102,
};

// Notification codes of the controls the editor listens to.
enum : int {
    clickedNotification = 0,
    selectionChangeNotification = 1,
    textChangeNotification = 0x300,
};

// Module state, kept across page lifetimes.
extern int32_t cvEditorCv;
extern CvValue cvEditorValue;
extern int cvEditorGuard;
// False after a failed read until the user gives a value: the boxes are empty then, and Write CV
// asks for one rather than send a value nobody saw.
extern bool cvEditorValueKnown;
extern const int32_t registerList[49];
void resetCvEditorState();
// The register list in name order (byte-wise, equal names in list order), built once.
const std::vector<int32_t>& sortedRegisterList();

// What the editor needs beyond a bound page: its register list and the caret of a box.
class CvEditorView : public CvPageView {
  public:
    // Empties the list and inserts the names in order.
    virtual void setListNames(const std::vector<const char*>& names) = 0;
    virtual int selectedListPosition() = 0;
    virtual void setCaret(int controlId, int position) = 0;
    // Asks where to, then reads the CVs a backup takes by default into that decoder file, with
    // the wait bar; false when the user cancelled (error empty) or the backup failed.
    virtual bool backUpDecoder(std::string& error) = 0;
    // A message box with an OK button, owned by the page.
    virtual void showNote(const std::string& text, const char* caption) = 0;
};

class CvEditorRules {
  public:
    explicit CvEditorRules(CvEditorView& view) : view_(view) {}

    // Dialog initialisation and destruction.
    void initialise();
    void keep();
    // A control's notification; false when the editor has nothing to do with it.
    bool command(int controlId, int notification);

    void fillRegisterList();
    // Shows the value in the decimal box and the bit boxes, or empty boxes for no value.
    void refresh();
    void readCv();
    void writeCv();
    // The maker's reset, asked for and, if the user wants, after a backup.
    void factoryReset();

  private:
    // 0 when the CV number box holds a CV of 1 to 1024.
    int32_t validCvFromBox();
    // Reads the CV into the value; a failed read leaves no value.
    void readInto(int32_t cv, std::string* error);
    // What both buttons share: an open station, a wait bar, a valid CV number, its kept text
    // forgotten; then the access itself, and its error shown once the bar is gone.
    using CvAccess = void (CvEditorRules::*)(int32_t cv, WaitProgress& bar, std::string* error);
    void runAccess(uint32_t steps, const char* message, CvAccess access);
    void readStep(int32_t cv, WaitProgress& bar, std::string* error);
    void writeStep(int32_t cv, WaitProgress& bar, std::string* error);

    CvEditorView& view_;
};
