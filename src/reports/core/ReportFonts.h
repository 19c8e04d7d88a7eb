#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <vector>

#include "reports/core/ReportModel.h"

namespace talvor::report {

// Maps 宋体 and SimSun to the Song face installed with the program (AR PL UMing CN, else
// WenQuanYi Zen Hei). Idempotent; every report path calls it, so tests and PDF export get it
// without the application shell.
void installFontSubstitutes();

// The font a layout asks for, unhinted so that widths scale with the resolution and the preview,
// the printer and the PDF lay text out alike.
QFont makeFont(const FontSpec& wanted);

// Text widths in millimetres, measured on one fixed 1200-dpi reference device: screen metrics
// differ from paper by a few per cent.
class TextMeasure {
  public:
    explicit TextMeasure(const std::vector<FontSpec>& fonts);

    double widthMm(int font, const QString& text) const;
    // No glyph is wider than this, so a text of n characters fits in n of them.
    double emMm(int font) const { return em_[size_t(font)]; }
    QString elided(int font, const QString& text, double widthMm) const;

  private:
    std::vector<QFontMetricsF> metrics_;
    std::vector<double> em_;
};

}  // namespace talvor::report
