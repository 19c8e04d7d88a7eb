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

void EditingDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) return;
    QDialog::keyPressEvent(event);
}

void EditingDialog::reject() {
    if (mode_ == ScreenMode::Null) QDialog::reject();
}

}  // namespace talvor
