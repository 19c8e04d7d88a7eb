#include "common/core/BasicSettings.h"

#include "common/core/Gbk.h"
#include "common/core/Routines.h"

namespace talvor {

namespace {

constexpr int kShortestCaptionBytes = 4;
constexpr int kMinWidth = 50, kMaxWidth = 400, kMinLength = 80, kMaxLength = 500;

// A number the user may still have typed badly counts as out of range.
bool outside(const QString& text, int low, int high) {
    bool ok = false;
    const int value = trimmedInput(text).toInt(&ok);
    return !ok || value < low || value > high;
}

}  // namespace

const std::array<QString, 5>& defaultGoodsCaptions() {
    static const std::array<QString, 5> captions = {QStringLiteral("编码"), QStringLiteral("货名"),
                                                    QStringLiteral("规格"), QStringLiteral("型号"),
                                                    QStringLiteral("分类")};
    return captions;
}

QString captionOrDefault(const QString& typed, size_t place) {
    const QString caption = trimmedInput(typed);
    return toGbk(caption).size() < kShortestCaptionBytes ? defaultGoodsCaptions()[place] : caption;
}

std::optional<PaperSize> fixedPaperSize(const QString& pageType) {
    if (pageType == u"A4") return PaperSize{210, 297};
    if (pageType == u"默认") return PaperSize{218, 140};
    return std::nullopt;
}

QString customPaperProblem(const QString& width, const QString& length) {
    if (trimmedInput(width).isEmpty()) return QStringLiteral("自定义纸张类型必需输入纸张宽度");
    if (trimmedInput(length).isEmpty()) return QStringLiteral("自定义纸张类型必需输入纸张长度");
    if (outside(width, kMinWidth, kMaxWidth)) return QStringLiteral("纸张宽度不合适");
    if (outside(length, kMinLength, kMaxLength)) return QStringLiteral("纸张长度不合适");
    return {};
}

}  // namespace talvor
