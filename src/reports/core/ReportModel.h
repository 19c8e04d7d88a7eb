#pragma once

#include <QMarginsF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

namespace talvor::report {

// Layouts are drawn in the 96-dpi pixels of the screens they were designed on and converted to
// millimetres once, when a definition is built.
inline constexpr double kMmPerPx = 25.4 / 96.0;
inline constexpr double kPtPerPx = 72.0 / 96.0;

enum class Paper { A4, Custom, PrinterDefault };

// Paper size and margins in millimetres, portrait, one column.
struct PageSetup {
    Paper paper = Paper::A4;
    QSizeF sizeMm{210, 297};
    QMarginsF marginsMm{10, 10, 10, 10};

    static PageSetup a4();
    static PageSetup custom(double widthMm, double lengthMm);
    // The printer's own paper; the layout is set out on A4 values.
    static PageSetup printerDefault();

    QRectF printableMm() const;
    bool operator==(const PageSetup&) const = default;
};

enum class BandKind { Title, PageHeader, SubDetail, Summary, PageFooter };
enum class ControlKind { Label, RuntimeLabel, DataField, Shape };
enum class ShapeKind { Rectangle, HorizontalRule, VerticalRule };
enum class Align { Left, Centre, Right };

// The system asks for 宋体; the family is mapped to the installed Song face when fonts are made.
struct FontSpec {
    QString family = QStringLiteral("宋体");
    double pointSize = 13 * kPtPerPx;
    bool bold = false;

    bool operator==(const FontSpec&) const = default;
};

FontSpec fontPx(int pixels, bool bold = false);
FontSpec fontPt(double points, bool bold = false);

// A rectangle in 96-dpi pixels, relative to its band.
struct Px {
    int x = 0, y = 0, w = 0, h = 0;
    QRectF toMm() const;
};

struct Control {
    ControlKind kind = ControlKind::Label;
    QString name;     // run-time labels: the name a printing screen sets it by
    QString text;     // a label's caption, a run-time label's placeholder
    QString dataset;  // data fields of another dataset print its current row
    QString field;
    QString blankUnless;  // a data field prints nothing while this field of its row is empty
    QRectF rectMm;        // within the band
    FontSpec font;
    Align align = Align::Left;
    ShapeKind shape = ShapeKind::Rectangle;
    double penMm = 0.2;

    Control withFont(const FontSpec& f) const;
    Control aligned(Align a) const;
    Control blankUnlessSet(const QString& keyField) const;
};

Control label(const QString& text, Px at);
// The placeholder is what prints until the screen sets the caption: the name unless given.
Control runtimeLabel(const QString& name, Px at, const QString& placeholder = {});
Control dataField(const QString& field, Px at);  // of the bound dataset, one row per detail
Control dataField(const QString& dataset, const QString& field, Px at);
Control box(Px at);
Control horizontalRule(int x, int y, int w);
Control verticalRule(int x, int y, int h);

struct Band {
    BandKind kind = BandKind::SubDetail;
    double heightMm = 0;
    std::vector<Control> controls;
};

Band band(BandKind kind, int heightPx, std::vector<Control> controls = {});

struct LayoutDefinition {
    QString className;     // TQRin
    QString instanceName;  // QRin
    QString dataset;       // the bound dataset: one sub-detail per record
    PageSetup page;
    bool firstPageHeader = true;  // the page header prints on the first page too
    bool lastPageFooter = true;   // the page footer prints on the last page too
    std::vector<Band> bands;

    const Band* find(BandKind kind) const;
    const Control* control(const QString& name) const;  // a run-time label by name
};

}  // namespace talvor::report
