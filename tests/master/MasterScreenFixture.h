#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include "common/core/GoodsCaptions.h"
#include "datamodel/Rights.h"
#include "support/TestDatabase.h"
#include "ui/BoundControls.h"
#include "ui/Messages.h"

namespace talvor::test {

// A database, a user with every right, and answers for the questions the screens ask.
class MasterScreenFixture : public ::testing::Test {
  protected:
    TestDatabase t;
    ScriptedMessages answers;

    MasterScreenFixture() {
        grantAll();
        GoodsCaptions() = {QStringLiteral("编码"), QStringLiteral("货名"), QStringLiteral("规格"),
                           QStringLiteral("型号"), QStringLiteral("分类")};
    }
    ~MasterScreenFixture() override { CurrentUser() = {}; }

    static void grantAll() {
        CurrentUser().id = QStringLiteral("admin");
        for (QString& r : CurrentUser().rights) r = QString(kModuleCount, u'1');
    }

    template <typename T = QWidget>
    static T* child(QWidget& screen, const char* name) {
        T* w = screen.findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static void click(QWidget& screen, const char* button) {
        child<QPushButton>(screen, button)->click();
    }
    static bool enabled(QWidget& screen, const char* name) {
        return child(screen, name)->isEnabled();
    }
    static void type(QWidget& screen, const char* edit, const QString& text) {
        auto* box = child<QLineEdit>(screen, edit);
        box->setFocus();
        box->setText(text);
        box->setModified(true);
        emit box->editingFinished();
    }
    static void typeCombo(QWidget& screen, const char* combo, const QString& text) {
        auto* box = child<QComboBox>(screen, combo);
        box->setEditText(text);
        emit box->lineEdit()->editingFinished();
    }

    // Runs `action` on the modal dialog that the next step opens.
    static void onNextModal(std::function<void(QDialog&)> action) {
        QTimer::singleShot(0, [action = std::move(action)] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            action(*dialog);
        });
    }

    int count(const QString& sql) { return t.scalar(sql).toInt(); }
};

}  // namespace talvor::test
