// The wizards as the user walks them: the steps and the way back, the target
// list, finishing into notes, files and a new notebook, the remembered
// settings, and the import wizard's list and finish.
#include "config/options.h"
#include "config/settingsfile.h"
#include "dialogs/dialog_test.h"
#include "exchange/ui/exchange_commands.h"
#include "exchange/ui/import_wizard.h"
#include "exchange_fixture.h"
#include "rtf/rtf.h"
#include "storage/notebook_binding.h"
#include "support/scripted_messages.h"
#include "tree/MyTreeView.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>

using namespace vlr;
using namespace vlr::test;

TEST(ExportFlow, StepsForwardAndBack) {
    struct Case {
        TExportKind kind;
        bool select, moreSingle, moreMulti, oneNote;
        std::vector<TExportStep> forward; // from the start to the targets
    } cases[] = {
        {TExportKind::OneFile, false, false, false, false, {esResult, esFormat, esLayout, esTargets}},
        {TExportKind::OneFile,
         true,
         true,
         false,
         false,
         {esResult, esSelect, esFormat, esFormatOptions, esLayout, esTargets}},
        {TExportKind::ManyFiles, false, false, false, false, {esResult, esFilesOptions, esTargets}},
        {TExportKind::ManyFiles,
         true,
         false,
         true,
         false,
         {esResult, esSelect, esFilesOptions, esFormatOptions, esTargets}},
        {TExportKind::NotebookFile, false, false, false, false, {esResult, esTargets}},
        {TExportKind::NotebookFile, true, false, false, false, {esResult, esSelect, esTargets}},
        {TExportKind::OneFile, false, false, false, true, {esFormat, esLayout, esTargets}},
    };
    for (const Case& c : cases) {
        TExportFlow f{c.kind, c.select, c.moreSingle, c.moreMulti, c.oneNote};
        EXPECT_EQ(f.Start(), c.forward.front());
        for (size_t i = 0; i + 1 < c.forward.size(); ++i) {
            EXPECT_EQ(f.Next(c.forward[i]), c.forward[i + 1]) << int(c.kind) << " step " << c.forward[i];
            EXPECT_EQ(f.Back(c.forward[i + 1]), c.forward[i])
                << int(c.kind) << " back from " << c.forward[i + 1];
        }
        EXPECT_FALSE(f.CanGoBack(c.forward.front()));
    }
}

TEST(ExportTargets, ListsFollowTheExport) {
    const auto captions = [](const QList<TTargetEntry>& list) {
        QStringList c;
        for (const TTargetEntry& e : list)
            c << (e.heading ? u'#' + e.caption : e.caption);
        return c;
    };
    EXPECT_EQ(captions(DocumentTargets(true, false, {})),
              QStringList({"#Файл:", "Форм. текст (.rtf)", "Простой текст (.txt)", "Текст OEM (.txt)",
                           "HTML 4.0 (.htm)", "#Буфер обмена:", "как форм. текст (.rtf)",
                           "как простой текст (.txt)", "#Запись:", "в текущую запись (удаляя подзаписи)",
                           "в текущую запись (сохраняя подзаписи)", "в новую запись после текущей",
                           "в новую книжку"}));
    const QStringList plainFromRoot = captions(DocumentTargets(false, true, {}));
    EXPECT_FALSE(plainFromRoot.contains(QStringLiteral("Форм. текст (.rtf)")));
    EXPECT_FALSE(plainFromRoot.contains(QStringLiteral("в текущую запись (удаляя подзаписи)")));
    TConverter pandoc{
        TConverter::Kind::Pandoc, QStringLiteral("Pandoc"), QStringLiteral("/x"), {"md", "docx"}};
    EXPECT_EQ(captions(FileTargets({pandoc})).mid(5),
              QStringList({"#Конвертеры Office:", "Pandoc (*.md;*.docx)"}));
    EXPECT_EQ(captions(NotebookFileTargets()), QStringList({"#Файл:", ".VLR формат"}));
}

