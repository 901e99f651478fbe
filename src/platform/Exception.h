#pragma once

#include <QString>
#include <QStringList>
#include <exception>
#include <string>

namespace platform {

// Base of every exception the program raises. The message can be changed by a handler that adds
// context and then raises the same exception again.
class Exception : public std::exception {
public:
    explicit Exception(QString message = {}) : message_(std::move(message)) {}

    const QString& message() const { return message_; }
    void setMessage(const QString& message) {
        message_ = message;
        utf8_.clear();
    }
    const char* what() const noexcept override;

private:
    QString message_;
    mutable std::string utf8_;
};

// The silent abort: raised when the user cancels a long operation; handlers show no error for it.
class EAbort : public Exception {
public:
    using Exception::Exception;
};

// Raises an Exception whose message is the lines joined by CR LF (the standard dialogue shows one
// line each).
[[noreturn]] void RaiseLines(const QStringList& lines);

} // namespace platform
