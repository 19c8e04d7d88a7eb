#include "ui/LayoutPrinting.h"

#include "common/core/GoodsCaptions.h"
#include "reports/core/PreparedReport.h"
#include "reports/core/ReportLayout.h"
#include "ui/ErrorReport.h"

namespace talvor {

void previewLayout(const QString& name, bool goodsHeadings,
                   const std::vector<std::pair<QString, QString>>& labels) {
    quietly([&] {
        report::ReportLayouts* layouts = report::Reports();
        report::ReportLayout* layout = layouts ? layouts->layout(name) : nullptr;
        if (!layout) throw report::ReportError(QStringLiteral("没有报表 ") + name);
        if (goodsHeadings) {
            const char* headings[] = {"QRLab_code", "QRLab_name", "QRLab_spec", "QRLab_type"};
            for (size_t i = 0; i < std::size(headings); ++i)
                layout->setCaption(QLatin1String(headings[i]), GoodsCaptions()[i]);
        }
        for (const auto& [label, text] : labels) layout->setCaption(label, text);
        layout->preview();
    });
}

}  // namespace talvor
