// The program's decoder data as a decoder file carries it: the kept texts and known values of
// every page going out, the file's values coming in, and the clear-all of every page.
#pragma once

#include <cstdint>

#include "files/decoder_file_format.h"

// What the file holds for a CV: its kept text as a number, else its known value (decoder
// first, then file), else unknown. A kept text outside 0 to 255 gives way to the known value,
// so the file stays readable.
int32_t savedCvEntry(int32_t cv);
// Every CV's entry; the texts are left to the caller.
void collectCvEntries(DecoderFileContent& content);
// Forgets every kept text and known value and takes the file's values in their place.
void applyFileEntries(const DecoderFileContent& content);

// Page state outside the CV texts and value tables that clear-all must also wipe.
void registerDecoderDataReset(void (*reset)());
// Wipes the decoder data of every page: kept texts, both value tables, the Load/Save texts and
// whatever the pages registered.
void clearAllDecoderData();

// The Load/Save page's three texts while it is closed; none until the page first closes.
namespace LoadSaveTexts {
void keep(DecoderText which, const char* text);
const char* get(DecoderText which);
void reset();
} // namespace LoadSaveTexts
