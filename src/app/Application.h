#pragma once

#include <QApplication>

namespace talvor {

// The program's application object: an exception that escapes any event handler ends in the
// general error report, and the program goes on.
class TalvorApplication : public QApplication {
    Q_OBJECT

  public:
    TalvorApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace talvor
