#pragma once

#include <QString>

namespace talvor {

namespace report {
class ReportLayout;
}

// A layout of the system by its instance name; throws ReportError when there is none.
report::ReportLayout& systemLayout(const QString& name);

// The four goods headings (QRLab_code, QRLab_name, QRLab_spec, QRLab_type) take the first four
// goods captions.
void setGoodsHeadings(report::ReportLayout& layout);

// Previews a layout of the system, its goods headings written first when asked. Returns when the
// preview closes; any error is swallowed, and no preview appears if it came first.
void previewLayout(const QString& layout, bool goodsHeadings);

}  // namespace talvor
