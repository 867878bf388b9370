#pragma once

// Which icon frames show a unit on the map: the icon frame table (hull and
// turret entry of each icon number), the nations' infantry icon groups and the
// crew icons of infantry-like classes.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::core {

// An icon entry e names frame e mod 100 of icon file e div 100; negative: none.
inline constexpr int IconFileOf(int entry)
{
    return entry / 100;
}
inline constexpr int IconFrameOf(int entry)
{
    return entry % 100;
}
// The shape file's directory entry that holds an icon entry's frame.
inline constexpr int IconDirectoryIndex(int entry)
{
    return IconFrameOf(entry) + 1;
}

inline constexpr int kIconNumbers = 2998; // icon numbers 0..2997
inline constexpr int kMaxIconNumber = kIconNumbers - 1;
inline constexpr int kMaxIconEntry = 32767;

struct IconFrameRow {
    int hull = 0; // 0..kMaxIconEntry
    int turret = -1; // -1 (no turret) or 0..kMaxIconEntry
    friend bool operator==(const IconFrameRow&, const IconFrameRow&) = default;
};

// The file a game folder may hold to replace the built-in table.
inline constexpr const char* kIconFrameTableFileName = "iconframes.txt";

class IconFrameTable {
public:
    // Every row hull 0, no turret.
    IconFrameTable();

    // The row of an icon number; numbers above 2997 use row 2997, below 0 row 0.
    const IconFrameRow& row(int icon) const;
    int hullEntry(int icon) const { return row(icon).hull; }
    int turretEntry(int icon) const { return row(icon).turret; }
    void set(int icon, IconFrameRow r) { rows_.at(static_cast<std::size_t>(icon)) = r; }

private:
    std::vector<IconFrameRow> rows_;
};

// The table the program carries (resources/iconframes.txt, compiled in).
const IconFrameTable& BuiltInIconFrameTable();

// Parses the text form: lines "ICON HULL TURRET", '#' comments and blank lines,
// every icon number exactly once; lines end in LF or CR LF, and a UTF-8 byte order
// mark at the start is skipped. On failure returns false and sets error, e.g.
// "line 12: the turret entry must be -1 or 0..32767, not '-7'" (control bytes of
// the file shown as \xNN). A line longer than kMaxIconFrameLine is refused unparsed.
bool ParseIconFrameTable(std::string_view text, IconFrameTable& table, std::string& error);

// A game folder's table of more bytes than this is refused unread, and so is a
// line longer than kMaxIconFrameLine characters.
inline constexpr std::uintmax_t kMaxIconFrameTableBytes = 1024 * 1024;
inline constexpr std::size_t kMaxIconFrameLine = 1000;

struct IconFrameTableLoad {
    IconFrameTable table;
    std::filesystem::path source; // the game folder's file, or empty for the built-in table
    std::string warning; // set when the folder's file could not be used
};

// The table for a game folder: its iconframes.txt (any letter case) when there is
// one, else the built-in table. A file that cannot be read or parsed gives the
// built-in table and a warning naming the file and the line.
IconFrameTableLoad LoadIconFrameTable(const std::filesystem::path& gameDir);

// The infantry icon group (0..3) of each nation 0..99.
extern const std::array<std::uint8_t, 100> nationIconGroup;

// The group of a nation number; numbers outside 0..99 are clamped.
int NationIconGroup(int nation);

// How the unit page shows a unit's icon, by its class.
enum class IconDisplay {
    None, // no icon at all
    Big, // the icon's hull frame alone, large
    HullAndTurret, // the crew icon when there is one, else hull and turret
};
IconDisplay IconDisplayFor(int unitClass);

// The infantry icon entry that shows a unit's crew, or -1 when the unit has none.
// category is the class's unit-class category (1..7); crew above 13 counts as 13.
// The entry's file is 10 + the nation's icon group.
int CrewIconEntry(int unitClass, int category, int crew, int nation);

} // namespace tarnwick::core
