#include "reports/ReportPreview.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>

#include "reports/ReportPrinter.h"
#include "reports/core/ReportFile.h"
#include "reports/core/ReportFonts.h"
#include "reports/core/ReportLayout.h"
#include "reports/core/ReportPainter.h"
#include "ui/Messages.h"

namespace talvor {

using namespace Qt::StringLiterals;

namespace {

constexpr int kPaperMarginPx = 12;  // grey around the paper

QString fileDialog(QWidget* parent, bool save, const QString& title, const QString& filter) {
    return save ? QFileDialog::getSaveFileName(parent, title, {}, filter)
                : QFileDialog::getOpenFileName(parent, title, {}, filter);
}

}  // namespace

// One page on white paper, drawn by the paint function the printer and the PDF use.
class ReportPageView : public QWidget {
  public:
    explicit ReportPageView(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void show(const report::PreparedReport* report, int page, double zoom) {
        report_ = report;
        page_ = page;
        zoom_ = zoom;
        const QSizeF mm = report->page.sizeMm;
        resize(qRound(mm.width() * dotsPerMm()), qRound(mm.height() * dotsPerMm()));
        update();
    }
    double dotsPerMm() const { return zoom_ * logicalDpiX() / 25.4; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        if (report_) report::paintPage(painter, *report_, page_, dotsPerMm());
    }

  private:
    const report::PreparedReport* report_ = nullptr;
    int page_ = 0;
    double zoom_ = 1;
};

ReportPreview::ReportPreview(report::PreparedReport report, QWidget* parent)
    : QDialog(parent), report_(std::move(report)) {
    report::installFontSubstitutes();
    setObjectName(u"ReportPreview"_s);
    setWindowTitle(u"打印预览"_s);
    askSaveFile = [this](const QString& t, const QString& f) {
        return fileDialog(this, true, t, f);
    };
    askOpenFile = [this](const QString& t, const QString& f) {
        return fileDialog(this, false, t, f);
    };
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    layout->addLayout(bar);
    buildToolBar(bar);
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(u"pages"_s);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setAlignment(Qt::AlignCenter);
    view_ = new ReportPageView(scroll_);
    scroll_->setWidget(view_);
    layout->addWidget(scroll_, 1);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->availableSize() * 0.85);
    refresh();
}

ReportPreview::~ReportPreview() = default;

QPushButton* ReportPreview::addButton(QHBoxLayout* bar, const char* name, const QString& caption,
                                      void (ReportPreview::*handler)()) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, handler);
    bar->addWidget(button);
    return button;
}

void ReportPreview::buildToolBar(QHBoxLayout* bar) {
    addButton(bar, "cmd_fitpage", u"整页"_s, &ReportPreview::cmd_fitpageClick);
    addButton(bar, "cmd_actual", u"100%"_s, &ReportPreview::cmd_actualClick);
    addButton(bar, "cmd_fitwidth", u"页宽"_s, &ReportPreview::cmd_fitwidthClick);
    first_ = addButton(bar, "cmd_first", u"首页"_s, &ReportPreview::cmd_firstClick);
    prior_ = addButton(bar, "cmd_prior", u"上页"_s, &ReportPreview::cmd_priorClick);
    pageNo_ = new QSpinBox(this);
    pageNo_->setObjectName(u"page_no"_s);
    pageNo_->setKeyboardTracking(false);
    connect(pageNo_, &QSpinBox::valueChanged, this, [this](int n) { showPage(n - 1); });
    bar->addWidget(pageNo_);
    pageCount_ = new QLabel(this);
    pageCount_->setObjectName(u"page_count"_s);
    bar->addWidget(pageCount_);
    next_ = addButton(bar, "cmd_next", u"下页"_s, &ReportPreview::cmd_nextClick);
    last_ = addButton(bar, "cmd_last", u"末页"_s, &ReportPreview::cmd_lastClick);
    addButton(bar, "cmd_setup", u"打印设置"_s, &ReportPreview::cmd_setupClick);
    addButton(bar, "cmd_prin", u"打印[&P]"_s, &ReportPreview::cmd_prinClick);
    addButton(bar, "cmd_save", u"保存[&S]"_s, &ReportPreview::cmd_saveClick);
    addButton(bar, "cmd_open", u"打开[&O]"_s, &ReportPreview::cmd_openClick);
    addButton(bar, "cmd_pdf", u"导出PDF"_s, &ReportPreview::cmd_pdfClick);
    addButton(bar, "cmd_exit", u"退出[&X]"_s, &QDialog::reject);
    bar->addStretch();
}

