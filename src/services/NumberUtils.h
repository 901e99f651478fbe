#pragma once

#include <QString>

// The separators and currency string amounts are written with.
struct TNumberSeparators {
    QString Thousand;
    QString Decimal;
    QString Currency;
};

// The system locale's separators and currency string.
TNumberSeparators SystemNumberSeparators();

// A number read leniently from a cell's text, as users type amounts: blanks, thousand
// separators, the currency string, "%" and "+" signs are ignored; a leading or trailing "-" or
// enclosing parentheses make it negative; letters before it are skipped and anything after it
// ends it. A text that holds no number, or two numbers joined by "+" or "-", gives 0. Never
// raises.
double ParseNumberLenient(const QString& text);
double ParseNumberLenient(const QString& text, const TNumberSeparators& separators);
