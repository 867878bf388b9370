#include "core/data/oobjson.h"

#include "core/data/cp1252.h"
#include "core/data/escape.h"
#include "core/data/hex.h"
#include "core/data/ooblayout.h"
#include "core/data/records.h"
#include "core/data/tarnio.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <unordered_map>

namespace tarnwick::core {

namespace {

constexpr std::string_view kFormat = "tarnwick-oob";
constexpr int kVersion = 1;
constexpr std::size_t kFieldsPerLine = 8;
constexpr int kMaxDepth = 8;
// A file's text holds about 55,000 values; their tree takes some 150 bytes
// each, so a text of nothing but tiny values is stopped well before its tree
// takes many times its size.
constexpr std::size_t kMaxValues = 200000;
constexpr std::string_view kTailSuffix = " tail";

// ---- Writing ----------------------------------------------------------------

void AppendQuoted(std::string& out, std::string_view utf8)
{
    out.push_back('"');
    for (char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (u < 0x20) {
            out.append("\\u00");
            AppendHexByte(out, u);
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
}

void AppendHex(std::string& out, std::span<const std::uint8_t> bytes)
{
    out.push_back('"');
    for (std::uint8_t b : bytes)
        AppendHexByte(out, b);
    out.push_back('"');
}

void AppendNumber(std::string& out, long long value)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

void AppendKey(std::string& out, std::string_view key)
{
    AppendQuoted(out, key);
    out.append(": ");
}

// A text field: the text up to its first NUL, and "<key> tail" with the bytes
// after that NUL when any of them is not zero.
void AppendText(std::string& out, std::string_view key, std::span<const std::uint8_t> bytes)
{
    const auto* p = reinterpret_cast<const char*>(bytes.data());
    const std::size_t length = ::strnlen(p, bytes.size());
    AppendKey(out, key);
    AppendQuoted(out, Cp1252ToUtf8(std::string_view(p, length)));
    if (length + 1 < bytes.size()) {
        const auto tail = bytes.subspan(length + 1);
        if (std::any_of(tail.begin(), tail.end(), [](std::uint8_t b) { return b != 0; })) {
            out.append(", ");
            AppendKey(out, std::string(key) + std::string(kTailSuffix));
            AppendHex(out, tail);
        }
    }
}

std::vector<std::uint8_t> Gather(
    std::span<const OobColumn> columns, int slot, std::span<const std::uint8_t> image)
{
    std::vector<std::uint8_t> bytes;
    for (const OobColumn& column : columns) {
        const auto at = image.begin() + static_cast<std::ptrdiff_t>(column.base + column.width * slot);
        bytes.insert(bytes.end(), at, at + static_cast<std::ptrdiff_t>(column.width));
    }
    return bytes;
}

void AppendTable(std::string& out, const OobTableLayout& layout, std::span<const std::uint8_t> image)
{
    out.append(",\n  ");
    AppendKey(out, layout.key);
    out.append("[\n    {\"slot\": 0, \"bytes\": ");
    AppendHex(out, Gather(layout.columns, 0, image));
    out.push_back('}');
    for (int slot = 1; slot < layout.slots; ++slot) {
        out.append(",\n    {\"slot\": ");
        AppendNumber(out, slot);
        std::size_t onLine = 1;
        for (const OobField& field : layout.fields) {
            if (onLine == kFieldsPerLine) {
                out.append(",\n     ");
                onLine = 0;
            } else {
                out.append(", ");
            }
            ++onLine;
            if (field.kind == FieldKind::Name)
                AppendText(out, field.name, image.subspan(field.at(slot), kNameLength));
            else {
                AppendKey(out, field.name);
                AppendNumber(out, ReadField(field, slot, image));
            }
        }
        out.append(",\n     \"unused\": ");
        AppendHex(out, Gather(layout.unused, slot, image));
        out.push_back('}');
    }
    out.append("\n  ]");
}

// ---- Reading: a tree with the place of every key and value ------------------

struct Member;

struct Node {
    enum class Type { Null, Bool, Integer, Float, String, Array, Object } type = Type::Null;
    std::size_t at = 0; // byte offset of the value's first character
    bool negative = false;
    std::uint64_t magnitude = 0; // Integer: the absolute value
    bool tooLarge = false; // Integer beyond 64 bits (read as a float)
    std::string text; // String
    std::vector<Node> items; // Array
    std::vector<Member> members; // Object
};

struct Member {
    std::string key;
    std::size_t keyAt = 0;
    Node value;
};

bool IsNumberChar(char c)
{
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
}

// Builds the tree from the parser's events. The parser has read `consumed`
// characters when it reports a token; the token's start is found from there.
class TreeBuilder {
public:
    TreeBuilder(std::string_view text, const std::size_t& consumed)
        : text_(text)
        , consumed_(consumed)
    {
    }

    Node root;
    std::optional<OobJsonError> syntax;
    std::size_t errorAt = 0;

    bool null() { return add(Node::Type::Null, LiteralStart(4)) != nullptr; }
    bool boolean(bool value) { return add(Node::Type::Bool, LiteralStart(value ? 4 : 5)) != nullptr; }
    bool number_integer(std::int64_t value)
    {
        Node* node = add(Node::Type::Integer, NumberStart());
        if (node == nullptr)
            return false;
        node->negative = value < 0;
        node->magnitude
            = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
        return true;
    }
    bool number_unsigned(std::uint64_t value)
    {
        Node* node = add(Node::Type::Integer, NumberStart());
        if (node != nullptr)
            node->magnitude = value;
        return node != nullptr;
    }
    bool number_float(double, const std::string& raw)
    {
        Node* node = add(Node::Type::Float, NumberStart());
        if (node == nullptr)
            return false;
        // An integer too large for 64 bits comes as a float; it is out of range, not of the wrong type.
        node->tooLarge = raw.find_first_of(".eE") == std::string::npos;
        node->negative = !raw.empty() && raw.front() == '-';
        return true;
    }
    bool string(std::string& value)
    {
        Node* node = add(Node::Type::String, StringStart());
        if (node != nullptr)
            node->text = std::move(value);
        return node != nullptr;
    }
    bool binary(nlohmann::json::binary_t&) { return false; }
    bool start_object(std::size_t)
    {
        if (!open(Node::Type::Object, consumed_ - 1))
            return false;
        return true;
    }
    bool start_array(std::size_t) { return open(Node::Type::Array, consumed_ - 1); }
    bool end_object()
    {
        stack_.pop_back();
        return true;
    }
    bool end_array()
    {
        stack_.pop_back();
        return true;
    }
    bool key(std::string& name)
    {
        Node* object = stack_.back();
        object->members.push_back(Member { std::move(name), StringStart(), {} });
        return true;
    }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& ex)
    {
        std::string what = ex.what();
        // "[json.exception.parse_error.101] parse error at line 1, column 5: syntax error ..."
        const std::size_t column = what.find("column ");
        if (column != std::string::npos) {
            const std::size_t colon = what.find(": ", column);
            if (colon != std::string::npos)
                what.erase(0, colon + 2);
        }
        OobJsonError error;
        error.problem = "not valid JSON: " + what;
        syntax = error;
        errorAt = position > 0 ? position - 1 : 0;
        return false;
    }

private:
    // The node for a new value: the root, an item of the open array, or the value of the last key.
    Node* add(Node::Type type, std::size_t at)
    {
        if (++values_ > kMaxValues) {
            OobJsonError error;
            error.problem = "more values than an order-of-battle file holds";
            syntax = error;
            errorAt = at;
            return nullptr;
        }
        Node* node = nullptr;
        if (stack_.empty()) {
            node = &root;
        } else if (Node* parent = stack_.back(); parent->type == Node::Type::Array) {
            parent->items.emplace_back();
            node = &parent->items.back();
        } else {
            node = &parent->members.back().value;
        }
        node->type = type;
        node->at = at;
        return node;
    }

    bool open(Node::Type type, std::size_t at)
    {
        if (static_cast<int>(stack_.size()) >= kMaxDepth) {
            OobJsonError error;
            error.problem = "nested too deeply for an order-of-battle file";
            syntax = error;
            errorAt = at;
            return false;
        }
        Node* node = add(type, at);
        if (node != nullptr)
            stack_.push_back(node);
        return node != nullptr;
    }

    std::size_t LiteralStart(std::size_t length) const
    {
        return consumed_ >= length ? consumed_ - length : 0;
    }

    std::size_t NumberStart() const
    {
        std::size_t i = consumed_ > 0 ? consumed_ - 1 : 0;
        if (i < text_.size() && !IsNumberChar(text_[i]) && i > 0)
            --i;
        while (i > 0 && IsNumberChar(text_[i - 1]))
            --i;
        return i;
    }

    // The opening quote of the string that ended just before consumed.
    std::size_t StringStart() const
    {
        if (consumed_ < 2)
            return 0;
        std::size_t i = consumed_ - 2;
        while (i > 0) {
            if (text_[i] == '"') {
                std::size_t slashes = 0;
                while (slashes < i && text_[i - 1 - slashes] == '\\')
                    ++slashes;
                if (slashes % 2 == 0)
                    return i;
            }
            --i;
        }
        return 0;
    }

    std::string_view text_;
    const std::size_t& consumed_;
    std::vector<Node*> stack_;
    std::size_t values_ = 0;
};

// Reads characters for the parser and counts them.
class CountingIterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    CountingIterator() = default;
    CountingIterator(const char* p, const char* begin, std::size_t* consumed)
        : p_(p)
        , begin_(begin)
        , consumed_(consumed)
    {
    }
    const char& operator*() const { return *p_; }
    CountingIterator& operator++()
    {
        ++p_;
        *consumed_ = static_cast<std::size_t>(p_ - begin_);
        return *this;
    }
    CountingIterator operator++(int)
    {
        CountingIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const CountingIterator& other) const { return p_ == other.p_; }
    bool operator!=(const CountingIterator& other) const { return p_ != other.p_; }

private:
    const char* p_ = nullptr;
    const char* begin_ = nullptr;
    std::size_t* consumed_ = nullptr;
};

// A field's name for a message, joined only when a message needs it.
struct Name {
    std::string_view context; // "unit 12", or empty at the top
    std::string_view key;
    std::string str() const
    {
        return context.empty() ? std::string(key) : std::string(context) + " " + std::string(key);
    }
};

// Thrown inside the reader with the first problem found.
struct Refusal {
    std::size_t at;
    std::string field;
    std::string problem;
};

std::string_view TypeName(const Node& node)
{
    switch (node.type) {
    case Node::Type::Null:
        return "null";
    case Node::Type::Bool:
        return "true or false";
    case Node::Type::Integer:
        return "a number";
    case Node::Type::Float:
        return "a number with a fraction";
    case Node::Type::String:
        return "a text";
    case Node::Type::Array:
        return "a list";
    case Node::Type::Object:
        break;
    }
    return "an object";
}

// The members of an object, each taken once: what is not taken is unknown.
class Object {
public:
    Object(const Node& node, std::string context)
        : node_(node)
        , context_(std::move(context))
        , taken_(node.members.size(), false)
    {
    }

