#include "pages/cv_editor_page.h"

#include "model/reading_on_main.h"

CvEditorPage::CvEditorPage(const char* templateName, WindowHandle parent)
    : TabPage(templateName, parent), Win32PageView(static_cast<const TabPage&>(*this)),
      rules_(*this) {}

INT_PTR CvEditorPage::onInitDialog(WPARAM, LPARAM) {
    rules_.initialise();
    disableReadingOnMain(window_, readCvButton);
    return 0;
}

INT_PTR CvEditorPage::onDestroy(WPARAM, LPARAM) {
    rules_.keep();
    forgetBoxes();
    return 0;
}

INT_PTR CvEditorPage::onCommand(int id, int notification) {
    if (rules_.command(id, notification))
        return 1;
    return TabPage::onCommand(id, notification);
}
