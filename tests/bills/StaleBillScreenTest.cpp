#include <QLineEdit>

#include "bills/BillScreen.h"
#include "master/MasterScreenFixture.h"

namespace talvor {
namespace {

// A purchase of today shown on the screen while another copy of the program changes it.
class StaleBillScreenTest : public test::MasterScreenFixture {
  protected:
    std::unique_ptr<TFrmDataMod> other;

    StaleBillScreenTest() {
        t.exec(QStringLiteral("insert into goods (gods_code,gods_name) values ('A1','螺丝')"));
        t.exec(QStringLiteral(
            "insert into storemain (gods_code,gods_amou,cost_pric) values ('A1',10,5)"));
        t.exec(QStringLiteral("insert into inmain (bill_no,bill_date,bill_type,shou_tota) "
                              "values ('20240305100000',:d,'in',24)"),
               {{QStringLiteral("d"), QDate::currentDate()}});
        t.exec(
            QStringLiteral("insert into ingoods (bill_no,gods_code,sub_amou,unit_pric) "
                           "values ('20240305100000','A1',3,8)"));
        other = t.anotherCopy();
    }

    double stockOfA1() {
        return t.scalar(QStringLiteral("select gods_amou from storemain")).toDouble();
    }
    bool toldStale() {
        return answers.texts().contains(QStringLiteral("本单已被其他用户修改或删除，请重新打开。"));
    }
};

TEST_F(StaleBillScreenTest, ASaveOverAChangedBillIsRefusedAndTheBillShowsAsStored) {
    TFrmIn screen;
    ASSERT_EQ(child<QLineEdit>(screen, "Edit2")->text(), u"3");
    other->AdoConn().execute(QStringLiteral("update ingoods set sub_amou=5"));
    click(screen, "cmd_edit");
    click(screen, "cmd_save");
    EXPECT_TRUE(toldStale());
    EXPECT_EQ(screen.mode(), ScreenMode::Null);
    EXPECT_EQ(child<QLineEdit>(screen, "Edit2")->text(), u"5");
    EXPECT_DOUBLE_EQ(stockOfA1(), 10);
}

TEST_F(StaleBillScreenTest, DeletingABillAnotherCopyDeletedIsRefusedAndItLeavesTheScreen) {
    TFrmIn screen;
    other->AdoConn().execute(QStringLiteral("delete from ingoods"));
    other->AdoConn().execute(QStringLiteral("delete from inmain"));
    answers.answer(QMessageBox::Ok);
    click(screen, "cmd_dele");
    EXPECT_TRUE(toldStale());
    EXPECT_TRUE(child<QLineEdit>(screen, "DBEdit_bill_no")->text().isEmpty());
    EXPECT_DOUBLE_EQ(stockOfA1(), 10) << "nothing is taken back out of stock";
}

}  // namespace
}  // namespace talvor
