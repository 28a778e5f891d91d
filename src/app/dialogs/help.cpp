#include "app/dialogs/help.h"

#include "core/messages.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace vlr {

std::optional<HelpPage> helpPageFor(const QString& topic) {
    const qsizetype hash = topic.indexOf(QLatin1Char('#'));
    const QString name = hash < 0 ? topic : topic.left(hash);
    HelpPage page;
    page.anchor = hash < 0 ? QString() : topic.mid(hash + 1);
    // Topics are plain page names; anything else must not reach outside the folder.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name.startsWith(QLatin1Char('.')))
        return std::nullopt;
    page.file = name == QLatin1String("Main") ? QStringLiteral("index.htm") : name + QStringLiteral(".htm");
    return page;
}

HelpSetup defaultHelpSetup() {
    return HelpSetup{QCoreApplication::applicationDirPath(),
                     [](const QUrl& url) { return QDesktopServices::openUrl(url); }};
}

bool OpenHelpTopic(const QString& topic, const HelpSetup& setup) {
    const auto page = helpPageFor(topic);
    const QString path =
        page ? QDir(setup.programFolder).filePath(kHelpFolderName + QLatin1Char('/') + page->file)
             : QString();
    if (page && QFileInfo(path).isFile()) {
        QUrl url = QUrl::fromLocalFile(path);
        if (!page->anchor.isEmpty())
            url.setFragment(page->anchor);
        if (setup.open && setup.open(url))
            return true;
    }
    showMessage(
        QStringLiteral("Файл справки для Vellinor не найден! Проверьте наличие файла VLRHelp.chm в папке "
                       "программы."),
        QStringLiteral("Ошибка"), MsgIcon::Warning);
    return false;
}

} // namespace vlr
