// Qt's own texts come in Russian once its translations are installed.
#include "app/startup/qt_translations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLibraryInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>

#include <gtest/gtest.h>

using namespace vlr;

TEST(QtTranslations, StandardButtonsSpeakRussianAndAMissingFolderChangesNothing) {
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    EXPECT_FALSE(installQtTranslations(*QCoreApplication::instance(), empty.path()));
    {
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancel"));
    }
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ru.qm")))
        GTEST_SKIP() << "Qt's Russian translations are not installed";
    ASSERT_TRUE(installQtTranslations(*QCoreApplication::instance()));
    QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Close);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));
    EXPECT_EQ(box.button(QDialogButtonBox::Close)->text(), QStringLiteral("Закрыть"));
    for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>())
        QCoreApplication::removeTranslator(t);
}