    Name field(std::string_view key) const { return { context_, key }; }

    std::string name(std::string_view key) const
    {
        return context_.empty() ? std::string(key) : context_ + " " + std::string(key);
    }

    const Node* find(std::string_view key)
    {
        // Keys mostly come in the order they are asked for.
        for (std::size_t n = 0; n < node_.members.size(); ++n) {
            const std::size_t i = (next_ + n) % node_.members.size();
            if (node_.members[i].key == key) {
                taken_[i] = true;
                next_ = i + 1;
                return &node_.members[i].value;
            }
        }
        return nullptr;
    }

    const Node& get(std::string_view key)
    {
        if (const Node* value = find(key))
            return *value;
        throw Refusal { node_.at, name(key), "is missing" };
    }

    void refuseUnknown() const
    {
        for (std::size_t i = 0; i < taken_.size(); ++i) {
            if (taken_[i])
                continue;
            const Member& member = node_.members[i];
            for (std::size_t j = 0; j < taken_.size(); ++j)
                if (taken_[j] && node_.members[j].key == member.key)
                    throw Refusal { member.keyAt, name(member.key), "appears twice" };
            throw Refusal { member.keyAt, name(member.key), "is not a known field" };
        }
    }

private:
    const Node& node_;
    std::string context_;
    std::vector<bool> taken_;
    std::size_t next_ = 0;
};

std::int64_t Whole(const Node& node, Name name, std::int64_t low, std::int64_t high)
{
    const bool fits = node.type == Node::Type::Integer
        && (node.negative ? low < 0 && node.magnitude <= static_cast<std::uint64_t>(-low)
                          : node.magnitude <= static_cast<std::uint64_t>(high));
    if (fits)
        return node.negative ? -static_cast<std::int64_t>(node.magnitude)
                             : static_cast<std::int64_t>(node.magnitude);
    const std::string field = name.str();
    const std::string range
        = "must be a whole number from " + std::to_string(low) + " to " + std::to_string(high);
    if (node.type == Node::Type::Float && node.tooLarge)
        throw Refusal { node.at, field, range + ", not a number that large" };
    if (node.type != Node::Type::Integer)
        throw Refusal { node.at, field, range + ", not " + std::string(TypeName(node)) };
    const std::string shown = (node.negative ? "-" : "") + std::to_string(node.magnitude);
    throw Refusal { node.at, field, range + ", not " + shown };
}

const std::string& Text(const Node& node, Name field)
{
    if (node.type != Node::Type::String)
        throw Refusal { node.at, field.str(), "must be a text, not " + std::string(TypeName(node)) };
    return node.text;
}

void Hex(const Node& node, Name field, std::span<std::uint8_t> out)
{
    const std::string& text = Text(node, field);
    auto problem = [&] {
        return "must be " + std::to_string(out.size()) + " bytes as " + std::to_string(2 * out.size())
            + " hex digits";
    };
    if (text.size() != 2 * out.size())
        throw Refusal { node.at, field.str(),
            problem() + ", not " + std::to_string(text.size()) + " characters" };
    for (std::size_t i = 0; i < out.size(); ++i) {
        const int hi = HexDigit(text[2 * i]);
        const int lo = HexDigit(text[2 * i + 1]);
        if (hi < 0 || lo < 0)
            throw Refusal { node.at, field.str(), problem() + "; it holds other characters" };
        out[i] = static_cast<std::uint8_t>(hi << 4 | lo);
    }
}

void Scatter(std::span<const OobColumn> columns, int slot, std::span<const std::uint8_t> bytes,
    std::span<std::uint8_t> image)
{
    std::size_t i = 0;
    for (const OobColumn& column : columns) {
        std::memcpy(image.data() + column.base + column.width * static_cast<std::size_t>(slot),
            bytes.data() + i, column.width);
        i += column.width;
    }
}

std::size_t TotalWidth(std::span<const OobColumn> columns)
{
    std::size_t total = 0;
    for (const OobColumn& column : columns)
        total += column.width;
    return total;
}

// A text field and its optional tail into width bytes at out.
void ReadText(Object& object, std::string_view key, std::span<std::uint8_t> out)
{
    const Name field = object.field(key);
    const Node& node = object.get(key);
    const std::optional<std::string> bytes = Utf8ToCp1252(Text(node, field));
    if (!bytes)
        throw Refusal { node.at, field.str(), "holds a character that Windows-1252 cannot show" };
    if (bytes->find('\0') != std::string::npos)
        throw Refusal { node.at, field.str(), "holds a NUL character, which ends the text in the file" };
    if (bytes->size() > out.size())
        throw Refusal { node.at, field.str(),
            "is " + std::to_string(bytes->size()) + " bytes long; the field holds "
                + std::to_string(out.size()) };
    std::fill(out.begin(), out.end(), std::uint8_t { 0 });
    std::memcpy(out.data(), bytes->data(), bytes->size());
    const std::string tailKey = std::string(key) + std::string(kTailSuffix);
    if (const Node* tail = object.find(tailKey)) {
        if (bytes->size() + 1 >= out.size())
            throw Refusal { tail->at, object.field(tailKey).str(), "has no room: the text fills the field" };
        Hex(*tail, object.field(tailKey), out.subspan(bytes->size() + 1));
    }
}

class Reader {
public:
    explicit Reader(const Node& root)
        : root_(root)
    {
    }

