#include "stations/high_cv_warning.h"

#include <cstdio>

#include "stations/station_manager.h"

const char highCvCaption[] = "Warning";

bool needsHighCvConsent(int32_t cv) {
    const int32_t limit = stationHighestSafeCv();
    return limit != noCvLimit && cv > limit;
}

std::string highCvHazard(int32_t cv) {
    const long limit = static_cast<long>(stationHighestSafeCv());
    char text[300];
    std::snprintf(text, sizeof text,
                  "CV %ld is above %ld. On this station's programming track a write above CV %ld "
                  "can change another CV instead. NCE advises programming such CVs on the main.",
                  static_cast<long>(cv), limit, limit);
    return text;
}

std::string highCvQuestion(int32_t cv) {
    return highCvHazard(cv) + " Write it anyway?";
}

std::string highCvReadHazard(int32_t cv) {
    const long limit = static_cast<long>(stationHighestSafeCv());
    char text[300];
    std::snprintf(text, sizeof text,
                  "CV %ld is above %ld. On this station's programming track a read above CV %ld "
                  "may read another CV instead (CV %ld reaches CV %ld).",
                  static_cast<long>(cv), limit, limit, static_cast<long>(cv),
                  static_cast<long>((cv - 1) % 256 + 1));
    return text;
}

std::string highCvReadQuestion(int32_t cv) {
    return highCvReadHazard(cv) + " Read it anyway?";
}
