#include "core/data/oobpatch.h"

#include "core/data/cp1252.h"
#include "core/data/hex.h"
#include "core/data/ooblayout.h"
#include "core/data/oobmerge.h"
#include "core/data/records.h"
#include "core/data/tarnio.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstring>
#include <set>
#include <stdexcept>
#include <tuple>

namespace tarnwick::core {

namespace {

constexpr std::string_view kFormat = "tarnwick-patch";
constexpr int kVersion = 1;
constexpr int kMaxDepth = 4;

using Json = nlohmann::json;

std::vector<std::uint8_t> Padded(std::span<const std::uint8_t> file)
{
    std::vector<std::uint8_t> image(file.begin(), file.end());
    if (image.size() < kOobFileSize)
        image.resize(kOobFileSize, 0);
    return image;
}

PatchValue Number(int n)
{
    PatchValue v;
    v.number = n;
    return v;
}

PatchValue Bytes(std::span<const std::uint8_t> image, std::size_t at, std::size_t width)
{
    PatchValue v;
    v.bytes.assign(reinterpret_cast<const char*>(image.data() + at), width);
    return v;
}

PatchValue PastByte(std::span<const std::uint8_t> file, std::size_t at)
{
    PatchValue v;
    v.absent = at >= file.size();
    v.number = v.absent ? 0 : file[at];
    return v;
}

// Where a text change sits: the comment or a record's name.
std::size_t TextWidth(const PatchChange& change)
{
    return change.table == DiffTable::Info ? kCommentLength : kNameLength;
}

std::size_t TextAt(const PatchChange& change)
{
    return change.table == DiffTable::Info ? 0 : change.layoutField->at(change.slot);
}

bool IsText(const PatchChange& change)
{
    return (change.table == DiffTable::Info && change.field == "Comment")
        || (change.layoutField != nullptr && change.layoutField->kind == FieldKind::Name);
}

// ---- Writing ----------------------------------------------------------------

Json ValueJson(const PatchValue& value, bool text)
{
    if (value.absent)
        return nullptr;
    if (!text)
        return value.number;
    const std::size_t end = ::strnlen(value.bytes.data(), value.bytes.size());
    const bool clean = std::all_of(value.bytes.begin() + static_cast<std::ptrdiff_t>(end), value.bytes.end(),
        [](char c) { return c == 0; });
    if (clean)
        return Cp1252ToUtf8(std::string_view(value.bytes.data(), end));
    // Bytes after the end of the text are kept as they are.
    std::string hex;
    for (char c : value.bytes)
        AppendHexByte(hex, static_cast<unsigned char>(c));
    return Json { { "hex", hex } };
}

// ---- Reading ----------------------------------------------------------------

struct Refusal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

int Whole(const Json& j, const std::string& what, long long low, long long high)
{
    const std::string range
        = what + " must be a whole number from " + std::to_string(low) + " to " + std::to_string(high);
    if (!j.is_number_integer())
        throw Refusal(range);
    if (j.is_number_unsigned()) {
        if (j.get<unsigned long long>() > static_cast<unsigned long long>(high))
            throw Refusal(range + ", not " + j.dump());
        return static_cast<int>(j.get<unsigned long long>());
    }
    const long long n = j.get<long long>();
    if (n < low || n > high)
        throw Refusal(range + ", not " + j.dump());
    return static_cast<int>(n);
}

PatchValue TextValue(const Json& j, const std::string& what, std::size_t width)
{
    PatchValue v;
    if (j.is_string()) {
        const std::optional<std::string> bytes = Utf8ToCp1252(j.get<std::string>());
        if (!bytes)
            throw Refusal(what + " holds a character that Windows-1252 cannot show");
        if (bytes->find('\0') != std::string::npos)
            throw Refusal(what + " holds a NUL character");
        if (bytes->size() > width)
            throw Refusal(what + " is " + std::to_string(bytes->size()) + " bytes long; the field holds "
                + std::to_string(width));
        v.bytes = *bytes;
        v.bytes.resize(width, '\0');
        return v;
    }
    if (j.is_object() && j.size() == 1 && j.contains("hex") && j["hex"].is_string()) {
        const std::string& hex = j["hex"].get_ref<const std::string&>();
        if (hex.size() != 2 * width)
            throw Refusal(what + " must be " + std::to_string(width) + " bytes as hex");
        for (std::size_t i = 0; i < width; ++i) {
            const int hi = HexDigit(hex[2 * i]);
            const int lo = HexDigit(hex[2 * i + 1]);
            if (hi < 0 || lo < 0)
                throw Refusal(what + " must be " + std::to_string(width) + " bytes as hex");
            v.bytes.push_back(static_cast<char>(hi << 4 | lo));
        }
        return v;
    }
    throw Refusal(what + " must be a text or {\"hex\": ...}");
}

const Json& Get(const Json& object, const char* key, const std::string& where)
{
    const auto it = object.find(key);
    if (it == object.end())
        throw Refusal(where + ": \"" + key + "\" is missing");
    return *it;
}

void OnlyKeys(const Json& object, std::initializer_list<const char*> keys, const std::string& where)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::string& key = it.key();
        if (std::none_of(keys.begin(), keys.end(), [&](const char* k) { return key == k; }))
            throw Refusal(where + ": \"" + key + "\" is not a known key");
    }
}

