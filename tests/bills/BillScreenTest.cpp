#include <QDateEdit>
#include <QLineEdit>

#include "bills/BillLineGrid.h"
#include "bills/BillScreen.h"
#include "bills/TFrmBillFind.h"
#include "master/MasterScreenFixture.h"
#include "reports/core/PreparedReport.h"
#include "reports/core/ReportLayout.h"
#include "support/Keyboard.h"
#include "ui/EnterAsTab.h"

namespace talvor {
namespace {

class BillScreenTest : public test::MasterScreenFixture {
  protected:
    BillScreenTest() {
        t.exec(QStringLiteral(
            "insert into goods (gods_code,gods_name,valu_in,valu_out) values ('A1','螺丝',8,12)"));
        t.exec(QStringLiteral(
            "insert into goods (gods_code,gods_name,valu_in,valu_out) values ('B1','螺母',5,7)"));
        t.exec(QStringLiteral(
            "insert into goods (gods_code,gods_name,valu_in,valu_out) values ('C1','垫片',1,2)"));
        t.exec(QStringLiteral(
            "insert into storemain (gods_code,gods_amou,cost_pric) values ('A1',10,5)"));
        t.exec(
            QStringLiteral("insert into company (comp_code,comp_name) values ('S1','宏达五金')"));
    }

    static BillLineGrid& grid(QWidget& screen) { return *child<BillLineGrid>(screen, "DBGrid1"); }

    // Types into a cell of the current line and presses Enter, as at the counter.
    static void enterCell(QWidget& screen, int column, const QString& text) {
        BillLineGrid& g = grid(screen);
        g.editColumn(column);
        QWidget* editor = g.indexWidget(g.currentIndex());
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            box->setEditText(text);
            editor = box->lineEdit();
        } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setText(text);
        }
        ASSERT_NE(editor, nullptr) << "no editor in column " << column;
        QTest::keyClick(editor, Qt::Key_Return);
    }
    // A code, its proposed price taken, and a quantity.
    static void enterLine(QWidget& screen, const QString& code, const QString& quantity) {
        enterCell(screen, 0, code);
        BillLineGrid& g = grid(screen);
        auto* editor = qobject_cast<QLineEdit*>(g.indexWidget(g.currentIndex()));
        ASSERT_NE(editor, nullptr);
        ASSERT_EQ(g.currentIndex().column(), 7) << "Enter on a known code goes on to the quantity";
        editor->setText(quantity);
        QTest::keyClick(editor, Qt::Key_Return);
    }
    static QString text(QWidget& screen, const char* box) {
        return child<QLineEdit>(screen, box)->text();
    }

    QVariantList stock(const char* code) {
        const db::ResultSet r = t.engine().query(
            QStringLiteral("select gods_amou,cost_pric from storemain where gods_code=:c"),
            {{QStringLiteral("c"), QLatin1String(code)}});
        return r.rows.empty() ? QVariantList{} : QVariantList{r.rows[0][0], r.rows[0][1]};
    }
};

