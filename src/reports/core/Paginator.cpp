#include "reports/core/Paginator.h"

#include <optional>

#include "datamodel/Dataset.h"
#include "reports/core/ReportFonts.h"

namespace talvor::report {

namespace {

constexpr double kTolerance = 1e-6;
constexpr double kNarrowest = 0.3;

// Figures, dates and codes lose meaning when cut, so they are narrowed instead of elided.
bool isFigure(const QString& text) {
    for (QChar c : text)
        if (!c.isDigit() && !QStringView(u" +-.,/:%()").contains(c)) return false;
    return true;
}

struct BoundControl {
    const Control* control = nullptr;
    int font = 0;
    const Dataset* dataset = nullptr;  // data fields whose dataset is open
    int field = -1;
    int blankField = -1;
    bool perRecord = false;  // reads the record being printed, not the current row
};

struct BoundBand {
    const Band* band = nullptr;
    std::vector<BoundControl> controls;
};

class Paginator {
  public:
    Paginator(const LayoutDefinition& layout, const LayoutState& state,
              const DatasetResolver& datasets);
    PreparedReport run();

  private:
    std::optional<BoundBand> bind(BandKind kind);
    BoundControl bind(const Control& control, bool detail);
    const Dataset* dataset(const QString& name) const;
    int requireField(const Dataset& d, const QString& field) const;
    int fontIndex(const FontSpec& font);

    void startPage();
    void stack(const BoundBand& band);
    void finishPage(bool last);
    void flow(const BoundBand& band, int record);
    void place(const BoundBand& band, int record, double topMm);
    void placeText(const BoundControl& c, const QRectF& rect, int record);
    QString textOf(const BoundControl& c, int record) const;