const OobTableLayout* LayoutNamed(std::string_view key)
{
    for (const OobTableLayout& layout : OobLayouts())
        if (layout.key == key)
            return &layout;
    return nullptr;
}

PatchChange ReadChange(const Json& j, const std::string& where)
{
    if (!j.is_object())
        throw Refusal(where + " must be an object");
    const Json& tableJson = Get(j, "table", where);
    if (!tableJson.is_string())
        throw Refusal(where + ": \"table\" must be a text");
    const std::string table = tableJson.get<std::string>();
    PatchChange change;
    auto fieldText = [&](bool required) {
        const auto it = j.find("field");
        if (it == j.end()) {
            if (required)
                throw Refusal(where + ": \"field\" is missing");
            return std::string();
        }
        if (!it->is_string())
            throw Refusal(where + ": \"field\" must be a text");
        return it->get<std::string>();
    };

    if (const OobTableLayout* layout = LayoutNamed(table)) {
        OnlyKeys(j, { "table", "slot", "name", "field", "base", "new" }, where);
        change.table = static_cast<DiffTable>(layout->table);
        change.slot = Whole(Get(j, "slot", where), where + ": slot", 1, layout->slots - 1);
        if (const auto name = j.find("name"); name != j.end()) {
            if (!name->is_string())
                throw Refusal(where + ": \"name\" must be a text");
            change.name = name->get<std::string>();
        }
        change.field = fieldText(true);
        for (const OobField& field : layout->fields)
            if (field.name == change.field)
                change.layoutField = &field;
        if (change.layoutField == nullptr)
            throw Refusal(where + ": \"" + change.field + "\" is not a field of " + table);
        const OobField& field = *change.layoutField;
        for (const char* key : { "base", "new" }) {
            const std::string what = where + ": " + key;
            PatchValue& value = std::string_view(key) == "base" ? change.base : change.now;
            switch (field.kind) {
            case FieldKind::Name:
                value = TextValue(Get(j, key, where), what, kNameLength);
                break;
            case FieldKind::Byte:
                value = Number(Whole(Get(j, key, where), what, 0, 255));
                break;
            case FieldKind::Signed:
                value = Number(Whole(Get(j, key, where), what, -128, 127));
                break;
            case FieldKind::Word:
                value = Number(Whole(Get(j, key, where), what, 0, 65535));
                break;
            }
        }
        return change;
    }
    if (table == "info") {
        OnlyKeys(j, { "table", "field", "base", "new" }, where);
        change.table = DiffTable::Info;
        change.field = fieldText(true);
        if (change.field == "Comment") {
            change.base = TextValue(Get(j, "base", where), where + ": base", kCommentLength);
            change.now = TextValue(Get(j, "new", where), where + ": new", kCommentLength);
        } else if (change.field == "Length") {
            const auto most = static_cast<long long>(kMaxOobFileBytes);
            change.base = Number(Whole(Get(j, "base", where), where + ": base", 0, most));
            change.now = Number(Whole(Get(j, "new", where), where + ": new", 0, most));
        } else {
            throw Refusal(where + ": info has only Comment and Length, not \"" + change.field + "\"");
        }
        return change;
    }
    if (table == "raw") {
        OnlyKeys(j, { "table", "offset", "field", "base", "new" }, where);
        change.table = DiffTable::Raw;
        change.field = fieldText(false);
        const auto offset = static_cast<std::size_t>(Whole(
            Get(j, "offset", where), where + ": offset", 0, static_cast<long long>(kMaxOobFileBytes) - 1));
        change.slot = static_cast<int>(offset);
        if (offset < kOobFileSize && (offset < kCommentLength || PlaceOf(offset).field != nullptr))
            throw Refusal(
                where + ": byte " + std::to_string(offset) + " belongs to a field; change the field");
        for (const char* key : { "base", "new" }) {
            const Json& value = Get(j, key, where);
            PatchValue& out = std::string_view(key) == "base" ? change.base : change.now;
            if (value.is_null() && offset >= kOobFileSize)
                out.absent = true;
            else
                out = Number(Whole(value, where + ": " + key, 0, 255));
        }
        return change;
    }
    throw Refusal(where + ": table must be weapons, units, formations, info or raw, not \"" + table + "\"");
}

