#include "core/demo/demo.h"

#include "core/data/records.h"
#include "core/data/settings.h"
#include "core/data/tarnio.h"
#include "core/demo/demoart.h"
#include "core/graphics/artfiles.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

// The sample folder is made-up data for trying the editor: three invented
// nations with plausible but fictional equipment. Everything is built from
// fixed tables, so the same files come out every time.

namespace tarnwick::core {

namespace {

// Nations that have a file, and the allies some of their records point at.
struct DemoNation {
    int number;
    const char* name;
    int ally; // a nation some borrowed records belong to
    const char* comment;
};

constexpr std::array<DemoNation, 3> kNations { {
    { 1, "Republic of Valdoria", 5,
        "SAMPLE DATA - Valdoria: made up for the Tarnwick editor demo, not game data" },
    { 2, "Karsovian Union", 9,
        "SAMPLE DATA - Karsovia: made up for the Tarnwick editor demo, not game data" },
    { 12, "Morvany Federation", 5,
        "SAMPLE DATA - Morvany: made up for the Tarnwick editor demo, not game data" },
} };

struct AllyName {
    int number;
    const char* name;
};
constexpr std::array<AllyName, 2> kAllies { { { 5, "Kingdom of Lisreth" }, { 9, "Dunmark Isles" } } };

// Unit classes the sample records use, with their names for the settings file.
struct ClassName {
    int code;
    const char* name;
};
constexpr std::array<ClassName, 22> kUnitClasses { {
    { 0, "Tank" },
    { 1, "Infantry" },
    { 2, "HQ Section" },
    { 3, "Mortar Team" },
    { 4, "AT Team" },
    { 5, "Towed Gun" },
    { 7, "MG Team" },
    { 11, "APC" },
    { 12, "Recon Vehicle" },
    { 13, "Truck" },
    { 20, "Engineers" },
    { 23, "Main Battle Tank" },
    { 26, "SP Artillery" },
    { 40, "FAC Team" },
    { 42, "SAM Vehicle" },
    { 44, "Attack Helicopter" },
    { 46, "Patrol Boat" },
    { 47, "Utility Helicopter" },
    { 51, "SAM Team" },
    { 62, "Level Bomber" },
    { 210, "Rocket Minelayer" },
    { 214, "Wild Weasel" },
} };

// Weapon templates: one name per nation (in kNations order) and the numbers.
struct WeaponTemplate {
    int slot;
    std::array<const char*, 3> names;
    std::uint8_t weaponClass, weaponSize, warheadSize, hePen, heKill, apPen, apKill, accuracy, range,
        sabotRange, sabotPen, heatPen;
};

// Slots 9 and 10 stay empty so the list shows a gap. The LAW's AP penetration 222
// is the code for HEAT rounds fired from a slot other than 1; ranges above 199 are
// off-map ranges (202 reaches further than 201). Weapons 25 to 28 are air weapons
// that pass the unit check only on the aircraft classes that may carry them.
constexpr std::array<WeaponTemplate, 26> kWeapons { {
    { 1, { "VR-7 Rifle", "KA-41 Rifle", "M90 Carbine" }, 1, 1, 1, 1, 4, 1, 3, 60, 8, 0, 0, 0 },
    { 2, { "VS-3 SMG", "KP-12 SMG", "M77 SMG" }, 1, 1, 1, 1, 3, 1, 2, 55, 4, 0, 0, 0 },
    { 3, { "VL-9 LMG", "KL-50 LMG", "M88 LMG" }, 2, 1, 1, 1, 6, 2, 4, 50, 12, 0, 0, 0 },
    { 4, { "Rocket LAW", "RPK-7 Launcher", "M40 AT Rocket" }, 2, 1, 3, 2, 6, 222, 30, 40, 6, 0, 0, 45 },
    { 5, { "VM-2 MMG", "KM-60 GPMG", "M66 MMG" }, 3, 2, 1, 1, 8, 3, 5, 55, 18, 0, 0, 0 },
    { 6, { "81mm Mortar", "82mm Mortar", "81mm M12 Mortar" }, 3, 3, 6, 6, 12, 4, 6, 35, 60, 3, 0, 0 },
    { 7, { "12.7mm HMG", "14.5mm HMG", "12.7mm M2 HMG" }, 4, 2, 2, 2, 8, 12, 8, 50, 20, 0, 0, 0 },
    { 8, { "25mm Autocannon", "30mm Autocannon", "20mm Autocannon" }, 19, 3, 3, 4, 10, 28, 18, 60, 24, 0, 0,
        0 },
    { 11, { "7.62mm Coax MG", "7.62mm Coax", "7.5mm Coax MG" }, 5, 1, 1, 1, 6, 2, 4, 55, 14, 0, 0, 0 },
    { 12, { "76mm Gun", "85mm Gun", "75mm Gun" }, 6, 5, 8, 8, 18, 60, 30, 55, 30, 15, 90, 0 },
    { 13, { "120mm Tank Gun", "125mm Tank Gun", "105mm Tank Gun" }, 7, 7, 12, 12, 24, 90, 45, 70, 40, 30, 160,
        120 },
    { 14, { "155mm Howitzer", "152mm Howitzer", "105mm Howitzer" }, 7, 8, 18, 18, 40, 30, 30, 30, 230, 10, 0,
        0 },
    { 15, { "120mm Mortar", "120mm Mortar", "107mm Mortar" }, 3, 4, 10, 10, 25, 6, 8, 30, 80, 5, 0, 0 },
    { 16, { "Vesper ATGM", "Kopis ATGM", "Harrow ATGM" }, 13, 3, 6, 4, 10, 100, 60, 80, 40, 4, 0, 110 },
    { 17, { "Lance TA-ATGM", "Sarissa ATGM", "Talon TA-ATGM" }, 20, 3, 6, 4, 10, 90, 60, 85, 45, 4, 0, 95 },
    { 18, { "Swift SAM", "Strela-K SAM", "Kestrel SAM" }, 12, 3, 4, 2, 6, 2, 10, 70, 50, 2, 0, 0 },
    { 19, { "Man Flamer", "LPO Flamer", "M9 Flamethrower" }, 8, 2, 4, 20, 20, 4, 6, 45, 3, 0, 0, 0 },
    { 20, { "Vehicle Flamer", "ATO Flame Gun", "Tank Flame Gun" }, 9, 4, 6, 30, 30, 6, 10, 50, 6, 0, 0, 0 },
    { 21, { "227mm MLRS", "220mm MRL", "160mm MLRS" }, 14, 9, 20, 20, 45, 10, 20, 25, 240, 20, 0, 0 },
    { 22, { "40mm AGL", "30mm AGL", "40mm M19 AGL" }, 3, 2, 3, 3, 10, 6, 8, 45, 20, 0, 0, 0 },
    { 23, { "Palisade LR-SAM", "Kovrin LR-SAM", "Rampart LR-SAM" }, 12, 5, 8, 4, 10, 4, 20, 75, 201, 0, 0,
        0 },
    { 24, { "Gale Stand-off", "Kora Stand-off", "Corvid ASM" }, 17, 4, 12, 20, 40, 60, 40, 80, 202, 0, 0,
        80 },
    { 25, { "500kg Bombs", "KB-500 Bombs", "1000lb Bombs" }, 11, 8, 20, 30, 60, 20, 30, 40, 1, 0, 0, 0 },
    { 26, { "Vesk ARM", "Kora-R ARM", "Glint ARM" }, 16, 4, 8, 10, 20, 10, 20, 80, 60, 0, 0, 0 },
    { 27, { "Scatter Mines", "KPM Minelets", "Thistle Mines" }, 15, 6, 4, 4, 8, 30, 20, 50, 90, 0, 0, 0 },
    { 28, { "70mm Rocket Pod", "80mm Rocket Pod", "68mm Rocket Pod" }, 11, 3, 4, 6, 12, 8, 10, 45, 3, 0, 0,
        0 },
} };

// Unit templates. Armour bytes are hull front/side/rear, turret front/side/rear, top.
struct UnitTemplate {
    int slot;
    std::array<const char*, 3> names;
    std::uint8_t unitClass;
    std::uint16_t icon, lbm;
    std::uint8_t size, crew;
    std::array<std::uint8_t, 4> weapon, heAmmo, apAmmo;
    std::uint8_t speed;
    std::array<std::uint8_t, 7> steel, heat;
    std::uint8_t era; // on the three front facings only
    std::uint8_t yearAvail, yearUnavail;
    std::uint16_t cost;
    std::uint8_t moveClass, vision, fireControl, stabiliser, rangeFinder, swim, carry, weight;
    bool ally = false; // belongs to the nation's ally
    std::uint8_t ew = 0; // 1, 2 ARENA shots, 3, 4 VIRSS shots on classes that carry them
    std::uint8_t survivability = 0; // 0: 5 for big vehicles, 3 otherwise
};

using A4 = std::array<std::uint8_t, 4>;
using A7 = std::array<std::uint8_t, 7>;

constexpr A7 kSoft { 0, 0, 0, 0, 0, 0, 0 };

// Slots 20 and 21 stay empty; slot 13 is a deleted unit of the nation (empty
// name, still the nation's number and a class), which the Units page marks red.
// Units 9 and 26 carry reactive armour (above 10: advanced) and EW, 26 has a
// survivability above 6, vision from 40 is TI/GSR, fire control from 100 an AA radar.
constexpr std::array<UnitTemplate, 32> kUnits { {
    { 1, { "Rifle Section", "Rifle Squad", "Infantry Sect" }, 1, 1, 101, 1, 9, A4 { 1, 3, 4, 0 },
        A4 { 40, 30, 2, 0 }, A4 { 0, 0, 2, 0 }, 8, kSoft, kSoft, 0, 70, 120, 20, 0, 20, 0, 0, 0, 0, 0, 3 },
    { 2, { "HQ Section", "Command Squad", "HQ Group" }, 2, 2, 102, 1, 6, A4 { 2, 1, 0, 0 },
        A4 { 30, 30, 0, 0 }, A4 { 0, 0, 0, 0 }, 8, kSoft, kSoft, 0, 70, 120, 25, 0, 20, 0, 0, 0, 0, 0, 3 },
    { 3, { "Engineer Sect", "Sapper Squad", "Pioneer Sect" }, 20, 3, 103, 1, 8, A4 { 1, 19, 4, 0 },
        A4 { 40, 6, 2, 0 }, A4 { 0, 0, 2, 0 }, 8, kSoft, kSoft, 0, 72, 120, 30, 0, 20, 0, 0, 0, 0, 0, 3 },
    { 4, { "81mm Mortar Tm", "82mm Mortar Tm", "Mortar Det" }, 3, 4, 104, 1, 4, A4 { 6, 0, 0, 0 },
        A4 { 60, 0, 0, 0 }, A4 { 0, 0, 0, 0 }, 6, kSoft, kSoft, 0, 70, 120, 25, 0, 20, 0, 0, 0, 0, 0, 4 },
    { 5, { "ATGM Team", "AT Missile Tm", "Harrow Team" }, 4, 5, 105, 1, 3, A4 { 16, 0, 0, 0 },
        A4 { 0, 0, 0, 0 }, A4 { 4, 0, 0, 0 }, 6, kSoft, kSoft, 0, 78, 120, 45, 0, 20, 0, 0, 0, 0, 0, 4 },
    { 6, { "MMG Team", "GPMG Team", "MG Team" }, 7, 6, 106, 1, 3, A4 { 5, 0, 0, 0 }, A4 { 80, 0, 0, 0 },
        A4 { 0, 0, 0, 0 }, 6, kSoft, kSoft, 0, 70, 120, 20, 0, 20, 0, 0, 0, 0, 0, 3 },
    { 7, { "SAM Team", "Strela Team", "Kestrel Team" }, 51, 7, 107, 1, 2, A4 { 18, 0, 0, 0 },
        A4 { 0, 0, 0, 0 }, A4 { 3, 0, 0, 0 }, 6, kSoft, kSoft, 0, 80, 120, 40, 0, 20, 0, 0, 0, 0, 0, 3 },
    { 8, { "Tarrant MBT", "K-84 MBT", "Garron MBT" }, 0, 20, 120, 5, 4, A4 { 13, 11, 7, 0 },
        A4 { 18, 60, 30, 0 }, A4 { 22, 0, 0, 0 }, 30, A7 { 90, 25, 12, 110, 40, 18, 6 },
        A7 { 140, 40, 15, 170, 60, 20, 8 }, 0, 82, 120, 320, 4, 30, 60, 4, 5, 0, 0, 0 },
    { 9, { "Tarrant MBT-2", "K-84M MBT", "Garron Mk2" }, 23, 21, 121, 5, 4, A4 { 13, 11, 7, 0 },
        A4 { 18, 60, 30, 0 }, A4 { 22, 0, 0, 0 }, 30, A7 { 100, 30, 12, 120, 45, 18, 6 },
        A7 { 180, 50, 15, 210, 70, 20, 8 }, 12, 95, 120, 410, 4, 45, 80, 5, 6, 0, 0, 0, false, 3 },
    { 10, { "Kite Lt Tank", "PT-70 Lt Tank", "Scamp Lt Tank" }, 0, 22, 122, 4, 3, A4 { 12, 11, 0, 0 },
        A4 { 20, 50, 0, 0 }, A4 { 20, 0, 0, 0 }, 36, A7 { 30, 12, 8, 35, 15, 10, 4 },
        A7 { 30, 12, 8, 35, 15, 10, 4 }, 0, 65, 100, 150, 4, 20, 20, 2, 2, 6, 0, 0 },
    { 11, { "Pell APC", "BTR-K APC", "Corran APC" }, 11, 23, 123, 4, 2, A4 { 7, 0, 0, 0 }, A4 { 50, 0, 0, 0 },
        A4 { 0, 0, 0, 0 }, 40, A7 { 10, 6, 6, 8, 8, 8, 3 }, kSoft, 0, 68, 120, 70, 2, 20, 10, 0, 0, 6, 12,
        0 },
    { 12, { "Falke IFV", "BMK-2 IFV", "Warden IFV" }, 11, 24, 124, 4, 3, A4 { 8, 11, 16, 0 },
        A4 { 150, 40, 0, 0 }, A4 { 50, 0, 3, 0 }, 34, A7 { 35, 12, 8, 30, 10, 8, 4 },
        A7 { 40, 12, 8, 35, 10, 8, 4 }, 0, 84, 120, 180, 4, 30, 40, 3, 3, 5, 10, 0 },
    { 14, { "Scout Car", "BRDM-K Scout", "Ferret Scout" }, 12, 25, 125, 3, 3, A4 { 7, 0, 0, 0 },
        A4 { 40, 0, 0, 0 }, A4 { 0, 0, 0, 0 }, 50, A7 { 8, 6, 6, 6, 6, 6, 2 }, kSoft, 0, 62, 110, 45, 2, 40,
        10, 0, 0, 5, 0, 0 },
    { 15, { "155mm Towed", "152mm Towed", "105mm Towed" }, 5, 30, 130, 3, 8, A4 { 14, 0, 0, 0 },
        A4 { 60, 0, 0, 0 }, A4 { 0, 0, 0, 0 }, 4, kSoft, kSoft, 0, 60, 120, 90, 0, 20, 20, 0, 2, 0, 0, 14 },
    { 16, { "Thorn SP How", "2S-K SP How", "Anvil SP How" }, 26, 31, 131, 5, 5, A4 { 14, 7, 0, 0 },
        A4 { 40, 40, 0, 0 }, A4 { 0, 0, 0, 0 }, 28, A7 { 20, 12, 8, 18, 10, 8, 4 }, kSoft, 0, 80, 120, 260, 4,
        20, 30, 0, 3, 0, 0, 0 },
    { 17, { "Bolt MLRS", "Grom MRL", "Tempest MLRS" }, 26, 32, 132, 5, 3, A4 { 21, 0, 0, 0 },
        A4 { 12, 0, 0, 0 }, A4 { 0, 0, 0, 0 }, 32, A7 { 8, 6, 6, 0, 0, 0, 2 }, kSoft, 0, 83, 120, 300, 4, 20,
        30, 0, 3, 0, 0, 0 },
    { 18, { "Ember Flame Tk", "OT-K Flame Tk", "Brand Flame Tk" }, 0, 33, 133, 5, 3, A4 { 20, 11, 0, 0 },
        A4 { 20, 40, 0, 0 }, A4 { 0, 0, 0, 0 }, 28, A7 { 60, 20, 10, 70, 25, 12, 5 },
        A7 { 60, 20, 10, 70, 25, 12, 5 }, 0, 58, 95, 200, 4, 20, 30, 2, 2, 0, 0, 0 },
    { 19, { "Aegis SAM Veh", "Krug-K SAM", "Sentinel SAM" }, 42, 34, 134, 4, 3, A4 { 18, 7, 0, 0 },
        A4 { 0, 30, 0, 0 }, A4 { 8, 0, 0, 0 }, 34, A7 { 12, 8, 6, 6, 6, 6, 3 }, kSoft, 0, 85, 120, 280, 4, 40,
        105, 0, 3, 0, 0, 0 },
    { 22, { "Cargo Truck", "Ural-K Truck", "Bison Truck" }, 13, 40, 140, 3, 1, A4 { 0, 0, 0, 0 },
        A4 { 0, 0, 0, 0 }, A4 { 0, 0, 0, 0 }, 45, kSoft, kSoft, 0, 60, 120, 20, 2, 20, 0, 0, 0, 0, 16, 0 },
    { 23, { "120mm Mortar Tm", "120mm Mortar", "107mm Mortar Tm" }, 3, 8, 108, 2, 6, A4 { 15, 0, 0, 0 },
        A4 { 40, 0, 0, 0 }, A4 { 0, 0, 0, 0 }, 4, kSoft, kSoft, 0, 68, 120, 40, 0, 20, 0, 0, 0, 0, 0, 8 },
    { 24, { "Lisreth AGL Tm", "Dunmark AGL Tm", "Lisreth AGL Tm" }, 7, 9, 109, 1, 3, A4 { 22, 1, 0, 0 },
        A4 { 60, 20, 0, 0 }, A4 { 0, 0, 0, 0 }, 6, kSoft, kSoft, 0, 88, 120, 35, 0, 20, 0, 0, 0, 0, 0, 3,
        true },
    { 25, { "Lisreth Jeep", "Dunmark Rover", "Lisreth Jeep" }, 12, 41, 141, 2, 2, A4 { 7, 0, 0, 0 },
        A4 { 30, 0, 0, 0 }, A4 { 0, 0, 0, 0 }, 55, kSoft, kSoft, 0, 75, 120, 25, 2, 20, 0, 0, 0, 0, 4, 0,
        true },
    { 26, { "Tarrant MBT-3", "K-90 MBT", "Garron Mk3" }, 23, 26, 126, 5, 3, A4 { 13, 11, 7, 17 },
        A4 { 16, 50, 30, 2 }, A4 { 24, 0, 0, 2 }, 32, A7 { 120, 35, 14, 140, 50, 20, 8 },
        A7 { 220, 60, 18, 250, 80, 22, 10 }, 15, 105, 120, 520, 4, 50, 90, 6, 7, 0, 0, 0, false, 2, 8 },
    { 27, { "Patrol Boat", "River Cutter", "Patrol Launch" }, 46, 50, 150, 4, 6, A4 { 8, 7, 0, 0 },
        A4 { 60, 80, 0, 0 }, A4 { 20, 0, 0, 0 }, 40, A7 { 6, 6, 6, 0, 0, 0, 2 }, kSoft, 0, 70, 120, 90, 7, 30,
        20, 0, 2, 0, 0, 0 },
    { 28, { "HQ Launch", "Command Cutter", "HQ Launch" }, 46, 51, 151, 3, 5, A4 { 7, 0, 0, 0 },
        A4 { 60, 0, 0, 0 }, A4 { 0, 0, 0, 0 }, 35, A7 { 4, 4, 4, 0, 0, 0, 1 }, kSoft, 0, 70, 120, 60, 7, 30,
        10, 0, 0, 0, 4, 0 },
    { 29, { "Strike Bomber", "Strike Bomber", "Strike Bomber" }, 62, 60, 160, 6, 2, A4 { 25, 24, 0, 0 },
        A4 { 4, 2, 0, 0 }, A4 { 0, 0, 0, 0 }, 0, kSoft, kSoft, 0, 80, 120, 400, 0, 20, 50, 0, 0, 0, 0, 0 },
    { 30, { "Wild Weasel", "Wild Weasel", "Wild Weasel" }, 214, 62, 162, 5, 2, A4 { 26, 25, 0, 0 },
        A4 { 2, 4, 0, 0 }, A4 { 0, 0, 0, 0 }, 0, kSoft, kSoft, 0, 85, 120, 420, 0, 30, 60, 0, 0, 0, 0, 0 },
    { 31, { "Minelayer MLRS", "Minelayer MRL", "Minelayer MLRS" }, 210, 35, 135, 5, 3, A4 { 27, 0, 0, 0 },
        A4 { 8, 0, 0, 0 }, A4 { 0, 0, 0, 0 }, 30, A7 { 8, 6, 6, 0, 0, 0, 2 }, kSoft, 0, 88, 120, 280, 4, 20,
        30, 0, 3, 0, 0, 0 },
    { 32, { "Attack Helo", "Attack Helo", "Attack Helo" }, 44, 61, 161, 4, 2, A4 { 28, 16, 8, 0 },
        A4 { 38, 0, 200, 0 }, A4 { 0, 8, 50, 0 }, 90, A7 { 10, 8, 6, 0, 0, 0, 4 }, kSoft, 0, 86, 120, 350, 0,
        45, 70, 5, 5, 0, 0, 0 },
    { 33, { "Utility Helo", "Utility Helo", "Utility Helo" }, 47, 63, 163, 4, 3, A4 { 7, 0, 0, 0 },
        A4 { 40, 0, 0, 0 }, A4 { 0, 0, 0, 0 }, 100, A7 { 4, 4, 4, 0, 0, 0, 2 }, kSoft, 0, 78, 120, 150, 0, 20,
        0, 0, 0, 0, 12, 0 },
    { 34, { "FAC Team", "Air Controllers", "FAC Party" }, 40, 10, 110, 1, 3, A4 { 1, 0, 0, 0 },
        A4 { 30, 0, 0, 0 }, A4 { 0, 0, 0, 0 }, 8, kSoft, kSoft, 0, 80, 120, 30, 0, 45, 0, 0, 4, 0, 0, 3 },
    { 35, { "LR SAM Launcher", "LR SAM Launcher", "LR SAM Launcher" }, 42, 36, 136, 5, 4, A4 { 23, 0, 0, 0 },
        A4 { 0, 0, 0, 0 }, A4 { 4, 0, 0, 0 }, 30, A7 { 10, 8, 6, 8, 6, 6, 3 }, kSoft, 0, 95, 120, 380, 4, 40,
        130, 0, 6, 0, 0, 0 },
} };

// Formations of every type (0 section, 1 platoon, 2 company, 3 second-rate
// company, 4 naval, 5 Bn HQ), each led by the unit in slot 1, with a buy page and
// up to ten members. Only companies and the Bn HQ hold sub-formations, never a
// company; a second-rate company takes sections only; formation 1 is the one Bn HQ.
struct FormationTemplate {
    int slot;
    std::array<const char*, 3> names;
    std::uint8_t formType, buyPage;
    std::array<std::uint16_t, 10> members;
    std::int8_t expMod, moraleMod;
    std::uint8_t yearAvail;
    bool ally;
    std::uint8_t yearUnavail = 120;
};

using M10 = std::array<std::uint16_t, 10>;

// Slot 7 stays empty.
constexpr std::array<FormationTemplate, 21> kFormations { {
    { 1, { "Battalion HQ", "Battalion HQ", "Battalion HQ" }, 5, 10,
        M10 { 2, 11, 14, 1009, 1010, 1012, 1017, 1018 }, 5, 10, 70, false },
    { 2, { "Rifle Sect", "Rifle Squad", "Infantry Sect" }, 0, 3, M10 { 1 }, 0, 0, 70, false },
    { 3, { "Rifle Platoon", "Motor Rifle Plt", "Infantry Plt" }, 1, 3, M10 { 2, 1, 1, 1, 6 }, 0, 0, 70,
        false },
    { 4, { "Rifle Company", "Motor Rifle Coy", "Infantry Coy" }, 2, 3, M10 { 2, 1003, 1003, 1003, 4, 5 }, 0,
        0, 70, false },
    { 5, { "Mech Platoon", "BMK Platoon", "Warden Platoon" }, 1, 3, M10 { 12, 1, 12, 1, 12, 1 }, 5, 5, 84,
        false },
    { 6, { "Tank Platoon", "Tank Platoon", "Tank Troop" }, 1, 1, M10 { 8, 8, 8, 8 }, 0, 5, 82, false, 110 },
    { 8, { "Tank Company", "Tank Company", "Tank Squadron" }, 2, 1, M10 { 9, 1006, 1006, 1006 }, 5, 5, 95,
        false },
    { 9, { "Recon Platoon", "Recon Platoon", "Recon Troop" }, 1, 4, M10 { 14, 14, 14, 10, 10 }, 10, 10, 65,
        false },
    { 10, { "Mortar Platoon", "Mortar Battery", "Mortar Troop" }, 1, 2, M10 { 2, 4, 4, 4, 23, 23 }, 0, 0, 70,
        false },
    { 11, { "Artillery Bty", "Artillery Bty", "Field Battery" }, 2, 2, M10 { 2, 16, 16, 16, 16, 31, 22, 22 },
        0, 0, 88, false },
    { 12, { "AD Platoon", "AD Platoon", "AD Troop" }, 1, 4, M10 { 19, 19, 7, 7, 7, 35 }, 0, 0, 95, false },
    { 13, { "Reserve Company", "Reservist Coy", "Home Guard Coy" }, 3, 3, M10 { 2, 1002, 1014, 1014 }, -10,
        -5, 60, false },
    { 14, { "Militia Sect", "Reservist Squad", "Home Guard Sect" }, 0, 3, M10 { 1 }, -10, -5, 60, false, 98 },
    { 15, { "Allied Support", "Allied Support", "Allied Support" }, 1, 4, M10 { 24, 24, 25 }, 0, -5, 88,
        true },
    { 16, { "Mech Company", "BMK Company", "Warden Company" }, 2, 3, M10 { 12, 1005, 1005, 1005 }, 5, 5, 84,
        false },
    { 17, { "River Flotilla", "River Flotilla", "Riverine Group" }, 4, 4, M10 { 28, 27, 27, 27 }, 0, 5, 70,
        false },
    { 18, { "Air Support", "Air Support", "Air Support" }, 1, 4, M10 { 34, 29, 30, 32 }, 10, 5, 86, false },
    { 19, { "Air Assault Plt", "Air Assault Plt", "Heliborne Plt" }, 1, 5, M10 { 2, 1, 1, 1, 33, 33 }, 10, 10,
        78, false },
    { 20, { "Heavy Tank Plt", "Heavy Tank Plt", "Heavy Troop" }, 1, 1, M10 { 26, 26, 26, 26 }, 10, 5, 105,
        false },
    { 21, { "Heavy Tank Coy", "Heavy Tank Coy", "Heavy Squadron" }, 2, 0, M10 { 26, 1020, 1020, 1020 }, 10, 5,
        105, false },
    { 22, { "Port Defence", "Port Defence", "Harbour Guard" }, 2, 0, M10 { 2, 1017, 1002, 1002, 6, 7 }, -5, 0,
        72, false },
} };

constexpr std::size_t Length(const char* s)
{
    std::size_t n = 0;
    while (s[n] != '\0')
        ++n;
    return n;
}

template <class Table> constexpr bool NamesFit(const Table& table)
{
    for (const auto& t : table)
        for (const char* name : t.names)
            if (Length(name) == 0 || Length(name) > kNameLength)
                return false;
    return true;
}

constexpr bool CommentsFit()
{
    for (const DemoNation& n : kNations)
        if (Length(n.comment) > kCommentLength)
            return false;
    return true;
}

static_assert(NamesFit(kWeapons) && NamesFit(kUnits) && NamesFit(kFormations), "a sample name is too long");
static_assert(CommentsFit(), "a sample comment is too long");

// Slightly different service dates per nation so the files differ beyond their names.
int YearShift(std::size_t nationIndex)
{
    return static_cast<int>(nationIndex) * 2 - 2;
}

std::uint8_t ShiftedYear(std::uint8_t year, int shift)
{
    int y = year + shift;
    if (y < 0)
        y = 0;
    if (y > 120)
        y = 120;
    return static_cast<std::uint8_t>(y);
}

TOobData BuildNation(std::size_t index)
{
    const DemoNation& nation = kNations[index];
    const int shift = YearShift(index);
    TOobData data;
    data.imageLength = static_cast<std::int32_t>(kOobFileSize);
    data.comment = nation.comment;

    for (const WeaponTemplate& t : kWeapons) {
        TOobWeapon& w = data.weapons[t.slot];
        w.name = t.names[index];
        w.weaponClass = t.weaponClass;
        w.weaponSize = t.weaponSize;
        w.warheadSize = t.warheadSize;
        w.hePen = t.hePen;
        w.heKill = t.heKill;
        w.apPen = t.apPen;
        w.apKill = t.apKill;
        w.accuracy = static_cast<std::uint8_t>(t.accuracy + 2 * index);
        w.range = t.range;
        w.sabotRange = t.sabotRange;
        w.sabotPen = t.sabotPen;
        w.heatPen = t.heatPen;
    }

    for (const UnitTemplate& t : kUnits) {
        TOobUnit& u = data.units[t.slot];
        u.name = t.names[index];
        u.unitClass = t.unitClass;
        u.icon = static_cast<std::uint16_t>(t.icon + 100 * index);
        u.lbm = static_cast<std::uint16_t>(t.lbm + 1000 * nation.number);
        u.size = t.size;
        u.crew = t.crew;
        u.weapon = t.weapon;
        u.heAmmo = t.heAmmo;
        u.apAmmo = t.apAmmo;
        u.speed = t.speed;
        u.steelArmour = t.steel;
        u.heatArmour = t.heat;
        for (int f : { 0, 1, 3 })
            u.eraArmour[f] = t.era;
        u.radio = t.unitClass == 2 ? 100 : 60; // the HQ section
        u.yearAvail = ShiftedYear(t.yearAvail, shift);
        u.yearUnavail = t.yearUnavail;
        u.monthAvail = static_cast<std::uint8_t>(1 + (t.slot * 5 + index) % 12);
        u.monthUnavail = 12;
        u.cost = static_cast<std::uint16_t>(t.cost + 5 * index);
        u.nation = static_cast<std::uint8_t>(t.ally ? nation.ally : nation.number);
        u.fireControl = t.fireControl;
        u.vision = t.vision;
        u.stabiliser = t.stabiliser;
        u.rangeFinder = t.rangeFinder;
        const bool tank = t.unitClass == 0 || t.unitClass == 23;
        u.sabotAmmo = tank ? 12 : 0;
        u.heatAmmo = tank ? 8 : 0;
        u.survivability = t.survivability != 0 ? t.survivability : t.size >= 4 ? 5 : 3;
        u.swim = t.swim;
        u.smokeDischargers = t.size >= 4 ? 2 : 0;
        u.rof = tank ? 6 : 4;
        u.carry = t.carry;
        u.weight = t.weight;
        u.ew = t.ew;
        u.moveClass = t.moveClass;
        u.unitSound = static_cast<std::uint8_t>(t.unitClass % 8 + 1);
        for (int n = 0; n < 4; ++n)
            u.weaponSound[n] = t.weapon[n] == 0 ? 0 : static_cast<std::uint8_t>(t.weapon[n] % 10 + 1);
    }

    // A deleted unit: its name is gone but the slot still carries the nation and
    // a class. The class must not be 0: opening a file tidies a nameless slot of
    // the nation with class 0 into an unused one, which the page does not mark.
    data.units[13].nation = static_cast<std::uint8_t>(nation.number);
    data.units[13].unitClass = 1;

    for (const FormationTemplate& t : kFormations) {
        TOobFormation& f = data.formations[t.slot];
        f.name = t.names[index];
        f.nation = static_cast<std::uint8_t>(t.ally ? nation.ally : nation.number);
        f.formType = t.formType;
        f.buyPage = t.buyPage;
        f.slot = t.members;
        f.expMod = t.expMod;
        f.moraleMod = t.moraleMod;
        f.yearAvail = ShiftedYear(t.yearAvail, shift);
        f.monthAvail = static_cast<std::uint8_t>(1 + (t.slot * 5 + index) % 12);
        f.yearUnavail = t.yearUnavail;
        f.monthUnavail = 12;
    }
    return data;
}

const char* AllyNameOf(int number)
{
    for (const AllyName& a : kAllies)
        if (a.number == number)
            return a.name;
    return "Unknown";
}

std::string SettingsText(const std::filesystem::path& dir)
{
    std::string t;
    auto line = [&t](const std::string& s) { t += s + "\r\n"; };
    line("; Sample settings for the Tarnwick demo folder (made-up nation and class names)");
    line("[Tarnwick]");
    line("DefaultDir=" + PathText(dir));
    line("TransparentColour=240");
    line("Hints=1");
    line("HintDelay=1");
    line("");
    line("[NationNames]");
    std::set<int> numbers;
    for (const DemoNation& n : kNations)
        numbers.insert(n.number);
    for (const AllyName& a : kAllies)
        numbers.insert(a.number);
    // Every nation gets a name, so the file list reads cleanly; those without
    // records are placeholders.
    for (int n = 1; n <= 99; ++n) {
        const char* name = nullptr;
        for (const DemoNation& d : kNations)
            if (d.number == n)
                name = d.name;
        if (name == nullptr && numbers.count(n) != 0)
            name = AllyNameOf(n);
        line("tarn" + std::to_string(n) + "="
            + (name != nullptr ? std::string(name) : "Nation " + std::to_string(n)));
    }
    line("");
    line("[UnitClassNames]");
    for (int code = 0; code <= 255; ++code) {
        std::string name = "Class " + std::to_string(code);
        for (const ClassName& c : kUnitClasses)
            if (c.code == code)
                name = c.name;
        line("UnitClass" + std::to_string(code) + "=" + name);
    }
    return t;
}

constexpr const char* kReadme
    = "Tarnwick sample folder\n"
      "======================\n"
      "\n"
      "Everything in this folder is SAMPLE DATA made up for trying the Tarnwick\n"
      "editor. The nations, weapons, units and formations are invented; the numbers\n"
      "are plausible but belong to no real army and no real game data set.\n"
      "\n"
      "obat001.obf, obat002.obf, obat012.obf  order-of-battle files of three nations\n"
      "TWFTK.ini                              settings naming the nations and unit classes\n"
      "\n"
      "Copy TWFTK.ini beside the editor (or into ~/.config/tarnwick/) to see the names.\n"
      "\n"
      "Things to look at (the same slots in every file)\n"
      "-----------------------------------------------\n"
      "Units  9, 26   reactive armour (above 10 is advanced) and EW labels; 26 has a\n"
      "               survivability above 6\n"
      "Unit  13       a deleted unit of the nation: its number shows red\n"
      "Units 24, 25   borrowed from an ally: the nation shows maroon\n"
      "Units 19, 35   fire control of 100 and more is an AA radar; vision 40 and more is TI/GSR\n"
      "Units 29..32   aircraft with the air weapons only they may carry\n"
      "Weapon 4       AP penetration 222, the code for HEAT rounds outside slot 1\n"
      "Weapons 23, 24 ranges above 199: off-map weapons\n"
      "Formation 1    the Bn HQ, holding platoons, a naval group and air support\n"
      "Formations 13, 17, 22\n"
      "               a second-rate company of sections, a naval group, and a\n"
      "               company holding both\n";

} // namespace

std::vector<int> DemoNations()
{
    std::vector<int> out;
    for (const DemoNation& n : kNations)
        out.push_back(n.number);
    return out;
}

namespace {

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return { text.begin(), text.end() };
}

} // namespace

