#pragma once
// Help topics: HTML pages in the folder VLRHelp beside the program, opened
// in the desktop's browser.
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace vlr {

inline const QString kHelpFolderName = QStringLiteral("VLRHelp");

struct HelpPage {
    QString file;   // inside the help folder
    QString anchor; // empty: the top of the page
};

// Topic T is the page T.htm, A#B the page A.htm at anchor B, "Main" the
// start page index.htm. Nothing for a topic that names no page of the folder
// (empty, or with a path in it).
std::optional<HelpPage> helpPageFor(const QString& topic);

struct HelpSetup {
    QString programFolder;                 // holds the help folder
    std::function<bool(const QUrl&)> open; // shows a page; false when it cannot
};

// The program's folder and the desktop's URL handler.
HelpSetup defaultHelpSetup();

// Opens the topic's page; when the page is missing or cannot be shown, says
// so through the message service and returns false.
bool OpenHelpTopic(const QString& topic, const HelpSetup& setup = defaultHelpSetup());

} // namespace vlr
