#pragma once

#include <QString>
#include <QtGlobal>
#include <initializer_list>
#include <variant>

namespace platform {

// One argument of Format: an integer, a floating-point number or a string.
class FormatArg {
public:
    FormatArg(int v) : value_(static_cast<qint64>(v)) {}
    FormatArg(unsigned v) : value_(static_cast<qint64>(v)) {}
    FormatArg(long v) : value_(static_cast<qint64>(v)) {}
    FormatArg(long long v) : value_(static_cast<qint64>(v)) {}
    FormatArg(double v) : value_(v) {}
    FormatArg(const QString& v) : value_(v) {}
    FormatArg(const char* v) : value_(QString::fromUtf8(v)) {}

    const std::variant<qint64, double, QString>& value() const { return value_; }

private:
    std::variant<qint64, double, QString> value_;
};

// The classic format routine: "%" [index ":"] ["-"] [width] ["." precision] type, with the types
// d (integer; precision = minimum digits), u, x (upper-case hexadecimal), s (precision = maximum
// characters), f (fixed, 2 decimals by default), n (as f with thousands separators), e
// (scientific), g (general) and "%%". An index specifier "%1:s" picks an argument; a following
// plain specifier continues with the next index. "*" takes a width or precision from the
// arguments. A specifier that does not match its argument raises platform::Exception.
QString Format(const QString& format, std::initializer_list<FormatArg> args);

} // namespace platform
