#pragma once

#include <QDialog>
#include <functional>

#include "reports/core/PreparedReport.h"

class QHBoxLayout;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace talvor {

class ReportPageView;

// The preview every printed output passes through, modal: the prepared pages zoomed to the
// page, to its width or to 100 %, paged through, set up, printed, saved and loaded again, and
// exported to PDF. Preview, printer and PDF all draw through the one paint function.
class ReportPreview : public QDialog {
    Q_OBJECT

  public:
    enum class Zoom { FitPage, FitWidth, Actual };

    explicit ReportPreview(report::PreparedReport report, QWidget* parent = nullptr);
    ~ReportPreview() override;

    const report::PreparedReport& report() const { return report_; }
    int currentPage() const { return page_; }  // from 0
    Zoom zoomMode() const { return zoomMode_; }
    double zoom() const;  // 1 shows the paper at its own size

    void showPage(int page);  // kept within the pages
    void setZoomMode(Zoom mode);

    // The file a save, a load or an export goes to; empty when the user cancels. Tests answer.
    std::function<QString(const QString& title, const QString& filter)> askSaveFile;
    std::function<QString(const QString& title, const QString& filter)> askOpenFile;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QPushButton* addButton(QHBoxLayout* bar, const char* name, const QString& caption,
                           void (ReportPreview::*handler)());
    void buildToolBar(QHBoxLayout* bar);
    void refresh();
    void cmd_fitpageClick() { setZoomMode(Zoom::FitPage); }
    void cmd_fitwidthClick() { setZoomMode(Zoom::FitWidth); }
    void cmd_actualClick() { setZoomMode(Zoom::Actual); }
    void cmd_firstClick() { showPage(0); }
    void cmd_priorClick() { showPage(page_ - 1); }
    void cmd_nextClick() { showPage(page_ + 1); }
    void cmd_lastClick() { showPage(report_.pageCount() - 1); }
    void cmd_setupClick();
    void cmd_prinClick();
    void cmd_saveClick();
    void cmd_openClick();
    void cmd_pdfClick();
    QString fileFor(bool save, const QString& title, const QString& filter, const QString& suffix);

    report::PreparedReport report_;
    int page_ = 0;
    Zoom zoomMode_ = Zoom::Actual;
    QScrollArea* scroll_ = nullptr;
    ReportPageView* view_ = nullptr;
    QSpinBox* pageNo_ = nullptr;
    QLabel* pageCount_ = nullptr;
    QPushButton *first_ = nullptr, *prior_ = nullptr, *next_ = nullptr, *last_ = nullptr;
};

// Makes the preview window the way layouts show their pages, for the rest of the run.
void installReportPreview();

}  // namespace talvor
