#pragma once
// TfrmGlobalSearch, "Поиск в книжке(ах)": the modeless search dialog, a view
// over TGlobalSearch. It reads its settings each time it is shown and writes
// them only when closed with its close button; closing destroys it.
#include "search/global_search.h"

#include <QDialog>
#include <QPointer>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace vlr {

class TMyTreeView;
class TNoteTextCache;
class TNotebookService;
class TSearchResultsView;
class TSettingsFile;

inline const QString kGlobalSearchCaption = QStringLiteral("Поиск в книжке(ах)");
inline const QString kGlobalSearchHelpTopic = QStringLiteral("DialogFindInNotebook");
inline const QString kRegExpHelpTopic = QStringLiteral("RegExp");

class TfrmGlobalSearch : public QDialog {
    Q_OBJECT
public:
    using HelpOpener = std::function<void(const QString& topic)>;

    TfrmGlobalSearch(TNotebookService& service, TNoteTextCache* cache, TMyTreeView& tree,
                     TSettingsFile& settings, HelpOpener help, QWidget* parent = nullptr);
    ~TfrmGlobalSearch() override;

    TGlobalSearch& Search() { return *m_search; }
    // The choices as the controls hold them.
    TSearchOptions Options() const;

    // "Искать!"
    void StartSearch();
    // A click on a row: the tree scrolls to its note.
    void ShowResult(int row);
    // A double click: the note is selected, then the match in the editor.
    void GoToResult(int row);

    QComboBox* edText;
    QRadioButton* rbNote;
    QRadioButton* rbNotebook;
    QRadioButton* rbAllNB;
    QCheckBox* cbRegExp;
    QCheckBox* cbCaseSen;
    QCheckBox* cbMatchWords;
    QLabel* lbMatchMode;
    QComboBox* cbMatchMode;
    TSearchResultsView* LV;
    QPushButton* btnFind;
    QPushButton* btnCancelFind;
    QPushButton* btnClear;
    QPushButton* btnClose;
    QPushButton* btnHelp;
    QLabel* lbRegExpHelp;
    QLabel* lbProgress;
    QProgressBar* pbProgress;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void readSettings();
    void closeAndSave();
    void updateNoteChoice();
    void regExpToggled(bool on);
    void fillRemembered();
    void searchStarted();
    void searchProgress();
    void searchFinished();

    TMyTreeView& m_tree;
    TSettingsFile& m_settings;
    HelpOpener m_help;
    TGlobalSearch* m_search;
};

} // namespace vlr
