// The session's own sections: recent notebooks, the notebooks open at exit,
// and the window's place, as the next start reads them back.
#include "config/session_state.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vlr;

namespace {
struct SessionState : ::testing::Test {
    QTemporaryDir dir;
    TSettingsFile file{dir.filePath(QStringLiteral("vellinor.ini"))};
};
} // namespace

TEST_F(SessionState, RecentListKeepsTenNewestFirstWithoutDuplicates) {
    TRecentNotebooks recent;
    for (int i = 1; i <= 12; ++i)
        recent.Add(QStringLiteral("/n/%1.vlr").arg(i));
    recent.Add(QStringLiteral("/n/5.vlr")); // listed already: moves to the top
    recent.Add(QString());                  // ignored
    ASSERT_EQ(recent.Items().size(), 10);
    EXPECT_EQ(recent.Items().first(), QStringLiteral("/n/5.vlr"));
    EXPECT_EQ(recent.Items().at(1), QStringLiteral("/n/12.vlr"));
    EXPECT_FALSE(recent.Items().contains(QStringLiteral("/n/1.vlr")));
    EXPECT_EQ(recent.Items().count(QStringLiteral("/n/5.vlr")), 1);
}

TEST_F(SessionState, RecentListSkipsEmptyKeysAndDeletesKeysBeyondTheList) {
    file.writeString(QStringLiteral("RecentNotebooks"), QStringLiteral("File1"),
                     QStringLiteral("/a b/первая.vlr"));
    file.writeString(QStringLiteral("RecentNotebooks"), QStringLiteral("File2"), QString());
    file.writeString(QStringLiteral("RecentNotebooks"), QStringLiteral("File3"), QStringLiteral("/c.vlr"));
    file.writeString(QStringLiteral("RecentNotebooks"), QStringLiteral("File9"), QStringLiteral("/d.vlr"));
    TRecentNotebooks recent;
    recent.Read(file);
    EXPECT_EQ(recent.Items(), (QStringList{QStringLiteral("/a b/первая.vlr"), QStringLiteral("/c.vlr"),
                                           QStringLiteral("/d.vlr")}));
    recent.Clear();
    recent.Add(QStringLiteral("/only.vlr"));
    recent.Write(file);
    EXPECT_EQ(file.readSection(QStringLiteral("RecentNotebooks")).keys(),
              QStringList{QStringLiteral("File1")});
    TRecentNotebooks back;
    back.Read(file);
    EXPECT_EQ(back.Items(), QStringList{QStringLiteral("/only.vlr")});
}

TEST_F(SessionState, LastSessionRoundTripsAndAnEmptyListKeepsNoFiles) {
    TLastSession written{{QStringLiteral("/x/a.vlr"), QStringLiteral("/y/b c.vlr")}, 7};
    written.Write(file);
    TLastSession read;
    read.Read(file);
    EXPECT_EQ(read.files, written.files);
    EXPECT_EQ(read.selected, 7);

    TLastSession none;
    none.Write(file); // NumberOfLastUsed 0: the old list is not read again
    read.Read(file);
    EXPECT_TRUE(read.files.isEmpty());
    EXPECT_EQ(read.selected, 0);
}

TEST_F(SessionState, WindowPlacementDefaultsAndPortableCorrections) {
    const QRect screen(0, 0, 1000, 800);
    TWindowPlacement p;
    p.Read(file, screen, false);
    EXPECT_EQ(p.state, TWindowPlacement::Normal);
    EXPECT_EQ(p.geometry, QRect(100, 80, 800, 640));

    p.state = TWindowPlacement::Maximised;
    p.geometry = QRect(1500, 10, 1900, 900);
    p.Write(file);
    TWindowPlacement fixed;
    fixed.Read(file, screen, true);
    EXPECT_EQ(fixed.state, TWindowPlacement::Maximised);
    EXPECT_EQ(fixed.geometry, QRect(500, 10, 800, 640));
    TWindowPlacement kept;
    kept.Read(file, screen, false);
    EXPECT_EQ(kept.geometry, QRect(1500, 10, 1900, 900));
}