    std::vector<std::uint8_t> run()
    {
        if (root_.type != Node::Type::Object)
            throw Refusal { root_.at, "", "must be an object, not " + std::string(TypeName(root_)) };
        Object top(root_, "");
        const Node& format = top.get("format");
        if (Text(format, { {}, "format" }) != kFormat)
            throw Refusal { format.at, "format", "must be \"" + std::string(kFormat) + "\"" };
        Whole(top.get("version"), { {}, "version" }, kVersion, kVersion);
        const Node& lengthNode = top.get("length");
        const auto length = static_cast<std::size_t>(
            Whole(lengthNode, { {}, "length" }, 0, static_cast<std::int64_t>(kMaxOobFileBytes)));

        std::vector<std::uint8_t> image(kOobFileSize, 0);
        ReadText(top, "comment", std::span(image).first(kCommentLength));
        for (const OobTableLayout& layout : OobLayouts())
            readTable(top.get(layout.key), layout, image);

        std::vector<std::uint8_t> extra;
        if (const Node* extraNode = top.find("extra")) {
            if (length <= kOobFileSize)
                throw Refusal { extraNode->at, "extra",
                    "is only for a file longer than " + std::to_string(kOobFileSize) + " bytes; length is "
                        + std::to_string(length) };
            extra.resize(length - kOobFileSize);
            Hex(*extraNode, { {}, "extra" }, extra);
        } else if (length > kOobFileSize) {
            throw Refusal { root_.at, "extra",
                "is missing: length is more than " + std::to_string(kOobFileSize) };
        }
        top.refuseUnknown();

        if (length < kOobFileSize) {
            // A short file: everything past its end must be zero, or it would be lost.
            const auto beyond = std::find_if(image.begin() + static_cast<std::ptrdiff_t>(length), image.end(),
                [](std::uint8_t b) { return b != 0; });
            if (beyond != image.end()) {
                const auto offset = static_cast<std::size_t>(beyond - image.begin());
                throw Refusal { lengthNode.at, "length",
                    "is " + std::to_string(length) + ", but " + Describe(offset) + " (byte "
                        + std::to_string(offset) + ") is not zero" };
            }
            image.resize(length);
        }
        image.insert(image.end(), extra.begin(), extra.end());
        return image;
    }

private:
    static std::string Describe(std::size_t offset)
    {
        const OobPlace place = PlaceOf(offset);
        if (place.layout == nullptr)
            return "the comment";
        if (place.slot == 0)
            return std::string(place.layout->key) + " slot 0";
        std::string what = std::string(place.layout->noun) + " " + std::to_string(place.slot);
        return what + " " + (place.field != nullptr ? std::string(place.field->name) : std::string("unused"));
    }

