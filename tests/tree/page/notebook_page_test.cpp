#include "tree/page/notebook_page.h"

#include "notebook_fixture.h"
#include "tree/page/centered_columns_layout.h"
#include "tree/page/elided_label.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace vlr {
namespace {

class NotebookPageTest : public test::StorageTest {
protected:
    void SetUp() override {
        test::StorageTest::SetUp();
        NotebookPageFormat format;
        format.groupSeparator = QStringLiteral(" ");
        page.setFormat(format);
        page.resize(700, 400);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    }

    QLabel* value(const char* name) const { return page.findChild<QLabel*>(QString::fromLatin1(name)); }
    ElidedLabel* fileName() const { return page.findChild<ElidedLabel*>(QStringLiteral("lbFileName")); }
    QLineEdit* fileNameEditor() const { return page.findChild<QLineEdit*>(QStringLiteral("edFilename")); }

    NotebookPage page;
};

TEST_F(NotebookPageTest, ShowsTheFiguresOfASavedNotebook) {
    auto book = test::Book::create(path(), bfCompressed, {}, 100);
    for (int i = 0; i < 3; ++i)
        book->add(QStringLiteral("Запись %1").arg(i), QByteArray(2000, char('a' + i)));
    ASSERT_EQ(book->service.Save(*book->nb), srOk);

    page.FillNotebookPage(book->nb);

    const qint64 size = QFileInfo(path()).size();
    ASSERT_GE(size, 1000) << "the size should need a group separator";
    EXPECT_EQ(fileName()->fullText(), path());
    EXPECT_EQ(fileName()->toolTip(), path());
    EXPECT_EQ(value("lbNumOfNotes")->text(), "3");
    EXPECT_EQ(value("lbSize")->text(), groupDigits(size, QStringLiteral(" ")) + QStringLiteral(" байт(а)"));
    EXPECT_EQ(value("lbWasted")->text(), "0 байт(а)");
    EXPECT_EQ(value("lbFlags")->text(), "Упакована");
    EXPECT_EQ(value("lbVersion")->text(), "5");
    EXPECT_TRUE(value("lbCreated")->text().contains(QString::number(QDate::currentDate().year())));

    // Without a notebook nothing of the last one stays behind.
    page.FillNotebookPage(nullptr);
    EXPECT_EQ(fileName()->fullText(), "Н/Д");
    EXPECT_TRUE(fileName()->toolTip().isEmpty());
    for (const char* name : {"lbNumOfNotes", "lbCreated", "lbVersion"})
        EXPECT_EQ(value(name)->text(), "Н/Д") << name;
    EXPECT_EQ(value("lbSize")->text(), "? байт(а)");
    EXPECT_EQ(value("lbWasted")->text(), "? байт(а)");
    EXPECT_EQ(value("lbFlags")->text(), "Нет");
}

TEST_F(NotebookPageTest, CaptionsAreTaggedAndAlignedAroundTheMiddle) {
    const QWidget* props = page.findChild<QScrollArea*>(QStringLiteral("sbProps"))->widget();
    QStringList captions;
    for (int width : {700, 420, 1100}) {
        page.resize(width, 400);
        QCoreApplication::processEvents();
        const int middle = props->width() / 2;
        captions.clear();
        for (const QLabel* label : props->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (label->property("tag").toInt() == 1) {
                captions << label->text();
                EXPECT_EQ(label->geometry().right() + 1, middle - CenteredColumnsLayout::Gap) << width;
            } else {
                EXPECT_EQ(label->x(), middle + CenteredColumnsLayout::Gap)
                    << label->objectName().toStdString();
            }
        }
    }
    // Too small a page scrolls rather than squeezing rows together or cutting captions.
    page.resize(200, 120);
    QCoreApplication::processEvents();
    const auto* box = page.findChild<QScrollArea*>(QStringLiteral("sbProps"));
    EXPECT_GT(box->verticalScrollBar()->maximum(), 0);
    EXPECT_GT(box->horizontalScrollBar()->maximum(), 0);

    EXPECT_EQ(captions, QStringList({"Имя файла:", "Число записей:", "Создана:", "Размер книжки:",
                                     "Неиспользовано:", "Статус:", "Версия VLR:"}));
}

TEST_F(NotebookPageTest, ALongFileNameIsShortenedInTheMiddleAndOfferedWhole) {
    const QString longName = QStringLiteral("/home/anna/") + QString(40, u'д') + QStringLiteral("/конец.vlr");
    auto book = test::Book::create(path());
    book->nb->FileName = longName; // only shown, never written
    page.resize(420, 300);
    page.FillNotebookPage(book->nb);
    QCoreApplication::processEvents();

    const QString shown = fileName()->text();
    EXPECT_NE(shown, longName);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("/home"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("конец.vlr"))) << shown.toStdString();

