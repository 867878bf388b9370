#include "core/data/tarnio.h"

#include "core/data/ooblayout.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <span>
#include <system_error>

namespace tarnwick::core {

namespace fs = std::filesystem;

namespace {

// The file is laid out column by column (see ooblayout.h); the comment leads it.
constexpr std::size_t kCommentBase = 0;

std::string DecodeText(const std::uint8_t* p, std::size_t width)
{
    const void* nul = std::memchr(p, 0, width);
    const std::size_t length
        = nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - p) : width;
    return std::string(reinterpret_cast<const char*>(p), length);
}

void EncodeText(std::uint8_t* p, std::size_t width, const std::string& text)
{
    // A name never holds a NUL; should one get in, what follows it could not be
    // read back, so it is not written either.
    std::size_t length = std::min(text.size(), width);
    if (const void* nul = std::memchr(text.data(), 0, length))
        length = static_cast<std::size_t>(static_cast<const char*>(nul) - text.data());
    std::memcpy(p, text.data(), length);
    std::memset(p + length, 0, width - length);
}

bool NeedsTrim(const std::string& name)
{
    return !name.empty()
        && (static_cast<unsigned char>(name.front()) <= ' '
            || static_cast<unsigned char>(name.back()) <= ' ');
}

// Trims in place, without building a new string when there is nothing to trim.
void TrimInPlace(std::string& name, std::size_t maxLength = std::string::npos)
{
    if (NeedsTrim(name))
        name = TrimName(name);
    if (name.size() > maxLength)
        name.resize(maxLength);
}

// Slots go through the codec a block at a time: a block of records stays in
// the first-level cache while each of the table's columns streams past it.
constexpr std::size_t kSlotBlock = 64;

// The plain copy loops below decide nothing about the data; under the fuzzer
// their loop counters would only add a coverage callback per byte.
#if defined(__clang__)
#define TW_PLAIN_COPY __attribute__((no_sanitize("coverage")))
#else
#define TW_PLAIN_COPY
#endif

template <class Rec> unsigned char* RecordBytes(Rec& record)
{
    return reinterpret_cast<unsigned char*>(&record);
}

// A file word is low byte first; on a host that keeps words the same way it
// is copied like any other bytes.
constexpr bool kWordsAsBytes = std::endian::native == std::endian::little;

// The longest run of bytes copied together.
constexpr std::size_t kMaxRunBytes = 16;

// W..2W bytes (W a power of two, W <= 8) as two fixed copies of W bytes that
// overlap in the middle: fixed sizes compile to plain loads and stores.
template <std::size_t W>
TW_PLAIN_COPY void CopySlots(const unsigned char* from, std::size_t fromStride, unsigned char* to,
    std::size_t toStride, std::size_t bytes, std::size_t n)
{
    const std::size_t tail = bytes - W;
    for (; n > 0; --n, from += fromStride, to += toStride) {
        std::memcpy(to, from, W);
        std::memcpy(to + tail, from + tail, W);
    }
}

// n slots of 1..kMaxRunBytes bytes from one strided place to another.
TW_PLAIN_COPY void CopyBytes(const unsigned char* from, std::size_t fromStride, unsigned char* to,
    std::size_t toStride, std::size_t bytes, std::size_t n)
{
    if (bytes == 1) {
        for (; n > 0; --n, from += fromStride, to += toStride)
            *to = *from;
    } else if (bytes < 4) {
        CopySlots<2>(from, fromStride, to, toStride, bytes, n);
    } else if (bytes < 8) {
        CopySlots<4>(from, fromStride, to, toStride, bytes, n);
    } else {
        CopySlots<8>(from, fromStride, to, toStride, bytes, n);
    }
}

// n slots of a value from the file column at p (stride bytes apart) to the
// record members at out (size apart): a 16-bit word (low byte first in the
// file), or bytes that lie in the same order in the file and the record.
TW_PLAIN_COPY void CopyIn(bool word, std::size_t bytes, const std::uint8_t* p, std::size_t stride,
    unsigned char* out, std::size_t size, std::size_t n)
{
    if (word && !kWordsAsBytes) {
        for (; n > 0; --n, p += stride, out += size) {
            const auto value = static_cast<std::uint16_t>(p[0] | (p[1] << 8));
            std::memcpy(out, &value, sizeof value);
        }
        return;
    }
    CopyBytes(p, stride, out, size, bytes, n);
}

TW_PLAIN_COPY void CopyOut(bool word, std::size_t bytes, const unsigned char* in, std::size_t size,
    std::uint8_t* p, std::size_t stride, std::size_t n)
{
    if (word && !kWordsAsBytes) {
        for (; n > 0; --n, p += stride, in += size) {
            std::uint16_t value;
            std::memcpy(&value, in, sizeof value);
            p[0] = static_cast<std::uint8_t>(value & 0xFF);
            p[1] = static_cast<std::uint8_t>(value >> 8);
        }
        return;
    }
    CopyBytes(in, size, p, stride, bytes, n);
}

#undef TW_PLAIN_COPY

// The fields from fields[i] on that are copied as they are, one after the
// other both in the file and in the record (armour rows, weapon numbers, the
// members of a formation): the codec copies them together.
struct Run {
    const OobField* field;
    std::size_t count; // fields
    std::size_t bytes;
};

Run PlainRun(std::span<const OobField> fields, std::size_t i)
{
    auto plain = [](const OobField& f) {
        const bool bytes = f.kind == FieldKind::Byte || f.kind == FieldKind::Signed
            || (f.kind == FieldKind::Word && kWordsAsBytes);
        return bytes && f.clamp == SaveClamp::None;
    };
    Run run { &fields[i], 1, fields[i].size() };
    if (!plain(fields[i]))
        return run;
    for (; i + run.count < fields.size(); ++run.count) {
        const OobField& a = fields[i + run.count - 1];
        const OobField& b = fields[i + run.count];
        if (!plain(b) || b.kind != a.kind || b.base != a.base || b.offset != a.offset + a.size()
            || b.member != a.member + a.size() || run.bytes + b.size() > kMaxRunBytes)
            break;
        run.bytes += b.size();
    }
    return run;
}

// Slots first..last-1 of one field (and the bytes of its run) from the image into the records.
template <class Rec, std::size_t N>
void DecodeColumn(const OobField& field, std::size_t bytes, const std::uint8_t* image,
    std::array<Rec, N>& table, std::size_t first, std::size_t last)
{
    const std::size_t stride = field.width;
    const std::uint8_t* p = image + field.at(static_cast<int>(first));
    if (field.kind == FieldKind::Name) {
        for (Rec *rec = table.data() + first, *end = table.data() + last; rec != end; ++rec, p += stride) {
            const void* nul = std::memchr(p, 0, kNameLength);
            const std::size_t length
                = nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - p) : kNameLength;
            rec->name.assign(reinterpret_cast<const char*>(p), length);
        }
        return;
    }
    CopyIn(field.kind == FieldKind::Word, bytes, p, stride, RecordBytes(table.data()[first]) + field.member,
        sizeof(Rec), last - first);
}

