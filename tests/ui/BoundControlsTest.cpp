#include <gtest/gtest.h>

#include <QtTest/QTest>

#include "support/TestDatabase.h"
#include "ui/BoundControls.h"
#include "ui/Messages.h"
#include "ui/WidgetRoutines.h"

namespace talvor {
namespace {

class BoundControlsTest : public ::testing::Test {
  protected:
    test::TestDatabase t;
    ScriptedMessages messages;
    Dataset& goods = *t.module->GoodsQ;

    BoundControlsTest() {
        t.exec(
            QStringLiteral("insert into company (comp_code,comp_name) values ('C1','禾岚商行')"));
        t.exec(
            QStringLiteral("insert into goods (gods_code,gods_name,valu_in,prod_code) "
                           "values ('G1','铅笔',1.5,'C1'), ('G2','橡皮',NULL,'')"));
        goods.setSql(QStringLiteral("select * from goods order by gods_code"));
        goods.open();
    }

    QVariant stored(const char* column, const char* code) {
        return t.scalar(QStringLiteral("select ") + QLatin1String(column) +
                            QStringLiteral(" from goods where gods_code=:c"),
                        {{QStringLiteral("c"), QLatin1String(code)}});
    }

    // Typing as the user does: the text changes and counts as modified, the box keeps the
    // focus. (Key clicks cannot carry Chinese characters.)
    static void type(QLineEdit* box, const QString& text) {
        box->selectAll();
        box->insert(text);
        box->setModified(true);
    }
};

TEST_F(BoundControlsTest, AnEditBoxFollowsTheCurrentRow) {
    DBEdit name, price, producer;
    name.bind(&goods, QStringLiteral("gods_name"));
    price.bind(&goods, QStringLiteral("valu_in"));
    producer.bind(&goods, QStringLiteral("prod_name"));
    EXPECT_EQ(name.text(), QStringLiteral("铅笔"));
    EXPECT_EQ(price.text(), QStringLiteral("1.5"));
    EXPECT_EQ(producer.text(), QStringLiteral("禾岚商行"));
    EXPECT_TRUE(producer.isReadOnly()) << "a looked-up field only shows";

    goods.next();
    EXPECT_EQ(name.text(), QStringLiteral("橡皮"));
    EXPECT_EQ(price.text(), QString());
    EXPECT_EQ(producer.text(), QString());

    goods.setValue(QStringLiteral("gods_name"), QStringLiteral("新橡皮"));
    EXPECT_EQ(name.text(), QStringLiteral("新橡皮"));
    goods.cancel();
    EXPECT_EQ(name.text(), QStringLiteral("橡皮"));

    goods.close();
    EXPECT_EQ(name.text(), QString());
}

TEST_F(BoundControlsTest, FinishedTypingWritesTheRowAndPostStoresIt) {
    DBEdit price, producer, producerName;
    price.bind(&goods, QStringLiteral("valu_in"));
    producer.bind(&goods, QStringLiteral("prod_code"));
    producerName.bind(&goods, QStringLiteral("prod_name"));
    goods.next();
    type(&price, QStringLiteral("3.456"));
    QTest::keyClick(&price, Qt::Key_Return);
    EXPECT_TRUE(goods.isEditing());
    EXPECT_EQ(price.text(), QStringLiteral("3.46")) << "shown again in the field's format";

    type(&producer, QStringLiteral("C1"));
    emit producer.editingFinished();
    EXPECT_EQ(producerName.text(), QStringLiteral("禾岚商行")) << "the lookup follows the code";

    goods.post();
    EXPECT_DOUBLE_EQ(stored("valu_in", "G2").toDouble(), 3.456);
    EXPECT_EQ(stored("prod_code", "G2").toString(), QStringLiteral("C1"));
}

// A save run from a tool button or its shortcut leaves the focus in the box being typed in.
TEST_F(BoundControlsTest, APostWritesWhatIsStillBeingTypedInEveryBox) {
    DBEdit name, price, place;
    name.bind(&goods, QStringLiteral("gods_name"));
    price.bind(&goods, QStringLiteral("valu_in"));
    place.bind(&goods, QStringLiteral("prod_place"));
    goods.edit();
    type(&name, QStringLiteral("自动铅笔"));
    type(&price, QStringLiteral("2"));
    type(&place, QStringLiteral("上海"));
    goods.post();
    EXPECT_EQ(stored("gods_name", "G1").toString(), QStringLiteral("自动铅笔"));
    EXPECT_DOUBLE_EQ(stored("valu_in", "G1").toDouble(), 2);
    EXPECT_EQ(stored("prod_place", "G1").toString(), QStringLiteral("上海"));
}

TEST_F(BoundControlsTest, AValueTheFieldRefusesIsReportedAndNotWritten) {
    DBEdit price;
    price.bind(&goods, QStringLiteral("valu_in"));
    type(&price, QStringLiteral("abc"));
    QTest::keyClick(&price, Qt::Key_Return);
    EXPECT_EQ(messages.shown().size(), 1u);
    EXPECT_DOUBLE_EQ(goods.number(QStringLiteral("valu_in")), 1.5);
    EXPECT_THROW(goods.post(), std::exception) << "the refused text still stops the save";
}

TEST_F(BoundControlsTest, PickListAndDatePickerWriteTheirField) {
    Dataset& bills = *t.module->InMainQ;
    t.exec(QStringLiteral(
        "insert into inmain (bill_no,bill_date,remark) values ('B1','2024-03-05','甲')"));
    bills.setSql(QStringLiteral("select * from inmain"));
    bills.open();
    DBComboBox remark;
    remark.addItems({QStringLiteral("甲"), QStringLiteral("乙")});
    remark.bind(&bills, QStringLiteral("remark"));
    DBDateEdit date;
    date.bind(&bills, QStringLiteral("bill_date"));
    EXPECT_EQ(remark.currentText(), QStringLiteral("甲"));
    EXPECT_EQ(date.date(), QDate(2024, 3, 5));

    remark.setCurrentIndex(1);
    emit remark.activated(1);
    date.setDate(QDate(2024, 4, 1));
    emit date.editingFinished();
    EXPECT_EQ(bills.text(QStringLiteral("remark")), QStringLiteral("乙"));
    EXPECT_EQ(bills.value(QStringLiteral("bill_date")).toDate(), QDate(2024, 4, 1));

    bills.setValue(QStringLiteral("bill_date"), QVariant());
    EXPECT_EQ(date.text().trimmed(), QString()) << "an empty date shows blank";
}

TEST_F(BoundControlsTest, PickListsFillWithTheDistinctValuesThatAreNotBlank) {
    for (const char* size : {"A", " A", "B"})
        t.exec(QStringLiteral("insert into baseitem (gods_spec) values (:s)"),
               {{QStringLiteral("s"), QLatin1String(size)}});
    t.exec(QStringLiteral("insert into baseitem (gods_spec) values (NULL)"));

    QComboBox plain;
    plain.setEditable(true);
    plain.addItem(QStringLiteral("旧"));
    plain.setEditText(QStringLiteral("旧"));
    FillComboDistinct(QStringLiteral("baseitem"), QStringLiteral("gods_spec"), &plain);
    QStringList items;
    for (int i = 0; i < plain.count(); ++i) items << plain.itemText(i);
    items.sort();
    EXPECT_EQ(items, (QStringList{QStringLiteral(" A"), QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(plain.currentText(), QString());

    DBComboBox bound;
    bound.addItem(QStringLiteral("A"));
    bound.bind(&goods, QStringLiteral("gods_spec"));
    FillDBComboDistinct(QStringLiteral("baseitem"), QStringLiteral("gods_spec"), &bound);
    FillDBComboDistinct(QStringLiteral("baseitem"), QStringLiteral("gods_spec"), &bound);
    EXPECT_EQ(bound.count(), 2) << "\" A\" is \"A\" once trimmed, and nothing comes twice";
    EXPECT_EQ(bound.currentText(), goods.text(QStringLiteral("gods_spec")));
}

}  // namespace
}  // namespace talvor