    QTest::mouseClick(fileName(), Qt::LeftButton);
    ASSERT_TRUE(fileNameEditor()->isVisible());
    EXPECT_EQ(fileNameEditor()->text(), longName);
    EXPECT_EQ(fileNameEditor()->selectedText(), longName);
    EXPECT_TRUE(fileNameEditor()->isReadOnly());

    // Clicking elsewhere on the page puts the label back.
    QWidget* props = page.findChild<QScrollArea*>(QStringLiteral("sbProps"))->widget();
    QTest::mouseClick(props, Qt::LeftButton, {}, QPoint(2, props->height() - 2));
    EXPECT_FALSE(fileNameEditor()->isVisible());

    QTest::mouseClick(fileName(), Qt::LeftButton);
    ASSERT_TRUE(fileNameEditor()->isVisible());
    QTest::keyClick(fileNameEditor(), Qt::Key_Escape);
    EXPECT_FALSE(fileNameEditor()->isVisible());

    // A page refill never leaves the old name open.
    QTest::mouseClick(fileName(), Qt::LeftButton);
    page.FillNotebookPage(nullptr);
    EXPECT_FALSE(fileNameEditor()->isVisible());
}

TEST_F(NotebookPageTest, WithoutAFileThereIsNoNameToCopy) {
    auto book = test::Book::create(QString());
    page.FillNotebookPage(book->nb);
    EXPECT_EQ(fileName()->fullText(), "Н/Д");
    QTest::mouseClick(fileName(), Qt::LeftButton);
    EXPECT_FALSE(fileNameEditor()->isVisible());
}

TEST_F(NotebookPageTest, ToolbarShowsTheCommandsItIsGiven) {
    QAction visual(rootCommandText(NotebookRootCommand::Visual));
    QAction saving(rootCommandText(NotebookRootCommand::Saving));
    QAction security(rootCommandText(NotebookRootCommand::Security));
    QAction author(rootCommandText(NotebookRootCommand::Author));
    auto* bar = page.findChild<QToolBar*>(QStringLiteral("tbarRoot"));
    ASSERT_NE(bar, nullptr);

    page.setRootActions(&visual, &saving, &security, &author);
    EXPECT_EQ(bar->actions(), QList<QAction*>({&visual, &saving, &security, &author}));
    // Buttons show the whole command text, the dots of a dialog included.
    auto buttonText = [bar](QAction* action) {
        return qobject_cast<QToolButton*>(bar->widgetForAction(action))->text();
    };
    EXPECT_EQ(buttonText(&visual), "Визуальные...");
    EXPECT_EQ(buttonText(&author), "Авторские...");
    author.setText(QStringLiteral("Автор..."));
    EXPECT_EQ(buttonText(&author), "Автор...");

    // Set again, the toolbar is replaced rather than extended; missing commands are left out.
    page.setRootActions(&visual, nullptr, &security, nullptr);
    EXPECT_EQ(bar->actions(), QList<QAction*>({&visual, &security}));

    // The page never owns the commands: triggering goes to their controller.
    int triggered = 0;
    QObject::connect(&security, &QAction::triggered, [&] { ++triggered; });
    QTest::mouseClick(bar->widgetForAction(&security), Qt::LeftButton);
    EXPECT_EQ(triggered, 1);
}

} // namespace
} // namespace vlr
