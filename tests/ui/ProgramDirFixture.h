#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>

#include "common/core/GoodsCaptions.h"
#include "common/core/BillSettings.h"
#include "common/core/ProgramDir.h"
#include "datamodel/DataModule.h"
#include "datamodel/Rights.h"
#include "datamodel/db/Schema.h"
#include "datamodel/db/SqliteEngine.h"
#include "ui/Messages.h"

namespace talvor::test {

// A program directory of its own with a new database (administrator "admin", password
// "secret") and a data module that is not connected yet, as at start-up. Messages are
// answered from a script.
class ProgramDirFixture : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    ScriptedMessages messages;
    std::unique_ptr<TFrmDataMod> module;

    ProgramDirFixture() {
        setProgramDir(dir.path());
        QDir().mkpath(dir.filePath(QStringLiteral("data")));
        db::createDatabase(databasePath(), {QStringLiteral("admin"), QStringLiteral("管理员"),
                                            QStringLiteral("secret")});
        module = std::make_unique<TFrmDataMod>();
        CurrentUser() = {};
        GoodsCaptions() = {};
        billSettings() = {};
    }
    ~ProgramDirFixture() override {
        module.reset();
        CurrentUser() = {};
        setProgramDir({});
    }

    // A statement on a connection of its own, so that it works before the login connects.
    void sql(const QString& statement, const QVariantMap& params = {}) {
        db::SqliteEngine engine;
        engine.open(databasePath());
        engine.execute(statement, params);
    }

    void addUser(const QString& id, const QString& password, const QVariant& use) {
        sql(QStringLiteral("insert into powers (user_id,password,pow_use) values (:id,:pw,:use)"),
            {{QStringLiteral("id"), id},
             {QStringLiteral("pw"), password},
             {QStringLiteral("use"), use}});
    }

    template <typename T = QWidget>
    static T* child(const QWidget& window, const char* name) {
        T* w = window.findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
};

// Runs action on the modal window of type T once it is shown (the step that opens it is
// about to run a nested event loop).
template <typename T>
void whenModal(std::function<void(T&)> action) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action = std::move(action)] {
        auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!window || !window->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        action(*window);
    });
    poll->start(5);
}

}  // namespace talvor::test
