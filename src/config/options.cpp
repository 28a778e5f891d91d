#include "config/options.h"

#include <QStandardPaths>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace vlr {

namespace {

// The full name is the first comma-separated field of the password entry's
// comment; the login name stands in when that is empty.
QString currentUserName() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found) {
        const QString full =
            QString::fromLocal8Bit(found->pw_gecos ? found->pw_gecos : "").section(u',', 0, 0).trimmed();
        if (!full.isEmpty())
            return full;
        if (found->pw_name && *found->pw_name)
            return QString::fromLocal8Bit(found->pw_name);
    }
    return qEnvironmentVariable("USER");
}

} // namespace

TSystemFacts TSystemFacts::current() {
    TSystemFacts f;
    f.userName = currentUserName();
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!docs.isEmpty())
        f.documentsFolder = docs.endsWith(u'/') ? docs : docs + u'/';
    f.dates = DateFormatLocale::system();
    return f;
}

QString cutToCapacity(const QString& text, int capacity) {
    if (text.size() <= capacity)
        return text;
    qsizetype cut = capacity;
    if (cut > 0 && text[cut - 1].isHighSurrogate())
        --cut;
    return text.left(cut);
}

void setDefaultOptions(TVLROptions& options, const TSystemFacts& facts) {
    options = TVLROptions();
    options.DefAuthorName = cutToCapacity(facts.userName, TVLROptions::kAuthorNameMax);
    options.DefaultPath = facts.documentsFolder;
    options.BackupPath = facts.documentsFolder;
    options.EditorFormatDate = facts.dates.shortDateFormat;
    options.EditorFormatTime = facts.dates.shortTimeFormat;
    options.EditorFormatDateTime =
        facts.dates.shortDateFormat + QStringLiteral(", ") + facts.dates.shortTimeFormat;
}

TVLROptions& programOptions() {
    static TVLROptions options = [] {
        TVLROptions o;
        setDefaultOptions(o);
        return o;
    }();
    return options;
}

} // namespace vlr
