// Writes above the station's safe CV: some programming tracks write such a CV to another one
// instead, so a write there needs the user's consent first.
#pragma once

#include <cstdint>
#include <string>

// Whether writing cv through the active station needs the user's consent.
bool needsHighCvConsent(int32_t cv);
// What such a write risks, naming the CV and the station's limit.
std::string highCvHazard(int32_t cv);
// The question asked before the write, captioned highCvCaption; No is its safe answer.
std::string highCvQuestion(int32_t cv);

extern const char highCvCaption[];
