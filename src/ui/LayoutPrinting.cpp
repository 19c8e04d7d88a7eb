#include "ui/LayoutPrinting.h"

#include "common/core/GoodsCaptions.h"
#include "reports/core/PreparedReport.h"
#include "reports/core/ReportLayout.h"
#include "ui/ErrorReport.h"

namespace talvor {

report::ReportLayout& systemLayout(const QString& name) {
    report::ReportLayouts* layouts = report::Reports();
    report::ReportLayout* layout = layouts ? layouts->layout(name) : nullptr;
    if (!layout) throw report::ReportError(QStringLiteral("没有报表 ") + name);
    return *layout;
}

void setGoodsHeadings(report::ReportLayout& layout) {
    const char* headings[] = {"QRLab_code", "QRLab_name", "QRLab_spec", "QRLab_type"};
    for (size_t i = 0; i < std::size(headings); ++i)
        layout.setCaption(QLatin1String(headings[i]), GoodsCaptions()[i]);
}

void previewLayout(const QString& name, bool goodsHeadings) {
    quietly([&] {
        report::ReportLayout& layout = systemLayout(name);
        if (goodsHeadings) setGoodsHeadings(layout);
        layout.preview();
    });
}

}  // namespace talvor