namespace {

class Wizards : public ExchangeTest {
protected:
    void SetUp() override {
        ExchangeTest::SetUp();
        view = std::make_unique<TMyTreeView>(book->service);
        view->SetChangeDelay(0);
        settings = std::make_unique<TSettingsFile>(dir.filePath(QStringLiteral("vellinor.ini")));
        first = note(QStringLiteral("Первая"), rtfBody("First body"));
        note(QStringLiteral("Вторая"), rtfBody("Second body"));
    }
    TExchangeContext context() {
        return {book->service,
                *view,
                options,
                *settings,
                [] { return NewNoteDefaults{}; },
                [] { return NewNotebookDefaults{}; }};
    }
    // Walks a one-file export from the first step to the targets.
    void toTargets(TfrmExp& w) {
        while (w.Step() != esTargets)
            w.Next();
    }
    void choose(TfrmExp& w, const QString& caption) {
        QListWidget* list = w.Pages().lbTargets;
        const QList<QListWidgetItem*> found = list->findItems(caption, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << caption.toStdString();
        list->setCurrentItem(found.first());
    }

    TVLROptions options;
    std::unique_ptr<TMyTreeView> view;
    std::unique_ptr<TSettingsFile> settings;
    TNodeData* first = nullptr;
    ScriptedMessages messages;
};

} // namespace

TEST_F(Wizards, ExportIntoANewNoteAndAHeadingRefused) {
    TfrmExp w(context(), TExportTree::Command::ExportNotes);
    w.Start(root());
    EXPECT_FALSE(w.BackButton()->isEnabled());
    toTargets(w);
    EXPECT_EQ(w.NextButton()->text(), QStringLiteral("Завершить"));
    ASSERT_TRUE(w.Document().has_value());
    EXPECT_EQ(w.Document()->NoteCount(), 2);
    EXPECT_FALSE(
        w.Pages()
            .lbTargets->findItems(QStringLiteral("в текущую запись (удаляя подзаписи)"), Qt::MatchExactly)
            .size())
        << "not from a notebook's root";

    w.Pages().lbTargets->setCurrentRow(0); // "Файл:"
    w.Finish();
    choose(w, QStringLiteral("в новую запись после текущей"));
    w.Finish();
    EXPECT_EQ(messages.texts(), QStringList({"Ошибка экспорта!", "Экспорт завершён!"}));
    ASSERT_EQ(book->nb->Notes.size(), 3);
    const TNodeData* made = book->nb->Notes.last();
    EXPECT_EQ(made->Record.NoteName(), QStringLiteral("Книга"));
    const QString text = rtf::rtfToPlainText(made->Body);
    EXPECT_TRUE(text.contains(QStringLiteral("First body")) && text.contains(QStringLiteral("Second body")));
}

TEST_F(Wizards, OneNoteIntoItselfAndSettingsKept) {
    note(QStringLiteral("Дочь"), rtfBody("Child body"), first);
    TfrmExp w(context(), TExportTree::Command::ExportNote);
    w.Start(first->TreeNode);
    EXPECT_EQ(w.Step(), esFormat);
    EXPECT_FALSE(w.BackButton()->isEnabled());
    w.Pages().rbExpPlain->setChecked(true);
    w.Pages().spLineWidth->setValue(33);
    toTargets(w);
    choose(w, QStringLiteral("в текущую запись (удаляя подзаписи)"));
    w.Finish();
    EXPECT_EQ(messages.texts(), QStringList({"Экспорт завершён!"}));
    EXPECT_FALSE(first->TreeNode->HasChildren());
    EXPECT_TRUE(rtf::rtfToPlainText(first->Body).contains(QStringLiteral("First body")));
    w.accept();
    EXPECT_EQ(settings->readInteger(kExportNoteOptionsSection, QStringLiteral("LineWidth"), 0), 33);
    EXPECT_FALSE(settings->sectionExists(kExportOptionsSection));
}

TEST_F(Wizards, NotebookFileAndFilesFromTheirBoxes) {
    TfrmExp w(context(), TExportTree::Command::ExportNotes);
    w.Start(root());
    w.Pages().rbStruct->setChecked(true);
    toTargets(w);
    const QString target = dir.filePath(QStringLiteral("copy.vlr"));
    w.Pages().edVlrFile->setText(target);
    choose(w, QStringLiteral(".VLR формат"));
    w.Finish();
    EXPECT_TRUE(QFile::exists(target));

    w.Back();
    w.Back();
    EXPECT_EQ(w.Step(), esResult);
    w.Pages().rbMulti->setChecked(true);
    toTargets(w);
    w.Pages().edFolder->setText(dir.filePath(QStringLiteral("files")));
    choose(w, QStringLiteral("Форм. текст (*.rtf)"));
    w.Finish();
    EXPECT_EQ(filesBelow(dir.filePath(QStringLiteral("files"))), QStringList({"Вторая.rtf", "Первая.rtf"}));
    EXPECT_EQ(messages.texts(), QStringList({"Экспорт завершён!", "Экспорт завершён!"}));
}

TEST_F(Wizards, ImportWizardListAndFinish) {
    TfrmImport w(book->service);
    TImportSettings s;
    w.Start(first->TreeNode, s);
    EXPECT_FALSE(w.btnNext->isEnabled());
    const QString a = dir.filePath(QStringLiteral("b/a.txt")), b = dir.filePath(QStringLiteral("a/b.txt"));
    for (const QString& f : {a, b}) {
        QDir().mkpath(QFileInfo(f).absolutePath());
        QFile file(f);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("text of " + f.toUtf8());
    }
    w.AddFiles({a, dir.filePath(QStringLiteral("noext")), b}, true); // dropped: sorted by folder
    ASSERT_EQ(w.lvFiles->topLevelItemCount(), 2);
    EXPECT_EQ(w.lvFiles->topLevelItem(0)->text(0), QStringLiteral("b.txt"));
    EXPECT_EQ(w.lvFiles->headerItem()->text(4), QStringLiteral("ИмяФайла"));
    EXPECT_TRUE(w.btnNext->isEnabled());
    w.Next();
    w.rbPlain->setChecked(true);
    w.Finish();
    EXPECT_EQ(w.Outcome().notes.size(), 2);
    EXPECT_EQ(first->TreeNode->Count(), 2);
}

namespace {

enum class Meanwhile { BCurrent, AClosed, NoteDeleted };

// The wizards as the window's commands show them, for the first note of
// notebook A while a notebook B is open too.
class WizardSwitch : public Wizards {
protected:
    void SetUp() override {
        Wizards::SetUp();
        b = book->service.Create(NewNotebookDefaults{}, path(QStringLiteral("b.vlr")));
        inB = book->service.AddNote(*b, b->RootNode, 0, QStringLiteral("в Б"), NewNoteDefaults{}, false);
        commands = std::make_unique<TExchangeCommands>(
            book->service, *view, options, *settings, [] { return NewNoteDefaults{}; },
            [] { return NewNotebookDefaults{}; }, &window);
        view->SelectNode(first->TreeNode);
    }
    void happen(Meanwhile event) {
        switch (event) {
        case Meanwhile::BCurrent:
            view->SelectNode(inB->TreeNode);
            break;
        case Meanwhile::AClosed:
            book->service.Close(book->nb);
            book->nb = nullptr;
            break;
        case Meanwhile::NoteDeleted:
            book->service.DeleteNote(*first);
            break;
        }
    }
    QString cancelled(Meanwhile event) const {
        return event == Meanwhile::AClosed
                   ? NotebookClosedMessage(QStringLiteral("Книга"))
                   : NoteDeletedMessage(QStringLiteral("Первая"), QStringLiteral("Книга"));
    }
    // B as it was made: one note, nothing added.
    void expectBUntouched() {
        EXPECT_EQ(b->Notes.size(), 1);
        EXPECT_EQ(b->RootNode->Count(), 1);
        EXPECT_FALSE(inB->TreeNode->HasChildren());
    }

