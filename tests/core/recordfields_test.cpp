#include "core/data/recordfields.h"
#include "core/data/tarnio.h"

#include "oobfixture.h"

#include <gtest/gtest.h>

#include <memory>

using namespace tarnwick::core;

namespace {

// Every field of the table read on the decoded records gives the bytes the
// table places in the file, and writing it back changes that field only.
template <class Record, std::size_t N>
void ExpectTableMatchesRecords(const std::array<Record, N>& table, std::span<const std::uint8_t> image)
{
    const std::span<const OobField> fields = OobLayoutOf(TableOf<Record>()).fields;
    for (int slot : { 1, static_cast<int>(N) / 2, static_cast<int>(N) - 1 }) {
        const Record& record = table[static_cast<std::size_t>(slot)];
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (fields[i].kind == FieldKind::Name)
                continue;
            SCOPED_TRACE(std::string(fields[i].name) + " of slot " + std::to_string(slot));
            EXPECT_EQ(FieldValue(record, i), ReadField(fields[i], slot, image));
            Record changed = record;
            SetFieldValue(changed, i, FieldValue(record, i) ^ 0x55);
            for (std::size_t j = 0; j < fields.size(); ++j)
                EXPECT_EQ(FieldValue(changed, j) != FieldValue(record, j), i == j) << fields[j].name;
        }
    }
}

} // namespace

TEST(RecordFields, EveryFieldOfTheTableReachesItsRecordMember)
{
    // Dates in range and named slots, so that the decode keeps every byte as it is.
    const std::vector<std::uint8_t> image = tarnwick::testing::NormalImage(5, 3);
    auto data = std::make_unique<TOobData>();
    LoadOobBytes(*data, 3, image);
    ExpectTableMatchesRecords(data->weapons, image);
    ExpectTableMatchesRecords(data->units, image);
    ExpectTableMatchesRecords(data->formations, image);

    TOobUnit unit;
    SetFieldValue(unit, FieldIndex(OobTable::Units, "Cost"), 70000);
    SetFieldValue(unit, FieldIndex(OobTable::Units, "Class ID"), 300);
    EXPECT_EQ(unit.cost, 65535);
    EXPECT_EQ(unit.unitClass, 44);
    EXPECT_EQ(FieldIndex(OobTable::Units, "No such field"), kNoField);
}
