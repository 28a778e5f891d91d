#include "editor/edit_commands.h"

#include "editor/clipboard_formats.h"
#include "editor/format_host.h"
#include "editor/format_rules.h"
#include "editor/paste_special_dialog.h"
#include "editor/richedit.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QIcon>
#include <QMenu>
#include <QMimeData>

namespace vlr {

namespace {

QAction* makeAction(QObject* parent, const char* name, const QString& text, QKeySequence::StandardKey key,
                    const char* icon) {
    auto* a = new QAction(QIcon::fromTheme(QLatin1String(icon)), text, parent);
    a->setObjectName(QLatin1String(name));
    if (key != QKeySequence::UnknownKey)
        a->setShortcut(key);
    return a;
}

// Sets the flag for the duration, restored also when the body throws.
class TCatchUrlsOff {
public:
    explicit TCatchUrlsOff(TFormatHost& host) : m_host(host), m_saved(host.CatchUrls()) {
        host.SetCatchUrls(false);
    }
    ~TCatchUrlsOff() { m_host.SetCatchUrls(m_saved); }
    TCatchUrlsOff(const TCatchUrlsOff&) = delete;
    TCatchUrlsOff& operator=(const TCatchUrlsOff&) = delete;

private:
    TFormatHost& m_host;
    bool m_saved;
};

} // namespace

TEditCommands::TEditCommands(TMyRichEdit& editor, TFormatHost& host, QObject* parent)
    : QObject(parent), m_editor(editor), m_host(host) {
    EditUndo =
        makeAction(this, "EditUndo", undoCaption(TUndoName::unUnknown), QKeySequence::Undo, "edit-undo");
    EditRedo =
        makeAction(this, "EditRedo", redoCaption(TUndoName::unUnknown), QKeySequence::Redo, "edit-redo");
    EditCut = makeAction(this, "EditCut", QStringLiteral("Вырезать"), QKeySequence::Cut, "edit-cut");
    EditCopy = makeAction(this, "EditCopy", QStringLiteral("Копировать"), QKeySequence::Copy, "edit-copy");
    EditPaste = makeAction(this, "EditPaste", QStringLiteral("Вставить"), QKeySequence::Paste, "edit-paste");
    EditPasteText = makeAction(this, "EditPasteText", QStringLiteral("Вставить как текст"),
                               QKeySequence::UnknownKey, "edit-paste");
    EditPasteText->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+V")));
    EditPasteSpecial = makeAction(this, "EditPasteSpecial", QStringLiteral("Специальная вставка..."),
                                  QKeySequence::UnknownKey, "edit-paste");
    EditUndo->setEnabled(false);
    EditRedo->setEnabled(false);

    connect(EditUndo, &QAction::triggered, this, [this] {
        m_editor.Undo();
        EditorChange();
        emit reflectRequested();
    });
    connect(EditRedo, &QAction::triggered, this, [this] {
        m_editor.Redo();
        EditorChange();
        emit reflectRequested();
    });
    connect(EditCut, &QAction::triggered, this, [this] {
        if (m_editor.hasFocus()) {
            m_editor.CutToClipboard();
            return;
        }
        TCatchUrlsOff off(m_host);
        sendToFocused("cut");
    });
    connect(EditCopy, &QAction::triggered, this, [this] {
        if (m_editor.hasFocus()) {
            m_editor.CopyToClipboard();
            return;
        }
        TCatchUrlsOff off(m_host);
        sendToFocused("copy");
    });
    connect(EditPaste, &QAction::triggered, this, [this] {
        if (m_editor.hasFocus() || !QApplication::focusWidget())
            m_editor.PasteFromClipboard();
        else
            sendToFocused("paste");
    });
    connect(EditPasteText, &QAction::triggered, this, [this] {
        const QString text = QGuiApplication::clipboard()->text();
        if (text.isEmpty() || m_editor.isReadOnly()) {
            m_editor.PasteFromClipboard();
            return;
        }
        m_editor.InsertText(text);
    });
    connect(EditPasteSpecial, &QAction::triggered, this, [this] {
        TPasteSpecialDialog::run(&m_editor);
        m_editor.setFocus();
    });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { UpdatePaste(); });

    ZoomMenu = new QMenu(QStringLiteral("Масштаб"));
    ZoomMenu->setObjectName(QStringLiteral("ViewZoom"));
    connect(this, &QObject::destroyed, ZoomMenu, &QObject::deleteLater);
    m_zoomGroup = new QActionGroup(this);
    for (int percent : kZoomPresets) {
        QAction* a = ZoomMenu->addAction(QStringLiteral("%1%").arg(percent));
        a->setCheckable(true);
        a->setData(percent);
        m_zoomGroup->addAction(a);
        connect(a, &QAction::triggered, this, [this, percent] { ApplyZoom(percent); });
    }
    ZoomMenu->addSeparator();
    ZoomOther = ZoomMenu->addAction(QStringLiteral("Другой..."));
    ZoomOther->setObjectName(QStringLiteral("ZoomOther"));
    ZoomOther->setCheckable(true);
    m_zoomGroup->addAction(ZoomOther);
    connect(ZoomOther, &QAction::triggered, this, [this] {
        const std::optional<int> value = m_host.AskNumber(
            QStringLiteral("Величина масштаба (в процентах)"), QStringLiteral("Введите масштаб:"),
            m_editor.ZoomPercent(), kZoomMin, kZoomMax, &m_editor);
        if (!value) {
            ReflectZoom();
            return;
        }
        ZoomOther->setData(*value);
        ApplyZoom(*value);
    });
}

void TEditCommands::sendToFocused(const char* method) {
    QWidget* w = QApplication::focusWidget();
    if (w && w->metaObject()->indexOfMethod(QByteArray(method) + "()") >= 0)
        QMetaObject::invokeMethod(w, method);
}

void TEditCommands::EditorChange() {
    if (m_host.NoteSelected() && m_editor.Modified() && !m_host.Loading())
        m_host.MarkModified(true, true);
    UpdateUndo();
}

void TEditCommands::UpdateUndo() {
    EditUndo->setEnabled(m_editor.CanUndo());
    EditUndo->setText(undoCaption(m_editor.UndoName()));
    EditRedo->setEnabled(m_editor.CanRedo());
    EditRedo->setText(redoCaption(m_editor.RedoName()));
}

void TEditCommands::SetPasteAllowed(bool allowed) {
    m_pasteAllowed = allowed;
    UpdatePaste();
}

void TEditCommands::UpdatePaste() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    EditPaste->setEnabled(m_pasteAllowed && m_host.NoteSelected() && m_editor.CanPaste());
    EditPasteText->setEnabled(m_pasteAllowed && m_host.NoteSelected() && data && data->hasText());
}

void TEditCommands::ApplyZoom(int percent) {
    m_editor.SetZoomPercent(percent);
    if (m_host.NoteSelected())
        m_host.StoreZoom(m_editor.ZoomPercent());
    ReflectZoom();
    emit zoomChanged(m_editor.ZoomPercent());
    emit reflectRequested();
}

void TEditCommands::ReflectZoom() {
    const int zoom = m_editor.ZoomPercent();
    for (QAction* a : m_zoomGroup->actions())
        if (a != ZoomOther && a->data().toInt() == zoom) {
            a->setChecked(true);
            return;
        }
    ZoomOther->setData(zoom);
    ZoomOther->setChecked(true);
}

} // namespace vlr
