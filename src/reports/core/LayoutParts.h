#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "reports/core/ReportModel.h"

// The recurring pieces the system's layouts are made of, expanded into plain controls: ruled
// tables whose headings stand over their cells, and lines of captions with their values.
namespace talvor::report::parts {

inline constexpr int kWidthPx = 718;  // 190 mm: A4 within its margins
inline constexpr int kCellPaddingPx = 3;

// The type and the line height of a table and of the lines of captions around it.
struct Style {
    FontSpec font;
    int rowPx = 24;
};

// A column of a ruled table: its heading above the cell its field prints in.
struct Column {
    QString heading;      // the caption, or the placeholder of a run-time heading
    QString headingName;  // set for a heading the printing screen writes
    QString field;
    int widthPx = 0;
    Align align = Align::Left;
};

Column text(const QString& heading, const QString& field, int widthPx);
Column figure(const QString& heading, const QString& field, int widthPx);
Column runtimeText(const QString& name, const QString& placeholder, const QString& field,
                   int widthPx);

// The ruled heading row at `y` of a band.
std::vector<Control> headingRow(const std::vector<Column>& columns, int y, const Style& style);

// One ruled table row per record; `blankUnless` keeps the cells of rows without that field empty.
Band detailBand(const std::vector<Column>& columns, const Style& style,
                const QString& blankUnless = {});

// A caption and the values printed after it, in a cell `widthPx` wide.
struct Entry {
    QString caption;
    std::vector<Control> values;  // laid out side by side after the caption
    int widthPx = 0;
    std::optional<FontSpec> captionFont;
};

Entry entry(const QString& caption, Control value, int widthPx);
Entry entry(const QString& caption, std::vector<Control> values, int widthPx);

// Entries left to right on one line at `y`; a ruled line is framed, with a rule between cells.
std::vector<Control> entryLine(int y, const std::vector<Entry>& entries, const Style& style);
std::vector<Control> ruledEntryLine(int y, const std::vector<Entry>& entries, const Style& style);

// A title across the band, centred.
Control titleLabel(const QString& text, int heightPx, const FontSpec& font);

// Concatenates groups of controls into the list of a band.
std::vector<Control> join(std::initializer_list<std::vector<Control>> groups);

// A run-time label whose place the band's row layout gives it.
Control rt(const QString& name, const QString& placeholder = {});

}  // namespace talvor::report::parts
