#pragma once
// TfrmExp, the export wizard ("Мастер экспорта"): a view over the export
// logic. It walks the steps, keeps its choices in the settings file and
// hands the chosen target to the logic.
#include "exchange/converters.h"
#include "exchange/export_document.h"
#include "exchange/export_settings.h"
#include "exchange/export_tree.h"
#include "exchange/export_wizard_flow.h"
#include "exchange/ui/export_wizard_pages.h"
#include "storage/defaults.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QPushButton;
class QStackedWidget;

namespace vlr {

class TExportTreeModel;
class TNotebookBinding;
class TMyTreeView;
class TNotebookService;
class TSettingsFile;
struct TVLROptions;

struct TExchangeContext {
    TNotebookService& service;
    TMyTreeView& tree;
    const TVLROptions& options;
    TSettingsFile& settings;
    std::function<NewNoteDefaults()> noteDefaults;
    std::function<NewNotebookDefaults()> notebookDefaults;
};

class TfrmExp final : public QDialog {
    Q_OBJECT
public:
    TfrmExp(const TExchangeContext& context, TExportTree::Command command, QWidget* parent = nullptr);
    ~TfrmExp() override;

    TExportTree::Command Command() const { return m_command; }
    // Prepares a showing for the selection (a root or a note): the wizard
    // works on it alone and ends as cancelled when it or its notebook is lost.
    void Start(TTreeNode* selection);
    // What the showing was started for; none before the first.
    TNotebookBinding* Target() const { return m_target.get(); }
    // A target replaced the text of the selected note.
    bool NoteChanged() const { return m_noteChanged; }

    TExportPages& Pages() { return m_pages; }
    TExportStep Step() const { return m_step; }
    QPushButton* NextButton() const { return m_next; }
    QPushButton* BackButton() const { return m_back; }
    const std::optional<TCombinedDocument>& Document() const { return m_document; }

    void Next();
    void Back();
    // "Завершить": runs the chosen target and says how it went.
    void Finish();

protected:
    void done(int result) override;

private:
    void readSettings();
    void writeSettings();
    TExportSettings settingsFromControls() const;
    TExportFlow flow() const;
    void enter(TExportStep step);
    void buildTree();
    void prepareOptions();
    void prepareLayout();
    void generate();
    void fillTargets();
    void showNotePreview();
    void showDocumentPreview();
    void chooseFont(TFontChoice& choice);
    THtmlChoices htmlChoices() const;
    TExportOutcome runTarget(const TTargetEntry& entry);
    TExportOutcome runDocumentTarget(const TTargetEntry& entry);
    TExportOutcome runFilesTarget(const TTargetEntry& entry);
    TExportOutcome runNotebookTarget();
    QString askSaveName(const QString& filter, const QString& extension, const QString& initial);
    // The node the showing was started for; none once it is lost.
    TTreeNode* selection() const;
    bool targetLost() const;

    TExchangeContext m_context;
    TExportTree::Command m_command;
    QString m_section;
    TExportPages m_pages;
    QLabel* m_stepLabel;
    QLabel* m_titleLabel;
    QStackedWidget* m_stack;
    QPushButton *m_help, *m_back, *m_next, *m_close;
    TExportTree m_tree;
    TExportTreeModel* m_model;
    TExportStep m_step = esResult;
    std::unique_ptr<TNotebookBinding> m_target;
    std::optional<TCombinedDocument> m_document;
    QList<TConverter> m_converters;
    QList<TTargetEntry> m_targets;
    TExportSettings m_settings;
    bool m_noteChanged = false;
};

} // namespace vlr