    QWidget window;
    TNodeRoot* b = nullptr;
    TNodeData* inB = nullptr;
    std::unique_ptr<TExchangeCommands> commands;
};

} // namespace

TEST_F(WizardSwitch, ExportFinishesIntoTheNoteItWasStartedForOrIsCancelled) {
    const struct {
        Meanwhile event;
        bool whileFileIsChosen; // else just before "Завершить"
    } cases[] = {
        {Meanwhile::BCurrent, false},
        {Meanwhile::AClosed, false},
        {Meanwhile::NoteDeleted, false},
        {Meanwhile::AClosed, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((QStringLiteral("%1 %2").arg(int(c.event)).arg(c.whileFileIsChosen)).toStdString());
        commands.reset();
        view.reset();
        book.reset();
        messages.clear();
        SetUp();
        const QString file = dir.filePath(QStringLiteral("out.txt"));
        bool stillOpen = false;
        whenModal<TfrmExp>([&](TfrmExp* w) {
            toTargets(*w);
            if (c.whileFileIsChosen) {
                choose(*w, QStringLiteral("Простой текст (.txt)"));
                whenModal<QFileDialog>([&](QFileDialog* d) {
                    happen(c.event);
                    stillOpen = d->isVisible();
                    if (stillOpen)
                        d->reject();
                });
            } else {
                choose(*w, QStringLiteral("в новую запись после текущей"));
                happen(c.event);
                stillOpen = w->isVisible();
            }
            if (w->isVisible())
                w->Finish();
            if (w->isVisible())
                w->accept();
        });
        commands->ExportNote();
        EXPECT_EQ(stillOpen, c.event == Meanwhile::BCurrent);
        EXPECT_FALSE(QFile::exists(file));
        expectBUntouched();
        if (c.event == Meanwhile::BCurrent) {
            EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Экспорт завершён!")});
            ASSERT_EQ(book->nb->RootNode->Count(), 3);
            EXPECT_EQ(book->nb->RootNode->Child(0), first->TreeNode);
            // The new note comes right after the one exported.
            EXPECT_TRUE(
                rtf::rtfToPlainText(book->nb->RootNode->Child(1)->Note()->Body).contains("First body"));
        } else {
            EXPECT_EQ(messages.texts(), QStringList{cancelled(c.event)});
        }
    }
}

TEST_F(WizardSwitch, ImportFinishesBelowTheNoteItWasStartedForOrIsCancelled) {
    const QString file = dir.filePath(QStringLiteral("import.txt"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("imported text");
    }
    for (Meanwhile event : {Meanwhile::BCurrent, Meanwhile::AClosed, Meanwhile::NoteDeleted}) {
        SCOPED_TRACE(int(event));
        commands.reset();
        view.reset();
        book.reset();
        messages.clear();
        SetUp();
        bool stillOpen = false;
        whenModal<TfrmImport>([&](TfrmImport* w) {
            w->AddFiles({file}, false);
            w->Next();
            happen(event);
            stillOpen = w->isVisible();
            if (stillOpen)
                w->Finish();
        });
        commands->ImportFiles();
        EXPECT_EQ(stillOpen, event == Meanwhile::BCurrent);
        expectBUntouched();
        if (event == Meanwhile::BCurrent) {
            ASSERT_EQ(first->TreeNode->Count(), 1);
            EXPECT_EQ(first->TreeNode->Child(0)->Text(), QStringLiteral("import.txt"));
            EXPECT_TRUE(messages.texts().isEmpty());
        } else {
            EXPECT_EQ(messages.texts(), QStringList{cancelled(event)});
        }
    }
}
