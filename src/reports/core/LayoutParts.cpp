#include "reports/core/LayoutParts.h"

#include <cmath>

namespace talvor::report::parts {

namespace {

constexpr int kEntryGapPx = 4;

Control cellText(const Column& c, Px at) {
    if (c.headingName.isEmpty()) return label(c.heading, at);
    return runtimeLabel(c.headingName, at, c.heading);
}

// The frame of a row and the rules between its cells.
std::vector<Control> rowRules(const std::vector<int>& widths, int y, int heightPx) {
    int total = 0;
    for (int w : widths) total += w;
    std::vector<Control> rules{box({0, y, total, heightPx})};
    int x = 0;
    for (size_t i = 0; i + 1 < widths.size(); ++i) {
        x += widths[i];
        rules.push_back(verticalRule(x, y, heightPx));
    }
    return rules;
}

std::vector<int> widthsOf(const std::vector<Column>& columns) {
    std::vector<int> widths;
    for (const Column& c : columns) widths.push_back(c.widthPx);
    return widths;
}

Px inset(int x, int y, int w, int h) { return {x + kCellPaddingPx, y, w - 2 * kCellPaddingPx, h}; }

int captionWidthPx(const QString& caption, const FontSpec& font) {
    if (caption.isEmpty()) return 0;
    const double emPx = font.pointSize / kPtPerPx;
    return int(std::ceil(caption.size() * emPx)) + kEntryGapPx;
}

std::vector<Control> entryControls(int x, int y, const Entry& e, const Style& style) {
    const FontSpec captionFont = e.captionFont.value_or(style.font);
    const int captionPx = captionWidthPx(e.caption, captionFont);
    std::vector<Control> out;
    if (!e.caption.isEmpty())
        out.push_back(label(e.caption, {x + kCellPaddingPx, y, captionPx, style.rowPx})
                          .withFont(captionFont));
    const int room = e.widthPx - captionPx - 2 * kCellPaddingPx;
    const int each = room / int(std::max<size_t>(e.values.size(), 1));
    int vx = x + kCellPaddingPx + captionPx;
    for (Control v : e.values) {
        v.rectMm = Px{vx, y, each - kEntryGapPx, style.rowPx}.toMm();
        out.push_back(v.withFont(style.font));
        vx += each;
    }
    return out;
}

}  // namespace

Column text(const QString& heading, const QString& field, int widthPx) {
    return {heading, {}, field, widthPx, Align::Left};
}

Column figure(const QString& heading, const QString& field, int widthPx) {
    return {heading, {}, field, widthPx, Align::Right};
}

Column runtimeText(const QString& name, const QString& placeholder, const QString& field,
                   int widthPx) {
    return {placeholder, name, field, widthPx, Align::Left};
}

std::vector<Control> headingRow(const std::vector<Column>& columns, int y, const Style& style) {
    std::vector<Control> out = rowRules(widthsOf(columns), y, style.rowPx);
    int x = 0;
    for (const Column& c : columns) {
        const Px at = inset(x, y, c.widthPx, style.rowPx);
        out.push_back(cellText(c, at).withFont(style.font).aligned(Align::Centre));
        x += c.widthPx;
    }
    return out;
}

Band detailBand(const std::vector<Column>& columns, const Style& style,
                const QString& blankUnless) {
    std::vector<Control> out = rowRules(widthsOf(columns), 0, style.rowPx);
    int x = 0;
    for (const Column& c : columns) {
        const Px at = inset(x, 0, c.widthPx, style.rowPx);
        Control cell = dataField(c.field, at).withFont(style.font).aligned(c.align);
        out.push_back(blankUnless.isEmpty() ? cell : cell.blankUnlessSet(blankUnless));
        x += c.widthPx;
    }
    return band(BandKind::SubDetail, style.rowPx, std::move(out));
}

Entry entry(const QString& caption, Control value, int widthPx) {
    return {caption, {std::move(value)}, widthPx, std::nullopt};
}

Entry entry(const QString& caption, std::vector<Control> values, int widthPx) {
    return {caption, std::move(values), widthPx, std::nullopt};
}

std::vector<Control> entryLine(int y, const std::vector<Entry>& entries, const Style& style) {
    std::vector<Control> out;
    int x = 0;
    for (const Entry& e : entries) {
        for (Control& c : entryControls(x, y, e, style)) out.push_back(std::move(c));
        x += e.widthPx;
    }
    return out;
}

std::vector<Control> ruledEntryLine(int y, const std::vector<Entry>& entries, const Style& style) {
    std::vector<int> widths;
    for (const Entry& e : entries) widths.push_back(e.widthPx);
    return join({rowRules(widths, y, style.rowPx), entryLine(y, entries, style)});
}

Control titleLabel(const QString& text, int heightPx, const FontSpec& font) {
    return label(text, {0, 0, kWidthPx, heightPx}).withFont(font).aligned(Align::Centre);
}

std::vector<Control> join(std::initializer_list<std::vector<Control>> groups) {
    std::vector<Control> out;
    for (const auto& g : groups) out.insert(out.end(), g.begin(), g.end());
    return out;
}

Control rt(const QString& name, const QString& placeholder) {
    return runtimeLabel(name, {}, placeholder);
}

}  // namespace talvor::report::parts
