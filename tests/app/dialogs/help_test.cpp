// Help topics: page names, anchors and the warning when the help is missing.
#include "app/dialogs/help.h"
#include "support/scripted_messages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vlr;
using namespace vlr::test;

namespace {
const QString kMissing = QStringLiteral(
    "Файл справки для Vellinor не найден! Проверьте наличие файла VLRHelp.chm в папке программы.");

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}
} // namespace

TEST(Help, TopicsMapToPagesOfTheHelpFolder) {
    // clang-format off
    const struct { QString topic; bool valid; QString file; QString anchor; } cases[] = {
        {"Main",             true,  "index.htm",      ""},
        {"Main#start",       true,  "index.htm",      "start"},
        {"Options",          true,  "Options.htm",    ""},
        {"Options#Editor",   true,  "Options.htm",    "Editor"},
        {"Options#",         true,  "Options.htm",    ""},
        {"Экспорт",          true,  "Экспорт.htm",    ""},
        {"",                 false, "",               ""},
        {"#anchor",          false, "",               ""},
        {"../etc/passwd",    false, "",               ""},
        {"sub/page",         false, "",               ""},
        {"a\\b",             false, "",               ""},
        {"..",               false, "",               ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.topic.toStdString());
        const auto page = helpPageFor(c.topic);
        ASSERT_EQ(page.has_value(), c.valid);
        if (!page)
            continue;
        EXPECT_EQ(page->file, c.file);
        EXPECT_EQ(page->anchor, c.anchor);
    }
}

TEST(Help, OpensThePageOrWarns) {
    QTemporaryDir program;
    ASSERT_TRUE(QDir(program.path()).mkdir(QStringLiteral("VLRHelp")));
    touch(program.filePath(QStringLiteral("VLRHelp/index.htm")));
    touch(program.filePath(QStringLiteral("VLRHelp/Options.htm")));
    QTemporaryDir empty;

    // clang-format off
    const struct { const char* name; QString folder; QString topic; bool browserWorks; QString url; } cases[] = {
        {"start page",        program.path(), "Main",           true,  "index.htm"},
        {"page with anchor",  program.path(), "Options#Editor", true,  "Options.htm#Editor"},
        {"missing page",      program.path(), "Nope",           true,  ""},
        {"no help folder",    empty.path(),   "Main",           true,  ""},
        {"no browser",        program.path(), "Main",           false, "index.htm"},
        {"path in the topic", program.path(), "../VLRHelp/index", true, ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedMessages messages;
        QList<QUrl> opened;
        HelpSetup setup{c.folder, [&](const QUrl& url) {
                            opened << url;
                            return c.browserWorks;
                        }};
        const bool shown = !c.url.isEmpty() && c.browserWorks;
        EXPECT_EQ(OpenHelpTopic(c.topic, setup), shown);
        if (c.url.isEmpty()) {
            EXPECT_TRUE(opened.isEmpty());
        } else {
            ASSERT_EQ(opened.size(), 1);
            EXPECT_EQ(opened[0],
                      QUrl::fromLocalFile(c.folder + QStringLiteral("/VLRHelp/")).resolved(QUrl(c.url)));
        }
        if (shown) {
            EXPECT_TRUE(messages.shown().isEmpty());
        } else {
            ASSERT_EQ(messages.shown().size(), 1);
            EXPECT_EQ(messages.shown()[0].text, kMissing);
            EXPECT_EQ(messages.shown()[0].caption, QStringLiteral("Ошибка"));
        }
    }
}
