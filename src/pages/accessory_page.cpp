#include "pages/accessory_page.h"

AccessoryPage::AccessoryPage(const char* templateName, WindowHandle parent)
    : CvPage(templateName, parent), rules_(*this) {
    attachRules(rules_);
}

INT_PTR AccessoryPage::onCommand(int id, int notification) {
    if (AccessoryRules::isAuxiliaryBox(id)) {
        rules_.auxiliaryFromCheckBoxes();
        return 1;
    }
    return CvPage::onCommand(id, notification);
}
