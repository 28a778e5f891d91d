#include "app/startup/command_line.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

namespace vlr {

namespace {

bool isSeparator(QChar c) {
    return c == u' ' || c == u'\t';
}

// Trim as the start-up rules mean it: every character up to and including the blank
// goes at both ends, nothing else.
QString trimControls(const QString& s) {
    qsizetype first = 0;
    qsizetype last = s.size();
    while (first < last && s.at(first).unicode() <= 0x20)
        ++first;
    while (last > first && s.at(last - 1).unicode() <= 0x20)
        --last;
    return s.mid(first, last - first);
}

} // namespace

bool fileExistsOnDisk(const QString& path) {
    return QFileInfo::exists(path);
}

QString quoteArgument(const QString& argument) {
    const bool needsQuotes =
        std::any_of(argument.begin(), argument.end(), [](QChar c) { return isSeparator(c) || c == u'"'; });
    if (!needsQuotes)
        return argument;
    QString out = QStringLiteral("\"");
    qsizetype backslashes = 0;
    for (QChar c : argument) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are literal unless a quote follows them.
        const qsizetype run = c == u'"' ? backslashes * 2 + 1 : backslashes;
        out += QString(run, u'\\');
        out += c;
        backslashes = 0;
    }
    // The closing quote follows: the trailing backslashes are doubled too.
    out += QString(backslashes * 2, u'\\');
    out += u'"';
    return out;
}

QStringList splitArguments(const QString& line) {
    QStringList out;
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (true) {
        while (i < n && isSeparator(line.at(i)))
            ++i;
        if (i >= n)
            break;
        QString arg;
        bool quoted = false;
        while (i < n && (quoted || !isSeparator(line.at(i)))) {
            const QChar c = line.at(i);
            if (c == u'\\') {
                qsizetype backslashes = 0;
                while (i < n && line.at(i) == u'\\') {
                    ++backslashes;
                    ++i;
                }
                if (i < n && line.at(i) == u'"') {
                    arg += QString(backslashes / 2, u'\\');
                    if (backslashes % 2 == 1) {
                        arg += u'"';
                        ++i;
                    }
                } else {
                    arg += QString(backslashes, u'\\');
                }
                continue;
            }
            if (c == u'"') {
                if (quoted && i + 1 < n && line.at(i + 1) == u'"') {
                    arg += u'"';
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            arg += c;
            ++i;
        }
        out << arg;
    }
    return out;
}

bool isIniFileName(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0 || name.indexOf(u'/', dot) >= 0)
        return false;
    return name.mid(dot).toUpper() == QStringLiteral(".INI");
}

bool isSwitchArgument(const QString& argument, const TFileExists& exists) {
    return argument.startsWith(u'/') && !exists(argument);
}

TCommandLine::TCommandLine(const QString& programPath, const QStringList& arguments)
    : m_raw(u'"' + programPath + u'"'), m_programPathLength(programPath.size()) {
    for (const QString& arg : arguments)
        m_raw += u' ' + quoteArgument(arg);
}

TCommandLine TCommandLine::fromRaw(const QString& raw, qsizetype programPathLength) {
    TCommandLine line;
    line.m_raw = raw;
    line.m_programPathLength = std::max<qsizetype>(0, programPathLength);
    return line;
}

TCommandLine TCommandLine::fromApplication() {
    return TCommandLine(canonicalProgramPath(), QCoreApplication::arguments().mid(1));
}

QString TCommandLine::argumentsPart() const {
    const qsizetype l = m_programPathLength;
    if (!m_raw.startsWith(u'"')) {
        // A program path without quotes: it and the blank after it go.
        QString rest = m_raw.mid(l);
        return rest.startsWith(u' ') ? rest.mid(1) : rest;
    }
    // The opening quote and the path, then the closing quote and the blank
    // unless a blank already follows.
    QString rest = m_raw.mid(l + 1);
    if (!rest.startsWith(u' '))
        rest = rest.mid(2);
    return rest;
}

bool TCommandLine::hasArguments() const {
    return !trimControls(argumentsPart()).isEmpty();
}

QStringList TCommandLine::arguments() const {
    return splitArguments(argumentsPart());
}

bool TCommandLine::startMinimized(const TFileExists& exists) const {
    const QStringList args = arguments();
    return std::any_of(args.begin(), args.end(), [&](const QString& arg) {
        return arg.toUpper().startsWith(QStringLiteral("/MIN")) && isSwitchArgument(arg, exists);
    });
}

namespace {
// Without quotes the whole rest is one name, blanks and all, so an unquoted
// name with a blank arrives in one piece. A shell hands over several names
// the same way, though: when the whole rest names nothing, its parts are
// taken one by one.
QStringList namesIn(const QString& rest, const TFileExists& exists) {
    if (rest.contains(u'"'))
        return splitArguments(rest);
    const QStringList parts = splitArguments(rest);
    if (parts.size() <= 1 || exists(rest))
        return {rest};
    return parts;
}
} // namespace

QStringList TCommandLine::forwardedNames(const TFileExists& exists) const {
    if (!hasArguments())
        return {};
    const QStringList names = namesIn(argumentsPart(), exists);
    QStringList out;
    for (const QString& name : names)
        if (!name.isEmpty() && !isIniFileName(name))
            out << name;
    return out;
}

QStringList TCommandLine::startupNames(const TFileExists& exists) const {
    if (!hasArguments())
        return {};
    QString rest = trimControls(m_raw);
    rest = trimControls(rest.startsWith(u'"') ? rest.mid(m_programPathLength + 2)
                                              : rest.mid(m_programPathLength));
    const QStringList names = namesIn(rest, exists);
    QStringList out;
    for (const QString& name : names)
        if (!name.isEmpty() && !isSwitchArgument(name, exists) && !isIniFileName(name))
            out << name;
    return out;
}

void TCommandLine::clear() {
    m_raw.clear();
    m_programPathLength = 0;
}

QString canonicalProgramPath() {
    const QString path = QCoreApplication::applicationFilePath();
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

} // namespace vlr
