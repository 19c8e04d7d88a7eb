#include "reports/core/ReportFonts.h"

#include <QImage>
#include <mutex>

namespace talvor::report {

namespace {

constexpr double kReferenceDpi = 1200;
constexpr double kReferenceMmPerDot = 25.4 / kReferenceDpi;

const QImage& referenceDevice() {
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const int dotsPerMetre = qRound(kReferenceDpi / 0.0254);
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        return image;
    }();
    return device;
}

}  // namespace

void installFontSubstitutes() {
    static std::once_flag once;
    std::call_once(once, [] {
        const QStringList song{QStringLiteral("AR PL UMing CN"),
                               QStringLiteral("WenQuanYi Zen Hei")};
        QFont::insertSubstitutions(QStringLiteral("宋体"), song);
        QFont::insertSubstitutions(QStringLiteral("SimSun"), song);
    });
}

QFont makeFont(const FontSpec& wanted) {
    installFontSubstitutes();
    QFont font(wanted.family);
    font.setPointSizeF(wanted.pointSize);
    font.setBold(wanted.bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

TextMeasure::TextMeasure(const std::vector<FontSpec>& fonts) {
    metrics_.reserve(fonts.size());
    for (const FontSpec& font : fonts) {
        metrics_.emplace_back(makeFont(font), &referenceDevice());
        // Song faces keep every glyph within the em square; synthetic bold widens it a little.
        em_.push_back(font.pointSize * 25.4 / 72 * (font.bold ? 1.1 : 1.0));
    }
}

double TextMeasure::widthMm(int font, const QString& text) const {
    return metrics_[size_t(font)].horizontalAdvance(text) * kReferenceMmPerDot;
}

QString TextMeasure::elided(int font, const QString& text, double widthMm) const {
    return metrics_[size_t(font)].elidedText(text, Qt::ElideRight, widthMm / kReferenceMmPerDot);
}

}  // namespace talvor::report
