#include "model/cv_register_table.h"
#include "model/manufacturer_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

const std::string NotNmra = "Not an NMRA Register";
const std::string Reserved = "Reserved by NMRA";
const std::string Unknown = "Unknown Manufacturer";

// ---- CvRegisterTable structure ----

TEST(CvRegisterTableTest, RangesOfRows1To62CoverCv1To1024WithoutGapOrOverlap) {
    uint32_t next = 1;
    for (int row = 1; row < CvRegisterCount; ++row) {
        const CvRegister& r = CvRegisterTable[row];
        SCOPED_TRACE("row " + std::to_string(row));
        EXPECT_EQ(r.firstCv, next);
        EXPECT_LE(r.firstCv, r.lastCv);
        next = r.lastCv + 1;
    }
    EXPECT_EQ(next, 1025u);
}

TEST(CvRegisterTableTest, EveryCvIn1To1024IsCoveredByExactlyOneRow) {
    for (uint32_t cv = 1; cv <= 1024; ++cv) {
        int hits = 0;
        for (int row = 1; row < CvRegisterCount; ++row)
            hits += CvRegisterTable[row].firstCv <= cv && cv <= CvRegisterTable[row].lastCv;
        EXPECT_EQ(hits, 1) << "CV " << cv;
    }
}

TEST(CvRegisterTableTest, RowFieldsAreInTheirDomains) {
    for (int row = 0; row < CvRegisterCount; ++row) {
        const CvRegister& r = CvRegisterTable[row];
        SCOPED_TRACE("row " + std::to_string(row));
        ASSERT_NE(r.name, nullptr);
        EXPECT_GT(std::strlen(r.name), 0u);
        EXPECT_GE(r.requirementClass, CvMandatory);
        EXPECT_LE(r.requirementClass, CvReservedByNmra);
        EXPECT_TRUE(r.readOnly == 0 || r.readOnly == 1);
        EXPECT_GE(r.defaultValue, 0);
        EXPECT_LE(r.defaultValue, CvNoDefault);
        // Reserved rows are exactly the ones named "Reserved by NMRA".
        EXPECT_EQ(r.requirementClass == CvReservedByNmra, r.name == Reserved);
    }
}

TEST(CvRegisterTableTest, FallbackRowIsOptionalWritableWithoutDefault) {
    const CvRegister& r = CvRegisterTable[0];
    EXPECT_EQ(r.name, NotNmra);
    EXPECT_EQ(r.requirementClass, CvOptional);
    EXPECT_EQ(r.readOnly, 0);
    EXPECT_EQ(r.defaultValue, CvNoDefault);
}

TEST(CvRegisterTableTest, RowsWithTheSameNameShareOneText) {
    for (int a = 0; a < CvRegisterCount; ++a) {
        for (int b = a + 1; b < CvRegisterCount; ++b) {
            if (std::strcmp(CvRegisterTable[a].name, CvRegisterTable[b].name) == 0) {
                EXPECT_EQ(CvRegisterTable[a].name, CvRegisterTable[b].name)
                    << "rows " << a << " and " << b;
            }
        }
    }
}

TEST(CvRegisterTableTest, SelectedDefaults) {
    EXPECT_EQ(CvRegisterTable[1].defaultValue, 3);    // Primary Address
    EXPECT_EQ(CvRegisterTable[2].defaultValue, 7);    // Vstart
    EXPECT_EQ(CvRegisterTable[42].defaultValue, 128); // Forward Trim
    EXPECT_EQ(CvRegisterTable[44].defaultValue, 128); // Reverse Trim
    EXPECT_EQ(CvRegisterTable[57].defaultValue, 0);   // Decoder Address MSB
    EXPECT_EQ(CvRegisterTable[8].defaultValue, CvNoDefault);
}

// ---- cvRegisterName ----

