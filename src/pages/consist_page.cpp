#include "pages/consist_page.h"

ConsistPage::ConsistPage(const char* templateName, WindowHandle parent)
    : CvPage(templateName, parent), rules_(*this) {
    attachRules(rules_);
}

INT_PTR ConsistPage::onCommand(int id, int notification) {
    int hiddenBox = 0;
    unsigned bit = 0;
    if (consistBoxBit(id, &hiddenBox, &bit)) {
        rules_.checkBoxClicked(id);
        return 0;
    }
    return CvPage::onCommand(id, notification);
}
