#pragma once
// Command-line words of one vlr command: positionals and options, in any order.
#include <QHash>
#include <QSet>
#include <QStringList>

namespace vlr::cli {

// Exit codes shared by every command.
enum Exit : int { ExitOk = 0, ExitFailed = 1, ExitUsage = 2, ExitPassword = 3 };

// Thrown for unusable input; main prints the text as one line and exits with 2.
struct UsageError {
    QString text;
};

class Args {
public:
    // valueOptions take the next word; flags stand alone. Anything else that
    // starts with "--" is an error; "-" alone is a positional (standard input).
    Args(const QStringList& words, const QSet<QString>& valueOptions, const QSet<QString>& flags);

    const QStringList& positionals() const { return m_positionals; }
    QString positional(int i, const QString& what) const;
    void expectPositionals(int count, const QString& usage) const;
    bool flag(const QString& name) const { return m_flags.contains(name); }
    bool has(const QString& name) const { return m_values.contains(name); }
    QString value(const QString& name, const QString& fallback = {}) const {
        return m_values.value(name, fallback);
    }
    int intValue(const QString& name, int fallback) const;
    // A duration in seconds (fractions allowed, at most a day).
    double secondsValue(const QString& name, double fallback) const;

private:
    QStringList m_positionals;
    QSet<QString> m_flags;
    QHash<QString, QString> m_values;
};

} // namespace vlr::cli
