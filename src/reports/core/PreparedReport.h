#pragma once

#include <QRectF>
#include <QString>
#include <QStringList>
#include <stdexcept>
#include <vector>

#include "datamodel/Error.h"
#include "reports/core/ReportModel.h"

namespace talvor::report {

// A report engine failure: a layout naming a field its dataset lacks, an unknown run-time
// label, a file that cannot be written or read.
class ReportError : public Error {
  public:
    using Error::Error;
};

// Positions are millimetres from the paper's top-left corner.
struct PreparedText {
    QRectF rectMm;
    QString text;
    int font = 0;  // index into PreparedReport::fonts
    Align align = Align::Left;
    double stretch = 1;  // below 1 a number too wide for its cell is narrowed, never cut

    bool operator==(const PreparedText&) const = default;
};

struct PreparedShape {
    ShapeKind shape = ShapeKind::Rectangle;
    QRectF rectMm;
    double penMm = 0.2;

    bool operator==(const PreparedShape&) const = default;
};

// Where a band was placed; record is the bound dataset's row of a sub-detail, -1 otherwise.
struct PlacedBand {
    BandKind kind = BandKind::SubDetail;
    int record = -1;
    double topMm = 0;

    bool operator==(const PlacedBand&) const = default;
};

struct PreparedPage {
    std::vector<PlacedBand> bands;
    std::vector<PreparedShape> shapes;
    std::vector<PreparedText> texts;

    bool operator==(const PreparedPage&) const = default;
    QStringList textList() const;
};

// The pages of one print run, ready to paint on any device.
struct PreparedReport {
    QString layout;  // instance name of the layout it came from
    PageSetup page;
    std::vector<FontSpec> fonts;
    std::vector<PreparedPage> pages;

    bool operator==(const PreparedReport&) const = default;
    int pageCount() const { return int(pages.size()); }
};

}  // namespace talvor::report
