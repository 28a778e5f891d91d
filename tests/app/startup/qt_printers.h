#pragma once
// Readable QString values in failure messages (QStringList prints through it).
#include <QString>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
