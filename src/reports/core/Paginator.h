#pragma once

#include <QHash>
#include <QString>
#include <functional>

#include "reports/core/PreparedReport.h"
#include "reports/core/ReportModel.h"

namespace talvor {
class Dataset;
}

namespace talvor::report {

// What a layout prints with besides its definition: the paper last set and the captions and
// alignments a printing screen wrote into it.
struct LayoutState {
    PageSetup page;
    QHash<QString, QString> captions;
    QHash<QString, Align> alignments;
};

// The dataset of a name, or nullptr.
using DatasetResolver = std::function<const Dataset*(const QString& name)>;

// Lays the layout out over its bound dataset, first record to last: title once on the first
// page, page header on every page (the first too when the layout says so), one sub-detail per
// record, the summary after the last record, the page footer at the foot of every page (the
// last too when the layout says so). An empty or closed dataset still gives one page. Texts are
// elided to their cells; figures are narrowed instead, so no digit is lost.
PreparedReport paginate(const LayoutDefinition& layout, const LayoutState& state,
                        const DatasetResolver& datasets);

}  // namespace talvor::report
