#pragma once

#include <QString>
#include <stdexcept>

namespace sql {

// A failed engine operation; carries the engine's own message text.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

} // namespace sql
