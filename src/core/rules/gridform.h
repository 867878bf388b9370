#pragma once

// What the weapons and units grids share: the rows they hold, cell colours as
// decisions, the search on the sorted column, sorting, and the tab-separated
// text of the clipboard. Cell texts are byte strings (Windows-1252 on screen).

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::core {

struct OobField;

inline constexpr const char* kGridSearchCaption = "Search";
inline constexpr const char* kGridSortedColumnCaption = "on current SORTED Column";
inline constexpr const char* kGridSaveCaption = "Save";
inline constexpr const char* kGridExitCaption = "Exit";

// A cell's background. Normal is the grid's ordinary cell colour and Grey the
// system's grey-text colour (fixed and derived columns); the others are fixed.
enum class GridCellColour { Normal, Grey, White, Aqua, Red };
// 0xRRGGBB of the fixed colours; Normal and Grey come from the system palette.
std::optional<unsigned> GridColourRgb(GridCellColour colour);

struct GridColumn {
    const char* title;
    int width; // pixels
    bool editable; // false: derived or fixed, never typed over, pasted into or saved
    bool numeric; // sorts by value
};

// One data row: the slot it was filled from (kept when the grid is sorted),
// its cell texts and cell colours by column.
struct GridRow {
    int slot = 0;
    std::vector<std::string> cells;
    std::vector<GridCellColour> colours;
};
using GridRows = std::vector<GridRow>;

// A cell a save could not convert: the row (index into the rows, display order),
// the column, the cell's text and a message naming them.
struct GridCellError {
    int row = 0;
    int column = 0;
    std::string text;
    std::string message;
};

// Upper case as the search box shows it: ASCII and Windows-1252 letters.
std::string GridUpper(std::string_view bytes);

// The first row, top to bottom, whose text in column begins with search
// (both upper-cased); -1 for an empty search or no match.
int FindGridRow(const GridRows& rows, int column, std::string_view search);

// Sorts the rows by one column, stably: numeric columns by value (texts that
// are no number after all numbers), others by upper-cased text.
void SortGridRows(GridRows& rows, int column, bool numeric, bool descending = false);

// Tab-separated text as spreadsheets put it on the clipboard: lines end with
// CR LF, LF or CR; a final line break adds no row; cells are split at tabs.
std::vector<std::vector<std::string>> ParseTabText(std::string_view text);
// The reverse, for copying: one line per row ending with LF; a tab or line
// break inside a cell becomes a blank so the shape survives.
std::string ToTabText(const std::vector<std::vector<std::string>>& cells);

// Writes cells into rows with their top-left at (row, column). Refused with a
// message, and nothing written, when there is nothing to paste, when a cell
// would land in a column that cannot be edited, past the last column or past
// the last row.
std::optional<std::string> PasteIntoGrid(GridRows& rows, std::span<const GridColumn> columns, int row,
    int column, const std::vector<std::vector<std::string>>& cells);

// For a paste whose text Windows-1252 cannot hold; such a paste writes nothing.
inline constexpr const char* kGridPasteCharsetText = "The text holds characters that cannot be stored (only "
                                                     "Windows-1252 characters can). Nothing was pasted.";

// A cell read with the numeric rule and limited to min..max; nothing when no
// number is left after filtering ("-", "1-2").
std::optional<int> ReadGridNumber(std::string_view text, int min, int max);
// The same within the range a page accepts for field, then into what it can hold.
std::optional<int> ReadGridNumber(std::string_view text, const OobField& field);

// "Slot 012, column "HE Kill": '5-' is not a valid integer value. Nothing was saved."
// The cell's text is put in as it stands: the result is Windows-1252 bytes.
std::string GridCellErrorText(int slot, const char* columnTitle, std::string_view text);

} // namespace tarnwick::core
