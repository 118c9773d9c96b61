#include "files/decoder_data.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "model/cv_text_store.h"
#include "stations/station_manager.h"

namespace {

// Their boxes can show more than the plain value: a manufacturer's name (CV 8 and CV 520) or
// the momentum in another unit (CVs 3 and 4).
bool keptTextIsValue(int32_t cv) {
    return cv != 3 && cv != 4 && cv != 8 && cv != 520;
}

std::vector<void (*)()>& resets() {
    static std::vector<void (*)()> registered;
    return registered;
}

std::unique_ptr<std::string> keptTexts[decoderTextCount];

} // namespace

int32_t savedCvEntry(int32_t cv) {
    const char* kept = CvTextStore::get(cv);
    if (kept && keptTextIsValue(cv)) {
        // As atoi reads it, without atoi's overflow.
        const long value = std::strtol(kept, nullptr, 10);
        if (value >= 0 && value <= 255)
            return value;
    }
    uint8_t known = 0;
    return knownCvValue(cv, &known, 1) == 0 ? known : unknownCvEntry;
}

void collectCvEntries(DecoderFileContent& content) {
    for (int32_t cv = lowestCv; cv <= highestCv; ++cv)
        content.entries[cv - 1] = savedCvEntry(cv);
}

void applyFileEntries(const DecoderFileContent& content) {
    for (int32_t cv = lowestCv; cv <= highestCv; ++cv) {
        CvTextStore::forget(cv);
        forgetCvValue(cv);
        const int32_t entry = content.entries[cv - 1];
        if (entry != unknownCvEntry)
            rememberFileCvValue(cv, entry);
    }
}

void registerDecoderDataReset(void (*reset)()) {
    resets().push_back(reset);
}

void clearAllDecoderData() {
    CvTextStore::reset();
    for (int32_t cv = lowestCv; cv <= highestCv; ++cv)
        forgetCvValue(cv);
    LoadSaveTexts::reset();
    for (void (*reset)() : resets())
        reset();
}

namespace LoadSaveTexts {

void keep(DecoderText which, const char* text) {
    keptTexts[which] = text ? std::make_unique<std::string>(text) : nullptr;
}

const char* get(DecoderText which) {
    return keptTexts[which] ? keptTexts[which]->c_str() : nullptr;
}

void reset() {
    for (auto& text : keptTexts)
        text.reset();
}

} // namespace LoadSaveTexts
