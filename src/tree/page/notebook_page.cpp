#include "tree/page/notebook_page.h"

#include "tree/page/centered_columns_layout.h"
#include "tree/page/elided_label.h"

#include <QAction>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vlr {

namespace {

// Captions are marked so that code walking the page can tell them from values.
constexpr int kCaptionTag = 1;

QLabel* makeCaption(const QString& text, QWidget* parent) {
    auto* caption = new QLabel(text, parent);
    caption->setProperty("tag", kCaptionTag);
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Muted, so the eye goes to the values.
    caption->setForegroundRole(QPalette::PlaceholderText);
    return caption;
}

} // namespace

NotebookPage::NotebookPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet1"));
    setWindowTitle(notebookPageTitle());

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("tbarRoot"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    m_scrollBox = new QScrollArea(this);
    m_scrollBox->setObjectName(QStringLiteral("sbProps"));
    m_scrollBox->setWidgetResizable(true);
    m_scrollBox->setFrameShape(QFrame::NoFrame);

    m_props = new QWidget;
    buildRows();
    m_scrollBox->setWidget(m_props);

    m_fileNameEditor = new QLineEdit(m_props);
    m_fileNameEditor->setObjectName(QStringLiteral("edFilename"));
    m_fileNameEditor->setReadOnly(true);
    m_fileNameEditor->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_scrollBox, 1);

    m_props->installEventFilter(this);
    m_fileName->installEventFilter(this);
    m_fileNameEditor->installEventFilter(this);
    connect(m_fileName, &ElidedLabel::clicked, this, &NotebookPage::showFileNameEditor);

    FillNotebookPage(nullptr);
}

void NotebookPage::buildRows() {
    auto* columns = new CenteredColumnsLayout(m_props);
    columns->setContentsMargins(12, 16, 12, 16);
    columns->setSpacing(10);
    // The captions and label names are the same for every notebook.
    for (const NotebookPageRow& row : unavailableNotebookPageRows()) {
        QLabel* value = nullptr;
        if (row.field == NotebookPageField::FileName) {
            m_fileName = new ElidedLabel(m_props);
            value = m_fileName;
        } else {
            value = new QLabel(m_props);
            value->setTextFormat(Qt::PlainText);
            value->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        }
        value->setObjectName(row.labelName);
        value->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        columns->addRow(makeCaption(row.caption, m_props), value);
        m_values.append(value);
    }
}

void NotebookPage::setRootActions(QAction* visual, QAction* saving, QAction* security, QAction* author) {
    m_toolBar->clear();
    for (QAction* action : {visual, saving, security, author}) {
        if (!action)
            continue;
        m_toolBar->addAction(action);
        // Tool buttons drop a trailing "..." from the text, yet it tells that
        // the command opens a dialog; the buttons keep the command's own text.
        auto* button = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(action));
        if (!button)
            continue;
        button->setText(action->text());
        connect(action, &QAction::changed, button, [button, action] { button->setText(action->text()); });
    }
}

void NotebookPage::FillNotebookPage(const TNodeRoot* notebook) {
    hideFileNameEditor();
    showRows(notebook ? notebookPageRows(inputFromNotebook(*notebook), m_format)
                      : unavailableNotebookPageRows());
}

void NotebookPage::showRows(const QList<NotebookPageRow>& rows) {
    for (const NotebookPageRow& row : rows) {
        QLabel* label = m_values.value(qsizetype(row.field));
        if (!label)
            continue;
        if (label == m_fileName) {
            // The row's tip is the whole name, empty when there is no file.
            m_fileNameText = row.toolTip;
            m_fileName->setFullText(row.value);
            m_fileName->setCursor(m_fileNameText.isEmpty() ? Qt::ArrowCursor : Qt::IBeamCursor);
        } else {
            label->setText(row.value);
        }
        label->setToolTip(row.toolTip);
    }
}

void NotebookPage::placeFileNameEditor() {
    // The box may be taller than the label; it is centred on the label's line.
    QRect area = m_fileName->geometry();
    const int height = std::max(area.height(), m_fileNameEditor->sizeHint().height());
    area.setTop(area.center().y() - height / 2);
    area.setHeight(height);
    m_fileNameEditor->setGeometry(area);
}

void NotebookPage::showFileNameEditor() {
    // Without a file there is nothing to copy.
    if (m_fileNameText.isEmpty())
        return;
    m_fileNameEditor->setText(m_fileNameText);
    placeFileNameEditor();
    m_fileNameEditor->show();
    m_fileNameEditor->raise();
    m_fileNameEditor->setFocus(Qt::MouseFocusReason);
    m_fileNameEditor->selectAll();
}

void NotebookPage::hideFileNameEditor() {
    m_fileNameEditor->hide();
}

bool NotebookPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_props && event->type() == QEvent::MouseButtonPress) {
        hideFileNameEditor();
    } else if (watched == m_fileName && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        if (m_fileNameEditor->isVisible())
            placeFileNameEditor();
    } else if (watched == m_fileNameEditor) {
        if (event->type() == QEvent::FocusOut) {
            // Its own context menu and a switch to another window do not leave the box.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                hideFileNameEditor();
        } else if (event->type() == QEvent::KeyPress &&
                   static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            hideFileNameEditor();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vlr
