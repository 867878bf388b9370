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
// The transpose's words must stay in registers: its helpers are inlined and
// its loops unrolled.
#if defined(__GNUC__)
#define TW_IN_REGISTERS __attribute__((always_inline))
#define TW_UNROLL _Pragma("GCC unroll 8")
#else
#define TW_IN_REGISTERS
#define TW_UNROLL
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

// Swaps the bytes of a and b that mask picks in a with those it picks in b
// shifted by shift: one step of the transpose below.
TW_PLAIN_COPY TW_IN_REGISTERS inline void SwapBlocks(
    std::uint64_t& a, std::uint64_t& b, unsigned shift, std::uint64_t mask)
{
    const std::uint64_t t = ((a >> shift) ^ b) & mask;
    b ^= t;
    a ^= t << shift;
}

// An 8 x 8 block of bytes held as eight words, low byte first: byte c of word
// r goes to byte r of word c. Three rounds swap ever smaller blocks across
// the diagonal: 4 x 4, then 2 x 2, then single bytes.
TW_PLAIN_COPY TW_IN_REGISTERS inline void Transpose8(std::uint64_t (&w)[8])
{
    constexpr std::uint64_t k4 = 0x00000000FFFFFFFFull;
    constexpr std::uint64_t k2 = 0x0000FFFF0000FFFFull;
    constexpr std::uint64_t k1 = 0x00FF00FF00FF00FFull;
    SwapBlocks(w[0], w[4], 32, k4);
    SwapBlocks(w[1], w[5], 32, k4);
    SwapBlocks(w[2], w[6], 32, k4);
    SwapBlocks(w[3], w[7], 32, k4);
    SwapBlocks(w[0], w[2], 16, k2);
    SwapBlocks(w[1], w[3], 16, k2);
    SwapBlocks(w[4], w[6], 16, k2);
    SwapBlocks(w[5], w[7], 16, k2);
    SwapBlocks(w[0], w[1], 8, k1);
    SwapBlocks(w[2], w[3], 8, k1);
    SwapBlocks(w[4], w[5], 8, k1);
    SwapBlocks(w[6], w[7], 8, k1);
}

// A word of W bytes (2, 4 or 8) from or to p, in the host's order: one
// fixed-size move, never a call to memcpy, even under the sanitizers.
template <std::size_t W> TW_IN_REGISTERS inline std::uint64_t LoadWord(const unsigned char* p)
{
    if constexpr (W == 2) {
        std::uint16_t v;
        std::memcpy(&v, p, 2);
        return v;
    } else if constexpr (W == 4) {
        std::uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    } else {
        std::uint64_t v;
        std::memcpy(&v, p, 8);
        return v;
    }
}

template <std::size_t W> TW_IN_REGISTERS inline void StoreWord(unsigned char* p, std::uint64_t v)
{
    if constexpr (W == 2) {
        const auto w = static_cast<std::uint16_t>(v);
        std::memcpy(p, &w, 2);
    } else if constexpr (W == 4) {
        const auto w = static_cast<std::uint32_t>(v);
        std::memcpy(p, &w, 4);
    } else {
        std::memcpy(p, &v, 8);
    }
}

// The low G bytes of a word (G from 2 to 8), as two moves of the widest word
// that fits, overlapping in the middle when G is no power of two.
template <std::size_t G> constexpr std::size_t kMoveWidth = G < 4 ? 2 : G < 8 ? 4 : 8;

template <std::size_t G> TW_IN_REGISTERS inline std::uint64_t LoadBytes(const unsigned char* p)
{
    constexpr std::size_t W = kMoveWidth<G>;
    if constexpr (G == W)
        return LoadWord<W>(p);
    else
        return LoadWord<W>(p) | LoadWord<W>(p + G - W) << (8 * (G - W));
}

template <std::size_t G> TW_IN_REGISTERS inline void StoreBytes(unsigned char* p, std::uint64_t v)
{
    constexpr std::size_t W = kMoveWidth<G>;
    StoreWord<W>(p, v);
    if constexpr (G != W)
        StoreWord<W>(p + G - W, v >> (8 * (G - W)));
}

