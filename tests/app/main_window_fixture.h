#pragma once
// The main window on notebooks written for a test, with the user's own
// configuration kept out and the deferred start-up step run.
#include "app/vellinor_form.h"
#include "config/settingsfile.h"
#include "notebook_fixture.h"

#include <QTest>

namespace vlr::test {

class MainWindowTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        // Nothing of the user's own configuration is read or written.
        m_savedConfig = qgetenv("XDG_CONFIG_HOME");
        m_savedData = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
        settings.folder = dir.path() + QLatin1Char('/');
        settings.filePath = dir.filePath(QStringLiteral("vellinor.ini"));
        TSettingsFile ini(settings.filePath);
        ini.writeBool(QStringLiteral("Options"), QStringLiteral("ShowTipOfTheDay"), false);
    }
    void TearDown() override {
        qputenv("XDG_CONFIG_HOME", m_savedConfig);
        qputenv("XDG_DATA_HOME", m_savedData);
    }

    QString makeNotebook(const QString& name, const QString& title, int notes = 2) {
        auto b = Book::create(path(name));
        b->nb->Header.setBookName(title);
        for (int i = 0; i < notes; ++i)
            b->add(QStringLiteral("запись %1").arg(i), QByteArray("{\\rtf1\\ansi text}"));
        EXPECT_EQ(b->service.Save(*b->nb), srOk);
        return path(name);
    }

    // Shows the window and lets the deferred start-up step run.
    std::unique_ptr<TVellinorForm> start(const QStringList& arguments = {}) {
        auto form = std::make_unique<TVellinorForm>(
            settings, TCommandLine(QCoreApplication::applicationFilePath(), arguments));
        form->SetShiftOverride(0);
        form->show();
        for (int i = 0; i < 20 && !form->isEnabled(); ++i)
            QTest::qWait(10);
        QTest::qWait(50);
        return form;
    }

    TSettingsLocation settings;
    ScriptedMessages messages;

private:
    QByteArray m_savedConfig, m_savedData;
};

} // namespace vlr::test
