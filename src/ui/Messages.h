#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <deque>
#include <memory>
#include <vector>

namespace talvor {

enum class MessageIcon { None, Information, Warning, Critical, Question };

struct Message {
    QString text;
    QString caption = QStringLiteral("提示");
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    MessageIcon icon = MessageIcon::None;
};

// Every message box and question of the program goes through here, so that tests can answer
// them and see what was shown.
class Messages {
  public:
    virtual ~Messages() = default;

    // Shows the message and returns the button the user chose.
    virtual QMessageBox::StandardButton show(const Message& message) = 0;

    // A message with the OK button only.
    void inform(const QString& text, MessageIcon icon = MessageIcon::Information);
    // "提示" with OK and Cancel and a question icon; true when the user chose OK.
    bool confirm(const QString& text);
    // The general error report: an error that no handler dealt with.
    void reportError(const QString& text);
};

// The box that shows a message: no minimise or maximise button, and wide enough for its
// caption besides the title bar's buttons.
std::unique_ptr<QMessageBox> messageBox(const Message& message, QWidget* parent);

// Real message boxes, parented to the active window so that they stay above it.
class MessageBoxes final : public Messages {
  public:
    QMessageBox::StandardButton show(const Message& message) override;
};

Messages& messages();
// Replaces the service; nullptr returns to the message boxes. Returns the previous one.
Messages* setMessages(Messages* service);

// Answers from a queue instead of asking, and keeps every message shown. It takes over the
// service while it lives. A message shown with no answer queued gets the lowest button it
// offers, which is OK where there is one.
class ScriptedMessages final : public Messages {
  public:
    ScriptedMessages();
    ~ScriptedMessages() override;
    ScriptedMessages(const ScriptedMessages&) = delete;
    ScriptedMessages& operator=(const ScriptedMessages&) = delete;

    void answer(QMessageBox::StandardButton button) { answers_.push_back(button); }
    QMessageBox::StandardButton show(const Message& message) override;

    const std::vector<Message>& shown() const { return shown_; }
    QStringList texts() const;
    void clear() { shown_.clear(); }

  private:
    std::deque<QMessageBox::StandardButton> answers_;
    std::vector<Message> shown_;
    Messages* previous_;
};

}  // namespace talvor
