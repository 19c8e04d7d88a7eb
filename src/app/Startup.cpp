#include "app/Startup.h"

#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QScreen>
#include <cstdio>
#include <memory>

#include "app/FirstStart.h"
#include "app/Login.h"
#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "app/Splash.h"
#include "app/Translations.h"
#include "common/core/ProgramDir.h"
#include "datamodel/DataModule.h"
#include "reports/ReportPreview.h"
#include "reports/core/ReportLayout.h"
#include "ui/EnterAsTab.h"
#include "ui/Fonts.h"
#include "ui/Messages.h"

namespace talvor {

namespace {

// With TALVOR_REPORT_STARTUP set, prints a line when the login dialog shows, for the start-up
// benchmark.
class StartupReport : public QObject {
  public:
    explicit StartupReport(QWidget& login) { login.installEventFilter(this); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            std::fputs("talvor: login dialog shown\n", stdout);
            std::fflush(stdout);
            watched->removeEventFilter(this);
        }
        return false;
    }
};

bool firstStart() {
    if (QFileInfo::exists(databasePath())) return true;
    TFrmFirstStart dialog(databasePath());
    return dialog.exec() == QDialog::Accepted;
}

void showMaximizedOnScreen(TfrmMain& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
    window.showMaximized();
}

}  // namespace

bool ensureSingleInstance(SingleInstanceGuard& guard) {
    if (guard.acquire()) return true;
    messages().inform(QStringLiteral("程序已经运行"), MessageIcon::None);
    return false;
}

int runProgram(QApplication& app) {
    // Calendars and other texts Qt takes from the locale read as on a Chinese system.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    const std::unique_ptr<QTranslator> qtChinese = loadQtChinese();
    if (qtChinese) QCoreApplication::installTranslator(qtChinese.get());
    installSongFont();
    SingleInstanceGuard guard;
    if (!ensureSingleInstance(guard)) return 0;
    EnterAsTab enterAsTab;
    app.installEventFilter(&enterAsTab);
    if (!firstStart()) return 1;

    auto splash = std::make_unique<TfrmFlash>();
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents();

    TfrmMain main;
    TFrmLogin login;
    TFrmDataMod dataModule;
    const report::ReportLayouts layouts(dataModule);
    installReportPreview();
    main.setLoginDialog(&login);
    std::unique_ptr<StartupReport> report;
    if (qEnvironmentVariableIsSet("TALVOR_REPORT_STARTUP"))
        report = std::make_unique<StartupReport>(login);

    splash.reset();
    showMaximizedOnScreen(main);
    return app.exec();
}

}  // namespace talvor
