#include "config/registry.h"

#include "config/xdgpaths.h"
#include "core/error.h"

#include <QDir>
#include <QFileInfo>

namespace vlr {

namespace {

const QString kSection = QStringLiteral("Vellinor");

QString keyOf(const QString& name) {
    return name.isEmpty() ? QStringLiteral("@") : name;
}

} // namespace

QString userSettingsFolder() {
    return xdgConfigHome() + QStringLiteral("/Orvanta/Vellinor/");
}

QString TVellinorRegistry::defaultPath() {
    return userSettingsFolder() + QStringLiteral("registry.ini");
}

TVellinorRegistry::TVellinorRegistry(QString path) : m_file(std::move(path)) {}

bool TVellinorRegistry::keyExists() const {
    return m_file.sectionExists(kSection);
}

bool TVellinorRegistry::hasValue(const QString& name) const {
    return m_file.valueExists(kSection, keyOf(name));
}

QString TVellinorRegistry::value(const QString& name) const {
    return m_file.readString(kSection, keyOf(name));
}

bool TVellinorRegistry::setValue(const QString& name, const QString& value) {
    if (!QDir().mkpath(QFileInfo(m_file.fileName()).absolutePath()))
        return false;
    try {
        m_file.writeString(kSection, keyOf(name), value);
    } catch (const EVellinorError&) {
        return false;
    }
    return true;
}

bool TVellinorRegistry::deleteValue(const QString& name) {
    try {
        m_file.deleteKey(kSection, keyOf(name));
    } catch (const EVellinorError&) {
        return false;
    }
    return true;
}

} // namespace vlr
