#include "cli/cli_args.h"

namespace vlr::cli {

Args::Args(const QStringList& words, const QSet<QString>& valueOptions, const QSet<QString>& flags) {
    // Options shared by every command that opens a notebook.
    QSet<QString> values = valueOptions;
    values.insert(QStringLiteral("--password-file"));
    values.insert(QStringLiteral("--wait"));
    for (int i = 0; i < words.size(); ++i) {
        const QString& w = words[i];
        if (!w.startsWith(QLatin1String("--"))) {
            m_positionals << w;
            continue;
        }
        QString name = w;
        QString inlineValue;
        const qsizetype eq = w.indexOf(QLatin1Char('='));
        if (eq > 0) {
            name = w.left(eq);
            inlineValue = w.mid(eq + 1);
        }
        if (values.contains(name)) {
            if (eq > 0) {
                m_values.insert(name, inlineValue);
            } else {
                if (i + 1 >= words.size())
                    throw UsageError{QStringLiteral("option %1 needs a value").arg(name)};
                m_values.insert(name, words[++i]);
            }
        } else if (flags.contains(name) && eq < 0) {
            m_flags.insert(name);
        } else {
            throw UsageError{QStringLiteral("unknown option %1").arg(w)};
        }
    }
}

QString Args::positional(int i, const QString& what) const {
    if (i >= m_positionals.size())
        throw UsageError{QStringLiteral("missing %1").arg(what)};
    return m_positionals[i];
}

void Args::expectPositionals(int count, const QString& usage) const {
    if (m_positionals.size() != count)
        throw UsageError{QStringLiteral("usage: %1").arg(usage)};
}

double Args::secondsValue(const QString& name, double fallback) const {
    if (!has(name))
        return fallback;
    bool ok = false;
    const double v = value(name).toDouble(&ok);
    if (!ok || v < 0 || v > 24 * 3600)
        throw UsageError{
            QStringLiteral("option %1 needs a number of seconds, not \"%2\"").arg(name, value(name))};
    return v;
}

int Args::intValue(const QString& name, int fallback) const {
    if (!has(name))
        return fallback;
    bool ok = false;
    const int v = value(name).toInt(&ok);
    if (!ok)
        throw UsageError{QStringLiteral("option %1 needs a whole number, not \"%2\"").arg(name, value(name))};
    return v;
}

} // namespace vlr::cli
