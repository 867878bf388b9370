// The JSON form of a file: back to the same bytes for every file, and a clear
// refusal (line, column, field) of anything else.

#include "core/data/oobjson.h"
#include "core/data/tarnio.h"
#include "core/demo/demo.h"
#include "oobfixture.h"

#include <gtest/gtest.h>

namespace tarnwick::testing {
namespace {

TEST(OobJson, EveryFileComesBackByteForByte)
{
    std::vector<Image> files;
    TempDir dir;
    core::DemoFolder demo;
    std::vector<std::filesystem::path> written;
    ASSERT_TRUE(core::PlanDemoFolder(dir.path(), demo).ok());
    ASSERT_TRUE(core::WriteDemoFolder(demo, written).ok());
    for (int nation : core::DemoNations())
        files.push_back(ReadBytes(dir / core::OobFileName(nation)));
    // Random bytes (names with control characters, bytes after a NUL, any value),
    // also short and long files.
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
        const std::size_t size = seed % 10 == 1 ? seed * 500
            : seed % 10 == 2                    ? core::kOobFileSize + seed
                                                : core::kOobFileSize;
        files.push_back(RandomImage(seed, size));
    }
    files.push_back({});
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE("file " + std::to_string(i));
        const std::string json = core::OobToJson(files[i]);
        const core::OobJsonResult back = core::OobFromJson(json);
        ASSERT_TRUE(back.ok) << back.error.message();
        ASSERT_EQ(back.bytes, files[i]);
        EXPECT_EQ(core::OobToJson(back.bytes), json);
    }
}

TEST(OobJson, OneChangedFieldIsOneChangedLine)
{
    Image a(core::kOobFileSize, 0);
    Image b = a;
    PutWord(b, 47280, 2, 12, 0, 180);
    const std::string ja = core::OobToJson(a);
    const std::string jb = core::OobToJson(b);
    std::vector<std::string> la, lb;
    for (auto [text, lines] : { std::pair { &ja, &la }, std::pair { &jb, &lb } }) {
        std::size_t start = 0;
        for (std::size_t end; (end = text->find('\n', start)) != std::string::npos; start = end + 1)
            lines->push_back(text->substr(start, end - start));
    }
    ASSERT_EQ(la.size(), lb.size());
    std::vector<std::string> changed;
    for (std::size_t i = 0; i < la.size(); ++i)
        if (la[i] != lb[i])
            changed.push_back(lb[i]);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_NE(changed[0].find("\"Cost\": 180"), std::string::npos);
    EXPECT_LT(changed[0].size(), 200u);
}

