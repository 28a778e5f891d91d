// Developer tool: opens a notebook and shows the export or import wizard at a
// chosen step, or saves a picture of each step (for looking at the wizards
// without the main window).
//   exchange_wizard_tool NOTEBOOK export|note|import [--shots FOLDER]
#include "config/options.h"
#include "config/settingsfile.h"
#include "exchange/ui/exchange_commands.h"
#include "exchange/ui/import_wizard.h"
#include "libs/extlib.h"
#include "libs/vlrlib.h"
#include "storage/images/default_images.h"
#include "storage/notebook_service.h"
#include "tree/MyTreeView.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QListWidget>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeView>

using namespace vlr;

namespace {

void shoot(QWidget& w, const QString& folder, const QString& name) {
    w.show();
    QApplication::processEvents();
    w.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        qWarning("usage: exchange_wizard_tool NOTEBOOK export|note|import [--shots FOLDER]");
        return 2;
    }
    TVlrLib::setLibraryFolder(QCoreApplication::applicationDirPath());
    TExtLib::setLibraryFolder(QCoreApplication::applicationDirPath());
    const QString shots = args.indexOf(QStringLiteral("--shots")) > 0
                              ? args.value(args.indexOf(QStringLiteral("--shots")) + 1)
                              : QString();
    TNotebookService service(defaultImages());
    const OpenOutcome opened = service.Open(args[1]);
    if (!opened.notebook)
        return 1;
    TMyTreeView tree(service);
    TVLROptions options;
    QTemporaryDir dir;
    TSettingsFile settings(dir.filePath(QStringLiteral("vellinor.ini")));
    TExchangeContext context{service,
                             tree,
                             options,
                             settings,
                             [] { return NewNoteDefaults{}; },
                             [] { return NewNotebookDefaults{}; }};
    TTreeNode* root = opened.notebook->RootNode;
    const QString mode = args[2];
    if (mode == QLatin1StringView("import")) {
        TfrmImport w(service);
        w.Start(root, TImportSettings{});
        if (shots.isEmpty())
            return w.exec();
        shoot(w, shots, QStringLiteral("import-1-empty"));
        QStringList files;
        for (const QString& f : args.mid(args.indexOf(QStringLiteral("--shots")) + 2))
            files << f;
        w.AddFiles(files, true);
        shoot(w, shots, QStringLiteral("import-1-files"));
        w.Next();
        shoot(w, shots, QStringLiteral("import-2-options"));
        return 0;
    }
    const bool note = mode == QLatin1StringView("note");
    TfrmExp w(context, note ? TExportTree::Command::ExportNote : TExportTree::Command::ExportNotes);
    w.Start(note && root->HasChildren() ? root->Child(0) : root);
    if (shots.isEmpty())
        return w.exec();
    const QString prefix = note ? QStringLiteral("export-note-") : QStringLiteral("export-");
    if (!note) {
        w.Pages().cbSelNotes->setChecked(true);
        w.Pages().cbAddSingle->setChecked(true);
        shoot(w, shots, prefix + QStringLiteral("1-result"));
        w.Next();
        w.Pages().tvExport->expandAll();
        w.Pages().tvExport->setCurrentIndex(
            w.Pages().tvExport->model()->index(0, 0, w.Pages().tvExport->model()->index(0, 0)));
        shoot(w, shots, prefix + QStringLiteral("1.1-select"));
        w.Next();
    }
    shoot(w, shots, prefix + QStringLiteral("2-format"));
    w.Next();
    if (w.Step() == esFormatOptions) {
        shoot(w, shots, prefix + QStringLiteral("2.1-options"));
        w.Next();
    }
    shoot(w, shots, prefix + QStringLiteral("3-layout"));
    w.Next();
    shoot(w, shots, prefix + QStringLiteral("4-targets"));
    if (!note) {
        w.Back();
        while (w.Step() != esResult)
            w.Back();
        w.Pages().cbSelNotes->setChecked(false);
        w.Pages().rbMulti->setChecked(true);
        w.Next();
        shoot(w, shots, prefix + QStringLiteral("2-files"));
        w.Next();
        shoot(w, shots, prefix + QStringLiteral("4-files-targets"));
        while (w.Step() != esResult)
            w.Back();
        w.Pages().rbStruct->setChecked(true);
        w.Next();
        shoot(w, shots, prefix + QStringLiteral("4-notebook-file"));
    }
    return 0;
}