template <class Rec, std::size_t N>
void EncodeColumn(const OobField& field, std::size_t bytes, std::uint8_t* image,
    const std::array<Rec, N>& table, std::size_t first, std::size_t last)
{
    const std::size_t stride = field.width;
    std::uint8_t* p = image + field.at(static_cast<int>(first));
    if (field.kind == FieldKind::Name) {
        for (const Rec *rec = table.data() + first, *end = table.data() + last; rec != end;
             ++rec, p += stride)
            EncodeText(p, kNameLength, rec->name);
        return;
    }
    const unsigned char* in = reinterpret_cast<const unsigned char*>(table.data() + first) + field.member;
    switch (field.clamp) {
    case SaveClamp::Year:
        for (std::size_t s = first; s < last; ++s, p += stride, in += sizeof(Rec))
            *p = ClampYear(*in);
        return;
    case SaveClamp::Month:
    case SaveClamp::MonthOrDecember: {
        const std::uint8_t zeroBecomes = field.clamp == SaveClamp::Month ? 1 : kMaxMonth;
        for (std::size_t s = first; s < last; ++s, p += stride, in += sizeof(Rec))
            *p = ClampMonth(*in, zeroBecomes);
        return;
    }
    case SaveClamp::None:
        break;
    }
    CopyOut(field.kind == FieldKind::Word, bytes, in, sizeof(Rec), p, stride, last - first);
}

std::vector<Run> RunsOf(const OobTableLayout& layout)
{
    std::vector<Run> runs;
    for (const std::span<const OobField> fields : { layout.fields, layout.carried })
        for (std::size_t i = 0; i < fields.size(); i += runs.back().count)
            runs.push_back(PlainRun(fields, i));
    return runs;
}