    void readTable(const Node& node, const OobTableLayout& layout, std::vector<std::uint8_t>& image)
    {
        const std::string key(layout.key);
        if (node.type != Node::Type::Array)
            throw Refusal { node.at, key, "must be a list, not " + std::string(TypeName(node)) };
        const auto slots = static_cast<std::size_t>(layout.slots);
        if (node.items.size() != slots) {
            const std::size_t at = node.items.size() > slots ? node.items[slots].at : node.at;
            throw Refusal { at, key,
                "must hold " + std::to_string(slots) + " records (slots 0 to " + std::to_string(slots - 1)
                    + "), not " + std::to_string(node.items.size()) };
        }
        std::vector<std::uint8_t> bytes;
        for (int slot = 0; slot < layout.slots; ++slot) {
            const Node& record = node.items[static_cast<std::size_t>(slot)];
            const std::string context = std::string(layout.noun) + " " + std::to_string(slot);
            if (record.type != Node::Type::Object)
                throw Refusal { record.at, context,
                    "must be an object, not " + std::string(TypeName(record)) };
            Object object(record, context);
            const Node& slotNode = object.get("slot");
            if (Whole(slotNode, object.field("slot"), 0, layout.slots - 1) != slot)
                throw Refusal { slotNode.at, object.field("slot").str(),
                    "must be " + std::to_string(slot) + ": the records go in slot order" };
            if (slot == 0) {
                bytes.resize(TotalWidth(layout.columns));
                Hex(object.get("bytes"), object.field("bytes"), bytes);
                Scatter(layout.columns, 0, bytes, image);
            } else {
                for (const OobField& field : layout.fields)
                    readField(object, field, slot, image);
                bytes.resize(TotalWidth(layout.unused));
                Hex(object.get("unused"), object.field("unused"), bytes);
                Scatter(layout.unused, slot, bytes, image);
            }
            object.refuseUnknown();
        }
    }

