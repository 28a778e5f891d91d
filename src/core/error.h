#pragma once
// Internal failures: one exception type carrying the English text the user
// reports, and the place it was raised.
#include <QString>
#include <stdexcept>

namespace vlr {

class EVellinorError : public std::runtime_error {
public:
    explicit EVellinorError(const QString& text, const QString& place = {})
        : std::runtime_error(text.toStdString()), m_text(text), m_place(place) {}
    const QString& text() const { return m_text; }
    const QString& place() const { return m_place; }

private:
    QString m_text;
    QString m_place;
};

} // namespace vlr
