#include "common/core/GoodsCaptions.h"

#include "datamodel/Dataset.h"

namespace talvor {

GoodsCaptionTexts& GoodsCaptions() {
    static GoodsCaptionTexts captions;
    return captions;
}

void loadGoodsCaptions(Dataset& userQ, GoodsCaptionTexts& captions) {
    static const std::array<QString, 5> columns = {
        QStringLiteral("gods_code"), QStringLiteral("gods_name"), QStringLiteral("gods_spec"),
        QStringLiteral("gods_type"), QStringLiteral("gods_kind")};
    userQ.openWith(QStringLiteral("select top 1 * from userinfo"));
    for (size_t k = 0; k < columns.size(); ++k) captions[k] = userQ.text(columns[k]);
}

}  // namespace talvor