    static void readField(Object& object, const OobField& field, int slot, std::vector<std::uint8_t>& image)
    {
        if (field.kind == FieldKind::Name) {
            ReadText(object, field.name, std::span(image).subspan(field.at(slot), field.size()));
            return;
        }
        const FieldRange range = field.stored();
        WriteField(field, slot,
            static_cast<int>(Whole(object.get(field.name), object.field(field.name), range.low, range.high)),
            image);
    }

    const Node& root_;
};

// 1-based line and column (in characters) of a byte offset.
std::pair<int, int> LineAndColumn(std::string_view text, std::size_t offset)
{
    offset = std::min(offset, text.size());
    int line = 1;
    int column = 1;
    for (std::size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++column;
        }
    }
    return { line, column };
}

// Text from the input as a message may show it: control bytes escaped, and cut
// (at a character's start) after about `most` bytes.
std::string Shown(std::string_view text, std::size_t most)
{
    std::string shown = EscapeControls(text);
    if (shown.size() <= most)
        return shown;
    std::size_t cut = most;
    while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80)
        --cut;
    shown.resize(cut);
    return shown + "...";
}

// Keys and values in a message come from the input: a field name keeps about
// 80 bytes of an unknown key, a problem about 80 of the value it quotes.
OobJsonResult Failure(std::string_view text, std::size_t at, std::string_view field, std::string_view problem)
{
    OobJsonResult result;
    const auto [line, column] = LineAndColumn(text, at);
    result.error.line = line;
    result.error.column = column;
    result.error.field = Shown(field, 100);
    result.error.problem = Shown(problem, 160);
    return result;
}

} // namespace