// 1-based line and column of a byte offset.
std::string Where(const std::string& text, std::size_t at)
{
    int line = 1;
    int column = 1;
    for (std::size_t i = 0; i < at; ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": ";
}

TEST(OobJson, BrokenInputIsRefusedWithPlaceAndField)
{
    const char* const kUnit12 = "{\"slot\": 12, \"Name\": \"Scamp Mk2\"";
    const char* const kFormation4 = "{\"slot\": 4, \"Name\": \"Recce Troop\"";
    Image base(core::kOobFileSize, 0);
    PutText(base, 10080, 12, "Scamp Mk2");
    PutText(base, 82680, 4, "Recce Troop");
    const std::string good = core::OobToJson(base);

    struct Case {
        const char* record; // the edit is made after the first occurrence of this
        const char* from;
        const char* to;
        const char* pointAt; // where in `to` the message points; null: at `record`
        const char* message;
    };
    const Case cases[] = {
        { kUnit12, "\"Cost\": 0", "\"Cost\": 0, \"Kost\": 1", "\"Kost\"",
            "unit 12 Kost is not a known field" },
        { kUnit12, "\"Cost\": 0, ", "", nullptr, "unit 12 Cost is missing" },
        { kUnit12, "\"Cost\": 0", "\"Cost\": 70000", "70000",
            "unit 12 Cost must be a whole number from 0 to 65535, not 70000" },
        { kUnit12, "\"Cost\": 0", "\"Cost\": \"160\"", "\"160\"",
            "unit 12 Cost must be a whole number from 0 to 65535, not a text" },
        { kUnit12, "\"Size\": 0", "\"Size\": -1", "-1",
            "unit 12 Size must be a whole number from 0 to 255, not -1" },
        { kUnit12, "\"Crew\": 0", "\"Crew\": 1.5", "1.5",
            "unit 12 Crew must be a whole number from 0 to 255, not a number with a fraction" },
        { kUnit12, "\"Crew\": 0", "\"Crew\": 99999999999999999999999", "9",
            "unit 12 Crew must be a whole number from 0 to 255, not a number that large" },
        { kFormation4, "\"Exp Mod\": 0", "\"Exp Mod\": 128", "128",
            "formation 4 Exp Mod must be a whole number from -128 to 127, not 128" },
        { kUnit12, "\"Crew\": 0", "\"Crew\": 0, \"Crew\": 1", "\"Crew\": 1", "unit 12 Crew appears twice" },
        { kUnit12, "\"Scamp Mk2\"", "\"Scamp Mk2 Deluxe\"", "\"",
            "unit 12 Name is 16 bytes long; the field holds 15" },
        { kUnit12, "\"Scamp Mk2\"", "\"Scamp \\u03a9\"", "\"",
            "unit 12 Name holds a character that Windows-1252 cannot show" },
        { kUnit12, "\"Scamp Mk2\"", "\"Scamp\\u0000\"", "\"",
            "unit 12 Name holds a NUL character, which ends the text in the file" },
        { kUnit12, "\"Name\": \"Scamp Mk2\"", "\"Name\": \"Scamp Mk2\", \"Name tail\": \"00zz\"", "\"00zz\"",
            "unit 12 Name tail must be 5 bytes as 10 hex digits, not 4 characters" },
        { kUnit12, "{\"slot\": 12,", "{\"slot\": 13,", "13",
            "unit 12 slot must be 12: the records go in slot order" },
        { "{\"slot\": 3,", "\"unused\": \"", "\"unused\": \"zz", "\"zz",
            "weapon 3 unused must be 13 bytes as 26 hex digits, not 28 characters" },
        { "\"length\"", "106680", "1000", "1000",
            "length is 1000, but unit 12 Name (byte 10260) is not zero" },
        { "\"format\"", "\"tarnwick-oob\"", "\"other\"", "\"other\"", "format must be \"tarnwick-oob\"" },
        { "\"length\"", "106680", "106681", nullptr, "extra is missing: length is more than 106680" },
        { kUnit12, "\"Crew\": 0,", "\"Crew\": 0, ]", "]",
            "not valid JSON: syntax error while parsing object key - unexpected ']'; expected string "
            "literal" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        std::string text = good;
        const std::size_t record = text.find(c.record);
        ASSERT_NE(record, std::string::npos);
        const std::size_t at = text.find(c.from, record);
        ASSERT_NE(at, std::string::npos);
        text.replace(at, std::strlen(c.from), c.to);
        std::size_t pointed = record;
        if (c.pointAt != nullptr)
            pointed = at + std::string_view(c.to).find(c.pointAt);
        if (std::string_view(c.message).starts_with("extra"))
            pointed = 0;
        const core::OobJsonResult result = core::OobFromJson(text);
        ASSERT_FALSE(result.ok);
        EXPECT_TRUE(result.bytes.empty());
        EXPECT_EQ(result.error.message(), Where(text, pointed) + c.message);
    }

    // Text from the input is shown with its control bytes escaped and cut short;
    // nothing after a NUL goes unread.
    auto edited = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from, text.find(kUnit12)), from.size(), to);
        return text;
    };
    auto zeros = [](int n) {
        std::string text = "[0";
        for (int i = 1; i < n; ++i)
            text += ",0";
        return text + "]";
    };
    const struct {
        std::string text;
        std::string says;
    } shown[] = {
        { edited("\"Cost\": 0", "\"Cost\": 0, \"\\u001b]0;x\\u0007\\n\": 1"),
            "unit 12 \\x1b]0;x\\x07\\x0a is not a known field" },
        { edited("\"Cost\": 0", "\"Cost\": 0, \"caf\\u00e9 \\u20ac\\u009b[2J\": 1"),
            "unit 12 caf\xC3\xA9 \xE2\x82\xAC\\x9b[2J is not a known field" },
        { edited("\"Cost\": 0", "\"Cost\": 0, \"" + std::string(100000, 'k') + "\": 1"),
            "kkk... is not a known field" },
        { edited("\"Cost\": 0", "\"Cost\": " + std::string(5000, '1') + "e"), "111..." },
        { good + std::string(1, '\0') + "garbage", "not valid JSON: a NUL byte" },
        { good + std::string(1, '\0') + good, "not valid JSON: a NUL byte" },
        { zeros(250000), "more values than an order-of-battle file holds" },
    };
    for (const auto& c : shown) {
        const core::OobJsonResult result = core::OobFromJson(c.text);
        ASSERT_FALSE(result.ok);
        const std::string message = result.error.message();
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
        EXPECT_LT(message.size(), 300u) << message;
    }

    // The text of the largest file read is within the limit.
    const Image largest(core::kMaxOobFileBytes, 0xff);
    const core::OobJsonResult back = core::OobFromJson(core::OobToJson(largest));
    ASSERT_TRUE(back.ok) << back.error.message();
    EXPECT_EQ(back.bytes, largest);

    // A cut-off file, a list for an object, and deep nesting.
    for (const std::string& text :
        { good.substr(0, good.size() / 2), std::string("[1, 2]"), std::string(100000, '[') }) {
        const core::OobJsonResult result = core::OobFromJson(text);
        EXPECT_FALSE(result.ok);
        EXPECT_GT(result.error.line, 0);
    }
}

} // namespace
} // namespace tarnwick::testing
