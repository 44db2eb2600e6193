#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace kaldor::db {
class ResultSet;
}

// The rules of the program's texts: quoting, trimming, reading numbers and times, tags.
namespace kaldor {

QString& FixQuotes(QString& text);
QString FixQuotes(const QString& text);
QString ParseTime(const QString& time, const QString& part);
QString GetfformByFieldNumber(const QString& fieldNumber);
QString Calczvrtag();

// The text without the blanks (spaces only) at its ends.
QString Trim(const QString& text);

// The text on one line, as a line of the error log or the status bar shows a driver's message:
// each line break, with the white space around it, becomes one blank; white space at the ends
// goes.
QString OneLine(const QString& text);

// Lenient numeric reading: the leading number of the text, otherwise 0; a number beyond the
// range of a double is an overflow (DbException, error 6).
double Val(const QString& text);
// The value in single precision; one beyond its range is an overflow (error 6).
float CSng(double value);

// The text of `column` in every row, in the order returned. A NULL value is a failure
// (InvalidUseOfNull), as putting NULL into a list entry is.
QStringList columnTexts(const db::ResultSet& rows, QStringView column);
// The texts in the order of a sorted list: alphabetical, ignoring case.
QStringList sortedTexts(QStringList texts);
// The text in upper case character by character with the simple one-to-one mapping, so that
// its length never changes ("ß" stays "ß"): the comparisons "in upper case" use it.
QString upperCase(const QString& text);
// Whether a typed text reads as a number: blanks around it, a sign before or after it or
// parentheses around it, digits with thousands commas and a decimal point, an exponent, or
// a hexadecimal (&H) or octal (&O) number. The empty text is not a number.
bool IsNumeric(const QString& text);

} // namespace kaldor
