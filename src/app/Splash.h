#pragma once

#include <QWidget>

class QProgressBar;
class QTimer;

namespace talvor {

// The splash window shown while the program starts: the program's picture with a thin bar that
// runs round while events are processed.
class TfrmFlash : public QWidget {
    Q_OBJECT

  public:
    explicit TfrmFlash(QWidget* parent = nullptr);

    void Timer1Timer();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap picture_;
    QProgressBar* ProgressBar1;
    QTimer* Timer1;
};

}  // namespace talvor
