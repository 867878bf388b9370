#include "core/data/oobmerge.h"

#include "core/data/cp1252.h"
#include "core/data/ooblayout.h"
#include "core/data/records.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace tarnwick::core {

namespace {

constexpr int kAbsent = -1;

// A byte past the image, or kAbsent past the file's end.
int PastByte(const PaddedOobFile& side, std::size_t offset)
{
    return offset < side.file().size() ? side.file()[offset] : kAbsent;
}

bool Same(const PaddedOobFile& a, const PaddedOobFile& b, std::size_t offset, std::size_t size)
{
    return std::memcmp(a.at(offset), b.at(offset), size) == 0;
}

std::string PastText(int value)
{
    return value == kAbsent ? std::string() : std::to_string(value);
}

class Merger {
public:
    Merger(const PaddedOobFile& base, const PaddedOobFile& ours, const PaddedOobFile& theirs,
        const NameTables& names, const MergeOptions& options, std::span<const MergeSide> picks)
        : b_(base)
        , o_(ours)
        , t_(theirs)
        , names_(names)
        , options_(options)
        , picks_(picks)
        , out_(ours.image().begin(), ours.image().end())
    {
    }

    MergeResult run()
    {
        Unit comment;
        comment.table = DiffTable::Info;
        comment.field = "Comment";
        comment.text = true;
        merge(comment, 0, kCommentLength);
        for (const OobTableLayout& layout : OobLayouts())
            mergeTable(layout);
        mergeLengthAndTail();
        return std::move(result_);
    }

private:
    // What an item is, before its values are read.
    struct Unit {
        DiffTable table = DiffTable::Info;
        int slot = 0;
        std::string field;
        const OobField* layoutField = nullptr;
        bool text = false;
        const std::string* names = nullptr; // base, ours, theirs record names
    };

    MergeSide nextPick()
    {
        const std::size_t index = result_.conflicts.size();
        return index < picks_.size() && picks_[index] == MergeSide::Theirs ? MergeSide::Theirs
                                                                           : MergeSide::Ours;
    }

    MergeValue valueOf(
        const Unit& unit, const PaddedOobFile& side, std::size_t offset, std::size_t size) const
    {
        if (unit.text)
            return { Cp1252ToUtf8(side.text(offset, size)), {} };
        if (unit.layoutField == nullptr)
            return { std::to_string(*side.at(offset)), {} };
        const int value = ReadField(*unit.layoutField, unit.slot, side.image());
        return { std::to_string(value), CodeValueName(unit.layoutField->code, value, side.image(), names_) };
    }

    MergeItem item(const Unit& unit, std::size_t offset, std::size_t size) const
    {
        MergeItem it;
        it.table = unit.table;
        it.slot = unit.table == DiffTable::Raw ? static_cast<int>(offset) : unit.slot;
        it.field = unit.field;
        if (unit.names != nullptr) {
            it.baseName = unit.names[0];
            it.oursName = unit.names[1];
            it.theirsName = unit.names[2];
        }
        it.text = unit.text;
        it.offset = offset;
        it.size = size;
        it.layoutField = unit.layoutField;
        if (!unit.field.empty()) {
            it.base = valueOf(unit, b_, offset, size);
            it.ours = valueOf(unit, o_, offset, size);
            it.theirs = valueOf(unit, t_, offset, size);
        } else {
            it.base = { it.baseName, {} };
            it.ours = { it.oursName, {} };
            it.theirs = { it.theirsName, {} };
            it.text = true;
        }
        return it;
    }

    void take(const PaddedOobFile& side, std::size_t offset, std::size_t size)
    {
        std::memcpy(out_.data() + offset, side.at(offset), size);
    }

    // One unit of bytes [offset, offset + size) of the image.
    void merge(const Unit& unit, std::size_t offset, std::size_t size)
    {
        const bool oursChanged = !Same(b_, o_, offset, size);
        const bool theirsChanged = !Same(b_, t_, offset, size);
        if (!oursChanged && !theirsChanged)
            return;
        MergeItem it = item(unit, offset, size);
        if (oursChanged && theirsChanged && !Same(o_, t_, offset, size)) {
            if (nextPick() == MergeSide::Theirs)
                take(t_, offset, size);
            result_.conflicts.push_back(std::move(it));
            return;
        }
        it.taken = !theirsChanged ? MergeSide::Ours : !oursChanged ? MergeSide::Theirs : MergeSide::Both;
        if (it.taken == MergeSide::Theirs)
            take(t_, offset, size);
        result_.merged.push_back(std::move(it));
    }