TEST(CvRegisterNameTest, NumbersOutside1To1024FallBack) {
    for (uint32_t cv : {0u, 1025u, 1026u, 4096u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
        EXPECT_EQ(cvRegisterName(cv), NotNmra) << "CV " << cv;
        EXPECT_EQ(cvIsReadOnly(cv), 0) << "CV " << cv;
    }
}

TEST(CvRegisterNameTest, NeverNullAndAgreesWithTheCoveringRow) {
    for (uint32_t cv = 0; cv <= 1100; ++cv) {
        const char* name = cvRegisterName(cv);
        ASSERT_NE(name, nullptr) << "CV " << cv;
        const CvRegister* expected = &CvRegisterTable[0];
        for (int row = 1; row < CvRegisterCount; ++row)
            if (CvRegisterTable[row].firstCv <= cv && cv <= CvRegisterTable[row].lastCv)
                expected = &CvRegisterTable[row];
        EXPECT_EQ(name, expected->name) << "CV " << cv;
        EXPECT_EQ(cvIsReadOnly(cv), expected->readOnly) << "CV " << cv;
    }
}

TEST(CvRegisterNameTest, SingleCvRegisters) {
    EXPECT_STREQ(cvRegisterName(1), "Primary Address");
    EXPECT_STREQ(cvRegisterName(8), "Manufacturer ID");
    EXPECT_STREQ(cvRegisterName(17), "Extended Address MSB");
    EXPECT_STREQ(cvRegisterName(18), "Extended Address LSB");
    EXPECT_STREQ(cvRegisterName(25), "Speed Table/Mid-range Cab Speed Step");
    EXPECT_STREQ(cvRegisterName(29), "Configuration Data #1");
    EXPECT_STREQ(cvRegisterName(66), "Forward Trim");
    EXPECT_STREQ(cvRegisterName(95), "Reverse Trim");
    EXPECT_STREQ(cvRegisterName(513), "Decoder Address LSB");
    EXPECT_STREQ(cvRegisterName(521), "Decoder Address MSB");
    EXPECT_STREQ(cvRegisterName(541), "Accessory Decoder Configs");
}

TEST(CvRegisterNameTest, SpellingIsKeptLetterForLetter) {
    EXPECT_STREQ(cvRegisterName(514), "Auxilary Activation");
    EXPECT_STREQ(cvRegisterName(21), "Consist Addr Active for F1-F8");
    EXPECT_STREQ(cvRegisterName(33), "Output Loc FL(f)");
    EXPECT_STREQ(cvRegisterName(34), "Output Loc FL(r)");
    EXPECT_STREQ(cvRegisterName(519), "Manufacturer Version (Accy)");
}

TEST(CvRegisterNameTest, ReservedRangeBoundaries) {
    for (uint32_t cv : {14u, 16u, 20u, 26u, 28u, 43u, 48u, 96u, 104u, 107u, 512u, 522u, 540u, 542u,
                        544u, 594u, 1024u})
        EXPECT_EQ(cvRegisterName(cv), Reserved) << "CV " << cv;
}

TEST(CvRegisterNameTest, MultiCvRangeBoundariesAndNeighbours) {
    EXPECT_STREQ(cvRegisterName(49), "Manufacturer Unique");
    EXPECT_STREQ(cvRegisterName(64), "Manufacturer Unique");
    EXPECT_STREQ(cvRegisterName(545), "Manufacturer Unique");
    EXPECT_STREQ(cvRegisterName(593), "Manufacturer Unique");
    EXPECT_STREQ(cvRegisterName(67), "Speed Table");
    EXPECT_STREQ(cvRegisterName(94), "Speed Table");
    EXPECT_STREQ(cvRegisterName(65), "Kick Start");
    EXPECT_STREQ(cvRegisterName(105), "User Identifier #1");
    EXPECT_STREQ(cvRegisterName(106), "User Identifier #2");
    EXPECT_STREQ(cvRegisterName(42), "Output Loc F8");
}

// ---- cvIsReadOnly ----

TEST(CvIsReadOnlyTest, ExactlyFourReadOnlyCvs) {
    std::vector<uint32_t> readOnly;
    for (uint32_t cv = 0; cv <= 1100; ++cv)
        if (cvIsReadOnly(cv))
            readOnly.push_back(cv);
    EXPECT_EQ(readOnly, (std::vector<uint32_t>{7, 8, 519, 520}));
    for (uint32_t cv : {7u, 8u, 519u, 520u})
        EXPECT_EQ(cvIsReadOnly(cv), 1) << "CV " << cv;
    for (uint32_t cv : {6u, 9u, 518u, 521u})
        EXPECT_EQ(cvIsReadOnly(cv), 0) << "CV " << cv;
}

// ---- ManufacturerTable / manufacturerName ----

TEST(ManufacturerTableTest, KeysAreDistinctBytesAndNamesNonNull) {
    for (int a = 0; a < ManufacturerCount; ++a) {
        ASSERT_NE(ManufacturerTable[a].name, nullptr);
        EXPECT_LE(ManufacturerTable[a].id, 255u);
        for (int b = a + 1; b < ManufacturerCount; ++b)
            EXPECT_NE(ManufacturerTable[a].id, ManufacturerTable[b].id)
                << "rows " << a << " and " << b;
    }
    EXPECT_STREQ(ManufacturerTable[0].name, "Unknown Manufacturer");
}

TEST(ManufacturerNameTest, EveryKnownIdYieldsItsOwnRow) {
    for (int row = 1; row < ManufacturerCount; ++row)
        EXPECT_EQ(manufacturerName(static_cast<int>(ManufacturerTable[row].id)),
                  ManufacturerTable[row].name)
            << "row " << row;
}

TEST(ManufacturerNameTest, SelectedNames) {
    EXPECT_STREQ(manufacturerName(11), "NCE Corporation");
    EXPECT_STREQ(manufacturerName(127), "Atlas Model Railroad Products");
    EXPECT_STREQ(manufacturerName(129), "Digitrax");
    EXPECT_STREQ(manufacturerName(141), "Throttle-Up (SoundTraxx)");
    EXPECT_STREQ(manufacturerName(145), "Zimo Elecktronik");
    EXPECT_STREQ(manufacturerName(173), "Arnold - Rivarossi");
    // Makers the NMRA list brings beside them, at both ends of the IDs.
    EXPECT_STREQ(manufacturerName(1), "CML Systems");
    EXPECT_STREQ(manufacturerName(151), "Electronic Solutions Ulm GmbH");
    EXPECT_STREQ(manufacturerName(153), "Train Control Systems");
    EXPECT_STREQ(manufacturerName(113), "QSIndustries");
    EXPECT_STREQ(manufacturerName(238), "NMRA Reserved");
}

TEST(ManufacturerNameTest, OnlyTheLowByteCounts) {
    EXPECT_STREQ(manufacturerName(267), "NCE Corporation"); // 0x10B
    EXPECT_STREQ(manufacturerName(0x7FFFFF00 | 145), "Zimo Elecktronik");
    EXPECT_STREQ(manufacturerName(-256 + 129), "Digitrax"); // 0xFFFFFF81
    EXPECT_EQ(manufacturerName(256), Unknown);              // low byte 0
    EXPECT_EQ(manufacturerName(-1), Unknown);               // low byte 255
}

TEST(ManufacturerNameTest, UnknownIdsFallBack) {
    for (int id : {0, 3, 10, 16, 200, 237, 255})
        EXPECT_EQ(manufacturerName(id), Unknown) << "ID " << id;
}

TEST(ManufacturerNameTest, EveryByteYieldsANonNullName) {
    int known = 0;
    for (int id = 0; id <= 255; ++id) {
        const char* name = manufacturerName(id);
        ASSERT_NE(name, nullptr);
        known += name != ManufacturerTable[0].name;
    }
    EXPECT_EQ(known, ManufacturerCount - 1);
}

} // namespace
