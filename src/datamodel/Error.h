#pragma once

#include <QString>
#include <stdexcept>

namespace talvor {

// The program's failures carry their text as the user reads it; what() holds the same in UTF-8.
class Error : public std::runtime_error {
  public:
    explicit Error(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

  private:
    QString message_;
};

}  // namespace talvor