    static bool SlotDiffers(
        const OobTableLayout& layout, int slot, const PaddedOobFile& a, const PaddedOobFile& b)
    {
        for (const OobColumn& column : layout.columns)
            if (!Same(a, b, column.base + column.width * static_cast<std::size_t>(slot), column.width))
                return true;
        return false;
    }

    // Two different records in one slot: names changed differently, an empty slot
    // filled twice, or a record erased on one side and changed on the other.
    bool RecordClash(const std::string_view names[3]) const
    {
        if (options_.granularity == MergeGranularity::Record)
            return true;
        if (names[0] != names[1] && names[0] != names[2] && names[1] != names[2])
            return true;
        const bool baseBlank = IsBlankName(names[0]);
        const bool oursBlank = IsBlankName(names[1]);
        const bool theirsBlank = IsBlankName(names[2]);
        if (baseBlank)
            return !oursBlank && !theirsBlank;
        return oursBlank != theirsBlank;
    }

    void mergeTable(const OobTableLayout& layout)
    {
        const std::string slot0 = std::string(layout.key) + " slot 0";
        Unit raw;
        raw.table = DiffTable::Raw;
        raw.field = slot0;
        for (const OobColumn& column : layout.columns) {
            if (Same(b_, o_, column.base, column.width) && Same(b_, t_, column.base, column.width))
                continue;
            for (std::size_t k = 0; k < column.width; ++k)
                merge(raw, column.base + k, 1);
        }

        // Only slots that a column shows changed are looked at.
        std::vector<bool> touched(static_cast<std::size_t>(layout.slots), false);
        for (const OobColumn& column : layout.columns) {
            const std::size_t first = column.base + column.width;
            const std::size_t length = column.width * static_cast<std::size_t>(layout.slots - 1);
            if (Same(b_, o_, first, length) && Same(b_, t_, first, length))
                continue;
            for (int slot = 1; slot < layout.slots; ++slot) {
                const std::size_t at = column.base + column.width * static_cast<std::size_t>(slot);
                if (!Same(b_, o_, at, column.width) || !Same(b_, t_, at, column.width))
                    touched[static_cast<std::size_t>(slot)] = true;
            }
        }
        for (int slot = 1; slot < layout.slots; ++slot)
            if (touched[static_cast<std::size_t>(slot)])
                mergeSlot(layout, slot);
    }

    void mergeSlot(const OobTableLayout& layout, int slot)
    {
        const OobField& nameField = layout.fields.front();
        const std::size_t nameAt = nameField.at(slot);
        const std::string_view names[3]
            = { b_.text(nameAt, kNameLength), o_.text(nameAt, kNameLength), t_.text(nameAt, kNameLength) };
        const std::string utf8[3]
            = { Cp1252ToUtf8(names[0]), Cp1252ToUtf8(names[1]), Cp1252ToUtf8(names[2]) };
        const auto table = static_cast<DiffTable>(layout.table);

        const bool bothChanged = SlotDiffers(layout, slot, b_, o_) && SlotDiffers(layout, slot, b_, t_);
        if (bothChanged && SlotDiffers(layout, slot, o_, t_) && RecordClash(names)) {
            Unit whole;
            whole.table = table;
            whole.slot = slot;
            whole.names = utf8;
            if (nextPick() == MergeSide::Theirs)
                for (const OobColumn& column : layout.columns)
                    take(t_, column.base + column.width * static_cast<std::size_t>(slot), column.width);
            result_.conflicts.push_back(item(whole, nameAt, 0));
            return;
        }

        Unit unit;
        unit.table = table;
        unit.slot = slot;
        unit.names = utf8;
        for (const OobField& field : layout.fields) {
            unit.field = std::string(field.name);
            unit.layoutField = &field;
            unit.text = field.kind == FieldKind::Name;
            merge(unit, field.at(slot), field.size());
        }
        Unit raw;
        raw.table = DiffTable::Raw;
        raw.slot = slot;
        raw.names = utf8;
        raw.field = std::string(layout.noun) + " " + std::to_string(slot) + " unused";
        for (const OobColumn& column : layout.unused)
            for (std::size_t k = 0; k < column.width; ++k)
                merge(raw, column.base + column.width * static_cast<std::size_t>(slot) + k, 1);
    }

