#include "search/search_settings.h"

#include "config/settingsfile.h"
#include "config/settingsvalue.h"
#include "core/commatext.h"
#include "core/error.h"

namespace vlr {

namespace {

template <typename E> E choice(int value, E def) {
    return value >= 0 && value <= 2 ? E(value) : def;
}

// The file keeps a value only up to its maximum length; a longer list would
// come back with its last text cut, so the oldest texts give way.
QString itemsValue(QStringList items) {
    // Two characters for the quotes the file may put around the value.
    constexpr int kRoom = TSettingsFile::kMaxValueLength - 2;
    QString value = toCommaText(items, true);
    while (value.size() > kRoom && !items.isEmpty()) {
        items.removeLast();
        value = toCommaText(items, true);
    }
    return value;
}

} // namespace

TGlobalFindSettings ReadGlobalFindSettings(const TSettingsFile& file, QSize currentSize) {
    const TSettingsSection s = file.readSection(kGlobalFindSection);
    auto integer = [&](const QString& key, int def) { return parseProfileInteger(s.readString(key), def); };
    auto boolean = [&](const QString& key) { return parseProfileBool(s.readString(key), false); };
    TGlobalFindSettings r;
    r.dialogSize = QSize(integer(QStringLiteral("DialogWidth"), currentSize.width()),
                         integer(QStringLiteral("DialogHeight"), currentSize.height()));
    r.items = fromCommaText(s.readString(QStringLiteral("Items")));
    r.items.removeAll(QString());
    if (r.items.size() > kRememberedTexts)
        r.items.resize(kRememberedTexts);
    r.whereToFind = choice(integer(QStringLiteral("WhereToFind"), 0), TSearchScope::NoteAndDescendants);
    r.useRegExp = boolean(QStringLiteral("UseRegExp"));
    r.caseSensitive = boolean(QStringLiteral("CaseSensitive"));
    r.matchWords = boolean(QStringLiteral("MatchWords"));
    r.matchMode = choice(integer(QStringLiteral("MatchMode"), 0), TMatchMode::ExactPhrase);
    return r;
}

bool WriteGlobalFindSettings(TSettingsFile& file, const TGlobalFindSettings& settings) {
    const QString items = itemsValue(settings.items);
    const int count = int(fromCommaText(items).size());
    try {
        file.writeValues(kGlobalFindSection,
                         {
                             {QStringLiteral("DialogHeight"), QString::number(settings.dialogSize.height())},
                             {QStringLiteral("DialogWidth"), QString::number(settings.dialogSize.width())},
                             {QStringLiteral("ItemsCount"), QString::number(count)},
                             {QStringLiteral("Items"), items},
                             {QStringLiteral("WhereToFind"), QString::number(int(settings.whereToFind))},
                             {QStringLiteral("UseRegExp"), formatProfileBool(settings.useRegExp)},
                             {QStringLiteral("CaseSensitive"), formatProfileBool(settings.caseSensitive)},
                             {QStringLiteral("MatchWords"), formatProfileBool(settings.matchWords)},
                             {QStringLiteral("MatchMode"), QString::number(int(settings.matchMode))},
                         });
    } catch (const EVellinorError&) {
        return false;
    }
    return true;
}

bool RememberSearchText(QStringList& items, const QString& text) {
    if (text.isEmpty() || items.contains(text, Qt::CaseInsensitive))
        return false;
    items.prepend(text);
    if (items.size() > kRememberedTexts)
        items.resize(kRememberedTexts);
    return true;
}

} // namespace vlr