double ReportPreview::zoom() const {
    if (zoomMode_ == Zoom::Actual) return 1;
    const QSizeF mm = report_.page.sizeMm;
    const double dotsPerMmAt100 = view_->logicalDpiX() / 25.4;
    const QSize room = scroll_->viewport()->size() - QSize(2, 2) * kPaperMarginPx;
    const double byWidth = room.width() / (mm.width() * dotsPerMmAt100);
    if (zoomMode_ == Zoom::FitWidth) return std::max(byWidth, 0.05);
    return std::max(std::min(byWidth, room.height() / (mm.height() * dotsPerMmAt100)), 0.05);
}

void ReportPreview::showPage(int page) {
    page_ = std::clamp(page, 0, report_.pageCount() - 1);
    refresh();
}

void ReportPreview::setZoomMode(Zoom mode) {
    zoomMode_ = mode;
    refresh();
}

void ReportPreview::refresh() {
    const int pages = report_.pageCount();
    const QSignalBlocker block(pageNo_);
    pageNo_->setRange(1, pages);
    pageNo_->setValue(page_ + 1);
    pageCount_->setText(u"共 %1 页"_s.arg(pages));
    first_->setEnabled(page_ > 0);
    prior_->setEnabled(page_ > 0);
    next_->setEnabled(page_ < pages - 1);
    last_->setEnabled(page_ < pages - 1);
    view_->show(&report_, page_, zoom());
    scroll_->verticalScrollBar()->setValue(0);
}

void ReportPreview::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (zoomMode_ != Zoom::Actual) refresh();
}

void ReportPreview::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_PageDown:
            return cmd_nextClick();
        case Qt::Key_PageUp:
            return cmd_priorClick();
        case Qt::Key_Home:
            return cmd_firstClick();
        case Qt::Key_End:
            return cmd_lastClick();
        default:
            QDialog::keyPressEvent(event);
    }
}

void ReportPreview::cmd_setupClick() {
    QPrinter& printer = report::sessionPrinter();
    report::setUpPrinter(printer, report_);
    QPageSetupDialog(&printer, this).exec();
}

void ReportPreview::cmd_prinClick() {
    QPrinter& printer = report::sessionPrinter();
    report::setUpPrinter(printer, report_);
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, report_.pageCount());
    if (dialog.exec() != QDialog::Accepted) return;
    try {
        report::printReport(report_, printer);
    } catch (const report::ReportError& e) {
        messages().inform(u"打印失败："_s + e.message(), MessageIcon::Warning);
    }
}

QString ReportPreview::fileFor(bool save, const QString& title, const QString& filter,
                               const QString& suffix) {
    QString path = (save ? askSaveFile : askOpenFile)(title, filter);
    if (save && !path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += u'.' + suffix;
    return path;
}

void ReportPreview::cmd_saveClick() {
    const QString path = fileFor(true, u"保存报表"_s, u"报表文件 (*.rpt)"_s, u"rpt"_s);
    if (path.isEmpty()) return;
    try {
        report::saveReport(report_, path);
    } catch (const report::ReportError& e) {
        messages().inform(u"保存失败："_s + e.message(), MessageIcon::Warning);
    }
}

void ReportPreview::cmd_openClick() {
    const QString path = fileFor(false, u"打开报表"_s, u"报表文件 (*.rpt)"_s, u"rpt"_s);
    if (path.isEmpty()) return;
    try {
        report_ = report::loadReport(path);
        page_ = 0;
        refresh();
    } catch (const report::ReportError& e) {
        messages().inform(u"打开失败："_s + e.message(), MessageIcon::Warning);
    }
}

void ReportPreview::cmd_pdfClick() {
    const QString path = fileFor(true, u"导出PDF"_s, u"PDF 文件 (*.pdf)"_s, u"pdf"_s);
    if (path.isEmpty()) return;
    try {
        report::exportPdf(report_, path);
    } catch (const report::ReportError& e) {
        messages().inform(u"导出失败："_s + e.message(), MessageIcon::Warning);
    }
}

void installReportPreview() {
    report::setPresenter([](const report::PreparedReport& r) {
        ReportPreview preview(r, QApplication::activeWindow());
        preview.exec();
    });
}

}  // namespace talvor