std::string OobJsonError::message() const
{
    std::string out = "line " + std::to_string(line) + ", column " + std::to_string(column) + ": ";
    if (!field.empty())
        out += field + " ";
    return out + problem;
}

std::string OobToJson(std::span<const std::uint8_t> file)
{
    std::vector<std::uint8_t> image(
        file.begin(), file.begin() + static_cast<std::ptrdiff_t>(std::min(file.size(), kOobFileSize)));
    image.resize(kOobFileSize, 0);

    std::string out;
    out.reserve(600 * 1024);
    out.append("{\n  ");
    AppendKey(out, "format");
    AppendQuoted(out, kFormat);
    out.append(",\n  ");
    AppendKey(out, "version");
    AppendNumber(out, kVersion);
    out.append(",\n  ");
    AppendKey(out, "length");
    AppendNumber(out, static_cast<long long>(file.size()));
    out.append(",\n  ");
    AppendText(out, "comment", std::span(image).first(kCommentLength));
    for (const OobTableLayout& layout : OobLayouts())
        AppendTable(out, layout, image);
    if (file.size() > kOobFileSize) {
        out.append(",\n  ");
        AppendKey(out, "extra");
        AppendHex(out, file.subspan(kOobFileSize));
    }
    out.append("\n}\n");
    return out;
}

OobJsonResult OobFromJson(std::string_view text)
{
    if (text.size() > kMaxOobJsonBytes)
        return Failure(text, 0, "", "the file is larger than " + std::to_string(kMaxOobJsonBytes) + " bytes");
    // The parser takes a NUL for the end of its input; whatever followed would be dropped unread.
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos)
        return Failure(text, nul, "", "not valid JSON: a NUL byte");
    std::size_t consumed = 0;
    TreeBuilder builder(text, consumed);
    const CountingIterator first(text.data(), text.data(), &consumed);
    const CountingIterator last(text.data() + text.size(), text.data(), &consumed);
    const bool parsed = nlohmann::json::sax_parse(first, last, &builder);
    if (!parsed || builder.syntax) {
        if (builder.syntax)
            return Failure(text, builder.errorAt, "", builder.syntax->problem);
        return Failure(text, consumed, "", "not valid JSON");
    }
    if (consumed != text.size())
        return Failure(text, consumed, "", "not valid JSON: the text goes on after the document");
    try {
        OobJsonResult result;
        result.bytes = Reader(builder.root).run();
        result.ok = true;
        return result;
    } catch (const Refusal& refusal) {
        return Failure(text, refusal.at, refusal.field, refusal.problem);
    }
}

} // namespace tarnwick::core
