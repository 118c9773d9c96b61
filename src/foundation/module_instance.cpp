#include "foundation/module_instance.h"

namespace {

HINSTANCE heldInstance = nullptr;

} // namespace

HINSTANCE moduleInstance() {
    return heldInstance ? heldInstance : GetModuleHandleA(nullptr);
}

void setModuleInstance(HINSTANCE instance) {
    heldInstance = instance;
}
