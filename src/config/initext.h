#pragma once
// The text of a profile file as lines: "[section]" headers and "key=value"
// entries. Names are compared without regard to case and the first match
// wins; everything else in the text (comments, blank lines, stray lines) is
// kept as it stands when a value changes.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <optional>

namespace vlr {

using TSettingsEntries = QList<QPair<QString, QString>>;

class TIniText {
public:
    static TIniText parse(const QString& text);
    QString toString() const;

    // The value as written, without the blanks around it.
    std::optional<QString> rawValue(const QString& section, const QString& key) const;
    bool hasSection(const QString& section) const;
    QStringList sectionNames() const;
    // Keys and their values as written, in file order.
    TSettingsEntries entries(const QString& section) const;

    // Replaces the first entry of the key or appends one at the end of the
    // section; a missing section is appended to the text.
    void setValue(const QString& section, const QString& key, const QString& value);
    void removeKey(const QString& section, const QString& key);
    void removeSection(const QString& section);

private:
    struct Range {
        qsizetype header = -1; // line of "[section]"
        qsizetype end = -1;    // one past the section's last line
    };
    std::optional<Range> find(const QString& section) const;
    qsizetype findKey(const Range& range, const QString& key) const;

    QStringList m_lines;
    QString m_lineBreak = QStringLiteral("\n");
    bool m_finalBreak = true;
};

// Blanks that the profile format drops around names and values.
QString trimProfileBlanks(const QString& text);

} // namespace vlr