// n slots of G one-byte columns that lie side by side in the file (column
// apart) into G members that lie side by side in the records (size apart):
// eight slots at a time as one 8 x 8 transpose instead of 8G single bytes.
template <std::size_t G>
TW_PLAIN_COPY void ColumnsIn(
    const std::uint8_t* p, std::size_t column, unsigned char* out, std::size_t size, std::size_t n)
{
    std::size_t s = 0;
    for (; s + 8 <= n; s += 8) {
        std::uint64_t w[8] = {};
        TW_UNROLL
        for (std::size_t g = 0; g < G; ++g)
            w[g] = LoadWord<8>(p + g * column + s);
        Transpose8(w);
        TW_UNROLL
        for (std::size_t j = 0; j < 8; ++j)
            StoreBytes<G>(out + (s + j) * size, w[j]);
    }
    for (; s < n; ++s)
        for (std::size_t g = 0; g < G; ++g)
            out[s * size + g] = p[g * column + s];
}

template <std::size_t G>
TW_PLAIN_COPY void ColumnsOut(
    const unsigned char* in, std::size_t size, std::uint8_t* p, std::size_t column, std::size_t n)
{
    std::size_t s = 0;
    for (; s + 8 <= n; s += 8) {
        std::uint64_t w[8] = {};
        TW_UNROLL
        for (std::size_t j = 0; j < 8; ++j)
            w[j] = LoadBytes<G>(in + (s + j) * size);
        Transpose8(w);
        TW_UNROLL
        for (std::size_t g = 0; g < G; ++g)
            StoreWord<8>(p + g * column + s, w[g]);
    }
    for (; s < n; ++s)
        for (std::size_t g = 0; g < G; ++g)
            p[g * column + s] = in[s * size + g];
}

// n slots of a column of W one-byte fields whose members lie apart in the
// record (a unit's rounds: HE and AP of each weapon side by side in the file,
// in two arrays in the record): one move per slot in the file.
template <std::size_t W>
TW_PLAIN_COPY void SpreadIn(const std::uint8_t* p, unsigned char* out, std::size_t size,
    const std::array<std::uint8_t, 8>& members, std::size_t n)
{
    for (; n > 0; --n, p += W, out += size) {
        const std::uint64_t v = LoadWord<W>(p);
        TW_UNROLL
        for (std::size_t k = 0; k < W; ++k)
            out[members[k]] = static_cast<std::uint8_t>(v >> (8 * k));
    }
}

template <std::size_t W>
TW_PLAIN_COPY void SpreadOut(const unsigned char* in, std::size_t size, std::uint8_t* p,
    const std::array<std::uint8_t, 8>& members, std::size_t n)
{
    for (; n > 0; --n, p += W, in += size) {
        std::uint64_t v = 0;
        TW_UNROLL
        for (std::size_t k = 0; k < W; ++k)
            v |= std::uint64_t { in[members[k]] } << (8 * k);
        StoreWord<W>(p, v);
    }
}

#undef TW_PLAIN_COPY
#undef TW_IN_REGISTERS
#undef TW_UNROLL

// The most one-byte columns moved together: the rows of the transpose.
constexpr std::size_t kMaxColumns = 8;

template <bool In, std::size_t G = kMaxColumns>
void MoveColumns(std::size_t columns, const std::uint8_t* from, std::size_t fromStride, std::uint8_t* to,
    std::size_t toStride, std::size_t n)
{
    if constexpr (G > 1) {
        if (columns < G)
            return MoveColumns<In, G - 1>(columns, from, fromStride, to, toStride, n);
        if constexpr (In)
            ColumnsIn<G>(from, fromStride, to, toStride, n);
        else
            ColumnsOut<G>(from, fromStride, to, toStride, n);
    }
}

// The fields from fields[i] on that the codec moves together: fields copied as
// they are that lie one after the other both in the file and in the record
// (armour rows, weapon numbers, the members of a formation), or one-byte
// columns side by side whose members are side by side too. A date is copied
// as it is on the way in, and brought into range on the way out.
struct Run {
    const OobField* field;
    std::size_t count; // fields
    std::size_t bytes; // bytes per slot of the run within one column
    std::size_t columns = 1; // one-byte columns moved together (then count == columns)
    // A whole column of one-byte fields (then count == bytes == its width),
    // and where each byte goes, from the first field's member on.
    bool spread = false;
    std::array<std::uint8_t, 8> members {};
};

