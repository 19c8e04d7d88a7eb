#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "bills/BillScreen.h"
#include "master/MasterScreenFixture.h"
#include "master/TFrmCompany.h"
#include "master/TFrmGoods.h"
#include "ui/Fonts.h"

namespace talvor {
namespace {

class ScreenLookTest : public test::MasterScreenFixture {
  protected:
    ScreenLookTest() {
        installSongFont();
        t.exec(QStringLiteral("insert into goods (gods_code,gods_name) values ('G1','螺丝')"));
        t.exec(QStringLiteral("insert into company (comp_code,comp_name) values ('C1','宏达')"));
        t.exec(QStringLiteral("insert into inmain (bill_no,bill_date,bill_type) values "
                              "('20260101000000',:d,'in')"),
               {{QStringLiteral("d"), QDate::currentDate()}});
        t.exec(
            QStringLiteral("insert into ingoods (bill_no,gods_code,sub_amou,unit_pric) values "
                           "('20260101000000','G1',2,3)"));
    }

    // The darkest grey of a box as drawn: text that is easy to read is close to black.
    static int darkestGrey(QWidget& box) {
        const QImage image = box.grab().toImage();
        int darkest = 255;
        for (int y = 3; y < image.height() - 3; ++y)
            for (int x = 3; x < image.width() - 3; ++x)
                darkest = std::min(darkest, qGray(image.pixel(x, y)));
        return darkest;
    }
};

// While browsing, the goods details and a bill's 合计金额 are read-only values: as dark as the
// text of a box in use, not greyed out.
TEST_F(ScreenLookTest, BrowsedValuesReadAsDarkAsEditableOnes) {
    TFrmGoods goods;
    goods.show();
    auto* name = child<QLineEdit>(goods, "DBEdit_gods_name");
    ASSERT_EQ(name->text(), u"螺丝");
    ASSERT_FALSE(name->isEnabled());
    auto* find = child<QLineEdit>(goods, "Edit1");
    find->setText(QStringLiteral("螺丝"));
    EXPECT_LE(darkestGrey(*name), darkestGrey(*find) + 40);

    TFrmIn bill;
    bill.show();
    auto* amount = child<QLineEdit>(bill, "Edit3");
    ASSERT_EQ(amount->text(), u"6");
    QLineEdit inUse(amount->text(), &bill);
    inUse.setAlignment(amount->alignment());
    inUse.resize(amount->size());
    EXPECT_LE(darkestGrey(*amount), darkestGrey(inUse) + 40);
}

// Every text of the master and bill screens in the one Song face at 9 pt.
TEST_F(ScreenLookTest, EveryTextIsInTheSongFaceAt9Points) {
    const QString song = QApplication::font().family();
    const QString face = QFontInfo(QApplication::font()).family();
    TFrmGoods goods;
    TFrmCompany company;
    TFrmOut bill;
    for (QWidget* screen : {static_cast<QWidget*>(&goods), static_cast<QWidget*>(&company),
                            static_cast<QWidget*>(&bill)}) {
        for (QWidget* w : screen->findChildren<QWidget*>()) {
            if (!qobject_cast<QLabel*>(w) && !qobject_cast<QLineEdit*>(w) &&
                !qobject_cast<QGroupBox*>(w) && !qobject_cast<QPushButton*>(w))
                continue;
            EXPECT_EQ(w->fontInfo().family(), face) << w->metaObject()->className();
            EXPECT_EQ(w->font().pointSize(), 9) << w->metaObject()->className();
        }
    }
    EXPECT_EQ(song, u"宋体");
}

}  // namespace
}  // namespace talvor
