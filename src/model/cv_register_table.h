// The NMRA CV register table: a name and a read-only flag for every CV number 1..1024.
#pragma once

#include <cstdint>

// NMRA requirement classes of a CV (carried with every row, consulted by nothing).
enum : int32_t {
    CvMandatory = 0,
    CvRecommended = 1,
    CvOptional = 2,
    CvReservedByNmra = 3,
};

// Default value meaning "this CV has no default".
constexpr int32_t CvNoDefault = 256;

struct CvRegister {
    const char* name;
    int32_t requirementClass;
    int32_t readOnly;     // 1 = the decoder does not accept writes
    int32_t defaultValue; // 0..255, or CvNoDefault
    uint32_t firstCv;
    uint32_t lastCv; // inclusive
};

constexpr int CvRegisterCount = 63;

// Row 0 is the fallback row ("Not an NMRA Register"); rows 1..62 cover CV 1..1024
// with inclusive, non-overlapping ranges.
extern const CvRegister CvRegisterTable[CvRegisterCount];

// Name of the register covering cv, or the fallback row's name; never null, never freed.
const char* cvRegisterName(uint32_t cv);

// 1 if the register covering cv is read-only, else 0 (0 for the fallback row).
int cvIsReadOnly(uint32_t cv);
