#include "core/graphics/timelinesvg.h"

#include "core/data/cp1252.h"

#include <algorithm>

namespace tarnwick::core {

SvgWriter::SvgWriter(int width, int height)
{
    const std::string w = std::to_string(width);
    const std::string h = std::to_string(height);
    out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\""
        + w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h
        + "\" font-family=\"DejaVu Sans, Arial, sans-serif\" font-size=\"11\">\n";
}

std::string SvgWriter::Escape(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    // A byte that is not part of well-formed UTF-8 (a file name in another
    // encoding) becomes U+FFFD: the file must stay well-formed XML.
    for (std::size_t bad = FirstInvalidUtf8(utf8); bad != std::string_view::npos;
         bad = FirstInvalidUtf8(utf8)) {
        out += Escape(utf8.substr(0, bad));
        out += "\xEF\xBF\xBD";
        utf8.remove_prefix(bad + 1);
    }
    for (char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"')
            out += "&quot;";
        else if (b < 0x20 && c != '\n' && c != '\t')
            out += "\xEF\xBF\xBD";
        else
            out += c;
    }
    return out;
}

void SvgWriter::rect(int x, int y, int w, int h, std::string_view fill, std::string_view extra)
{
    out_ += "<rect x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" width=\""
        + std::to_string(w) + "\" height=\"" + std::to_string(h) + "\" fill=\"" + std::string(fill) + "\"";
    if (!extra.empty())
        out_ += " " + std::string(extra);
    out_ += "/>\n";
}

void SvgWriter::line(int x1, int y1, int x2, int y2, std::string_view stroke, int width)
{
    out_ += "<line x1=\"" + std::to_string(x1) + "\" y1=\"" + std::to_string(y1) + "\" x2=\""
        + std::to_string(x2) + "\" y2=\"" + std::to_string(y2) + "\" stroke=\"" + std::string(stroke)
        + "\" stroke-width=\"" + std::to_string(width) + "\"/>\n";
}

void SvgWriter::text(int x, int y, std::string_view utf8, std::string_view extra)
{
    out_ += "<text x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\"";
    if (!extra.empty())
        out_ += " " + std::string(extra);
    out_ += ">" + Escape(utf8) + "</text>\n";
}

void SvgWriter::open(std::string_view element, std::string_view attributes)
{
    out_ += "<" + std::string(element);
    if (!attributes.empty())
        out_ += " " + std::string(attributes);
    out_ += ">\n";
}

void SvgWriter::close(std::string_view element)
{
    out_ += "</" + std::string(element) + ">\n";
}

void SvgWriter::title(std::string_view utf8)
{
    out_ += "<title>" + Escape(utf8) + "</title>\n";
}

std::string SvgWriter::finish()
{
    return std::move(out_) + "</svg>\n";
}

namespace {

// Sizes of the picture; text widths are estimated from the font size.
constexpr int kMargin = 12;
constexpr int kTitleHeight = 26;
constexpr int kLegendLine = 18;
constexpr int kAxisHeight = 22;
constexpr int kGap = 24;
constexpr double kCharWidth = 6.6;

struct Panel {
    TimelineTable table;
    const std::vector<TimelineRow>* rows;
    TimelineLayout layout;
    std::vector<CategoryCount> legend;
    int legendLines = 1;
};

int TextWidth(std::string_view utf8)
{
    return static_cast<int>(static_cast<double>(utf8.size()) * kCharWidth);
}

std::string LegendText(TimelineTable table, const CategoryCount& c)
{
    return TimelineCategoryName(table, c.category) + " (" + std::to_string(c.count) + ")";
}

// Lays out the legend items left to right, wrapping at width; calls place for each.
template <class Place> int FlowLegend(const Panel& p, int width, Place place)
{
    int x = kMargin;
    int line = 0;
    for (const CategoryCount& c : p.legend) {
        const int w = 14 + TextWidth(LegendText(p.table, c)) + 18;
        if (x + w > width - kMargin && x > kMargin) {
            x = kMargin;
            ++line;
        }
        place(c, x, line);
        x += w;
    }
    return line + 1;
}

int PanelHeight(const Panel& p)
{
    return kTitleHeight + p.legendLines * kLegendLine + kAxisHeight + p.layout.bodyHeight;
}

void DrawPanel(
    SvgWriter& svg, const Panel& p, int top, int width, const TimelineGeometry& g, const NameTables& names)
{
    const bool units = p.table == TimelineTable::Units;
    svg.open("g", units ? "class=\"units\"" : "class=\"formations\"");
    svg.text(kMargin, top + 18, units ? "Units" : "Formations", "font-size=\"14\" font-weight=\"bold\"");

    const int legendTop = top + kTitleHeight;
    FlowLegend(p, width, [&](const CategoryCount& c, int x, int line) {
        const int y = legendTop + line * kLegendLine;
        svg.rect(x, y + 2, 11, 11, HexColour(TimelineCategoryColour(p.table, c.category)));
        svg.text(x + 15, y + 12, LegendText(p.table, c));
    });

    const TimelineLayout& l = p.layout;
    const int axisTop = legendTop + p.legendLines * kLegendLine;
    const int bodyTop = axisTop + kAxisHeight;
    const int bottom = bodyTop + l.bodyHeight;
    const int step = TimelineTickStep(l.pixelsPerMonth * 12, 40);
    for (int year = l.axis.firstYear; year <= l.axis.endYear; ++year) {
        if (year % step != 0)
            continue;
        const int x = TimelineX(l, year * 12);
        svg.line(x, axisTop + 16, x, bottom, "#dddddd");
        svg.text(x, axisTop + 12, std::to_string(1900 + year), "text-anchor=\"middle\" fill=\"#444444\"");
    }
    svg.line(l.plotLeft, axisTop + 16, l.plotRight, axisTop + 16, "#888888");

    for (const TimelineGroupBand& band : l.groups) {
        const Rgb colour = TimelineCategoryColour(p.table, band.category);
        svg.rect(kMargin, bodyTop + band.y + 4, width - 2 * kMargin, g.groupHeight - 6, HexColour(colour),
            "fill-opacity=\"0.12\"");
        svg.text(kMargin + 4, bodyTop + band.y + g.groupHeight - 6,
            TimelineCategoryName(p.table, band.category) + " (" + std::to_string(band.count) + ")",
            "font-weight=\"bold\"");
    }
    for (const TimelineBar& bar : l.bars) {
        const TimelineRow& row = (*p.rows)[static_cast<std::size_t>(bar.row)];
        const std::string name = Cp1252ToUtf8(row.name);
        const int y = bodyTop + bar.y;
        std::string label = std::to_string(row.slot);
        label.insert(0, label.size() < 3 ? 3 - label.size() : 0, '0');
        svg.text(kMargin + 4, y + g.rowHeight - 4, label + " " + name, "fill=\"#222222\"");
        std::string extra = "class=\"bar\" data-slot=\"" + std::to_string(row.slot) + "\" rx=\"2\"";
        if (row.flag != SpanFlag::None)
            extra += " stroke=\"" + HexColour(kTimelineFaultColour)
                + "\" stroke-width=\"2\" stroke-dasharray=\"3 2\" fill-opacity=\"0.35\"";
        const int barTop = y + (g.rowHeight - g.barHeight) / 2;
        svg.open("rect",
            "x=\"" + std::to_string(bar.x0) + "\" y=\"" + std::to_string(barTop) + "\" width=\""
                + std::to_string(std::max(bar.x1 - bar.x0, 1)) + "\" height=\"" + std::to_string(g.barHeight)
                + "\" fill=\"" + HexColour(TimelineCategoryColour(p.table, row.category)) + "\" " + extra);
        svg.title(Cp1252ToUtf8(TimelineTooltip(row, names)));
        svg.close("rect");
    }
    svg.close("g");
}

} // namespace

std::string TimelineSvg(const TimelineSvgInput& input)
{
    static const NameTables kNoNames;
    const NameTables& names = input.names != nullptr ? *input.names : kNoNames;
    TimelineGeometry g;
    g.width = std::max(input.width, 400);
    int longest = 0;
    for (const auto* rows : { &input.units, &input.formations })
        for (const TimelineRow& row : *rows)
            longest = std::max(longest, TextWidth(Cp1252ToUtf8(row.name)));
    g.nameColumn = kMargin + 8 + TextWidth("000 ") + std::clamp(longest, 60, 120);

    std::vector<Panel> panels;
    for (TimelineTable table : { TimelineTable::Units, TimelineTable::Formations }) {
        const auto& rows = table == TimelineTable::Units ? input.units : input.formations;
        Panel p { table, &rows, LayoutTimeline(table, rows, g), RowsPerCategory(table, rows) };
        p.legendLines = FlowLegend(p, g.width, [](const CategoryCount&, int, int) {});
        panels.push_back(std::move(p));
    }
    const int headingHeight = input.heading.empty() ? 0 : 30;
    int height = kMargin + headingHeight + kMargin;
    for (const Panel& p : panels)
        height += PanelHeight(p) + kGap;

    SvgWriter svg(g.width, height);
    svg.title(input.heading.empty() ? "Availability timeline" : "Availability timeline: " + input.heading);
    svg.rect(0, 0, g.width, height, "#ffffff");
    int top = kMargin;
    if (!input.heading.empty()) {
        svg.text(kMargin, top + 18, "Availability timeline: " + input.heading,
            "font-size=\"16\" font-weight=\"bold\"");
        top += headingHeight;
    }
    for (const Panel& p : panels) {
        DrawPanel(svg, p, top, g.width, g, names);
        top += PanelHeight(p) + kGap;
    }
    return svg.finish();
}

} // namespace tarnwick::core