template <class Rec> const std::vector<Run>& RunsFor(OobTable table)
{
    static const std::vector<Run> runs = RunsOf(OobLayoutOf(table));
    return runs;
}

// Every field of the table's layout, slots 1.. (slot 0 belongs to the game).
template <class Rec, std::size_t N>
void DecodeTable(OobTable which, const std::uint8_t* image, std::array<Rec, N>& table)
{
    const std::vector<Run>& runs = RunsFor<Rec>(which);
    for (std::size_t first = 1; first < N; first += kSlotBlock) {
        const std::size_t last = std::min(N, first + kSlotBlock);
        for (const Run& run : runs)
            DecodeColumn(*run.field, run.bytes, image, table, first, last);
    }
}

template <class Rec, std::size_t N>
void EncodeTable(OobTable which, std::uint8_t* image, const std::array<Rec, N>& table)
{
    const std::vector<Run>& runs = RunsFor<Rec>(which);
    for (std::size_t first = 1; first < N; first += kSlotBlock) {
        const std::size_t last = std::min(N, first + kSlotBlock);
        for (const Run& run : runs)
            EncodeColumn(*run.field, run.bytes, image, table, first, last);
    }
}

void EnsureFullImage(TOobData& data)
{
    if (data.fileImage.size() != kOobFileSize)
        data.fileImage.resize(kOobFileSize, 0);
}

std::int32_t ClampLength(std::size_t n)
{
    return static_cast<std::int32_t>(std::min<std::size_t>(n, std::numeric_limits<std::int32_t>::max()));
}

LoadResult LoadFound(TOobData& data, std::uint16_t nation, const fs::path& path)
{
    std::vector<std::uint8_t> bytes;
    IoResult read = ReadWholeFile(path, bytes, kMaxOobFileBytes, "an order-of-battle file");
    if (!read.ok()) {
        LoadResult failed;
        failed.io = std::move(read);
        return failed;
    }
    LoadResult result = LoadOobBytes(data, nation, std::move(bytes));
    result.io.path = path;
    return result;
}

IoResult SaveTo(TOobData& data, std::uint16_t nation, const fs::path& target, const WriterFactory& factory)
{
    EncodeOobImage(data, nation);
    if (data.extraBytes.empty())
        return WriteFileAtomic(target, data.fileImage.data(), data.fileImage.size(), factory);
    const std::vector<std::uint8_t> bytes = EncodeOobFile(data, nation);
    return WriteFileAtomic(target, bytes.data(), bytes.size(), factory);
}

} // namespace

std::uint8_t ClampYear(std::uint8_t year)
{
    if (year == 0)
        return 1;
    return std::min(year, kMaxYear);
}

std::uint8_t ClampMonth(std::uint8_t month, std::uint8_t zeroBecomes)
{
    if (month == 0)
        return zeroBecomes;
    return std::min(month, kMaxMonth);
}

std::string OobFileName(int nation)
{
    std::string digits = std::to_string(nation);
    if (nation >= 0 && digits.size() < 3)
        digits.insert(0, 3 - digits.size(), '0');
    return "obat" + digits + ".obf";
}

fs::path FindOobFile(const fs::path& dir, int nation)
{
    return FindFileIgnoringCase(dir, OobFileName(nation));
}

bool OobFileExists(const fs::path& dir, int nation)
{
    const fs::path found = FindOobFile(dir, nation);
    std::error_code ec;
    return !found.empty() && fs::is_regular_file(found, ec);
}

void TidyUnitSlots(TOobData& data, std::uint16_t currentNation)
{
    for (std::size_t s = 1; s <= static_cast<std::size_t>(kUnitSlots); ++s) {
        TOobUnit& unit = data.units[s];
        TrimInPlace(unit.name, kNameLength);
        if (unit.name.empty() && unit.nation == currentNation && unit.unitClass == 0) {
            unit.nation = 0;
            unit.yearAvail = 0;
            unit.yearUnavail = 0;
            unit.monthAvail = 0;
            unit.monthUnavail = 0;
        }
    }
}

void TidyFormationSlots(TOobData& data, std::uint16_t currentNation)
{
    for (std::size_t s = 1; s <= static_cast<std::size_t>(kFormationSlots); ++s) {
        TOobFormation& formation = data.formations[s];
        TrimInPlace(formation.name);
        if (formation.name.empty() && formation.nation == currentNation) {
            formation.nation = 0;
            formation.yearAvail = 0;
            formation.monthAvail = 0;
            formation.yearUnavail = 0;
            formation.monthUnavail = 0;
        }
    }
}

