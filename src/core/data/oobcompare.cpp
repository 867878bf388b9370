#include "core/data/oobcompare.h"

#include "core/data/cp1252.h"
#include "core/data/ooblayout.h"
#include "core/data/tarnio.h"

#include <algorithm>
#include <cstring>

namespace tarnwick::core {

namespace {

struct Side {
    const PaddedOobFile& image;
    const NameTables& names;
};

std::string Utf8(std::string_view bytes)
{
    return Cp1252ToUtf8(bytes);
}

std::string RecordName(const PaddedOobFile& image, const OobTableLayout& layout, int slot)
{
    return Utf8(image.text(layout.fields.front().at(slot), kNameLength));
}

// What a code table calls value in the file of side.
std::string CodeName(FieldCode code, int value, const Side& side)
{
    switch (code) {
    case FieldCode::None:
        break;
    case FieldCode::Nation:
        return NationName(side.names, value);
    case FieldCode::UnitClass:
        return UnitClassName(side.names, static_cast<std::uint8_t>(value));
    case FieldCode::MoveClass:
        return MoveClassName(static_cast<std::uint8_t>(value));
    case FieldCode::WeaponClass:
        return WeaponClassName(static_cast<std::uint8_t>(value));
    case FieldCode::FormType:
        return FormTypeName(static_cast<std::uint8_t>(value));
    case FieldCode::BuyPage:
        return BuyPageName(static_cast<std::uint8_t>(value));
    case FieldCode::Weapon:
        if (IsWeaponSlot(value))
            return RecordName(side.image, OobLayoutOf(OobTable::Weapons), value);
        break;
    case FieldCode::Member:
        if (IsUnitSlot(value))
            return "[" + RecordName(side.image, OobLayoutOf(OobTable::Units), value) + "]";
        if (IsSubFormationMember(value))
            return RecordName(side.image, OobLayoutOf(OobTable::Formations), value - 1000);
        break;
    }
    return {};
}

std::string ByteText(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return at < bytes.size() ? std::to_string(bytes[at]) : std::string();
}

class Comparer {
public:
    Comparer(const PaddedOobFile& a, const PaddedOobFile& b, const NameTables& names)
        : a_ { a, names }
        , b_ { b, names }
    {
    }

    std::vector<OobDifference> run()
    {
        compareComment();
        for (const OobTableLayout& layout : OobLayouts())
            compareTable(layout);
        compareLength();
        comparePastImage();
        std::stable_sort(raw_.begin(), raw_.end(),
            [](const OobDifference& x, const OobDifference& y) { return x.slot < y.slot; });
        out_.insert(out_.end(), raw_.begin(), raw_.end());
        return std::move(out_);
    }

private:
    void compareComment()
    {
        const auto* pa = reinterpret_cast<const char*>(a_.image.image().data());
        const auto* pb = reinterpret_cast<const char*>(b_.image.image().data());
        const std::string_view ta(pa, ::strnlen(pa, kCommentLength));
        const std::string_view tb(pb, ::strnlen(pb, kCommentLength));
        if (ta != tb) {
            OobDifference d;
            d.table = DiffTable::Info;
            d.field = "Comment";
            d.a = Utf8(ta);
            d.b = Utf8(tb);
            d.text = true;
            out_.push_back(std::move(d));
        }
        tail(0, kCommentLength, std::max(ta.size(), tb.size()) + 1, "comment tail");
    }

    // Bytes of a text field after the end of both texts belong to no field.
    void tail(std::size_t at, std::size_t width, std::size_t from, const std::string& what)
    {
        for (std::size_t k = from; k < width; ++k)
            rawByte(at + k, what);
    }

    void rawByte(std::size_t at, const std::string& what)
    {
        const auto ia = a_.image.image();
        const auto ib = b_.image.image();
        if (ia[at] == ib[at])
            return;
        OobDifference d;
        d.table = DiffTable::Raw;
        d.slot = static_cast<int>(at);
        d.field = what;
        d.a = std::to_string(ia[at]);
        d.b = std::to_string(ib[at]);
        raw_.push_back(std::move(d));
    }

