#pragma once

// The availability timeline as an SVG picture: text, written without any
// drawing library. Both tables are drawn one below the other, each with its
// legend, year axis and a bar per row, grouped and coloured as in the editor.

#include "core/data/globals.h"
#include "core/rules/timeline.h"

#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::core {

// A small writer of SVG elements: attributes and text are escaped, names are
// Windows-1252 bytes turned into UTF-8.
class SvgWriter {
public:
    SvgWriter(int width, int height);
    // <rect .../>; extra is written as further attributes (already escaped).
    void rect(int x, int y, int w, int h, std::string_view fill, std::string_view extra = {});
    void line(int x1, int y1, int x2, int y2, std::string_view stroke, int width = 1);
    // Text at a baseline; anchor is start, middle or end.
    void text(int x, int y, std::string_view utf8, std::string_view extra = {});
    void open(std::string_view element, std::string_view attributes = {});
    void close(std::string_view element);
    void title(std::string_view utf8);
    std::string finish();

    // Text made safe for XML: markup characters escaped, control characters
    // that XML cannot hold replaced by U+FFFD.
    static std::string Escape(std::string_view utf8);

private:
    std::string out_;
};

struct TimelineSvgInput {
    std::string heading; // UTF-8, e.g. "Nation 3 (Name)"
    std::vector<TimelineRow> units;
    std::vector<TimelineRow> formations;
    const NameTables* names = nullptr;
    int width = 1000;
};

// The whole picture; every bar is a <rect class="bar"> inside <g class="units">
// or <g class="formations">, with the record's hover text as its <title>.
std::string TimelineSvg(const TimelineSvgInput& input);

} // namespace tarnwick::core
