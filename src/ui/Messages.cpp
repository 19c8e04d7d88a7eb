#include "ui/Messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGridLayout>
#include <utility>

#include "common/core/ProgramTitle.h"
#include "ui/Desktop.h"

namespace talvor {

namespace {

Messages*& installed() {
    static Messages* service = nullptr;
    return service;
}

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// The buttons in the words of a Chinese system, whatever translations are installed.
void nameButtons(QMessageBox& box) {
    static const std::pair<QMessageBox::StandardButton, const char*> names[] = {
        {QMessageBox::Ok, "确定"},    {QMessageBox::Cancel, "取消"}, {QMessageBox::Yes, "是"},
        {QMessageBox::No, "否"},      {QMessageBox::Abort, "中止"},  {QMessageBox::Retry, "重试"},
        {QMessageBox::Ignore, "忽略"}};
    for (const auto& [button, name] : names)
        if (QAbstractButton* b = box.button(button)) b->setText(QString::fromUtf8(name));
}

// The title bar draws the caption in about the window's font, beside the icon and the buttons
// the window manager adds; the room they take is a guess on the generous side.
constexpr int kTitleBarExtras = 120;

void makeRoomForCaption(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    const int width = box.fontMetrics().horizontalAdvance(box.windowTitle()) + kTitleBarExtras;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

std::unique_ptr<QMessageBox> messageBox(const Message& message, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(boxIcon(message.icon), message.caption, message.text,
                                             message.buttons, parent);
    box->setWindowFlags(kDialogFrame);
    nameButtons(*box);
    makeRoomForCaption(*box);
    return box;
}

void Messages::inform(const QString& text, MessageIcon icon) { show({.text = text, .icon = icon}); }

bool Messages::confirm(const QString& text) {
    return show({.text = text,
                 .buttons = QMessageBox::Ok | QMessageBox::Cancel,
                 .icon = MessageIcon::Question}) == QMessageBox::Ok;
}

void Messages::reportError(const QString& text) {
    show({.text = text, .caption = programTitle(), .icon = MessageIcon::Critical});
}

QMessageBox::StandardButton MessageBoxes::show(const Message& message) {
    const std::unique_ptr<QMessageBox> box = messageBox(message, QApplication::activeWindow());
    return QMessageBox::StandardButton(box->exec());
}

Messages& messages() {
    static MessageBoxes boxes;
    Messages* service = installed();
    return service ? *service : boxes;
}

Messages* setMessages(Messages* service) { return std::exchange(installed(), service); }

ScriptedMessages::ScriptedMessages() : previous_(setMessages(this)) {}

ScriptedMessages::~ScriptedMessages() { setMessages(previous_); }

QMessageBox::StandardButton ScriptedMessages::show(const Message& message) {
    shown_.push_back(message);
    if (!answers_.empty()) {
        const QMessageBox::StandardButton button = answers_.front();
        answers_.pop_front();
        return button;
    }
    const auto offered = message.buttons.toInt();
    return QMessageBox::StandardButton(offered & -offered);
}

QStringList ScriptedMessages::texts() const {
    QStringList all;
    for (const Message& m : shown_) all.append(m.text);
    return all;
}

}  // namespace talvor
