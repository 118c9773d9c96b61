// A decoder's factory reset: the writes each maker asks for, the question before them and the
// writes themselves, journaled as one reset that undo does not take back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CvAssignment {
    int cv;
    int value;
};

extern const char factoryResetCaption[];  // "Factory Reset"
extern const char factoryResetDoneText[]; // what to do once the decoder is reset

// The writes that reset a decoder of the maker in CV 8; CV 8 = 8 for every maker without a
// reset of its own.
std::vector<CvAssignment> factoryResetWrites(int manufacturerId);
// "CV 30 = 2", several joined by commas.
std::string assignmentsText(const std::vector<CvAssignment>& writes);
// The question before a reset, naming the decoder and what it loses.
std::string factoryResetQuestion(int manufacturerId, const std::vector<CvAssignment>& writes);
// Writes them in order as one journaled reset; stops at the first failure (nonzero, with the
// station's words left in the station error text).
int32_t runFactoryReset(const std::vector<CvAssignment>& writes);
