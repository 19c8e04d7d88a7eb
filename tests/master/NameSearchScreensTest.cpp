#include <QAbstractItemView>
#include <QCompleter>

#include "MasterScreenFixture.h"
#include "bills/TFrmBillFind.h"
#include "master/TFrmCompFind.h"
#include "master/TFrmGoods.h"
#include "master/TFrmGoodsFind.h"
#include "ui/NameCompleter.h"

namespace talvor {
namespace {

class NameSearchScreensTest : public test::MasterScreenFixture {
  protected:
    NameSearchScreensTest() {
        for (const auto& [code, name] :
             {std::pair{"G1", "红茶"}, {"G2", "绿茶"}, {"G3", "花茶"}, {"G4", "红糖"}})
            t.exec(QStringLiteral("insert into goods (gods_code,gods_name) values (:c,:n)"),
                   {{QStringLiteral("c"), QLatin1String(code)},
                    {QStringLiteral("n"), QString::fromUtf8(name)}});
        for (const auto& [code, name] :
             {std::pair{"C1", "华东贸易公司"}, {"C2", "华西电器"}, {"C3", "东方五金"}})
            t.exec(QStringLiteral("insert into company (comp_code,comp_name) values (:c,:n)"),
                   {{QStringLiteral("c"), QLatin1String(code)},
                    {QStringLiteral("n"), QString::fromUtf8(name)}});
    }

    // Types as the user does, so that the box sees an edit.
    static void typeInto(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->clear();
        box->insert(text);
    }
    static QStringList offered(QCompleter* completer) {
        QStringList names;
        for (int r = 0; r < completer->completionModel()->rowCount(); ++r)
            names << completer->completionModel()->index(r, 0).data().toString();
        return names;
    }
    static QStringList codes(Dataset& d) {
        QStringList c;
        for (int r = 0; r < d.recordCount(); ++r)
            c << d.value(r, QStringLiteral("comp_code")).toString();
        return c;
    }
};

TEST_F(NameSearchScreensTest, CompanyFindNarrowsByCodeNameOrInitials) {
    TFrmCompFind find;
    auto* box = child<QLineEdit>(find, "Edit1");
    const std::pair<const char*, QStringList> cases[] = {
        {"hdmy", {QStringLiteral("C1")}},
        {"HD", {QStringLiteral("C1")}},
        {"华", {QStringLiteral("C1"), QStringLiteral("C2")}},
        {"df", {QStringLiteral("C3")}},
        {"c2", {QStringLiteral("C2")}},
        {"zz", {}},
        {"", {QStringLiteral("C1"), QStringLiteral("C2"), QStringLiteral("C3")}},
    };
    for (const auto& [typed, expected] : cases) {
        typeInto(box, QString::fromUtf8(typed));
        EXPECT_EQ(codes(*t.module->CompanyQ), expected) << typed;
    }
    typeInto(box, QStringLiteral("dfwj"));
    EXPECT_EQ(find.chosenName(), u"东方五金");
}

TEST_F(NameSearchScreensTest, NameBoxesOfferNamesByInitialsAndChoosingOneFindsTheGoods) {
    TFrmGoodsFind find;
    auto* names = child<QComboBox>(find, "ComboBox1");
    QCompleter* completer = names->completer();
    ASSERT_NE(qobject_cast<NameCompleter*>(completer), nullptr);

    typeInto(names->lineEdit(), QStringLiteral("hc"));
    EXPECT_EQ(offered(completer), (QStringList{QStringLiteral("红茶"), QStringLiteral("花茶")}));
    typeInto(names->lineEdit(), QStringLiteral("茶"));
    EXPECT_EQ(offered(completer).size(), 3);

    typeInto(names->lineEdit(), QStringLiteral("lc"));
    ASSERT_EQ(offered(completer), QStringList{QStringLiteral("绿茶")});
    QTest::keyClick(completer->popup(), Qt::Key_Down);
    QTest::keyClick(completer->popup(), Qt::Key_Return);
    EXPECT_EQ(names->currentText(), u"绿茶");
    EXPECT_EQ(find.chosenCode(), u"G2");

    TFrmBillFind bills(TFrmBillFind::Incoming);
    auto* company = child<QComboBox>(bills, "ComboBox1");
    typeInto(company->lineEdit(), QStringLiteral("hx"));
    EXPECT_EQ(offered(company->completer()), QStringList{QStringLiteral("华西电器")});
}

TEST_F(NameSearchScreensTest, QuickFindGoesFromMatchToMatchButAWholeCodeWins) {
    TFrmGoods screen;
    Dataset& goods = *t.module->GoodsQ;
    const auto find = [&](const char* typed) {
        type(screen, "Edit1", QString::fromUtf8(typed));
        click(screen, "cmd_find");
        return goods.text(QStringLiteral("gods_code"));
    };
    ASSERT_EQ(goods.text(QStringLiteral("gods_code")), u"G1");
    EXPECT_EQ(find("hc"), u"G3") << "the next match after the current row";
    EXPECT_EQ(find("hc"), u"G1") << "round to the top";
    EXPECT_EQ(find("hc"), u"G3");
    EXPECT_EQ(find("糖"), u"G4");
    EXPECT_EQ(find("G2"), u"G2");
    EXPECT_EQ(find("xyz"), u"G2") << "no match stays";
}

}  // namespace
}  // namespace talvor
