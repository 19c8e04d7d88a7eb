#pragma once

#include <QString>
#include <utility>
#include <vector>

namespace talvor {

// Previews a layout of the system by its instance name after writing its run-time labels: the
// four goods headings (QRLab_code, QRLab_name, QRLab_spec, QRLab_type) take the first four
// goods captions when asked, then each given label its text. Returns when the preview closes;
// any error is swallowed, and no preview appears if it came first.
void previewLayout(const QString& layout, bool goodsHeadings,
                   const std::vector<std::pair<QString, QString>>& labels = {});

}  // namespace talvor