    // Three values of one unit merged: the result, and whether it was a conflict.
    template <typename T> T mergeValues(const T& base, const T& ours, const T& theirs, MergeItem it)
    {
        if (ours == base && theirs == base)
            return base;
        if (ours != base && theirs != base && ours != theirs) {
            const T picked = nextPick() == MergeSide::Theirs ? theirs : ours;
            result_.conflicts.push_back(std::move(it));
            return picked;
        }
        it.taken = theirs == base ? MergeSide::Ours : ours == base ? MergeSide::Theirs : MergeSide::Both;
        result_.merged.push_back(std::move(it));
        return theirs == base ? ours : theirs;
    }

    void mergeLengthAndTail()
    {
        const std::size_t lengths[3] = { b_.file().size(), o_.file().size(), t_.file().size() };
        MergeItem length;
        length.table = DiffTable::Info;
        length.field = "Length";
        length.base.value = std::to_string(lengths[0]);
        length.ours.value = std::to_string(lengths[1]);
        length.theirs.value = std::to_string(lengths[2]);
        std::size_t merged = mergeValues(lengths[0], lengths[1], lengths[2], std::move(length));

        const std::size_t end = std::max({ lengths[0], lengths[1], lengths[2] });
        std::vector<std::uint8_t> tail;
        for (std::size_t at = kOobFileSize; at < end; ++at) {
            const int values[3] = { PastByte(b_, at), PastByte(o_, at), PastByte(t_, at) };
            MergeItem it;
            it.table = DiffTable::Raw;
            it.slot = static_cast<int>(at);
            it.field = "past the end";
            it.offset = at;
            it.size = 1;
            it.base.value = PastText(values[0]);
            it.ours.value = PastText(values[1]);
            it.theirs.value = PastText(values[2]);
            int value = mergeValues(values[0], values[1], values[2], std::move(it));
            if (value == kAbsent)
                value = values[1] != kAbsent ? values[1] : values[2] != kAbsent ? values[2] : 0;
            tail.push_back(static_cast<std::uint8_t>(value));
        }

        // A short result keeps every byte that is not zero: nothing either side wrote is cut off.
        if (merged < kOobFileSize
            && std::any_of(out_.begin() + static_cast<std::ptrdiff_t>(merged), out_.end(),
                [](std::uint8_t b) { return b != 0; }))
            merged = kOobFileSize;
        out_.insert(out_.end(), tail.begin(), tail.end());
        out_.resize(merged, 0);
        result_.bytes = std::move(out_);
    }

    const PaddedOobFile& b_;
    const PaddedOobFile& o_;
    const PaddedOobFile& t_;
    const NameTables& names_;
    const MergeOptions& options_;
    std::span<const MergeSide> picks_;
    std::vector<std::uint8_t> out_;
    MergeResult result_;
};

std::string Shown(const MergeValue& value, bool text)
{
    return ShownValue(value.value, value.code, text);
}

} // namespace

const char* MergeSideName(MergeSide side)
{
    switch (side) {
    case MergeSide::Ours:
        return "ours";
    case MergeSide::Theirs:
        return "theirs";
    case MergeSide::Both:
        break;
    }
    return "both";
}

MergeResult MergeOobFiles(std::span<const std::uint8_t> base, std::span<const std::uint8_t> ours,
    std::span<const std::uint8_t> theirs, const NameTables& names, const MergeOptions& options,
    std::span<const MergeSide> picks)
{
    const PaddedOobFile b(base);
    const PaddedOobFile o(ours);
    const PaddedOobFile t(theirs);
    return Merger(b, o, t, names, options, picks).run();
}

std::string MergeItemPlace(const MergeItem& item)
{
    std::string out(DiffTableNoun(item.table));
    if (item.table != DiffTable::Info)
        out += " " + std::to_string(item.slot);
    if (item.table == DiffTable::Info || item.table == DiffTable::Raw)
        return out;
    std::vector<std::string> shown;
    for (const std::string* name : { &item.baseName, &item.oursName, &item.theirsName })
        if (!name->empty() && std::find(shown.begin(), shown.end(), *name) == shown.end())
            shown.push_back(*name);
    for (std::size_t i = 0; i < shown.size(); ++i)
        out += (i == 0 ? " " : " / ") + shown[i];
    return out;
}

std::string MergeItemText(const MergeItem& item)
{
    const std::string what = item.record() ? std::string("record") : item.field;
    return what + " " + Shown(item.base, item.text) + " -> ours " + Shown(item.ours, item.text) + ", theirs "
        + Shown(item.theirs, item.text);
}

} // namespace tarnwick::core
