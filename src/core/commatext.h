#pragma once
// Lists kept as one settings value: items separated by commas; an item that
// holds a blank, a comma or a double quote is enclosed in double quotes with
// inner quotes doubled.
#include <QString>
#include <QStringList>

namespace vlr {

// With extraComma the value ends in one more "," (the form the settings file
// uses), so a value that starts and ends with a quoted item never looks like
// one quoted string to the reader. An empty list is always an empty value.
QString toCommaText(const QStringList& items, bool extraComma = false);

// Blanks (any character up to the space) separate items as commas do, unless
// quoted. A trailing comma adds no item; a lone "," is the empty list. A
// quoted item without its closing quote runs to the end of the text.
QStringList fromCommaText(const QString& text);

} // namespace vlr