void DecodeOobImage(TOobData& data, std::uint16_t currentNation)
{
    EnsureFullImage(data);
    const std::uint8_t* image = data.fileImage.data();
    data.comment = DecodeText(image + kCommentBase, kCommentLength);
    DecodeTable(OobTable::Weapons, image, data.weapons);
    DecodeTable(OobTable::Units, image, data.units);
    DecodeTable(OobTable::Formations, image, data.formations);
    TidyUnitSlots(data, currentNation);
    TidyFormationSlots(data, currentNation);
}

void EncodeOobImage(TOobData& data, std::uint16_t currentNation)
{
    EnsureFullImage(data);
    TidyUnitSlots(data, currentNation);
    TidyFormationSlots(data, currentNation);
    for (std::size_t s = 1; s <= static_cast<std::size_t>(kWeaponSlots); ++s)
        TrimInPlace(data.weapons[s].name);

    std::uint8_t* image = data.fileImage.data();
    EncodeText(image + kCommentBase, kCommentLength, data.comment);
    EncodeTable(OobTable::Weapons, image, data.weapons);
    EncodeTable(OobTable::Units, image, data.units);
    EncodeTable(OobTable::Formations, image, data.formations);
}

LoadResult LoadOobBytes(TOobData& data, std::uint16_t nation, std::vector<std::uint8_t> bytes)
{
    LoadResult result;
    result.io = IoResult::success({});
    result.bytesInFile = bytes.size();

    std::vector<std::uint8_t> extra;
    if (bytes.size() > kOobFileSize) {
        result.size = LoadResult::Size::Long;
        extra.assign(bytes.begin() + static_cast<std::ptrdiff_t>(kOobFileSize), bytes.end());
        bytes.resize(kOobFileSize);
    } else if (bytes.size() < kOobFileSize) {
        result.size = LoadResult::Size::Short;
        bytes.resize(kOobFileSize, 0); // a short file reads as zeros beyond its end
    }

    data.fileImage = std::move(bytes);
    data.extraBytes = std::move(extra);
    data.imageLength = ClampLength(result.bytesInFile);
    DecodeOobImage(data, nation);
    return result;
}

LoadResult LoadOobFile(TOobData& data, std::uint16_t nation, const fs::path& dir)
{
    const fs::path found = FindOobFile(dir, nation);
    if (found.empty()) {
        LoadResult missing;
        missing.io = IoResult::failure(
            IoResult::Kind::NotFound, dir / OobFileName(nation), std::generic_category().message(ENOENT));
        return missing;
    }
    return LoadFound(data, nation, found);
}

LoadResult LoadOobPath(TOobData& data, std::uint16_t nation, const fs::path& path)
{
    return LoadFound(data, nation, path);
}

std::vector<std::uint8_t> EncodeOobFile(TOobData& data, std::uint16_t nation)
{
    EncodeOobImage(data, nation);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(data.fileImage.size() + data.extraBytes.size());
    bytes.insert(bytes.end(), data.fileImage.begin(), data.fileImage.end());
    bytes.insert(bytes.end(), data.extraBytes.begin(), data.extraBytes.end());
    return bytes;
}

IoResult SaveOobFile(TOobData& data, std::uint16_t nation, const fs::path& dir, const WriterFactory& factory)
{
    // A file that is there under another case keeps its real name.
    fs::path target = FindOobFile(dir, nation);
    std::error_code ec;
    if (target.empty() || fs::is_directory(target, ec))
        target = dir / OobFileName(nation);
    return SaveTo(data, nation, target, factory);
}

IoResult SaveOobFileAs(TOobData& data, std::uint16_t nation, const std::string& fileName, const fs::path& dir,
    const WriterFactory& factory)
{
    // The name is written as given: the editor's dialog has already cut it to
    // twelve characters, and the command line keeps what the user typed.
    const std::string& name = fileName;
    // Only a plain file name: nothing that leaves dir or names it.
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos
        || name.find('\0') != std::string::npos)
        return IoResult::failure(IoResult::Kind::WriteError, dir / PathFromUtf8(name), "Invalid file name");
    return SaveTo(data, nation, dir / PathFromUtf8(name), factory);
}

} // namespace tarnwick::core
