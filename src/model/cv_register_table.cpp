#include "model/cv_register_table.h"

namespace {

// Rows with the same name share one text.
const char NotNmra[] = "Not an NMRA Register";
const char Reserved[] = "Reserved by NMRA";
const char MfrUnique[] = "Manufacturer Unique";

constexpr int32_t M = CvMandatory;
constexpr int32_t R = CvRecommended;
constexpr int32_t O = CvOptional;
constexpr int32_t X = CvReservedByNmra;
constexpr int32_t None = CvNoDefault;

// Range lookup: rows CvRegisterCount-1 down to 1, first row whose range holds cv; else row 0.
const CvRegister& registerFor(uint32_t cv) {
    for (int row = CvRegisterCount - 1; row >= 1; --row) {
        const CvRegister& r = CvRegisterTable[row];
        if (r.firstCv <= cv && cv <= r.lastCv)
            return r;
    }
    return CvRegisterTable[0];
}

} // namespace

// clang-format off
const CvRegister CvRegisterTable[CvRegisterCount] = {
    // name                                    class RO default first last
    {NotNmra,                                   O, 0, None,    0,    0}, // fallback, never matched
    {"Primary Address",                         M, 0, 3,       1,    1},
    {"Vstart",                                  R, 0, 7,       2,    2},
    {"Acceleration Rate",                       R, 0, 0,       3,    3},
    {"Deceleration Rate",                       R, 0, 0,       4,    4},
    {"Vhigh",                                   O, 0, 1,       5,    5},
    {"Vmid",                                    O, 0, 1,       6,    6},
    {"Manufacturer Version",                    M, 1, None,    7,    7},
    {"Manufacturer ID",                         M, 1, None,    8,    8},
    {"Total PWM Period",                        O, 0, 0,       9,    9},
    {"EMF Feedback Cutout",                     O, 0, None,   10,   10},
    {"Packet Time-Out Value",                   R, 0, None,   11,   11},
    {"Power Source Conversion",                 O, 0, None,   12,   12},
    {"Analog Mode Function Status",             O, 0, None,   13,   13},
    {Reserved,                                  X, 0, None,   14,   16},
    {"Extended Address MSB",                    O, 0, None,   17,   17},
    {"Extended Address LSB",                    O, 0, None,   18,   18},
    {"Consist Address",                         O, 0, None,   19,   19},
    {Reserved,                                  X, 0, None,   20,   20},
    {"Consist Addr Active for F1-F8",           O, 0, None,   21,   21},
    {"Consist Addr Active for FL",              O, 0, None,   22,   22},
    {"Acceleration Adjustment",                 O, 0, None,   23,   23},
    {"Deceleration Adjustment",                 O, 0, None,   24,   24},
    {"Speed Table/Mid-range Cab Speed Step",    O, 0, 1,      25,   25},
    {Reserved,                                  X, 0, None,   26,   28},
    {"Configuration Data #1",                   M, 0, None,   29,   29},
    {"Error Information",                       O, 0, None,   30,   30},
    {"Configuration Data #2",                   O, 0, 0,      31,   31},
    {"Configuration Data #3",                   O, 0, 0,      32,   32},
    {"Output Loc FL(f)",                        O, 0, None,   33,   33},
    {"Output Loc FL(r)",                        O, 0, None,   34,   34},
    {"Output Loc F1",                           O, 0, None,   35,   35},
    {"Output Loc F2",                           O, 0, None,   36,   36},
    {"Output Loc F3",                           O, 0, None,   37,   37},
    {"Output Loc F4",                           O, 0, None,   38,   38},
    {"Output Loc F5",                           O, 0, None,   39,   39},
    {"Output Loc F6",                           O, 0, None,   40,   40},
    {"Output Loc F7",                           O, 0, None,   41,   41},
    {"Output Loc F8",                           O, 0, None,   42,   42},
    {Reserved,                                  X, 0, None,   43,   48},
    {MfrUnique,                                 O, 0, None,   49,   64},
    {"Kick Start",                              O, 0, None,   65,   65},
    {"Forward Trim",                            O, 0, 128,    66,   66},
    {"Speed Table",                             O, 0, None,   67,   94},
    {"Reverse Trim",                            O, 0, 128,    95,   95},
    {Reserved,                                  X, 0, None,   96,  104},
    {"User Identifier #1",                      O, 0, None,  105,  105},
    {"User Identifier #2",                      O, 0, None,  106,  106},
    {Reserved,                                  X, 0, None,  107,  512},
    {"Decoder Address LSB",                     M, 0, None,  513,  513},
    {"Auxilary Activation",                     O, 0, None,  514,  514},
    {"Time On F1",                              O, 0, None,  515,  515},
    {"Time On F2",                              O, 0, None,  516,  516},
    {"Time On F3",                              O, 0, None,  517,  517},
    {"Time On F4",                              O, 0, None,  518,  518},
    {"Manufacturer Version (Accy)",             M, 1, None,  519,  519},
    {"Manufacturer ID (Accy)",                  M, 1, None,  520,  520},
    {"Decoder Address MSB",                     M, 0, 0,     521,  521},
    {Reserved,                                  X, 0, None,  522,  540},
    {"Accessory Decoder Configs",               O, 0, None,  541,  541},
    {Reserved,                                  X, 0, None,  542,  544},
    {MfrUnique,                                 O, 0, None,  545,  593},
    {Reserved,                                  X, 0, None,  594, 1024},
};
// clang-format on

const char* cvRegisterName(uint32_t cv) {
    return registerFor(cv).name;
}

int cvIsReadOnly(uint32_t cv) {
    return registerFor(cv).readOnly;
}
