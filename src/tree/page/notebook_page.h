#pragma once
// The page shown while a notebook's root is selected: the notebook's figures
// in two columns and the toolbar of the notebook's own commands.
#include "tree/page/notebook_page_values.h"

#include <QList>
#include <QWidget>

class QAction;
class QLabel;
class QLineEdit;
class QScrollArea;
class QToolBar;

namespace vlr {

class ElidedLabel;
class TNodeRoot;

class NotebookPage : public QWidget {
    Q_OBJECT
public:
    explicit NotebookPage(QWidget* parent = nullptr);

    // The commands are owned by their controllers; the page only shows them.
    // Missing ones are left out.
    void setRootActions(QAction* visual, QAction* saving, QAction* security, QAction* author);

    // Shows the notebook's figures; none shows the page without a notebook.
    void FillNotebookPage(const TNodeRoot* notebook);

    // Dates and digit groups follow the user's locale unless told otherwise.
    void setFormat(const NotebookPageFormat& format) { m_format = format; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildRows();
    void showRows(const QList<NotebookPageRow>& rows);
    void showFileNameEditor();
    void placeFileNameEditor();
    void hideFileNameEditor();

    NotebookPageFormat m_format = NotebookPageFormat::system();
    QToolBar* m_toolBar = nullptr;
    QScrollArea* m_scrollBox = nullptr;
    QWidget* m_props = nullptr;
    ElidedLabel* m_fileName = nullptr;
    QLineEdit* m_fileNameEditor = nullptr;
    QString m_fileNameText; // empty while the notebook has no file
    // Value labels by field, in the page's order.
    QList<QLabel*> m_values;
};

} // namespace vlr
