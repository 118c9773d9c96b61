#include "model/cv_text_store.h"

#include <memory>
#include <string>

namespace {

constexpr int32_t storeSize = 1025;

std::unique_ptr<std::string> texts[storeSize];

bool inRange(int32_t cv) {
    return cv >= 0 && cv < storeSize;
}

} // namespace

namespace CvTextStore {

void forget(int32_t cv) {
    if (inRange(cv))
        texts[cv].reset();
}

const char* get(int32_t cv) {
    return inRange(cv) && texts[cv] ? texts[cv]->c_str() : nullptr;
}

void keep(int32_t cv, const char* text) {
    if (inRange(cv) && text)
        texts[cv] = std::make_unique<std::string>(text);
}

void reset() {
    for (auto& text : texts)
        text.reset();
}

} // namespace CvTextStore