    void compareTable(const OobTableLayout& layout)
    {
        const std::string slot0 = std::string(layout.key) + " slot 0";
        for (const OobColumn& column : layout.columns)
            for (std::size_t k = 0; k < column.width; ++k)
                rawByte(column.base + k, slot0);

        for (int slot = 1; slot < layout.slots; ++slot) {
            const std::size_t recordStart = out_.size();
            for (const OobField& field : layout.fields)
                compareField(layout, field, slot);
            if (out_.size() != recordStart) {
                std::string name = RecordName(a_.image, layout, slot);
                if (name.empty())
                    name = RecordName(b_.image, layout, slot);
                for (std::size_t i = recordStart; i < out_.size(); ++i)
                    out_[i].name = name;
            }
            const std::string unused = std::string(layout.noun) + " " + std::to_string(slot) + " unused";
            for (const OobColumn& column : layout.unused)
                for (std::size_t k = 0; k < column.width; ++k)
                    rawByte(column.base + static_cast<std::size_t>(slot) * column.width + k, unused);
        }
    }

    void compareField(const OobTableLayout& layout, const OobField& field, int slot)
    {
        const DiffTable table = static_cast<DiffTable>(layout.table);
        if (field.kind == FieldKind::Name) {
            const std::string_view ta = a_.image.text(field.at(slot), kNameLength);
            const std::string_view tb = b_.image.text(field.at(slot), kNameLength);
            if (ta != tb) {
                OobDifference d;
                d.table = table;
                d.slot = slot;
                d.field = std::string(field.name);
                d.a = Utf8(ta);
                d.b = Utf8(tb);
                d.text = true;
                out_.push_back(std::move(d));
            }
            tail(field.at(slot), kNameLength, std::max(ta.size(), tb.size()) + 1,
                std::string(layout.noun) + " " + std::to_string(slot) + " name tail");
            return;
        }
        const int va = ReadField(field, slot, a_.image.image());
        const int vb = ReadField(field, slot, b_.image.image());
        if (va == vb)
            return;
        OobDifference d;
        d.table = table;
        d.slot = slot;
        d.field = std::string(field.name);
        d.a = std::to_string(va);
        d.b = std::to_string(vb);
        d.aName = CodeName(field.code, va, a_);
        d.bName = CodeName(field.code, vb, b_);
        out_.push_back(std::move(d));
    }

    void compareLength()
    {
        const std::size_t la = a_.image.file().size();
        const std::size_t lb = b_.image.file().size();
        if (la == lb)
            return;
        OobDifference d;
        d.table = DiffTable::Info;
        d.field = "Length";
        d.a = std::to_string(la);
        d.b = std::to_string(lb);
        out_.push_back(std::move(d));
    }

    void comparePastImage()
    {
        const auto fa = a_.image.file();
        const auto fb = b_.image.file();
        const std::size_t end = std::max(fa.size(), fb.size());
        for (std::size_t at = kOobFileSize; at < end; ++at) {
            if (at < fa.size() && at < fb.size() && fa[at] == fb[at])
                continue;
            OobDifference d;
            d.table = DiffTable::Raw;
            d.slot = static_cast<int>(at);
            d.field = "past the end";
            d.a = ByteText(fa, at);
            d.b = ByteText(fb, at);
            raw_.push_back(std::move(d));
        }
    }