OobPatch ReadPatch(const Json& root)
{
    if (!root.is_object())
        throw Refusal("the patch must be a JSON object");
    OnlyKeys(root, { "format", "version", "changes" }, "the patch");
    const Json& format = Get(root, "format", "the patch");
    if (!format.is_string() || format.get<std::string>() != kFormat)
        throw Refusal("format must be \"" + std::string(kFormat) + "\"");
    Whole(Get(root, "version", "the patch"), "version", kVersion, kVersion);
    const Json& changes = Get(root, "changes", "the patch");
    if (!changes.is_array())
        throw Refusal("changes must be a list");
    OobPatch patch;
    std::set<std::tuple<int, int, std::string>> seen;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const std::string where = "change " + std::to_string(i + 1);
        PatchChange change = ReadChange(changes[i], where);
        const std::string key = change.table == DiffTable::Raw ? std::string() : change.field;
        if (!seen.insert({ static_cast<int>(change.table), change.slot, key }).second)
            throw Refusal(
                where + ": changes the same " + (key.empty() ? "byte" : "field") + " as another change");
        patch.changes.push_back(std::move(change));
    }
    return patch;
}

// ---- Applying ---------------------------------------------------------------

PatchValue Current(
    const PatchChange& change, std::span<const std::uint8_t> file, std::span<const std::uint8_t> image)
{
    if (IsText(change))
        return Bytes(image, TextAt(change), TextWidth(change));
    switch (change.table) {
    case DiffTable::Info:
        return Number(static_cast<int>(file.size()));
    case DiffTable::Raw: {
        const auto at = static_cast<std::size_t>(change.slot);
        return at < kOobFileSize ? Number(image[at]) : PastByte(file, at);
    }
    case DiffTable::Weapons:
    case DiffTable::Units:
    case DiffTable::Formations:
        break;
    }
    return Number(ReadField(*change.layoutField, change.slot, image));
}

std::string Shown(const PatchValue& value, bool text)
{
    if (value.absent)
        return "(none)";
    if (!text)
        return std::to_string(value.number);
    return "\""
        + Cp1252ToUtf8(
            std::string_view(value.bytes.data(), ::strnlen(value.bytes.data(), value.bytes.size())))
        + "\"";
}

} // namespace

OobPatch MakePatch(
    std::span<const std::uint8_t> base, std::span<const std::uint8_t> modded, const NameTables& names)
{
    const MergeResult merged = MergeOobFiles(base, base, modded, names);
    const std::vector<std::uint8_t> from = Padded(base);
    const std::vector<std::uint8_t> to = Padded(modded);
    OobPatch patch;
    for (const MergeItem& item : merged.merged) {
        PatchChange change;
        change.table = item.table;
        change.slot = item.slot;
        change.field = item.field;
        change.name = !item.theirsName.empty() ? item.theirsName : item.baseName;
        change.layoutField = item.layoutField;
        if (IsText(change)) {
            change.base = Bytes(from, item.offset, item.size);
            change.now = Bytes(to, item.offset, item.size);
        } else if (item.table == DiffTable::Info) {
            change.base = Number(static_cast<int>(base.size()));
            change.now = Number(static_cast<int>(modded.size()));
        } else if (item.layoutField != nullptr) {
            change.base = Number(ReadField(*item.layoutField, item.slot, from));
            change.now = Number(ReadField(*item.layoutField, item.slot, to));
        } else if (item.offset < kOobFileSize) {
            change.base = Number(from[item.offset]);
            change.now = Number(to[item.offset]);
        } else {
            change.base = PastByte(base, item.offset);
            change.now = PastByte(modded, item.offset);
        }
        patch.changes.push_back(std::move(change));
    }
    return patch;
}