IoResult PlanDemoFolder(const std::filesystem::path& dir, DemoFolder& plan)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path absDir = fs::absolute(dir, ec);
    if (ec)
        return IoResult::failure(IoResult::Kind::WriteError, dir, ec.message());
    absDir = absDir.lexically_normal();
    if (!absDir.has_filename() && absDir.has_parent_path() && absDir != absDir.root_path())
        absDir = absDir.parent_path(); // no trailing separator in DefaultDir

    // The editor finds pic/ and shp/ in any letter case; a second folder of
    // another case beside the first would only confuse it.
    auto artFolder = [&](const char* name) {
        const fs::path found = FindArtFolder(absDir, name);
        return found.empty() ? absDir / name : found;
    };

    plan.dir = absDir;
    plan.files.clear();
    std::vector<TOobData> records(kNations.size());
    std::vector<const TOobData*> recordPointers;
    for (std::size_t i = 0; i < kNations.size(); ++i) {
        records[i] = BuildNation(i);
        recordPointers.push_back(&records[i]);
        const auto nation = static_cast<std::uint16_t>(kNations[i].number);
        plan.files.push_back({ absDir / OobFileName(nation), EncodeOobFile(records[i], nation) });
    }
    for (DemoFile& art : DemoArtFiles(recordPointers, artFolder(kPictureFolder), artFolder(kIconFolder)))
        plan.files.push_back(std::move(art));
    plan.files.push_back({ absDir / kSettingsFileName, Bytes(SettingsText(absDir)) });
    plan.files.push_back({ absDir / "README.txt", Bytes(kReadme) });
    return IoResult::success(absDir);
}