TEST_F(BillScreenTest, APurchaseIsTypedSavedFoundEditedAndDeleted) {
    QString billNo;
    {
        TFrmIn screen;
        EXPECT_TRUE(text(screen, "DBEdit_bill_no").isEmpty());
        EXPECT_EQ(text(screen, "Edit2"), u"0");
        click(screen, "cmd_edit");  // no bill shown: nothing happens
        EXPECT_EQ(screen.mode(), ScreenMode::Null);

        click(screen, "cmd_add");
        EXPECT_EQ(screen.mode(), ScreenMode::Add);
        EXPECT_EQ(text(screen, "DBEdit_bill_no").size(), 14);
        onNextModal([](QDialog& d) { d.accept(); });
        click(screen, "BitBtn1");
        EXPECT_EQ(text(screen, "DBEdit_comp_name"), u"宏达五金");
        enterLine(screen, QStringLiteral("A1"), QStringLiteral("5"));
        enterLine(screen, QStringLiteral("B1"), QStringLiteral("2"));
        enterCell(screen, 0, QString());  // an empty code ends the lines
        EXPECT_EQ(text(screen, "Edit2"), u"7");
        EXPECT_EQ(text(screen, "Edit3"), u"50");
        EXPECT_EQ(text(screen, "Edit1"), u"伍拾零圆零角零分整");
        click(screen, "cmd_save");
        ASSERT_EQ(screen.mode(), ScreenMode::Null) << answers.texts().join(u'|').toStdString();
        billNo = text(screen, "DBEdit_bill_no");
        EXPECT_EQ(count(QStringLiteral("select count(*) from inmain where bill_type='in' and "
                                       "shou_tota=50 and comp_code='S1'")),
                  1);
        EXPECT_EQ(
            count(QStringLiteral("select count(*) from ingoods where bill_no='%1'").arg(billNo)),
            2);
        EXPECT_EQ(stock("A1"), (QVariantList{15.0, 6.0}));
        EXPECT_EQ(stock("B1"), (QVariantList{2.0, 5.0}));
    }

    // Found again through the search dialog of a fresh screen.
    TFrmIn again;
    onNextModal([](QDialog& d) { qobject_cast<TFrmBillFind*>(&d)->cmd_saveClick(); });
    click(again, "cmd_find");
    ASSERT_EQ(text(again, "DBEdit_bill_no"), billNo);
    EXPECT_EQ(text(again, "Edit3"), u"50");

    click(again, "cmd_edit");
    ASSERT_EQ(again.mode(), ScreenMode::Edit);
    Dataset& lines = *t.module->InGoodsQ;
    lines.locate(QStringLiteral("gods_code"), QStringLiteral("A1"));
    enterCell(again, 7, QStringLiteral("3"));
    lines.locate(QStringLiteral("gods_code"), QStringLiteral("B1"));
    ASSERT_EQ(lines.text(QStringLiteral("gods_code")), u"B1");
    ASSERT_EQ(lines.value(0, QStringLiteral("sub_amou")).toDouble(), 3.0);
    answers.answer(QMessageBox::Ok);
    click(again, "cmd_dele");
    EXPECT_EQ(answers.texts().last(), u"确认删除本条数据?");
    lines.last();
    grid(again).nextLine();
    enterLine(again, QStringLiteral("C1"), QStringLiteral("4"));
    click(again, "cmd_save");
    ASSERT_EQ(again.mode(), ScreenMode::Null);
    EXPECT_EQ(count(QStringLiteral("select count(*) from ingoods where bill_no='%1'").arg(billNo)),
              2);
    EXPECT_EQ(t.scalar(QStringLiteral("select shou_tota from inmain")).toDouble(), 28.0);
    EXPECT_EQ(stock("A1")[0].toDouble(), 13.0);
    EXPECT_EQ(stock("B1")[0].toDouble(), 0.0);
    EXPECT_EQ(stock("C1"), (QVariantList{4.0, 1.0}));

    answers.answer(QMessageBox::Ok);
    click(again, "cmd_dele");
    EXPECT_EQ(answers.texts().last(), u"此操作将删除本单全部数据，确认删除?");
    EXPECT_EQ(count(QStringLiteral("select count(*) from inmain")), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from ingoods")), 0);
    EXPECT_EQ(stock("A1")[0].toDouble(), 10.0);
    EXPECT_EQ(stock("C1")[0].toDouble(), 0.0);
}

TEST_F(BillScreenTest, CancelOfANewBillShowsThePreviousOneAndWritesNothing) {
    t.exec(
        QStringLiteral(
            "insert into inmain (bill_no,bill_date,bill_type) values ('20260101000000',:d,'in')"),
        {{QStringLiteral("d"), QDate::currentDate()}});
    t.exec(
        QStringLiteral("insert into ingoods (bill_no,gods_code,sub_amou,unit_pric) values "
                       "('20260101000000','A1',2,3)"));
    TFrmIn screen;
    EXPECT_EQ(text(screen, "DBEdit_bill_no"), u"20260101000000");
    EXPECT_EQ(text(screen, "Edit2"), u"2");
    click(screen, "cmd_add");
    enterLine(screen, QStringLiteral("B1"), QStringLiteral("1"));
    screen.show();
    EXPECT_FALSE(screen.close());
    click(screen, "cmd_canc");
    EXPECT_EQ(text(screen, "DBEdit_bill_no"), u"20260101000000");
    EXPECT_EQ(text(screen, "Edit2"), u"2");
    EXPECT_EQ(text(screen, "Edit3"), u"6");
    EXPECT_EQ(text(screen, "Edit1"), u"陆圆零角零分整");
    EXPECT_EQ(t.module->InGoodsQ->recordCount(), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from inmain")), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from ingoods")), 1);
    EXPECT_TRUE(screen.close());
}

