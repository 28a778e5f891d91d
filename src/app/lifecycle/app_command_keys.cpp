#include "app/lifecycle/app_command_keys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace vlr {

namespace {

struct KeyCommand {
    int key;
    const char* command;
};

constexpr KeyCommand kKeyCommands[] = {
    {Qt::Key_Back, "NotebookHistBack"},
    {Qt::Key_Forward, "NotebookHistForw"},
    {Qt::Key_Search, "EditFind"},
    {Qt::Key_Find, "EditFind"},
    {Qt::Key_Favorites, "FavoritesOrganizer"},
    {Qt::Key_Help, "HelpTopics"},
    {Qt::Key_New, "FileNew"},
    {Qt::Key_Open, "FileOpen"},
    {Qt::Key_Close, "FileClose"},
    {Qt::Key_Save, "FileSave"},
    {Qt::Key_Print, "FilePrint"},
    {Qt::Key_Undo, "EditUndo"},
    {Qt::Key_Redo, "EditRedo"},
    {Qt::Key_Copy, "EditCopy"},
    {Qt::Key_Cut, "EditCut"},
    {Qt::Key_Paste, "EditPaste"},
    {Qt::Key_Spell, "ToolsSpellCheck"},
};

} // namespace

TAppCommandKeys::TAppCommandKeys(QWidget& window, Lookup lookup, QObject* parent)
    : QObject(parent), m_window(&window), m_lookup(std::move(lookup)) {
    // Keys go to the focused widget and mouse presses to the one under the
    // cursor, so only the application sees them all, once per receiver.
    qApp->installEventFilter(this);
}

TAppCommandKeys::~TAppCommandKeys() {
    if (qApp)
        qApp->removeEventFilter(this);
}

QString TAppCommandKeys::CommandOfKey(int key) {
    for (const KeyCommand& k : kKeyCommands)
        if (k.key == key)
            return QLatin1String(k.command);
    return {};
}

QString TAppCommandKeys::CommandOfButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::BackButton:
        return QStringLiteral("NotebookHistBack");
    case Qt::ForwardButton:
        return QStringLiteral("NotebookHistForw");
    default:
        return {};
    }
}

bool TAppCommandKeys::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::MouseButtonPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !m_window || widget->window() != m_window)
        return false;
    if (type == QEvent::KeyPress)
        return run(CommandOfKey(static_cast<QKeyEvent*>(event)->key()));
    return run(CommandOfButton(static_cast<QMouseEvent*>(event)->button()));
}

bool TAppCommandKeys::run(const QString& command) {
    if (command.isEmpty() || !m_lookup)
        return false;
    QAction* action = m_lookup(command);
    if (!action || !action->isEnabled())
        return false;
    action->trigger();
    return true;
}

} // namespace vlr
