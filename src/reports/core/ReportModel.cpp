#include "reports/core/ReportModel.h"

namespace talvor::report {

PageSetup PageSetup::a4() { return {}; }

PageSetup PageSetup::custom(double widthMm, double lengthMm) {
    return {Paper::Custom, QSizeF(widthMm, lengthMm), QMarginsF(10, 10, 10, 10)};
}

PageSetup PageSetup::printerDefault() {
    return {Paper::PrinterDefault, QSizeF(210, 297), QMarginsF(10, 10, 10, 10)};
}

QRectF PageSetup::printableMm() const {
    return QRectF(QPointF(0, 0), sizeMm).marginsRemoved(marginsMm);
}

FontSpec fontPx(int pixels, bool bold) { return {QStringLiteral("宋体"), pixels * kPtPerPx, bold}; }

FontSpec fontPt(double points, bool bold) { return {QStringLiteral("宋体"), points, bold}; }

QRectF Px::toMm() const { return {x * kMmPerPx, y * kMmPerPx, w * kMmPerPx, h * kMmPerPx}; }

Control Control::withFont(const FontSpec& f) const {
    Control c = *this;
    c.font = f;
    return c;
}

Control Control::aligned(Align a) const {
    Control c = *this;
    c.align = a;
    return c;
}

Control Control::blankUnlessSet(const QString& keyField) const {
    Control c = *this;
    c.blankUnless = keyField;
    return c;
}

Control label(const QString& text, Px at) {
    Control c;
    c.text = text;
    c.rectMm = at.toMm();
    return c;
}

Control runtimeLabel(const QString& name, Px at, const QString& placeholder) {
    Control c = label(placeholder.isEmpty() ? name : placeholder, at);
    c.kind = ControlKind::RuntimeLabel;
    c.name = name;
    return c;
}

Control dataField(const QString& field, Px at) { return dataField(QString(), field, at); }

Control dataField(const QString& dataset, const QString& field, Px at) {
    Control c;
    c.kind = ControlKind::DataField;
    c.dataset = dataset;
    c.field = field;
    c.rectMm = at.toMm();
    return c;
}

namespace {

Control shape(ShapeKind kind, Px at) {
    Control c;
    c.kind = ControlKind::Shape;
    c.shape = kind;
    c.rectMm = at.toMm();
    return c;
}

}  // namespace

Control box(Px at) { return shape(ShapeKind::Rectangle, at); }
Control horizontalRule(int x, int y, int w) {
    return shape(ShapeKind::HorizontalRule, {x, y, w, 0});
}
Control verticalRule(int x, int y, int h) { return shape(ShapeKind::VerticalRule, {x, y, 0, h}); }

Band band(BandKind kind, int heightPx, std::vector<Control> controls) {
    return {kind, heightPx * kMmPerPx, std::move(controls)};
}

const Band* LayoutDefinition::find(BandKind kind) const {
    for (const Band& b : bands)
        if (b.kind == kind) return &b;
    return nullptr;
}

const Control* LayoutDefinition::control(const QString& name) const {
    for (const Band& b : bands)
        for (const Control& c : b.controls)
            if (c.kind == ControlKind::RuntimeLabel && c.name == name) return &c;
    return nullptr;
}

}  // namespace talvor::report