std::vector<std::filesystem::path> ExistingDemoFiles(const DemoFolder& plan)
{
    namespace fs = std::filesystem;
    // The names in each folder of the plan, by their lower-case spelling.
    std::map<fs::path, std::multimap<std::string, fs::path>> present;
    std::vector<fs::path> existing;
    for (const DemoFile& file : plan.files) {
        const fs::path folder = file.path.parent_path();
        auto [names, fresh] = present.try_emplace(folder);
        if (fresh) {
            std::error_code ec;
            const fs::file_status st = fs::status(folder, ec);
            if (fs::exists(st) && !fs::is_directory(st)) {
                existing.push_back(folder);
                continue;
            }
            for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
                names->second.emplace(Lower(it->path().filename().string()), it->path());
        }
        const auto [first, last] = names->second.equal_range(Lower(file.path.filename().string()));
        for (auto it = first; it != last; ++it)
            existing.push_back(it->second);
    }
    return existing;
}

IoResult WriteDemoFolder(const DemoFolder& plan, std::vector<std::filesystem::path>& written)
{
    namespace fs = std::filesystem;
    written.clear();
    std::set<fs::path> folders;
    for (const DemoFile& file : plan.files)
        folders.insert(file.path.parent_path());
    for (const fs::path& folder : folders) {
        std::error_code ec;
        fs::create_directories(folder, ec);
        if (ec)
            return IoResult::failure(IoResult::Kind::WriteError, folder, ec.message());
        if (!fs::is_directory(folder, ec))
            return IoResult::failure(IoResult::Kind::WriteError, folder, "Not a directory");
    }
    for (const DemoFile& file : plan.files) {
        fs::path target = FindFileIgnoringCase(file.path.parent_path(), file.path.filename().string());
        if (target.empty())
            target = file.path;
        const IoResult r = WriteFileAtomic(target, file.bytes.data(), file.bytes.size());
        if (!r.ok())
            return r;
        written.push_back(target);
    }
    return IoResult::success(plan.dir);
}

} // namespace tarnwick::core
