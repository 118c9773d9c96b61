// The box texts of the CV-bound pages, kept per CV while the pages come and go with their tabs.
// A kept text is exactly what the box showed; nothing validates it when it is shown again.
#pragma once

#include <cstdint>

namespace CvTextStore {

// Frees the text of a CV; CVs outside 0 to 1024 are ignored.
void forget(int32_t cv);
// The text kept for a CV, or none.
const char* get(int32_t cv);
// Keeps a copy of the text (callers forget the old one first); none or a CV out of range is
// ignored.
void keep(int32_t cv, const char* text);
// Forgets every text: clear-all and tests.
void reset();

} // namespace CvTextStore
