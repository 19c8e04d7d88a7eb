#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>

#include "ui/Messages.h"

namespace talvor {
namespace {

// A short question under the long program title: the title must not be cut, and the box offers
// no minimise or maximise button.
TEST(MessageBoxTest, HasNoMinimiseOrMaximiseAndRoomForItsCaption) {
    const Message message{.text = QStringLiteral("确认删除?"),
                          .caption = QStringLiteral("禾岚进销存管理系统"),
                          .buttons = QMessageBox::Ok | QMessageBox::Cancel,
                          .icon = MessageIcon::Question};
    const std::unique_ptr<QMessageBox> box = messageBox(message, nullptr);
    EXPECT_FALSE(box->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(box->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(box->windowFlags() & Qt::WindowCloseButtonHint);
    box->show();
    const int caption = box->fontMetrics().horizontalAdvance(message.caption);
    EXPECT_GT(box->width(), caption + 80) << "room for the caption and the title bar's buttons";
    EXPECT_EQ(box->button(QMessageBox::Cancel)->text(), u"取消");
    EXPECT_EQ(box->text(), message.text);
}

}  // namespace
}  // namespace talvor