    const LayoutDefinition& layout_;
    const LayoutState& state_;
    const DatasetResolver& datasets_;
    const Dataset* bound_ = nullptr;
    PreparedReport report_;
    std::optional<TextMeasure> measure_;
    std::optional<BoundBand> title_, header_, detail_, summary_, footer_;
    QRectF printable_;
    double bodyBottom_ = 0;
    double y_ = 0;
    bool pageHasBody_ = false;
};

Paginator::Paginator(const LayoutDefinition& layout, const LayoutState& state,
                     const DatasetResolver& datasets)
    : layout_(layout), state_(state), datasets_(datasets) {
    report_.layout = layout.instanceName;
    report_.page = state.page;
    printable_ = state.page.printableMm();
    bound_ = dataset(layout.dataset);
    title_ = bind(BandKind::Title);
    header_ = bind(BandKind::PageHeader);
    detail_ = bind(BandKind::SubDetail);
    summary_ = bind(BandKind::Summary);
    footer_ = bind(BandKind::PageFooter);
    measure_.emplace(report_.fonts);
    bodyBottom_ = printable_.bottom() - (footer_ ? footer_->band->heightMm : 0);
}

const Dataset* Paginator::dataset(const QString& name) const {
    const Dataset* d = datasets_(name);
    if (!d) throw ReportError(QStringLiteral("%1: 没有数据集 %2").arg(layout_.instanceName, name));
    return d;
}

std::optional<BoundBand> Paginator::bind(BandKind kind) {
    const Band* band = layout_.find(kind);
    if (!band) return std::nullopt;
    BoundBand bound{band, {}};
    for (const Control& c : band->controls)
        bound.controls.push_back(bind(c, kind == BandKind::SubDetail));
    return bound;
}

BoundControl Paginator::bind(const Control& control, bool detail) {
    BoundControl b{&control, fontIndex(control.font)};
    if (control.kind != ControlKind::DataField) return b;
    b.perRecord = detail && control.dataset.isEmpty();
    const Dataset* d = control.dataset.isEmpty() ? bound_ : dataset(control.dataset);
    if (!d->isActive()) return b;  // a closed dataset prints nothing
    b.dataset = d;
    b.field = requireField(*d, control.field);
    if (!control.blankUnless.isEmpty()) b.blankField = requireField(*d, control.blankUnless);
    return b;
}

int Paginator::requireField(const Dataset& d, const QString& field) const {
    const int index = d.fieldIndex(field);
    if (index < 0)
        throw ReportError(
            QStringLiteral("%1: %2 没有字段 %3").arg(layout_.instanceName, d.name(), field));
    return index;
}

int Paginator::fontIndex(const FontSpec& font) {
    for (size_t i = 0; i < report_.fonts.size(); ++i)
        if (report_.fonts[i] == font) return int(i);
    report_.fonts.push_back(font);
    return int(report_.fonts.size() - 1);
}

PreparedReport Paginator::run() {
    startPage();
    const int records = bound_->isActive() ? bound_->recordCount() : 0;
    if (detail_)
        for (int record = 0; record < records; ++record) flow(*detail_, record);
    if (summary_) flow(*summary_, -1);
    finishPage(true);
    return std::move(report_);
}

void Paginator::startPage() {
    report_.pages.emplace_back();
    y_ = printable_.top();
    pageHasBody_ = false;
    const bool first = report_.pages.size() == 1;
    if (header_ && (!first || layout_.firstPageHeader)) stack(*header_);
    if (title_ && first) stack(*title_);
}

void Paginator::stack(const BoundBand& band) {
    place(band, -1, y_);
    y_ += band.band->heightMm;
}

void Paginator::finishPage(bool last) {
    if (footer_ && (!last || layout_.lastPageFooter))
        place(*footer_, -1, printable_.bottom() - footer_->band->heightMm);
}

// A band that does not fit goes to the next page, unless the page holds no body yet: a band
// taller than the page then prints clipped rather than breaking pages for ever.
void Paginator::flow(const BoundBand& band, int record) {
    if (pageHasBody_ && y_ + band.band->heightMm > bodyBottom_ + kTolerance) {
        finishPage(false);
        startPage();
    }
    place(band, record, y_);
    y_ += band.band->heightMm;
    pageHasBody_ = true;
}

void Paginator::place(const BoundBand& band, int record, double topMm) {
    PreparedPage& page = report_.pages.back();
    page.bands.push_back({band.band->kind, record, topMm});
    const QPointF origin(printable_.left(), topMm);
    for (const BoundControl& c : band.controls) {
        const QRectF rect = c.control->rectMm.translated(origin);
        if (c.control->kind == ControlKind::Shape)
            page.shapes.push_back({c.control->shape, rect, c.control->penMm});
        else
            placeText(c, rect, record);
    }
}

void Paginator::placeText(const BoundControl& c, const QRectF& rect, int record) {
    QString text = textOf(c, record);
    if (text.isEmpty()) return;
    const Align align = state_.alignments.value(c.control->name, c.control->align);
    PreparedText out{rect, {}, c.font, align, 1};
    const double room = rect.width();
    if (text.size() * measure_->emMm(c.font) > room) {
        const double width = measure_->widthMm(c.font, text);
        if (width > room && isFigure(text))
            out.stretch = std::max(room / width, kNarrowest);
        else if (width > room)
            text = measure_->elided(c.font, text, room);
    }
    out.text = std::move(text);
    report_.pages.back().texts.push_back(std::move(out));
}

QString Paginator::textOf(const BoundControl& c, int record) const {
    const Control& control = *c.control;
    switch (control.kind) {
        case ControlKind::Label:
            return control.text;
        case ControlKind::RuntimeLabel:
            return state_.captions.value(control.name, control.text);
        case ControlKind::DataField:
            break;
        case ControlKind::Shape:
            return {};
    }
    if (!c.dataset) return {};
    const int row = c.perRecord ? record : c.dataset->currentRow();
    if (row < 0 || row >= c.dataset->recordCount()) return {};
    if (c.blankField >= 0 && c.dataset->value(row, c.blankField).toString().isEmpty()) return {};
    return c.dataset->displayText(row, c.field);
}

}  // namespace

PreparedReport paginate(const LayoutDefinition& layout, const LayoutState& state,
                        const DatasetResolver& datasets) {
    installFontSubstitutes();
    return Paginator(layout, state, datasets).run();
}

}  // namespace talvor::report