bool Plain(const OobField& f, bool decoding)
{
    const bool bytes = f.kind == FieldKind::Byte || f.kind == FieldKind::Signed
        || (f.kind == FieldKind::Word && kWordsAsBytes);
    return bytes && (decoding || f.clamp == SaveClamp::None);
}

bool OneByteColumn(const OobField& f, bool decoding)
{
    return kWordsAsBytes && f.width == 1 && f.kind != FieldKind::Word && Plain(f, decoding);
}

// A column of 2, 4 or 8 one-byte fields from fields[i] on whose members are
// not side by side but lie within a few bytes of the first (else no spread).
Run SpreadRun(std::span<const OobField* const> fields, std::size_t i, bool decoding)
{
    const OobField& first = *fields[i];
    const std::size_t w = first.width;
    Run run { &first, w, w };
    if (!kWordsAsBytes || (w != 2 && w != 4 && w != 8) || first.offset != 0 || i + w > fields.size())
        return run;
    bool apart = false;
    for (std::size_t k = 0; k < w; ++k) {
        const OobField& f = *fields[i + k];
        if (f.kind == FieldKind::Word || !Plain(f, decoding) || f.clamp != SaveClamp::None
            || f.base != first.base || f.offset != k || f.member < first.member
            || f.member - first.member > 255)
            return run;
        run.members[k] = static_cast<std::uint8_t>(f.member - first.member);
        apart = apart || run.members[k] != k;
    }
    run.spread = apart;
    return run;
}

Run PlainRun(std::span<const OobField* const> fields, std::size_t i, std::size_t slots, bool decoding)
{
    const OobField& first = *fields[i];
    Run run { &first, 1, first.size() };
    if (OneByteColumn(first, decoding)) {
        for (; i + run.count < fields.size() && run.count < kMaxColumns; ++run.count) {
            const OobField& a = *fields[i + run.count - 1];
            const OobField& b = *fields[i + run.count];
            if (!OneByteColumn(b, decoding) || b.base != a.base + slots || b.member != a.member + 1)
                break;
        }
        run.columns = run.count;
        return run;
    }
    if (!Plain(first, decoding) || first.clamp != SaveClamp::None)
        return run;
    if (Run spread = SpreadRun(fields, i, decoding); spread.spread)
        return spread;
    for (; i + run.count < fields.size(); ++run.count) {
        const OobField& a = *fields[i + run.count - 1];
        const OobField& b = *fields[i + run.count];
        if (!Plain(b, false) || b.kind != a.kind || b.base != a.base || b.offset != a.offset + a.size()
            || b.member != a.member + a.size() || run.bytes + b.size() > kMaxRunBytes)
            break;
        run.bytes += b.size();
    }
    return run;
}

// The bytes of the name at p before its first NUL: two overlapping words
// looked at together instead of a call per name.
std::size_t NameLength(const std::uint8_t* p)
{
    static_assert(kNameLength > 8 && kNameLength <= 16);
    if (!kWordsAsBytes) {
        const void* nul = std::memchr(p, 0, kNameLength);
        return nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - p) : kNameLength;
    }
    // The high bit of each zero byte (and of no byte before the first zero).
    auto zeros = [](std::uint64_t v) { return (v - 0x0101010101010101ull) & ~v & 0x8080808080808080ull; };
    if (const std::uint64_t z = zeros(LoadWord<8>(p)))
        return static_cast<std::size_t>(std::countr_zero(z)) / 8;
    if (const std::uint64_t z = zeros(LoadWord<8>(p + kNameLength - 8)))
        return kNameLength - 8 + static_cast<std::size_t>(std::countr_zero(z)) / 8;
    return kNameLength;
}

