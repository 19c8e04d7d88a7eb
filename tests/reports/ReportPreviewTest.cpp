#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "datamodel/Dataset.h"
#include "reports/ReportPreview.h"
#include "reports/ReportPrinter.h"
#include "reports/core/ReportFile.h"
#include "reports/core/ReportLayout.h"
#include "ui/Messages.h"

namespace talvor {
namespace {

using namespace Qt::StringLiterals;
using namespace report;

PreparedReport pages(int count, PageSetup paper = PageSetup::a4()) {
    PreparedReport r{u"Test"_s, paper, {FontSpec{}}, {}};
    for (int i = 0; i < count; ++i) {
        PreparedPage p;
        p.bands.push_back({BandKind::SubDetail, i, 10});
        p.shapes.push_back({ShapeKind::Rectangle, QRectF(10, 10, 100, 8), 0.2});
        p.texts.push_back({QRectF(12, 10, 96, 8), u"第%1页"_s.arg(i + 1), 0, Align::Left, 1});
        r.pages.push_back(p);
    }
    return r;
}

QString pdfText(const QString& pdf) {
    QProcess p;
    p.start(u"pdftotext"_s, {pdf, u"-"_s});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

class ReportPreviewTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    ReportPreview preview{pages(3)};

    template <typename T = QPushButton>
    T* child(const char* name) {
        T* w = preview.findChild<T*>(QLatin1String(name));
        EXPECT_TRUE(w) << name;
        return w;
    }
    void click(const char* name) { child(name)->click(); }
    void answerFiles(const QString& path) {
        preview.askSaveFile =
            preview.askOpenFile = [path](const QString&, const QString&) { return path; };
    }
};

TEST_F(ReportPreviewTest, PagesThroughWithButtonsPageNumberAndKeys) {
    EXPECT_EQ(child<QLabel>("page_count")->text(), u"共 3 页"_s);
    EXPECT_FALSE(child("cmd_first")->isEnabled());
    EXPECT_FALSE(child("cmd_prior")->isEnabled());
    click("cmd_next");
    EXPECT_EQ(preview.currentPage(), 1);
    click("cmd_last");
    EXPECT_EQ(preview.currentPage(), 2);
    EXPECT_FALSE(child("cmd_next")->isEnabled());
    EXPECT_FALSE(child("cmd_last")->isEnabled());
    EXPECT_EQ(child<QSpinBox>("page_no")->value(), 3);
    click("cmd_prior");
    EXPECT_EQ(preview.currentPage(), 1);
    click("cmd_first");
    EXPECT_EQ(preview.currentPage(), 0);
    child<QSpinBox>("page_no")->setValue(3);
    EXPECT_EQ(preview.currentPage(), 2);
    QTest::keyClick(&preview, Qt::Key_PageUp);
    EXPECT_EQ(preview.currentPage(), 1);
    QTest::keyClick(&preview, Qt::Key_End);
    EXPECT_EQ(preview.currentPage(), 2);
}

TEST_F(ReportPreviewTest, ZoomsToThePageItsWidthOrActualSize) {
    preview.resize(900, 700);
    preview.show();
    QWidget* viewport = child<QScrollArea>("pages")->viewport();
    QWidget* paper = child<QScrollArea>("pages")->widget();
    click("cmd_fitpage");
    EXPECT_LE(paper->width(), viewport->width());
    EXPECT_LE(paper->height(), viewport->height());
    EXPECT_NEAR(paper->height(), viewport->height() - 24, 2);
    click("cmd_fitwidth");
    EXPECT_NEAR(paper->width(), viewport->width() - 24, 2);
    click("cmd_actual");
    EXPECT_EQ(preview.zoom(), 1);
    EXPECT_EQ(paper->width(), qRound(210 * paper->logicalDpiX() / 25.4));
}

TEST_F(ReportPreviewTest, SavedReportOpensAgainInAnotherPreview) {
    answerFiles(dir.filePath(u"stock"_s));
    click("cmd_save");
    ASSERT_TRUE(QFile::exists(dir.filePath(u"stock.rpt"_s))) << "the suffix is added";
    ReportPreview other(pages(1));
    other.askOpenFile = [&](const QString&, const QString&) {
        return dir.filePath(u"stock.rpt"_s);
    };
    other.findChild<QPushButton*>(u"cmd_open"_s)->click();
    EXPECT_EQ(other.report(), preview.report());
    EXPECT_EQ(other.findChild<QLabel*>(u"page_count"_s)->text(), u"共 3 页"_s);
}

TEST_F(ReportPreviewTest, FailuresAreShownAndKeepTheReport) {
    ScriptedMessages scripted;
    const QString broken = dir.filePath(u"broken.rpt"_s);
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a report");
    file.close();
    answerFiles(broken);
    click("cmd_open");
    answerFiles(dir.filePath(u"missing/dir/out.pdf"_s));
    click("cmd_pdf");
    EXPECT_EQ(scripted.texts(),
              (QStringList{u"打开失败：不是报表文件"_s,
                           u"导出失败：无法写入文件 "_s + dir.filePath(u"missing/dir/out.pdf"_s)}));
    EXPECT_EQ(preview.report(), pages(3));
}

TEST_F(ReportPreviewTest, ExportsEveryPageToPdf) {
    answerFiles(dir.filePath(u"out"_s));
    click("cmd_pdf");
    const QString text = pdfText(dir.filePath(u"out.pdf"_s));
    for (const QString& page : {u"第1页"_s, u"第2页"_s, u"第3页"_s})
        EXPECT_TRUE(text.contains(page)) << text.toStdString();
}

TEST_F(ReportPreviewTest, PrintsTheChosenPagesOnTheReportsPaper) {
    const PreparedReport bill = pages(3, PageSetup::custom(218, 140));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(u"printed.pdf"_s));
    setUpPrinter(printer, bill);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 3);
    printReport(bill, printer);
    const QString text = pdfText(dir.filePath(u"printed.pdf"_s));
    EXPECT_FALSE(text.contains(u"第1页"_s));
    EXPECT_TRUE(text.contains(u"第2页"_s) && text.contains(u"第3页"_s)) << text.toStdString();
    const QSizeF paper = printer.pageLayout().fullRect(QPageLayout::Millimeter).size();
    EXPECT_NEAR(paper.width(), 218, 0.5);
    EXPECT_NEAR(paper.height(), 140, 0.5);
}

TEST(ReportPreviewWindow, LayoutPreviewIsModalAndReturnsWhenClosed) {
    Dataset closed(nullptr, u"Rows"_s);
    const ReportLayout layout(
        {.className = u"TTest"_s,
         .instanceName = u"Test"_s,
         .dataset = u"Rows"_s,
         .page = PageSetup::a4(),
         .bands = {band(BandKind::Title, 20, {label(u"标题"_s, {0, 0, 100, 20})})}},
        [&](const QString&) -> const Dataset* { return &closed; });
    const Presenter previous = setPresenter({});
    EXPECT_THROW(layout.preview(), ReportError) << "no preview window installed";
    installReportPreview();
    int shown = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* p = qobject_cast<ReportPreview*>(QApplication::activeModalWidget())) {
            shown = p->report().pageCount();
            p->close();
        }
    });
    closer.start(10);
    layout.preview();
    EXPECT_EQ(shown, 1);
    setPresenter(previous);
}

}  // namespace
}  // namespace talvor
