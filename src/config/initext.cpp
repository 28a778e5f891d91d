#include "config/initext.h"

namespace vlr {

namespace {

bool isProfileBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// The name of a "[section]" line, or nothing for other lines.
std::optional<QString> sectionOf(const QString& line) {
    const QString t = trimProfileBlanks(line);
    if (!t.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = t.indexOf(u']');
    return trimProfileBlanks(t.mid(1, close < 0 ? -1 : close - 1));
}

// Splits "key=value"; lines without "=" and comment lines hold no entry.
bool splitEntry(const QString& line, QString& key, QString& value) {
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return false;
    key = trimProfileBlanks(line.left(eq));
    if (key.isEmpty() || key.startsWith(u';'))
        return false;
    value = trimProfileBlanks(line.mid(eq + 1));
    return true;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QString trimProfileBlanks(const QString& text) {
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && isProfileBlank(text[b]))
        ++b;
    while (e > b && isProfileBlank(text[e - 1]))
        --e;
    return text.mid(b, e - b);
}

TIniText TIniText::parse(const QString& text) {
    TIniText r;
    if (text.isEmpty())
        return r;
    r.m_lineBreak = text.contains(QStringLiteral("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
    r.m_lines = text.split(u'\n');
    for (QString& line : r.m_lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    r.m_finalBreak = text.endsWith(u'\n');
    if (r.m_finalBreak)
        r.m_lines.removeLast();
    return r;
}

QString TIniText::toString() const {
    QString out = m_lines.join(m_lineBreak);
    if (!m_lines.isEmpty() && m_finalBreak)
        out += m_lineBreak;
    return out;
}

std::optional<TIniText::Range> TIniText::find(const QString& section) const {
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionOf(m_lines[i]);
        if (!name || !sameName(*name, section))
            continue;
        qsizetype end = i + 1;
        while (end < m_lines.size() && !sectionOf(m_lines[end]))
            ++end;
        return Range{i, end};
    }
    return std::nullopt;
}

qsizetype TIniText::findKey(const Range& range, const QString& key) const {
    QString k, v;
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        if (splitEntry(m_lines[i], k, v) && sameName(k, key))
            return i;
    }
    return -1;
}

std::optional<QString> TIniText::rawValue(const QString& section, const QString& key) const {
    const auto range = find(section);
    if (!range)
        return std::nullopt;
    const qsizetype i = findKey(*range, key);
    if (i < 0)
        return std::nullopt;
    QString k, v;
    splitEntry(m_lines[i], k, v);
    return v;
}

bool TIniText::hasSection(const QString& section) const {
    return find(section).has_value();
}

QStringList TIniText::sectionNames() const {
    QStringList names;
    for (const QString& line : m_lines) {
        if (const auto name = sectionOf(line))
            names.append(*name);
    }
    return names;
}

TSettingsEntries TIniText::entries(const QString& section) const {
    TSettingsEntries out;
    const auto range = find(section);
    if (!range)
        return out;
    QString k, v;
    for (qsizetype i = range->header + 1; i < range->end; ++i) {
        if (splitEntry(m_lines[i], k, v))
            out.append({k, v});
    }
    return out;
}

void TIniText::setValue(const QString& section, const QString& key, const QString& value) {
    const auto range = find(section);
    if (!range) {
        if (!m_lines.isEmpty() && !trimProfileBlanks(m_lines.last()).isEmpty())
            m_lines.append(QString());
        m_lines.append(u'[' + section + u']');
        m_lines.append(key + u'=' + value);
        return;
    }
    const qsizetype i = findKey(*range, key);
    if (i >= 0) {
        QString k, v;
        splitEntry(m_lines[i], k, v);
        m_lines[i] = k + u'=' + value;
        return;
    }
    // After the section's last non-blank line, so the blank line that
    // separates it from the next section stays where it is.
    qsizetype at = range->end;
    while (at > range->header + 1 && trimProfileBlanks(m_lines[at - 1]).isEmpty())
        --at;
    m_lines.insert(at, key + u'=' + value);
}

void TIniText::removeKey(const QString& section, const QString& key) {
    const auto range = find(section);
    if (!range)
        return;
    const qsizetype i = findKey(*range, key);
    if (i >= 0)
        m_lines.removeAt(i);
}

void TIniText::removeSection(const QString& section) {
    const auto range = find(section);
    if (range)
        m_lines.remove(range->header, range->end - range->header);
}

} // namespace vlr
