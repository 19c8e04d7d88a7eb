// The yardstick of the start-up benchmark: a Qt program that only shows an empty dialog and
// says so, as talvor says when its login dialog shows.
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <cstdio>

namespace {

class ReportShown : public QObject {
  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            std::fputs("empty dialog shown\n", stdout);
            std::fflush(stdout);
        }
        return false;
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QDialog dialog;
    ReportShown report;
    dialog.installEventFilter(&report);
    dialog.show();
    return app.exec();
}