    Side a_;
    Side b_;
    std::vector<OobDifference> out_;
    std::vector<OobDifference> raw_;
};

void AppendCsvCell(std::string& out, std::string_view cell)
{
    if (cell.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(cell);
        return;
    }
    out.push_back('"');
    for (char c : cell) {
        if (c == '"')
            out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

} // namespace

PaddedOobFile::PaddedOobFile(std::span<const std::uint8_t> file)
    : file_(file)
{
    if (file.size() < kOobFileSize) {
        padded_.assign(file.begin(), file.end());
        padded_.resize(kOobFileSize, 0);
        image_ = padded_;
    } else {
        image_ = file.first(kOobFileSize);
    }
}

std::string_view PaddedOobFile::text(std::size_t offset, std::size_t width) const
{
    const char* p = reinterpret_cast<const char*>(at(offset));
    return { p, ::strnlen(p, width) };
}

std::string_view DiffTableName(DiffTable table)
{
    switch (table) {
    case DiffTable::Weapons:
        return "weapons";
    case DiffTable::Units:
        return "units";
    case DiffTable::Formations:
        return "formations";
    case DiffTable::Info:
        return "info";
    case DiffTable::Raw:
        break;
    }
    return "raw";
}

std::string_view DiffTableNoun(DiffTable table)
{
    switch (table) {
    case DiffTable::Weapons:
        return "weapon";
    case DiffTable::Units:
        return "unit";
    case DiffTable::Formations:
        return "formation";
    case DiffTable::Info:
        return "file";
    case DiffTable::Raw:
        break;
    }
    return "byte";
}

std::string ShownValue(const std::string& value, const std::string& code, bool text)
{
    if (text)
        return "\"" + value + "\"";
    if (value.empty())
        return "(none)";
    return code.empty() ? value : value + " (" + code + ")";
}

std::string OobDifference::aShown() const
{
    return ShownValue(a, aName, text);
}

std::string OobDifference::bShown() const
{
    return ShownValue(b, bName, text);
}

std::vector<OobDifference> CompareOobFiles(
    std::span<const std::uint8_t> a, std::span<const std::uint8_t> b, const NameTables& names)
{
    const PaddedOobFile ia(a);
    const PaddedOobFile ib(b);
    return Comparer(ia, ib, names).run();
}

std::string CodeValueName(
    FieldCode code, int value, std::span<const std::uint8_t> file, const NameTables& names)
{
    const PaddedOobFile image(file);
    return CodeName(code, value, Side { image, names });
}

std::vector<std::uint8_t> OobFileBytes(const TOobData& data, std::uint16_t nation)
{
    TOobData copy = data;
    return EncodeOobFile(copy, nation);
}

std::string DifferencesText(const std::vector<OobDifference>& differences)
{
    std::string out;
    const OobDifference* previous = nullptr;
    for (const OobDifference& d : differences) {
        const bool sameRecord = previous != nullptr && previous->table == d.table && d.table != DiffTable::Raw
            && (d.table == DiffTable::Info || previous->slot == d.slot);
        if (sameRecord) {
            out += "; ";
        } else {
            if (previous != nullptr)
                out += '\n';
            out += DiffTableNoun(d.table);
            if (d.table != DiffTable::Info) {
                out += ' ';
                out += std::to_string(d.slot);
            }
            if (!d.name.empty()) {
                out += ' ';
                out += d.name;
            }
            out += ": ";
        }
        out += d.field;
        out += ' ';
        out += d.aShown();
        out += " -> ";
        out += d.bShown();
        previous = &d;
    }
    if (previous != nullptr)
        out += '\n';
    return out;
}

std::string DifferencesCsv(const std::vector<OobDifference>& differences)
{
    std::string out = "table,slot,name,field,a,b\r\n";
    for (const OobDifference& d : differences) {
        out += DiffTableName(d.table);
        out += ',';
        out += std::to_string(d.slot);
        out += ',';
        AppendCsvCell(out, d.name);
        out += ',';
        AppendCsvCell(out, d.field);
        out += ',';
        AppendCsvCell(out, d.text ? d.a : ShownValue(d.a, d.aName, false));
        out += ',';
        AppendCsvCell(out, d.text ? d.b : ShownValue(d.b, d.bName, false));
        out += "\r\n";
    }
    return out;
}

} // namespace tarnwick::core