TEST_F(BillScreenTest, DeletingABillNeedsTheRightRemovingALineDoesNot) {
    CurrentUser().rights[size_t(Right::Delete)] = QString(kModuleCount, u'0');
    CurrentUser().rights[size_t(Right::Add)][6] = u'1';
    TFrmIn screen;
    EXPECT_FALSE(enabled(screen, "cmd_dele"));
    click(screen, "cmd_add");
    EXPECT_TRUE(enabled(screen, "cmd_dele"));
    click(screen, "cmd_canc");
    EXPECT_FALSE(enabled(screen, "cmd_dele"));
}

TEST_F(BillScreenTest, SaveCountsOnlyPostedLines) {
    TFrmIn screen;
    click(screen, "cmd_add");
    BillLineGrid& g = grid(screen);
    g.editColumn(0);
    qobject_cast<QLineEdit*>(g.indexWidget(g.currentIndex()))->setText(QStringLiteral("A1"));
    click(screen, "cmd_save");  // the first line is still being typed
    EXPECT_EQ(answers.texts(), QStringList{QStringLiteral("数量不能为0")});
    EXPECT_EQ(screen.mode(), ScreenMode::Add);

    answers.clear();
    TFrmIn second;
    click(second, "cmd_add");
    enterLine(second, QStringLiteral("A1"), QStringLiteral("1"));
    enterCell(second, 0, QStringLiteral("B1"));  // second line typed, not yet posted
    click(second, "cmd_save");
    ASSERT_EQ(second.mode(), ScreenMode::Null) << answers.texts().join(u'|').toStdString();
    EXPECT_EQ(count(QStringLiteral("select count(*) from ingoods")), 2);
}

TEST_F(BillScreenTest, EachKindSeesOnlyItsOwnBillsAndProposesItsPrice) {
    const QDate today = QDate::currentDate();
    t.exec(
        QStringLiteral(
            "insert into inmain (bill_no,bill_date,bill_type) values ('20260101000001',:d,'retu')"),
        {{QStringLiteral("d"), today}});
    t.exec(QStringLiteral("insert into outmain (bill_no,bill_date,bill_type) values "
                          "('20260101000002',:d,'retu')"),
           {{QStringLiteral("d"), today}});
    for (const auto& [make, expected] : std::initializer_list<
             std::pair<std::function<std::unique_ptr<BillScreen>()>, const char*>>{
             {[] { return std::make_unique<TFrmIn>(); }, ""},
             {[] { return std::make_unique<TFrmOut>(); }, ""},
             {[] { return std::make_unique<TFrmReturnIn>(); }, "20260101000001"},
             {[] { return std::make_unique<TFrmReturnout>(); }, "20260101000002"}}) {
        const std::unique_ptr<BillScreen> screen = make();
        EXPECT_EQ(text(*screen, "DBEdit_bill_no"), QLatin1String(expected))
            << screen->objectName().toStdString();
    }

    TFrmOut sale;
    click(sale, "cmd_add");
    enterLine(sale, QStringLiteral("A1"), QStringLiteral("3"));
    EXPECT_EQ(t.module->OutGoodsQ->value(0, QStringLiteral("unit_pric")).toDouble(), 12.0);
    enterCell(sale, 0, QString());
    click(sale, "cmd_save");
    ASSERT_EQ(sale.mode(), ScreenMode::Null) << answers.texts().join(u'|').toStdString();
    EXPECT_EQ(stock("A1"), (QVariantList{7.0, 5.0}));
    EXPECT_EQ(count(QStringLiteral("select count(*) from outgoods where bill_no=(select bill_no "
                                   "from outmain where bill_type='out')")),
              1);
}

TEST_F(BillScreenTest, ACustomerReturnLineNotIntoStockLeavesTheLedger) {
    TFrmReturnIn screen;
    click(screen, "cmd_add");
    enterLine(screen, QStringLiteral("A1"), QStringLiteral("2"));
    t.module->InGoodsQ->first();  // back from the new line to the one just entered
    enterCell(screen, 9, QStringLiteral("不入库"));
    click(screen, "cmd_save");
    ASSERT_EQ(screen.mode(), ScreenMode::Null) << answers.texts().join(u'|').toStdString();
    EXPECT_EQ(stock("A1"), (QVariantList{10.0, 5.0}));
    EXPECT_EQ(t.scalar(QStringLiteral("select shou_tota from inmain")).toDouble(), 24.0);
}

