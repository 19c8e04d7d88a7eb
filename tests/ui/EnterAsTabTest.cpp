#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest/QTest>

#include "ui/EnterAsTab.h"

namespace talvor::test {

// A window of the program: two boxes, a box of several lines and an OK button that would be
// the dialog's default.
class EnterForm : public QDialog {
    Q_OBJECT

  public:
    EnterForm() {
        auto* layout = new QVBoxLayout(this);
        for (QWidget* w : {static_cast<QWidget*>(first), static_cast<QWidget*>(second),
                           static_cast<QWidget*>(memo), static_cast<QWidget*>(ok)})
            layout->addWidget(w);
    }
    QLineEdit* first = new QLineEdit(this);
    QLineEdit* second = new QLineEdit(this);
    QPlainTextEdit* memo = new QPlainTextEdit(this);
    QPushButton* ok = new QPushButton(QStringLiteral("确定"), this);
};

// Controls made of parts: a date picker with its sections, a pick list with its edit box.
class PartsForm : public QDialog {
    Q_OBJECT

  public:
    PartsForm() {
        auto* layout = new QVBoxLayout(this);
        list->setEditable(true);
        for (QWidget* w : {static_cast<QWidget*>(first), static_cast<QWidget*>(date),
                           static_cast<QWidget*>(list), static_cast<QWidget*>(last)})
            layout->addWidget(w);
    }
    QLineEdit* first = new QLineEdit(this);
    QDateEdit* date = new QDateEdit(this);
    QComboBox* list = new QComboBox(this);
    QLineEdit* last = new QLineEdit(this);
};

class EnterAsTabTest : public ::testing::Test {
  protected:
    EnterAsTab rule;

    EnterAsTabTest() { qApp->installEventFilter(&rule); }
    ~EnterAsTabTest() override { qApp->removeEventFilter(&rule); }

    static void show(QWidget& window) {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    // Enter on the focused control, then what the event loop does after it.
    static void pressEnter() {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }
};

TEST_F(EnterAsTabTest, OneEnterLeavesADatePickerAndAPickList) {
    PartsForm form;
    show(form);
    form.first->setFocus();
    const QWidget* expected[] = {form.date, form.list, form.last};
    for (const QWidget* next : expected) {
        pressEnter();
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
}

TEST_F(EnterAsTabTest, TheFocusedBoxSeesEnterAndTheFocusMovesOn) {
    EnterForm form;
    show(form);
    form.first->setFocus();
    QSignalSpy entered(form.first, &QLineEdit::returnPressed);
    QSignalSpy okPressed(form.ok, &QPushButton::clicked);
    pressEnter();
    EXPECT_EQ(entered.count(), 1);
    EXPECT_EQ(QApplication::focusWidget(), form.second);
    EXPECT_EQ(okPressed.count(), 0) << "Enter in a box never presses the default button";
    EXPECT_TRUE(form.isVisible());

    pressEnter();
    EXPECT_EQ(QApplication::focusWidget(), form.memo);
}

TEST_F(EnterAsTabTest, AHandlerThatPlacesTheFocusItselfKeepsIt) {
    EnterForm form;
    show(form);
    QObject::connect(form.first, &QLineEdit::returnPressed, form.ok, [&] { form.ok->setFocus(); });
    form.first->setFocus();
    pressEnter();
    EXPECT_EQ(QApplication::focusWidget(), form.ok);
}

// The tool-bar buttons of the screens are no dialog defaults; Enter presses them all the same,
// once, and the focus stays for the handler to move.
TEST_F(EnterAsTabTest, EnterOnAFocusedButtonPressesIt) {
    for (const bool autoDefault : {false, true}) {
        EnterForm form;
        form.ok->setAutoDefault(autoDefault);
        show(form);
        QSignalSpy pressed(form.ok, &QPushButton::clicked);
        form.ok->setFocus();
        pressEnter();
        EXPECT_EQ(pressed.count(), 1) << "autoDefault " << autoDefault;
        EXPECT_EQ(QApplication::focusWidget(), form.ok);
    }
}

TEST_F(EnterAsTabTest, ABoxOfSeveralLinesTakesEnterAsANewLine) {
    EnterForm form;
    show(form);
    form.memo->setFocus();
    QTest::keyClicks(form.memo, QStringLiteral("ab"));
    pressEnter();
    QTest::keyClicks(form.memo, QStringLiteral("c"));
    EXPECT_EQ(form.memo->toPlainText(), QStringLiteral("ab\nc"));
    EXPECT_EQ(QApplication::focusWidget(), form.memo);
}

TEST_F(EnterAsTabTest, QtsOwnDialogsKeepTheirEnter) {
    QDialog plain;
    auto* box = new QLineEdit(&plain);
    auto* next = new QLineEdit(&plain);
    auto* layout = new QVBoxLayout(&plain);
    layout->addWidget(box);
    layout->addWidget(next);
    show(plain);
    box->setFocus();
    pressEnter();
    EXPECT_EQ(QApplication::focusWidget(), box);
    EXPECT_FALSE(isProgramWindow(&plain));
}

}  // namespace talvor::test

#include "EnterAsTabTest.moc"
