#pragma once
// TfrmImport, the import wizard ("Мастер импорта"): the file list and the
// choice of how notes are built; the import logic does the work.
#include "exchange/converters.h"
#include "exchange/import_files.h"
#include "exchange/import_run.h"

#include <QDialog>
#include <QTreeWidget>

#include <memory>

class QLabel;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace vlr {

class TNotebookBinding;
class TNotebookService;
class TTreeNode;

// The file list: shows a hint while empty and takes files dropped on it.
class TImportFileList final : public QTreeWidget {
    Q_OBJECT
public:
    explicit TImportFileList(QWidget* parent = nullptr);
signals:
    void filesDropped(const QStringList& files);

protected:
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

class TfrmImport final : public QDialog {
    Q_OBJECT
public:
    TfrmImport(TNotebookService& service, QWidget* parent = nullptr);
    ~TfrmImport() override;

    // Prepares a showing: the notes will go below parent, into its notebook
    // alone; the wizard ends as cancelled when either is lost meanwhile.
    void Start(TTreeNode* parent, const TImportSettings& settings);
    // What the showing was started for; none before the first.
    TNotebookBinding* Target() const { return m_target.get(); }
    // Adds the files that are accepted, one row each; dropped files are then sorted by folder.
    void AddFiles(const QStringList& files, bool sortByFolder);
    QList<TImportRow> Rows() const { return m_rows; }
    const TImportOutcome& Outcome() const { return m_outcome; }

    TImportFileList* lvFiles;
    QRadioButton *rbOne, *rbPlain, *rbMulti;
    QPushButton *btnAdd, *btnRemove, *btnBack, *btnNext, *btnCancel;

    void Next();
    void Finish();

private:
    void showStep(int step);
    void refillList();
    void removeSelected();

    TNotebookService& m_service;
    std::unique_ptr<TNotebookBinding> m_target;
    TImportSettings m_settings;
    QList<TConverter> m_converters;
    QList<TImportRow> m_rows;
    TImportOutcome m_outcome;
    QStackedWidget* m_stack;
    QLabel *m_stepLabel, *m_titleLabel;
    int m_step = 1;
};

} // namespace vlr