TEST_F(BillScreenTest, TheSearchRangeIncludesBothEndsAndFiltersByCompany) {
    const QDate today = QDate::currentDate();
    const struct {
        const char* no;
        int daysAgo;
        const char* company;
    } bills[] = {{"B30", 30, "S1"}, {"B31", 31, "S1"}, {"B00", 0, "S1"}, {"BX", 1, "S2"}};
    for (const auto& b : bills)
        t.exec(QStringLiteral("insert into inmain (bill_no,bill_date,comp_code,bill_type) values "
                              "(:n,:d,:c,'in')"),
               {{QStringLiteral("n"), QLatin1String(b.no)},
                {QStringLiteral("d"), today.addDays(-b.daysAgo)},
                {QStringLiteral("c"), QLatin1String(b.company)}});
    CurrentBillType() = QStringLiteral("in");
    TFrmBillFind find(TFrmBillFind::Incoming);
    Dataset& found = *t.module->InFindQ;
    EXPECT_EQ(found.recordCount(), 3);
    EXPECT_FALSE(found.locate(QStringLiteral("bill_no"), QStringLiteral("B31")));
    child<QComboBox>(find, "ComboBox1")->setEditText(QStringLiteral("宏达五金"));
    click(find, "cmd_edit");
    EXPECT_EQ(found.recordCount(), 2);
    child<QComboBox>(find, "ComboBox1")->setEditText(QStringLiteral("没有这家"));
    click(find, "cmd_edit");
    EXPECT_EQ(found.recordCount(), 0);
    click(find, "cmd_save");
    EXPECT_NE(find.result(), QDialog::Accepted);
}

TEST_F(BillScreenTest, PrintPreviewsTheShownBillWithTheScreensTotals) {
    const report::ReportLayouts layouts(*t.module);
    std::vector<report::PreparedReport> shown;
    const report::Presenter previous =
        report::setPresenter([&](const report::PreparedReport& r) { shown.push_back(r); });
    {
        TFrmOut sale;
        click(sale, "cmd_add");
        enterLine(sale, QStringLiteral("B1"), QStringLiteral("3"));
        enterCell(sale, 0, QString());
        click(sale, "cmd_save");
        ASSERT_EQ(sale.mode(), ScreenMode::Null);
        click(sale, "cmd_prin");
    }
    report::setPresenter(previous);
    ASSERT_EQ(shown.size(), 1u);
    QStringList texts;
    for (const auto& page : shown[0].pages) texts += page.textList();
    const QString all = texts.join(u'|');
    for (const char* expected : {"销售单", "螺母", "21", "贰拾壹圆零角零分整"})
        EXPECT_TRUE(all.contains(QString::fromUtf8(expected)))
            << expected << " in " << all.toStdString();
}

// What a counter does all day: 新增, Enter to the lines, then code, Enter, quantity, Enter for
// every line, an Enter on an empty code to end them, Tab on to 保存 and Enter on it — never
// the mouse.
TEST_F(BillScreenTest, ABillIsEnteredWithTheKeyboardAlone) {
    for (int i = 1; i <= 20; ++i)
        t.exec(
            QStringLiteral("insert into goods (gods_code,gods_name,valu_in) values (:c,'货',:p)"),
            {{QStringLiteral("c"), QStringLiteral("K%1").arg(i, 2, 10, QChar(u'0'))},
             {QStringLiteral("p"), double(i)}});
    test::Keyboard keys;
    TFrmIn screen;
    ASSERT_TRUE(test::Keyboard::showActive(screen));
    child(screen, "cmd_add")->setFocus();
    keys.press(Qt::Key_Return);
    ASSERT_EQ(screen.mode(), ScreenMode::Add);
    for (int i = 0; i < 5; ++i) keys.press(Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), &grid(screen));
    for (int i = 1; i <= 20; ++i) {
        keys.enter(QStringLiteral("K%1").arg(i, 2, 10, QChar(u'0')));
        keys.enter(QString::number(i));
    }
    keys.press(Qt::Key_Return);
    EXPECT_EQ(keys.focusName(), u"DBEdit_remark");
    // Tab passes 删除, which Enter would press.
    for (int i = 0; i < 12 && keys.focusName() != u"cmd_save"; ++i) keys.press(Qt::Key_Tab);
    ASSERT_EQ(keys.focusName(), u"cmd_save");
    keys.press(Qt::Key_Return);
    ASSERT_EQ(screen.mode(), ScreenMode::Null) << answers.texts().join(u'|').toStdString();
    EXPECT_EQ(count(QStringLiteral("select count(*) from ingoods")), 20);
    EXPECT_EQ(t.scalar(QStringLiteral("select sum(sub_amou) from ingoods")).toInt(), 210);
    EXPECT_EQ(t.scalar(QStringLiteral("select shou_tota from inmain")).toInt(),
              2870);  // the sum of i*i
}