// Slots first..last-1 of one field (and the bytes of its run) from the image into the records.
template <class Rec, std::size_t N>
void DecodeColumn(
    const Run& run, const std::uint8_t* image, std::array<Rec, N>& table, std::size_t first, std::size_t last)
{
    const OobField& field = *run.field;
    const std::size_t stride = field.width;
    const std::uint8_t* p = image + field.at(static_cast<int>(first));
    if (field.kind == FieldKind::Name) {
        for (Rec *rec = table.data() + first, *end = table.data() + last; rec != end; ++rec, p += stride)
            rec->name.assign(reinterpret_cast<const char*>(p), NameLength(p));
        return;
    }
    unsigned char* out = RecordBytes(table.data()[first]) + field.member;
    const std::size_t n = last - first;
    if (run.columns > 1)
        return MoveColumns<true>(run.columns, p, N, out, sizeof(Rec), n);
    if (run.spread) {
        if (run.bytes == 2)
            return SpreadIn<2>(p, out, sizeof(Rec), run.members, n);
        if (run.bytes == 4)
            return SpreadIn<4>(p, out, sizeof(Rec), run.members, n);
        return SpreadIn<8>(p, out, sizeof(Rec), run.members, n);
    }
    CopyIn(field.kind == FieldKind::Word, run.bytes, p, stride, out, sizeof(Rec), n);
}

template <class Rec, std::size_t N>
void EncodeColumn(
    const Run& run, std::uint8_t* image, const std::array<Rec, N>& table, std::size_t first, std::size_t last)
{
    const OobField& field = *run.field;
    const std::size_t stride = field.width;
    std::uint8_t* p = image + field.at(static_cast<int>(first));
    if (field.kind == FieldKind::Name) {
        for (const Rec *rec = table.data() + first, *end = table.data() + last; rec != end;
             ++rec, p += stride)
            EncodeText(p, kNameLength, rec->name);
        return;
    }
    const unsigned char* in = reinterpret_cast<const unsigned char*>(table.data() + first) + field.member;
    const std::size_t n = last - first;
    if (run.columns > 1)
        return MoveColumns<false>(run.columns, in, sizeof(Rec), p, N, n);
    if (run.spread) {
        if (run.bytes == 2)
            return SpreadOut<2>(in, sizeof(Rec), p, run.members, n);
        if (run.bytes == 4)
            return SpreadOut<4>(in, sizeof(Rec), p, run.members, n);
        return SpreadOut<8>(in, sizeof(Rec), p, run.members, n);
    }
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
    CopyOut(field.kind == FieldKind::Word, run.bytes, in, sizeof(Rec), p, stride, n);
}

// The runs of a table, its fields (shown and carried) in file order.
std::vector<Run> RunsOf(const OobTableLayout& layout, bool decoding)
{
    std::vector<const OobField*> fields;
    for (const std::span<const OobField> list : { layout.fields, layout.carried })
        for (const OobField& f : list)
            fields.push_back(&f);
    std::stable_sort(fields.begin(), fields.end(),
        [](const OobField* a, const OobField* b) { return a->at(0) < b->at(0); });
    std::vector<Run> runs;
    const auto slots = static_cast<std::size_t>(layout.slots);
    for (std::size_t i = 0; i < fields.size(); i += runs.back().count)
        runs.push_back(PlainRun(fields, i, slots, decoding));
    return runs;
}

template <class Rec> const std::vector<Run>& RunsFor(OobTable table, bool decoding)
{
    static const std::vector<Run> in = RunsOf(OobLayoutOf(table), true);
    static const std::vector<Run> out = RunsOf(OobLayoutOf(table), false);
    return decoding ? in : out;
}

// Every field of the table's layout, slots 1.. (slot 0 belongs to the game).
template <class Rec, std::size_t N>
void DecodeTable(OobTable which, const std::uint8_t* image, std::array<Rec, N>& table)
{
    const std::vector<Run>& runs = RunsFor<Rec>(which, true);
    for (std::size_t first = 1; first < N; first += kSlotBlock) {
        const std::size_t last = std::min(N, first + kSlotBlock);
        for (const Run& run : runs)
            DecodeColumn(run, image, table, first, last);
    }
}

template <class Rec, std::size_t N>
void EncodeTable(OobTable which, std::uint8_t* image, const std::array<Rec, N>& table)
{
    const std::vector<Run>& runs = RunsFor<Rec>(which, false);
    for (std::size_t first = 1; first < N; first += kSlotBlock) {
        const std::size_t last = std::min(N, first + kSlotBlock);
        for (const Run& run : runs)
            EncodeColumn(run, image, table, first, last);
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
    for (TOobUnit& unit : std::span(data.units).subspan(1)) {
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
    for (TOobFormation& formation : std::span(data.formations).subspan(1)) {
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
    for (TOobWeapon& weapon : std::span(data.weapons).subspan(1))
        TrimInPlace(weapon.name);

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
