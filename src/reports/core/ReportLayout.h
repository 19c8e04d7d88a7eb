#pragma once

#include <QHash>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "reports/core/Paginator.h"
#include "reports/core/PreparedReport.h"
#include "reports/core/ReportModel.h"

namespace talvor {
class Dataset;
class TFrmDataMod;
}  // namespace talvor

namespace talvor::report {

// Shows a prepared report and returns when it is closed. The ui installs the preview window;
// tests install a recorder. Returns the one it replaces.
using Presenter = std::function<void(const PreparedReport&)>;
Presenter setPresenter(Presenter presenter);
// Shows pages prepared (and perhaps added to) by the caller; throws when no preview is installed.
void present(const PreparedReport& report);

// A layout of the system for the whole run: its definition, the datasets it prints, and what
// printing screens leave in it (the paper last set and the captions last written).
class ReportLayout {
  public:
    ReportLayout(LayoutDefinition definition, DatasetResolver datasets);

    const LayoutDefinition& definition() const { return definition_; }
    const QString& name() const { return definition_.instanceName; }

    void setPaperA4();
    // A size that leaves nothing inside the margins is no paper: the paper stays as it was.
    void setPaperCustom(double widthMm, double lengthMm);
    const PageSetup& page() const { return state_.page; }

    // Run-time labels only; an unknown name throws ReportError.
    void setCaption(const QString& label, const QString& text);
    QString caption(const QString& label) const;
    void centre(const QString& label);

    // Prints `dataset` wherever the layout names `name`; nullptr returns to the data module's.
    void bind(const QString& name, const Dataset* dataset);

    PreparedReport prepare() const;
    // Prepares the pages from the datasets' current rows and shows them; returns when the
    // preview closes.
    void preview() const;

  private:
    const Control& runtimeLabel(const QString& label) const;

    LayoutDefinition definition_;
    DatasetResolver datasets_;
    QHash<QString, const Dataset*> bound_;
    LayoutState state_;
};

// The layouts, created once at start-up after the data module, in the system's order.
class ReportLayouts {
  public:
    explicit ReportLayouts(TFrmDataMod& data);
    ~ReportLayouts();
    ReportLayouts(const ReportLayouts&) = delete;
    ReportLayouts& operator=(const ReportLayouts&) = delete;

    const std::vector<std::unique_ptr<ReportLayout>>& all() const { return layouts_; }
    ReportLayout* layout(const QString& instanceName) const;

    ReportLayout *QRoutlist, *Qgath, *Qincost, *QRiss, *QRinstat, *Qoutcost, *Rptstore, *QRpd;
    ReportLayout *Qpay, *QRcheck, *QRout, *QRin, *Qalarm, *QRoutSortG, *QRoutSortC;

  private:
    std::vector<std::unique_ptr<ReportLayout>> layouts_;
};

// The single instance (tests create their own).
ReportLayouts* Reports();

}  // namespace talvor::report
