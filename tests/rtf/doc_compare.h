#pragma once
// Compares two documents the way a user would notice a difference: text,
// character attributes, paragraph attributes, lists, links, pictures, tables.
#include <QString>

class QTextDocument;

namespace vlr::test {

// Empty when the documents agree; otherwise a description of the first difference.
QString compareDocuments(const QTextDocument& a, const QTextDocument& b);

} // namespace vlr::test
