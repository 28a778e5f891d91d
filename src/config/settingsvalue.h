#pragma once
// Typed values in the settings file: how integers, colours, booleans and
// numbers with a fraction are written and read back. Text that does not
// parse gives the caller's default.
#include <QString>

namespace vlr {

// Decimal with an optional sign; "$" or "0x" introduce hexadecimal.
// Anything outside the 32-bit signed range gives the default.
int parseProfileInteger(const QString& text, int def);

// Colours are written as signed 32-bit decimals (0x80000008 as
// "-2147483640"); unsigned and hexadecimal forms are read as well.
quint32 parseProfileColor(const QString& text, quint32 def);
QString formatProfileColor(quint32 color);

// "1" or "0"; any non-zero integer reads as true.
bool parseProfileBool(const QString& text, bool def);
inline QString formatProfileBool(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

// Written with the given decimal separator; read with that separator or a
// point. Infinities and NaN give the default.
double parseProfileFloat(const QString& text, double def, const QString& decimalSeparator);
QString formatProfileFloat(double value, const QString& decimalSeparator);
// The system's decimal separator.
QString systemDecimalSeparator();

} // namespace vlr
