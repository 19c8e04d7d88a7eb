#pragma once

#include <QString>
#include <array>
#include <optional>

namespace talvor {

// What a goods caption falls back to when the one typed is shorter than 4 GB2312 bytes.
const std::array<QString, 5>& defaultGoodsCaptions();
// The trimmed caption, or the default of its place (0 to 4) when it is too short.
QString captionOrDefault(const QString& typed, size_t place);

// The width and length in millimetres of the paper types that fix them ("A4", "默认").
struct PaperSize {
    int width;
    int length;
};
std::optional<PaperSize> fixedPaperSize(const QString& pageType);

inline const QString kCustomPaper = QStringLiteral("自定义");

// The first thing wrong with a custom paper's width and length boxes, as the message to show;
// empty when both are usable.
QString customPaperProblem(const QString& width, const QString& length);

}  // namespace talvor
