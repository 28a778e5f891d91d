#pragma once
// The program's command line. Linux hands a program its arguments one by
// one, but the start-up rules work on one raw line (the program path in
// quotes, then the arguments), so the line is rebuilt as that platform would
// have passed it and the rules are applied to it character by character.
#include <QString>
#include <QStringList>

#include <functional>

namespace vlr {

// Tells whether a path names an existing file system entry; replaceable in tests.
using TFileExists = std::function<bool(const QString&)>;
bool fileExistsOnDisk(const QString& path);

// The argument as it appears on a raw line: unchanged unless it holds a
// blank, tab or double quote; then enclosed in double quotes with inner
// quotes written \" (and the backslashes before them doubled) so that
// splitArguments() gives it back unchanged.
QString quoteArgument(const QString& argument);

// The standard argument splitter: blanks and tabs separate arguments outside
// quotes; a double quote starts or ends a quoted run and is dropped; 2n
// backslashes before a quote give n backslashes, 2n+1 give n and a literal
// quote; "" inside a quoted run gives a literal quote.
QStringList splitArguments(const QString& line);

// Upper-cased file extension is ".INI" (the extension: from the last "." that
// follows the last "/").
bool isIniFileName(const QString& name);

// An argument of the "/NAME" kind. Absolute paths start with "/" too, so an
// argument naming an existing file is never taken for a switch.
bool isSwitchArgument(const QString& argument, const TFileExists& exists = fileExistsOnDisk);

class TCommandLine {
public:
    TCommandLine() = default;
    // programPath: the program's full path, symlinks resolved; arguments
    // without the program itself.
    TCommandLine(const QString& programPath, const QStringList& arguments);
    // A raw line as it stands, with the length of the program path in it.
    static TCommandLine fromRaw(const QString& raw, qsizetype programPathLength);
    // The running program's.
    static TCommandLine fromApplication();

    const QString& raw() const { return m_raw; }
    qsizetype programPathLength() const { return m_programPathLength; }

    // The arguments part as the instance rule cuts it from the raw line.
    QString argumentsPart() const;
    // Something follows the program path.
    bool hasArguments() const;
    // The arguments as the standard splitter gives them.
    QStringList arguments() const;
    // A "/MIN" switch among the arguments (any case, as a prefix: "/MINIMIZED" counts).
    bool startMinimized(const TFileExists& exists = fileExistsOnDisk) const;

    // The names a second start hands to the running instance.
    QStringList forwardedNames(const TFileExists& exists = fileExistsOnDisk) const;
    // The names the first instance opens in its deferred start-up step.
    QStringList startupNames(const TFileExists& exists = fileExistsOnDisk) const;

    // Start-up has ended: the line is no longer kept.
    void clear();

private:
    QString m_raw;
    qsizetype m_programPathLength = 0;
};

// The running program's full path with every symlink resolved.
QString canonicalProgramPath();

} // namespace vlr
