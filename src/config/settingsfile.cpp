#include "config/settingsfile.h"

#include "config/settingsvalue.h"
#include "core/codepage.h"
#include "core/commatext.h"
#include "core/error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace vlr {

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

bool isProfileBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

} // namespace

QString protectProfileValue(const QString& value) {
    QString v = value;
    for (QChar& c : v) {
        if (c == u'\r' || c == u'\n' || c == QChar(0))
            c = u' ';
    }
    const bool blankEdge = !v.isEmpty() && (isProfileBlank(v.front()) || isProfileBlank(v.back()));
    const bool quotedLook = v.size() >= 2 && v.front() == u'"' && v.back() == u'"';
    if (blankEdge || quotedLook)
        return u'"' + v + u'"';
    return v;
}

QString unprotectProfileValue(const QString& raw) {
    QString v = raw;
    if (v.size() >= 2 && v.front() == u'"' && v.back() == u'"')
        v = v.mid(1, v.size() - 2);
    if (v.size() > TSettingsFile::kMaxValueLength) {
        qsizetype cut = TSettingsFile::kMaxValueLength;
        if (v[cut - 1].isHighSurrogate())
            --cut;
        v.truncate(cut);
    }
    return v;
}

bool TSettingsSection::contains(const QString& key) const {
    for (const auto& e : m_entries) {
        if (e.first.compare(key, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString TSettingsSection::readString(const QString& key, const QString& def) const {
    for (const auto& e : m_entries) {
        if (e.first.compare(key, Qt::CaseInsensitive) == 0)
            return unprotectProfileValue(e.second);
    }
    return def;
}

QStringList TSettingsSection::keys() const {
    QStringList out;
    for (const auto& e : m_entries)
        out.append(e.first);
    return out;
}

TSettingsFile::Loaded TSettingsFile::load() const {
    Loaded r;
    // Devices and pipes are no settings files; a read from them could block
    // or never end.
    const QFileInfo info(m_path);
    if (info.exists() && !info.isFile()) {
        r.unreadable = true;
        return r;
    }
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        // A file that is there but cannot be read must not be replaced by
        // one holding only the keys written now.
        r.unreadable = file.exists();
        return r;
    }
    if (file.size() <= kMaxFileSize)
        r.bytes = file.read(kMaxFileSize + 1); // bounded even if it grows meanwhile
    if (file.size() > kMaxFileSize || r.bytes.size() > kMaxFileSize) {
        r.tooLarge = true;
        r.bytes.clear();
        return r;
    }
    if (r.bytes.startsWith(kUtf8Bom)) {
        r.utf8 = true;
        r.text = TIniText::parse(QString::fromUtf8(r.bytes.mid(kUtf8Bom.size())));
    } else {
        r.text = TIniText::parse(fromAnsi(r.bytes));
    }
    return r;
}

void TSettingsFile::fail() const {
    throw EVellinorError(QStringLiteral("Unable to write to %1").arg(m_path));
}

void TSettingsFile::save(const Loaded& before, const TIniText& after) const {
    if (before.tooLarge || before.unreadable)
        fail();
    const QString text = after.toString();
    const bool utf8 = before.utf8 || !fitsAnsi(text);
    const QByteArray bytes = utf8 ? kUtf8Bom + text.toUtf8() : toAnsi(text);
    if (bytes == before.bytes && (!bytes.isEmpty() || !QFile::exists(m_path)))
        return;
    QSaveFile file(m_path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        fail();
}

void TSettingsFile::checkNames(const QString& section, const QString& key) const {
    // Such names could not be found again and would break the lines around them.
    auto bad = [](const QString& name) {
        return trimProfileBlanks(name) != name || name.contains(u'\n') || name.contains(u'\r');
    };
    if (section.isEmpty() || bad(section) || section.contains(u']') || bad(key) || key.contains(u'=') ||
        key.startsWith(u'[') || key.startsWith(u';'))
        fail();
}

QString TSettingsFile::readString(const QString& section, const QString& key, const QString& def) const {
    const auto raw = load().text.rawValue(section, key);
    return raw ? unprotectProfileValue(*raw) : def;
}

int TSettingsFile::readInteger(const QString& section, const QString& key, int def) const {
    return parseProfileInteger(readString(section, key), def);
}

quint32 TSettingsFile::readColor(const QString& section, const QString& key, quint32 def) const {
    return parseProfileColor(readString(section, key), def);
}

bool TSettingsFile::readBool(const QString& section, const QString& key, bool def) const {
    return parseProfileBool(readString(section, key), def);
}

double TSettingsFile::readFloat(const QString& section, const QString& key, double def) const {
    return parseProfileFloat(readString(section, key), def, systemDecimalSeparator());
}

QStringList TSettingsFile::readList(const QString& section, const QString& key) const {
    return fromCommaText(readString(section, key));
}

bool TSettingsFile::sectionExists(const QString& section) const {
    return load().text.hasSection(section);
}

bool TSettingsFile::valueExists(const QString& section, const QString& key) const {
    return load().text.rawValue(section, key).has_value();
}

QStringList TSettingsFile::sections() const {
    return load().text.sectionNames();
}

TSettingsSection TSettingsFile::readSection(const QString& section) const {
    return TSettingsSection(load().text.entries(section));
}

void TSettingsFile::writeString(const QString& section, const QString& key, const QString& value) {
    writeValues(section, {{key, value}});
}

void TSettingsFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void TSettingsFile::writeColor(const QString& section, const QString& key, quint32 value) {
    writeString(section, key, formatProfileColor(value));
}

void TSettingsFile::writeBool(const QString& section, const QString& key, bool value) {
    writeString(section, key, formatProfileBool(value));
}

void TSettingsFile::writeFloat(const QString& section, const QString& key, double value) {
    writeString(section, key, formatProfileFloat(value, systemDecimalSeparator()));
}

void TSettingsFile::writeList(const QString& section, const QString& key, const QStringList& items) {
    writeString(section, key, toCommaText(items, true));
}

void TSettingsFile::writeValues(const QString& section, const TSettingsEntries& values) {
    for (const auto& v : values)
        checkNames(section, v.first);
    const Loaded before = load();
    TIniText after = before.text;
    for (const auto& v : values)
        after.setValue(section, v.first, protectProfileValue(v.second));
    save(before, after);
}

void TSettingsFile::deleteKey(const QString& section, const QString& key) {
    const Loaded before = load();
    TIniText after = before.text;
    after.removeKey(section, key);
    save(before, after);
}

void TSettingsFile::eraseSection(const QString& section) {
    const Loaded before = load();
    TIniText after = before.text;
    after.removeSection(section);
    save(before, after);
}

} // namespace vlr