std::string PatchToJson(const OobPatch& patch)
{
    std::string out = "{\n  \"format\": \"" + std::string(kFormat)
        + "\",\n  \"version\": " + std::to_string(kVersion) + ",\n  \"changes\": [";
    for (std::size_t i = 0; i < patch.changes.size(); ++i) {
        const PatchChange& c = patch.changes[i];
        const bool text = IsText(c);
        out += i == 0 ? "\n    {" : ",\n    {";
        if (c.table == DiffTable::Raw) {
            out += "\"table\": \"raw\", \"offset\": " + std::to_string(c.slot);
        } else {
            out += "\"table\": " + Json(std::string(DiffTableName(c.table))).dump();
            if (c.table != DiffTable::Info)
                out += ", \"slot\": " + std::to_string(c.slot) + ", \"name\": " + Json(c.name).dump();
        }
        out += ", \"field\": " + Json(c.field).dump();
        out += ", \"base\": " + ValueJson(c.base, text).dump();
        out += ", \"new\": " + ValueJson(c.now, text).dump() + "}";
    }
    out += patch.changes.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

PatchReadResult PatchFromJson(std::string_view text)
{
    PatchReadResult result;
    if (text.size() > kMaxPatchBytes) {
        result.error = "the patch is larger than " + std::to_string(kMaxPatchBytes) + " bytes";
        return result;
    }
    try {
        // Keys are counted as they come: a key given twice in one object is refused, not overwritten.
        std::vector<std::set<std::string>> keys;
        const Json::parser_callback_t check = [&](int depth, Json::parse_event_t event, Json& parsed) {
            if (depth > kMaxDepth)
                throw Refusal("the patch is nested too deeply");
            if (event == Json::parse_event_t::object_start)
                keys.emplace_back();
            else if (event == Json::parse_event_t::object_end)
                keys.pop_back();
            else if (event == Json::parse_event_t::key
                && !keys.back().insert(parsed.get<std::string>()).second)
                throw Refusal("\"" + parsed.get<std::string>() + "\" appears twice in one object");
            return true;
        };
        result.patch = ReadPatch(Json::parse(text.begin(), text.end(), check));
        result.ok = true;
    } catch (const Refusal& refusal) {
        result.error = refusal.what();
    } catch (const Json::exception& e) {
        std::string what = e.what();
        const std::size_t bracket = what.find("] ");
        result.error = "not valid JSON: " + (bracket != std::string::npos ? what.substr(bracket + 2) : what);
    }
    return result;
}

PatchApplyResult ApplyPatch(
    std::span<const std::uint8_t> file, const OobPatch& patch, bool reverse, PatchPrefer prefer)
{
    PatchApplyResult result;
    const std::vector<std::uint8_t> image = Padded(file);
    std::vector<std::uint8_t> work = image;
    std::size_t length = file.size();
    for (std::size_t i = 0; i < patch.changes.size(); ++i) {
        const PatchChange& change = patch.changes[i];
        const PatchValue& from = reverse ? change.now : change.base;
        const PatchValue& to = reverse ? change.base : change.now;
        PatchItem item;
        item.change = i;
        item.found = Current(change, file, image);
        if (item.found == from) {
            item.outcome = PatchOutcome::Applied;
            ++result.applied;
        } else if (item.found == to) {
            item.outcome = PatchOutcome::AlreadyApplied;
            ++result.already;
        } else {
            item.outcome = PatchOutcome::Conflict;
            ++result.conflicts;
        }
        const bool write = item.outcome == PatchOutcome::Applied
            || (item.outcome == PatchOutcome::Conflict && prefer == PatchPrefer::Patch);
        result.items.push_back(std::move(item));
        if (!write)
            continue;
        if (IsText(change)) {
            std::memcpy(work.data() + TextAt(change), to.bytes.data(), TextWidth(change));
        } else if (change.table == DiffTable::Info) {
            length = static_cast<std::size_t>(to.number);
        } else if (change.table == DiffTable::Raw) {
            const auto at = static_cast<std::size_t>(change.slot);
            if (to.absent)
                continue; // the length decides
            if (work.size() <= at)
                work.resize(at + 1, 0);
            work[at] = static_cast<std::uint8_t>(to.number);
        } else {
            WriteField(*change.layoutField, change.slot, to.number, work);
        }
    }
    // A short result keeps every byte that is not zero.
    if (length < kOobFileSize
        && std::any_of(work.begin() + static_cast<std::ptrdiff_t>(length), work.begin() + kOobFileSize,
            [](std::uint8_t b) { return b != 0; }))
        length = kOobFileSize;
    work.resize(length, 0);
    result.bytes = std::move(work);
    return result;
}

std::string PatchConflictsText(const OobPatch& patch, const PatchApplyResult& result, bool reverse)
{
    std::string out;
    for (const PatchItem& item : result.items) {
        if (item.outcome != PatchOutcome::Conflict)
            continue;
        const PatchChange& c = patch.changes[item.change];
        const bool text = IsText(c);
        out += std::string(DiffTableNoun(c.table));
        if (c.table != DiffTable::Info)
            out += " " + std::to_string(c.slot);
        if (!c.name.empty())
            out += " " + c.name;
        out += ": " + (c.field.empty() ? std::string("byte") : c.field) + " is " + Shown(item.found, text)
            + "; the patch changes " + Shown(reverse ? c.now : c.base, text) + " -> "
            + Shown(reverse ? c.base : c.now, text) + "\n";
    }
    return out;
}

} // namespace tarnwick::core
