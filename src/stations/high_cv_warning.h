// Reads and writes above the station's safe CV: some programming tracks reach another CV
// instead, so a read or write there needs the user's consent first.
#pragma once

#include <cstdint>
#include <string>

// Whether reading or writing cv through the active station needs the user's consent.
bool needsHighCvConsent(int32_t cv);
// What such a write risks, naming the CV and the station's limit.
std::string highCvHazard(int32_t cv);
// The question asked before the write, captioned highCvCaption; No is its safe answer.
std::string highCvQuestion(int32_t cv);
// What such a read risks: the value of another CV, named, taken for this one's.
std::string highCvReadHazard(int32_t cv);
// The question asked before the read, captioned highCvCaption; No is its safe answer.
std::string highCvReadQuestion(int32_t cv);

extern const char highCvCaption[];