// A name wider than its box shows from its first character.
TEST_F(BillScreenTest, ALongCompanyNameShowsFromItsStart) {
    const QString name = QStringLiteral("广州市天河区宏达五金建材有限公司天河分店");
    t.exec(QStringLiteral("update company set comp_name=:n"), {{QStringLiteral("n"), name}});
    t.exec(QStringLiteral("insert into outmain (bill_no,bill_date,bill_type,comp_code) values "
                          "('20260101000003',:d,'out','S1')"),
           {{QStringLiteral("d"), QDate::currentDate()}});
    TFrmOut screen;
    screen.show();
    auto* box = child<QLineEdit>(screen, "DBEdit_comp_name");
    ASSERT_EQ(box->text(), name);
    ASSERT_LT(box->width(), box->fontMetrics().horizontalAdvance(name));
    EXPECT_EQ(box->cursorPosition(), 0);
}

// The pick lists do not restrict typing, also when a list is empty.
TEST_F(BillScreenTest, ATypedCurrencyIsKeptWithAnEmptyList) {
    test::Keyboard keys;
    TFrmIn screen;
    ASSERT_TRUE(test::Keyboard::showActive(screen));
    click(screen, "cmd_add");
    auto* currency = child<QComboBox>(screen, "DBComboBox9");
    ASSERT_EQ(currency->count(), 0);
    currency->setFocus();
    keys.enter(QStringLiteral("USD"));
    EXPECT_EQ(currency->currentText(), u"USD");
    EXPECT_EQ(t.module->InMainQ->text(QStringLiteral("mone_type")), u"USD");
}

// The settlement list of the return screens hands over to the lines on a typed character or
// Enter; the keys that choose from the list keep working there.
TEST_F(BillScreenTest, TheSettlementListChoosesByKeyAndHandsOverOnTyping) {
    t.exec(QStringLiteral("insert into baseitem (fee_type) values ('现金')"));
    t.exec(QStringLiteral("insert into baseitem (fee_type) values ('支票')"));
    test::Keyboard keys;
    for (const auto& make : std::initializer_list<std::function<std::unique_ptr<BillScreen>()>>{
             [] { return std::make_unique<TFrmReturnIn>(); },
             [] { return std::make_unique<TFrmReturnout>(); }}) {
        const std::unique_ptr<BillScreen> screen = make();
        ASSERT_TRUE(test::Keyboard::showActive(*screen));
        click(*screen, "cmd_add");
        auto* settlement = child<QComboBox>(*screen, "DBComboBox8");
        const auto inSettlement = [settlement] {
            return QApplication::focusWidget() == settlement ||
                   QApplication::focusWidget() == settlement->lineEdit();
        };
        settlement->setFocus();
        keys.press(Qt::Key_Down);
        EXPECT_EQ(settlement->currentText(), u"支票") << "Down chooses the next item";
        keys.press(Qt::Key_Down);
        EXPECT_EQ(settlement->currentText(), u"现金");
        EXPECT_TRUE(inSettlement());
        keys.press(Qt::Key_F4);
        EXPECT_TRUE(settlement->view()->isVisible()) << "F4 opens the list";
        settlement->hidePopup();
        keys.press(Qt::Key_Down, Qt::AltModifier);
        EXPECT_TRUE(settlement->view()->isVisible()) << "Alt+Down opens the list";
        settlement->hidePopup();
        settlement->setFocus();
        keys.press(Qt::Key_Backtab);
        EXPECT_FALSE(inSettlement()) << "Shift+Tab moves back";
        keys.press(Qt::Key_Tab);
        EXPECT_TRUE(inSettlement()) << "Tab comes back";
        keys.type(QStringLiteral("x"));
        EXPECT_EQ(QApplication::focusWidget(), &grid(*screen)) << "a character hands over";
        settlement->setFocus();
        keys.press(Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), &grid(*screen)) << "Enter hands over";
        click(*screen, "cmd_canc");
    }
}

}  // namespace
}  // namespace talvor
