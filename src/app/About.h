#pragma once

#include <QDialog>
#include <QPixmap>

class QLabel;

namespace talvor {

// The about box: the program's picture without a frame, closed by its label "关闭".
class TfrmAbout : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmAbout(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPixmap picture_;
    QLabel* lblClose;
};

}  // namespace talvor
