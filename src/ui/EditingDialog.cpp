#include "ui/EditingDialog.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include "ui/ErrorReport.h"

namespace talvor {

QPushButton* EditingDialog::toolButton(const char* name, const QString& caption,
                                       std::function<void()> handler) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    connectGuarded(button, &QPushButton::clicked, this, std::move(handler));
    return button;
}

QPushButton* EditingDialog::exitButton() {
    auto* exit = new QPushButton(QStringLiteral("退出[&X]"), this);
    exit->setObjectName(QStringLiteral("cmd_exit"));
    exit->setAutoDefault(false);
    connect(exit, &QPushButton::clicked, this, &QDialog::close);
    return exit;
}

void EditingDialog::closeEvent(QCloseEvent* event) {
    if (mode_ != ScreenMode::Null) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

namespace {

bool isPlainEscape(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier;
}

class EscapeKeepsOpen : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject*, QEvent* event) override { return isPlainEscape(event); }
};

}  // namespace

void keepOpenOnEscape(QDialog& screen) { screen.installEventFilter(new EscapeKeepsOpen(&screen)); }

void EditingDialog::keyPressEvent(QKeyEvent* event) {
    if (isPlainEscape(event)) return;
    QDialog::keyPressEvent(event);
}

void EditingDialog::reject() {
    if (mode_ == ScreenMode::Null) QDialog::reject();
}

}  // namespace talvor
