#include "ui/Progress.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <algorithm>
#include <memory>

#include "ui/WaitCursor.h"

namespace talvor {

namespace {

constexpr qint64 kDialogAfterMs = 500;
// Events are pumped this often while the dialog shows: often enough for the cancel button to
// answer at once, seldom enough that a per-row advance() costs next to nothing.
constexpr qint64 kPumpEveryMs = 40;

class ProgressWindow final : public Progress {
  public:
    ProgressWindow(QWidget* parent, QString title) : parent_(parent), title_(std::move(title)) {
        clock_.start();
    }

    void setLabel(const QString& text) override {
        label_ = text;
        if (dialog_) dialog_->setLabelText(text);
    }

    void advance(long long done, long long total) override {
        const qint64 now = clock_.elapsed();
        if (now - lastPump_ < kPumpEveryMs) return;
        lastPump_ = now;
        if (!dialog_ && now >= kDialogAfterMs) showDialog();
        if (!dialog_) return;
        showAmount(done, total);
        QCoreApplication::processEvents();
        if (dialog_->wasCanceled()) throw Cancelled();
    }

  private:
    void showDialog() {
        dialog_ = std::make_unique<QProgressDialog>(label_, QStringLiteral("取消"), 0, 0, parent_);
        dialog_->setObjectName(QStringLiteral("ProgressDlg"));
        dialog_->setWindowTitle(title_);
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setAutoReset(false);
        dialog_->setAutoClose(false);
        dialog_->setMinimumDuration(0);
        dialog_->show();
        // The arrow beside the hourglass: the cancel button can be clicked.
        QGuiApplication::changeOverrideCursor(Qt::BusyCursor);
    }

    // Per mille, so that counts beyond int still fill the bar; an unknown total runs a busy bar.
    void showAmount(long long done, long long total) {
        const int maximum = total > 0 ? 1000 : 0;
        if (dialog_->maximum() != maximum) dialog_->setRange(0, maximum);
        if (total > 0) dialog_->setValue(static_cast<int>(std::min(done, total) * 1000 / total));
    }

    QWidget* parent_;
    QString title_;
    QString label_;
    WaitCursor wait_;
    QElapsedTimer clock_;
    qint64 lastPump_ = 0;
    std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace

bool runWithProgress(QWidget* parent, const QString& title,
                     const std::function<void(Progress&)>& work) {
    ProgressWindow progress(parent, title);
    try {
        work(progress);
        return true;
    } catch (const Cancelled&) {
        return false;
    }
}

}  // namespace talvor
