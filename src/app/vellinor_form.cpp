#include "app/vellinor_form.h"
#include "app/command_texts.h"
#include "app/lifecycle/app_command_keys.h"
#include "app/lifecycle/away_mode.h"
#include "app/lifecycle/global_hot_key.h"
#include "app/lifecycle/session_end.h"
#include "app/lifecycle/tip_of_the_day.h"
#include "app/lifecycle/view_commands.h"

#include "app/dialogs/help.h"
#include "app/dialogs/notebook_password.h"
#include "app/dialogs/recover_notes_dialog.h"
#include "app/editor_host.h"
#include "app/notebook_defaults.h"
#include "app/qt_file_dialogs.h"
#include "app/startup/instance_server.h"
#include "app/status_panels.h"
#include "config/desktopintegration.h"
#include "config/optionsfile.h"
#include "config/optionsnotifier.h"
#include "config/registry.h"
#include "config/session_state.h"
#include "config/settingsfile.h"
#include "core/error.h"
#include "core/messages.h"
#include "editor/color_menus.h"
#include "editor/edit_commands.h"
#include "editor/editor_defaults.h"
#include "editor/font_boxes.h"
#include "editor/format_bar.h"
#include "editor/format_commands.h"
#include "editor/mouse_focus.h"
#include "editor/richedit.h"
#include "exchange/ui/exchange_commands.h"
#include "libs/extlib.h"
#include "search/search_commands.h"
#include "storage/images/default_images.h"
#include "storage/notebook_service.h"
#include "tree/MyTreeView.h"
#include "tree/page/notebook_page.h"
#include "tree/tree_drag.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSplashScreen>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace vlr {

namespace {

// The tree's pictures: "Main.bmp" beside the program when it is a valid
// strip, else the built-in set.
TMyImageList treeImages() {
    QFile file(QCoreApplication::applicationDirPath() + QStringLiteral("/Main.bmp"));
    if (file.open(QIODevice::ReadOnly) && file.size() < (16 << 20)) {
        TMyImageList list = defaultImages();
        if (list.loadStrip(file.readAll()))
            return list;
    }
    return defaultImages();
}

const QString kExtensionMissing = QStringLiteral(
    "Ошибка загрузки библиотеки расширений Vellinor (VlrExt.Dll)!\r\nПопробуйте переустановить программу.");

} // namespace

TVellinorForm::TVellinorForm(const TSettingsLocation& settings, const TCommandLine& commandLine,
                             QWidget* parent)
    : QMainWindow(parent), m_settingsLocation(settings),
      m_settings(std::make_unique<TSettingsFile>(settings.filePath)), m_commandLine(commandLine),
      m_service(std::make_unique<TNotebookService>(treeImages())) {
    setObjectName(QStringLiteral("TVellinorForm"));
    setWindowTitle(ApplicationTitle());
    setWindowIcon(QApplication::windowIcon());
    buildLayout();
    m_fileDialogs = std::make_unique<TQtFileDialogs>(this);
    m_notebookCommands =
        new TNotebookCommands(*m_service, *this, *m_fileDialogs, programOptions(), m_flags, this);
    m_noteCommands = new TNoteCommands(*m_service, *this, programOptions(), this);
    m_protectionCommands = new TProtectionCommands(*m_service, *this, programOptions(), this);
    m_editorHost =
        std::make_unique<TEditorHost>(*tvNotes, *m_service, programOptions(), [this] { updateStatePanel(); });
    m_formatBar = new TFormatBar(*Editor, *m_editorHost, programOptions(), this);
    m_optionsApplier = new TOptionsApplier(TOptionsNotifier::instance(), *tvNotes, *this, this);
    connectNoteCommands();
    buildMenus();
    readWindowState();
    tvNotesChange();
}

TVellinorForm::~TVellinorForm() {
    // The views let go of the notebooks before the service frees them.
    delete tvNotes;
    tvNotes = nullptr;
}

QString TVellinorForm::ApplicationTitle() const {
    return m_settingsLocation.portable ? kApplicationTitle + kPortableTitleSuffix : kApplicationTitle;
}

void TVellinorForm::buildLayout() {
    resize(1000, 700);
    Editor = new TMyRichEdit(this);
    Editor->setObjectName(QStringLiteral("Editor"));

    tvNotes = new TMyTreeView(*m_service, this);
    tvNotes->setObjectName(QStringLiteral("tvNotes"));
    tvNotes->SetEditor(Editor);
    tvNotes->OnAskPassword = [this](TMyCustomTreeView*, TNodeRoot* notebook, bool& res) {
        res = tvNotesAskPassword(notebook);
    };
    tvNotes->OnExpanding = [this](TMyCustomTreeView*, TTreeNode* node, bool& allow) {
        // Roots stay shut while notebooks load at start-up or while their password is refused.
        allow = node->Level() != 0 || (!m_loadingAtStart && CanModifyNotebook(node));
    };
    connect(tvNotes, &TMyCustomTreeView::changed, this, &TVellinorForm::tvNotesChange);
    connect(tvNotes, &TMyCustomTreeView::focusEditorRequested, this, [this] { Editor->setFocus(); });

    twTree = new QDockWidget(QStringLiteral("Дерево записей"), this);
    twTree->setObjectName(QStringLiteral("twTree"));
    twTree->setWidget(tvNotes);
    addDockWidget(Qt::LeftDockWidgetArea, twTree);
    resizeDocks({twTree}, {260}, Qt::Horizontal);

    TabSheet1 = new NotebookPage(this);
    pcMain = new QTabWidget(this);
    pcMain->setObjectName(QStringLiteral("pcMain"));
    pcMain->addTab(TabSheet1, QStringLiteral("Свойства книжки"));

    m_rightSide = new QStackedWidget(this);
    m_rightSide->addWidget(Editor);
    m_rightSide->addWidget(pcMain);
    setCentralWidget(m_rightSide);

    m_status = new TStatusPanels(statusBar());
    m_status->OnDoubleClick = [this](TStatusPanels::Panel p) {
        if (p == TStatusPanels::State)
            m_notebookCommands->FileSave->trigger();
    };
}

void TVellinorForm::buildMenus() {
    TNotebookCommands& nc = *m_notebookCommands;
    m_fileExit = new QAction(QStringLiteral("Выход"), this);
    m_fileExit->setObjectName(QStringLiteral("FileExit"));
    m_fileExit->setShortcut(QKeySequence(QStringLiteral("Alt+X")));
    connect(m_fileExit, &QAction::triggered, this, [this] {
        m_flags.exiting = true;
        close();
    });
    buildLifecycle();
    m_helpTopics = new QAction(QStringLiteral("Содержание"), this);
    m_helpTopics->setObjectName(QStringLiteral("HelpTopics"));
    m_helpTopics->setShortcut(QKeySequence(Qt::Key_F1));
    connect(m_helpTopics, &QAction::triggered, this, [] { OpenHelpTopic(QStringLiteral("Main")); });
    m_helpAbout = new QAction(QStringLiteral("О программе..."), this);
    m_helpAbout->setObjectName(QStringLiteral("HelpAbout"));
    connect(m_helpAbout, &QAction::triggered, this, [this] {
        showMessage(QStringLiteral("Vellinor, версия 1.5.0\nОрганайзер записных книжек.\n\n%1")
                        .arg(TMyCustomRichEdit::RichEditVersionText()),
                    QStringLiteral("О программе"), MsgIcon::Information);
    });
    m_helpTipOfDay = new QAction(QStringLiteral("Совет дня..."), this);
    m_helpTipOfDay->setObjectName(QStringLiteral("HelpTipOfDay"));
    connect(m_helpTipOfDay, &QAction::triggered, this, &TVellinorForm::showTipOfTheDay);
    m_notebookExpand = new QAction(QStringLiteral("Развернуть"), this);
    m_notebookExpand->setObjectName(QStringLiteral("NotebookExpand"));
    connect(m_notebookExpand, &QAction::triggered, this, [this] {
        if (TTreeNode* node = tvNotes->Selected(); node && CanModifyNotebook(node))
            tvNotes->SetSubtreeExpanded(node, true);
    });
    m_notebookCollapse = new QAction(QStringLiteral("Свернуть"), this);
    m_notebookCollapse->setObjectName(QStringLiteral("NotebookCollapse"));
    connect(m_notebookCollapse, &QAction::triggered, this, [this] {
        if (TTreeNode* node = tvNotes->Selected())
            tvNotes->SetSubtreeExpanded(node, false);
    });

    m_searchCommands = new TSearchCommands(
        *m_service, *tvNotes, *m_settings, [](const QString& topic) { OpenHelpTopic(topic); }, this);
    m_exchangeCommands = new TExchangeCommands(
        *m_service, *tvNotes, programOptions(), *m_settings, [] { return newNoteDefaults(programOptions()); },
        [] { return newNotebookDefaults(programOptions()); }, this);
    connect(m_exchangeCommands, &TExchangeCommands::notesChanged, this, &TVellinorForm::tvNotesChange);
    TExchangeCommands& xc = *m_exchangeCommands;

    QMenu* file = menuBar()->addMenu(QStringLiteral("&Файл"));
    file->addAction(nc.FileNew);
    file->addAction(nc.FileOpen);
    file->addAction(nc.FileOpenLast);
    QMenu* recent = file->addMenu(QStringLiteral("Последние книжки"));
    recent->setObjectName(QStringLiteral("MRUBooks"));
    nc.SetRecentMenu(recent);
    file->addAction(nc.FileClearMRU);
    file->addSeparator();
    file->addAction(nc.FileSave);
    file->addAction(nc.FileSaveAs);
    file->addAction(nc.FileSaveAll);
    file->addSeparator();
    file->addAction(xc.FileImport);
    file->addAction(xc.FileExportNew);
    file->addAction(xc.FileExportNote);
    file->addAction(nc.FileExportBackup);
    file->addSeparator();
    file->addAction(nc.FileClose);
    file->addAction(nc.FileCloseAll);
    file->addAction(nc.FileCloseNotSave);
    file->addSeparator();
    file->addAction(m_away->FileSetAway);
    file->addAction(m_stealth->FileStealth);
    file->addAction(m_fileExit);

    TEditCommands& ec = m_formatBar->Edit();
    TNoteCommands& no = *m_noteCommands;
    TProtectionCommands& pc = *m_protectionCommands;
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Правка"));
    edit->addAction(ec.EditUndo);
    edit->addAction(ec.EditRedo);
    edit->addSeparator();
    edit->addAction(ec.EditCut);
    edit->addAction(ec.EditCopy);
    edit->addAction(ec.EditPaste);
    edit->addAction(ec.EditPasteText);
    edit->addAction(ec.EditPasteSpecial);
    edit->addSeparator();
    edit->addAction(m_searchCommands->EditFindInNotebook);

    QMenu* notebook = menuBar()->addMenu(QStringLiteral("&Книжка"));
    notebook->addAction(no.NotebookAddAsChild);
    notebook->addAction(no.NotebookAddAfter);
    notebook->addAction(no.NotebookAddInherit);
    notebook->addSeparator();
    notebook->addAction(no.NotebookRename);
    notebook->addAction(no.NotebookDelete);
    notebook->addSeparator();
    QMenu* move = notebook->addMenu(QStringLiteral("Переместить"));
    move->setObjectName(QStringLiteral("NotebookMove"));
    move->addAction(no.NotebookMoveUp);
    move->addAction(no.NotebookMoveDown);
    move->addAction(no.NotebookMoveLeft);
    move->addAction(no.NotebookMoveRight);
    QMenu* specials = notebook->addMenu(QStringLiteral("Буфер записей"));
    specials->setObjectName(QStringLiteral("NotebookSpecials"));
    specials->addAction(no.NotebookSpecialsCut);
    specials->addAction(no.NotebookSpecialsCopy);
    specials->addAction(no.NotebookSpecialsPaste);
    specials->addAction(no.NotebookSpecialsPasteAfter);
    notebook->addSeparator();
    notebook->addAction(m_notebookExpand);
    notebook->addAction(m_notebookCollapse);
    notebook->addSeparator();
    notebook->addAction(pc.NotebookRevert);
    notebook->addAction(pc.NotebookRecover);
    notebook->addAction(pc.FilePack);
    notebook->addSeparator();
    notebook->addAction(pc.NoteRootSaving);
    notebook->addAction(pc.NoteRootSecurity);

    m_viewCommands = new TViewCommands(*this, *twTree, *m_status, this);
    QMenu* view = menuBar()->addMenu(QStringLiteral("&Вид"));
    view->setObjectName(QStringLiteral("mView"));
    view->addAction(m_viewCommands->ViewToggleTree);
    view->addAction(m_viewCommands->ViewFullScreen);
    view->addSeparator();
    view->addAction(m_viewCommands->ViewStatus);
    view->addAction(m_viewCommands->ViewClock);
    view->addSeparator();
    view->addMenu(ec.ZoomMenu);
    menuBar()->insertMenu(view->menuAction(), m_formatBar->FormatMenu);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Справка"));
    help->addAction(m_helpTopics);
    help->addAction(m_helpTipOfDay);
    help->addSeparator();
    help->addAction(m_helpAbout);

    m_mainToolBar = addToolBar(QStringLiteral("Главная"));
    m_mainToolBar->setObjectName(QStringLiteral("tbMain"));
    m_mainToolBar->setIconSize(QSize(20, 20));
    const auto icon = [this](QStyle::StandardPixmap p) { return style()->standardIcon(p); };
    nc.FileNew->setIcon(icon(QStyle::SP_FileIcon));
    nc.FileOpen->setIcon(icon(QStyle::SP_DialogOpenButton));
    nc.FileSave->setIcon(icon(QStyle::SP_DialogSaveButton));
    nc.FileClose->setIcon(icon(QStyle::SP_DialogCloseButton));
    m_mainToolBar->addAction(nc.FileNew);
    m_mainToolBar->addAction(nc.FileOpen);
    m_mainToolBar->addAction(nc.FileSave);
    m_mainToolBar->addAction(nc.FileClose);
    for (QAction* add : {no.NotebookAddAsChild, no.NotebookAddAfter, no.NotebookAddInherit})
        add->setIcon(icon(QStyle::SP_FileDialogNewFolder));
    no.NotebookDelete->setIcon(icon(QStyle::SP_TrashIcon));
    m_mainToolBar->addSeparator();
    // The add button repeats whichever add command ran last.
    m_toolbarAdd = new QAction(icon(QStyle::SP_FileDialogNewFolder), no.RememberedAdd()->text(), this);
    m_toolbarAdd->setObjectName(QStringLiteral("tbNotebookAdd"));
    connect(m_toolbarAdd, &QAction::triggered, this, [this] {
        m_noteCommands->RememberedAdd()->trigger();
        followRememberedAdd();
    });
    m_mainToolBar->addAction(m_toolbarAdd);
    m_mainToolBar->addAction(no.NotebookDelete);
    addToolBar(m_formatBar->tbFormat);

    auto* treeMenu = new QMenu(this);
    treeMenu->setObjectName(QStringLiteral("pmTree"));
    treeMenu->addAction(no.NotebookAddAsChild);
    treeMenu->addAction(no.NotebookAddAfter);
    treeMenu->addAction(no.NotebookRename);
    treeMenu->addAction(no.NotebookDelete);
    treeMenu->addSeparator();
    treeMenu->addAction(no.NotebookSpecialsCut);
    treeMenu->addAction(no.NotebookSpecialsCopy);
    treeMenu->addAction(no.NotebookSpecialsPaste);
    treeMenu->addAction(no.NotebookSpecialsPasteAfter);
    treeMenu->addSeparator();
    treeMenu->addAction(m_notebookExpand);
    treeMenu->addAction(m_notebookCollapse);
    treeMenu->addSeparator();
    treeMenu->addAction(nc.FileSave);
    treeMenu->addAction(nc.FileClose);
    tvNotes->SetTreeMenu(treeMenu);
    // A root's menu offers closing its notebook; a note's does not.
    connect(tvNotes, &TMyCustomTreeView::treeMenuAboutToShow, this,
            [&nc](TTreeNode* node) { nc.FileClose->setVisible(!node || node->Level() == 0); });
    connect(treeMenu, &QMenu::aboutToHide, this, [&nc] { nc.FileClose->setVisible(true); });

    // Every named command joins its list; menus kept apart from the window
    // join through their own entry.
    QList<QAction*> named = findChildren<QAction*>();
    for (QMenu* menu : {m_formatBar->Format().FormatUnderlineType, m_formatBar->Format().FormatNumberingType,
                        m_formatBar->Edit().ZoomMenu}) {
        menu->menuAction()->setObjectName(menu->objectName());
        named << menu->menuAction();
    }
    for (QAction* a : named)
        if (const std::optional<CommandGroup> group = CommandGroupOf(a->objectName()))
            m_groupActions[std::size_t(*group)] << a;
    for (QAction* a : findChildren<QAction*>())
        addAction(a); // shortcuts work while the menus are closed
    addAction(nc.FileNew);
}

CommandStateSnapshot TVellinorForm::commandSnapshot() const {
    CommandStateSnapshot snapshot;
    const TTreeNode* selected = tvNotes ? tvNotes->Selected() : nullptr;
    const TNodeRoot* nb = TNotebookService::NotebookOf(selected);
    snapshot.noteSelected = selected && selected->Note();
    snapshot.rootSelected = selected && !selected->Note();
    snapshot.noteReadOnly = snapshot.noteSelected && selected->Note()->HasNoteFlag(nfReadOnly);
    snapshot.notebookReadOnly = nb && nb->HasBookFlag(bfReadOnly);
    snapshot.noteHeld = m_noteCommands && m_noteCommands->Held();
    return snapshot;
}

void TVellinorForm::applyGroups(bool enabled, int mask) {
    const CommandStateSnapshot snapshot = commandSnapshot();
    m_groups = SetActionGroups(m_groups, enabled, mask, snapshot);
    for (std::size_t g = 0; g < std::size_t(CommandGroup::Count); ++g)
        for (QAction* a : m_groupActions[g])
            a->setEnabled(m_groups.IsEnabled(CommandGroup(g)));
    applyExtraStates(snapshot);
}

void TVellinorForm::applyExtraStates(const CommandStateSnapshot& snapshot) {
    const CommandExtraStates extra = ExtraCommandStates(m_groups, snapshot);
    if (m_noteCommands) {
        m_noteCommands->NotebookSpecialsPaste->setEnabled(extra.notebookSpecialsPaste);
        m_noteCommands->NotebookSpecialsPasteAfter->setEnabled(extra.notebookSpecialsPasteAfter);
    }
    m_formatBar->Edit().SetPasteAllowed(extra.pasteAllowed);
}

void TVellinorForm::updateStatePanel() {
    TTreeNode* selected = tvNotes->Selected();
    TNodeRoot* nb = TNotebookService::NotebookOf(selected);
    if (!nb) {
        m_status->SetState(false, false);
        return;
    }
    const bool noteRO = selected->Note() && selected->Note()->HasNoteFlag(nfReadOnly);
    m_status->SetState(nb->IsReadOnly() || noteRO, nb->TreeDirty);
}

void TVellinorForm::tvNotesChange() {
    if (!tvNotes)
        return;
    if (m_service->Count() == 0) {
        Editor->SetSelStart(0);
        Editor->setEnabled(false);
        m_rightSide->setCurrentWidget(pcMain);
        TabSheet1->FillNotebookPage(nullptr);
        applyGroups(false, kMaskAll);
        m_status->SetState(false, false);
        m_status->SetZoom(0, false);
        for (auto p :
             {TStatusPanels::Caret, TStatusPanels::State, TStatusPanels::InsertMode, TStatusPanels::Zoom})
            m_status->SetEnabled(p, false);
        setWindowTitle(ApplicationTitle());
        followRememberedAdd();
        return;
    }
    TTreeNode* selected = tvNotes->Selected();
    TNodeRoot* nb = TNotebookService::NotebookOf(selected);
    if (nb) {
        const QString title = nb->Header.BookName();
        const QString shown = title.isEmpty() ? QFileInfo(nb->FileName).fileName() : title;
        setWindowTitle(shown + QStringLiteral(" - ") + ApplicationTitle());
    } else {
        setWindowTitle(ApplicationTitle());
    }
    if (selected && selected->Note()) {
        TNodeData* note = selected->Note();
        m_rightSide->setCurrentWidget(Editor);
        Editor->setEnabled(true);
        applyGroups(true, kMaskNotebook | kMaskNote);
        applyGroups(note->Record.PlainText() == 0, kMaskRtf);
        applyGroups(Editor->SelLength() > 0, kMaskSelection);
        for (auto p :
             {TStatusPanels::Caret, TStatusPanels::State, TStatusPanels::InsertMode, TStatusPanels::Zoom})
            m_status->SetEnabled(p, true);
        m_status->SetZoom(note->Record.Zoom(), true);
        m_formatBar->NoteBound(true);
        updateCaretPanel();
    } else {
        Editor->SetSelStart(0);
        m_formatBar->NoteBound(false);
        m_noteCommands->ResetRememberedAdd();
        m_rightSide->setCurrentWidget(pcMain);
        pcMain->setCurrentWidget(TabSheet1);
        Editor->setEnabled(false);
        TabSheet1->FillNotebookPage(nb);
        m_status->SetZoom(0, false);
        for (auto p : {TStatusPanels::Caret, TStatusPanels::InsertMode, TStatusPanels::Zoom})
            m_status->SetEnabled(p, false);
        m_status->SetEnabled(TStatusPanels::State, true);
        applyGroups(true, kMaskNotebook);
        applyGroups(false, kMaskNote | kMaskRtf | kMaskSelection);
    }
    updateStatePanel();
    followRememberedAdd();
}

void TVellinorForm::followRememberedAdd() {
    if (!m_toolbarAdd)
        return;
    const QAction* add = m_noteCommands->RememberedAdd();
    m_toolbarAdd->setText(add->text());
    m_toolbarAdd->setEnabled(add->isEnabled());
}

void TVellinorForm::updateCaretPanel() {
    const QPoint caret = Editor->CaretPos();
    m_status->SetCaret(caret.y() + 1, caret.x() + 1);
}

bool TVellinorForm::tvNotesAskPassword(TNodeRoot* notebook) {
    return notebook && AskNotebookPassword(*notebook, isEnabled());
}

bool TVellinorForm::CanModifyNotebook(TTreeNode* node) {
    return tvNotes->CanModifyNotebook(node);
}

void TVellinorForm::SetStatus(const QString& text) {
    m_status->SetStatus(text);
}

TTreeNode* TVellinorForm::SelectedNode() const {
    return tvNotes->Selected();
}

void TVellinorForm::SelectNode(TTreeNode* node) {
    tvNotes->SelectNode(node);
}

void TVellinorForm::StoreEditor(bool store) {
    TTreeNode* selected = tvNotes->Selected();
    if (selected && selected->Note())
        tvNotes->SaveNodeRTF(selected, store);
}

bool TVellinorForm::EditorModified() const {
    return Editor->Modified();
}

void TVellinorForm::ClearEditorModified() {
    Editor->SetModified(false);
}

void TVellinorForm::BeginBulkChange() {
    tvNotes->BeginBulkChange();
}

void TVellinorForm::EndBulkChange() {
    tvNotes->EndBulkChange();
}

int TVellinorForm::AbsoluteIndexOf(TTreeNode* node) const {
    return tvNotes->AbsoluteIndexOf(node);
}

TTreeNode* TVellinorForm::NodeAtAbsoluteIndex(int index) const {
    return tvNotes->NodeAtAbsoluteIndex(index);
}

void TVellinorForm::FocusTree() {
    if (twTree->isVisible())
        tvNotes->setFocus();
}

bool TVellinorForm::ShiftHeld() const {
    if (m_shiftOverride >= 0)
        return m_shiftOverride != 0;
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

void TVellinorForm::ProcessEvents() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TVellinorForm::RestoreMainWindow() {
    if (m_tray) {
        m_tray->SetVisible(programOptions().MinimizeToTray);
        m_tray->WindowMinimized(false);
    }
    show();
    if (isMinimized())
        setWindowState(
            (windowState() & ~Qt::WindowMinimized) |
            (m_windowState == TWindowPlacement::Maximised ? Qt::WindowMaximized : Qt::WindowNoState));
    raise();
    activateWindow();
}

int TVellinorForm::OpenByName(const QString& name) {
    return m_notebookCommands->OpenByName(name);
}

void TVellinorForm::ConnectInstanceServer(TInstanceServer* server) {
    if (!server)
        return;
    TInstanceHandlers handlers;
    handlers.activate = [this] { RestoreMainWindow(); };
    handlers.openByName = [this](const QString& name) {
        // Files handed over while the start-up step runs wait for it.
        if (!isEnabled()) {
            QTimer::singleShot(200, this, [this, name] { OpenByName(name); });
            return;
        }
        OpenByName(name);
    };
    server->setHandlers(std::move(handlers));
}

void TVellinorForm::readWindowState() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    TWindowPlacement placement;
    placement.Read(*m_settings, area, m_settingsLocation.portable);
    m_windowState = placement.state;
    setGeometry(placement.geometry
                        .intersected(area.adjusted(-placement.geometry.width() / 2, 0,
                                                   placement.geometry.width() / 2, 0))
                        .isEmpty()
                    ? QRect(area.x() + area.width() / 10, area.y() + area.height() / 10,
                            area.width() * 8 / 10, area.height() * 8 / 10)
                    : placement.geometry);
}

void TVellinorForm::readListsAndOptions() {
    m_notebookCommands->Recent().Read(*m_settings);
    m_notebookCommands->RecentChanged();
    TVLROptions& options = programOptions();
    setDefaultOptions(options);
    TDesktopIntegration desktop;
    readOptions(*m_settings, options, desktop);
    if (options.AutoLoadPrevious)
        m_notebookCommands->LastSession().Read(*m_settings);
    m_viewCommands->Read(*m_settings);
    m_formatBar->Fonts().UserFonts().Read(*m_settings);
    m_tipNumber = m_settings->readInteger(QStringLiteral("Environment"), QStringLiteral("TipNumber"), 0);
    applyOptions();
}

void TVellinorForm::applyOptions() {
    // Every listener of the options (the tree, the editor, this window) takes them at once.
    TOptionsNotifier::instance().apply(programOptions());
    m_formatBar->ApplyOptions();
}

void TVellinorForm::SetTreeAsPanel(bool asPanel) {
    twTree->setFeatures(asPanel ? QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable
                                : QDockWidget::NoDockWidgetFeatures);
    if (!asPanel) {
        twTree->setFloating(false);
        twTree->setTitleBarWidget(new QWidget(twTree));
    } else if (twTree->titleBarWidget()) {
        delete twTree->titleBarWidget();
        twTree->setTitleBarWidget(nullptr);
    }
}

void TVellinorForm::SetNotesListLook(const QFont&, quint32) {
    // The notes list is not part of this window yet.
}

void TVellinorForm::SetTrayIcon(bool shown) {
    if (m_tray)
        m_tray->SetVisible(shown);
}

void TVellinorForm::MinimizeMainWindow() {
    showMinimized();
}

void TVellinorForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !m_tray)
        return;
    const bool minimized = isMinimized();
    if (minimized && !m_wasMinimized && !m_flags.quiet && !m_flags.closing) {
        const TVLROptions& options = programOptions();
        if (options.SaveOnMinimize && !ShiftHeld())
            m_notebookCommands->SaveAll();
        m_stealth->WindowMinimized();
        // Bodies of clean notes are read again when needed; the shown note keeps its own.
        if (options.FreeUnusedRes)
            tvNotes->UnloadCleanNotes();
    }
    m_wasMinimized = minimized;
    m_tray->WindowMinimized(minimized);
    // Minimised to the tray: the window leaves the task bar until the tray brings it back.
    if (minimized && programOptions().MinimizeToTray && m_tray->TakesWindow())
        QTimer::singleShot(0, this, [this] {
            if (isMinimized())
                hide();
        });
}

void TVellinorForm::buildLifecycle() {
    m_away = new TAwayMode(*m_service, this);
    m_away->Suspended = [this] { return m_flags.quiet || m_flags.closing; };
    m_away->OnAway = [this] {
        if (TNodeRoot* nb = TNotebookService::NotebookOf(tvNotes->Selected()); nb && nb->IsLocked())
            tvNotes->SelectNode(nb->RootNode);
        tvNotesChange();
    };
    m_tray = new TTrayIcon(*this, m_fileExit, this);
    m_hotKey = new TGlobalHotKey(this);
    m_stealth = new TStealthMode(*this, programOptions(), this);
    connect(m_hotKey, &TGlobalHotKey::activated, m_stealth, &TStealthMode::HotKeyPressed);
    connect(m_tray, &TTrayIcon::areaLost, this, [this] {
        if (isHidden())
            showMinimized();
    });
    new TSessionEnd(
        [this] {
            m_flags.sessionEnd = true;
            const bool closed = close();
            m_flags.sessionEnd = false;
            return closed;
        },
        this);
    new TAppCommandKeys(
        *this, [this](const QString& name) { return findChild<QAction*>(name); }, this);
}

void TVellinorForm::SetHotKey(bool enable, const QKeySequence& key, bool plusWin) {
    if (!enable) {
        m_hotKey->Unregister();
        return;
    }
    if (!m_hotKey->Register(key, plusWin))
        showMessage(m_hotKey->ErrorText(), kAttention, MsgIcon::Warning);
}

bool TVellinorForm::HotKeyHeld() const {
    return m_hotKey->IsRegistered();
}

QString TVellinorForm::HotKeyProblem() const {
    return m_hotKey->ErrorText();
}

void TVellinorForm::RemoveTrayIcon() {
    m_tray->SetVisible(false);
}

void TVellinorForm::SetAway() {
    m_away->SetAway();
}

void TVellinorForm::writeSavedState() {
    try {
        TWindowPlacement placement;
        placement.state = isMaximized() ? TWindowPlacement::Maximised : TWindowPlacement::Normal;
        if (isMinimized())
            placement.state = m_windowState == TWindowPlacement::Maximised ? TWindowPlacement::Maximised
                                                                           : TWindowPlacement::Normal;
        placement.geometry = normalGeometry().isValid() ? normalGeometry() : geometry();
        placement.Write(*m_settings);
        m_notebookCommands->Recent().Write(*m_settings);
        if (programOptions().AutoLoadPrevious)
            m_notebookCommands->LastSession().Write(*m_settings);
        m_settings->writeInteger(QStringLiteral("Environment"), QStringLiteral("TipNumber"), m_tipNumber);
        m_viewCommands->Write(*m_settings);
        m_formatBar->Fonts().UserFonts().Write(*m_settings);
        TDesktopIntegration desktop;
        writeOptions(*m_settings, programOptions(), desktop);
    } catch (const std::exception&) {
        showMessage(QStringLiteral("Не удалось сохранить настройки!"), QStringLiteral("Ошибка"),
                    MsgIcon::Error);
    }
}

void TVellinorForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (!QFileInfo::exists(TExtLib::libraryFolder() + QStringLiteral("/libVlrExt.so"))) {
        showMessage(kExtensionMissing, QStringLiteral("Ошибка"), MsgIcon::Error);
        m_flags.closing = true;
        QMetaObject::invokeMethod(
            qApp, [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
        return;
    }
    readListsAndOptions();
    TVellinorRegistry registry;
    registerProgramFolder(registry, QCoreApplication::applicationDirPath(), m_settingsLocation.portable);
    setAcceptDrops(true);
    if (programOptions().MinimizeOnStart || m_commandLine.startMinimized())
        QTimer::singleShot(0, this, [this] { showMinimized(); });
    else if (m_windowState == TWindowPlacement::Maximised)
        setWindowState(windowState() | Qt::WindowMaximized);
    if (m_splash) {
        m_splash->close();
        m_splash->deleteLater();
    }
    QMetaObject::invokeMethod(this, &TVellinorForm::DeferredStartup, Qt::QueuedConnection);
}

void TVellinorForm::DeferredStartup() {
    setEnabled(false);
    m_flags.quiet = true;
    m_loadingAtStart = true;
    tvNotes->BeginBulkChange();
    TLastSession& last = m_notebookCommands->LastSession();
    const int lastSelected = last.selected;
    if (programOptions().AutoLoadPrevious && !ShiftHeld()) {
        m_service->Forest().BeginUpdate();
        for (const QString& file : std::as_const(last.files))
            m_notebookCommands->OpenByName(file);
        m_service->Forest().EndUpdate();
        last.files.clear();
    }
    const QStringList names = m_commandLine.startupNames();
    for (const QString& name : names)
        m_notebookCommands->OpenByName(name);
    if (m_service->Count() > 0 && !m_commandLine.hasArguments()) {
        const int count = tvNotes->NodeCount();
        TTreeNode* node = tvNotes->NodeAtAbsoluteIndex(qBound(0, lastSelected, count - 1));
        if (node) {
            TNodeRoot* nb = TNotebookService::NotebookOf(node);
            tvNotes->SelectNode(nb && TMyCustomTreeView::NeedsPassword(nb) ? nb->RootNode : node);
        }
    }
    m_loadingAtStart = false;
    setEnabled(true);
    m_flags.quiet = false;
    // The selection made while loading is no change of the notebooks.
    QList<TNodeRoot*> clean;
    for (TNodeRoot* nb : m_service->Notebooks())
        if (!nb->TreeDirty)
            clean << nb;
    tvNotes->EndBulkChange();
    for (TNodeRoot* nb : m_service->Notebooks())
        if (clean.contains(nb))
            nb->TreeDirty = false;
    tvNotesChange();
    if (TTreeNode* selected = tvNotes->Selected())
        tvNotes->scrollTo(tvNotes->IndexOf(selected));
    m_commandLine.clear();
    if (programOptions().ShowTipOfTheDay)
        QMetaObject::invokeMethod(this, &TVellinorForm::showTipOfTheDay, Qt::QueuedConnection);
}

void TVellinorForm::showTipOfTheDay() {
    TfrmTotd dialog(m_tipNumber, programOptions().ShowTipOfTheDay, this);
    dialog.exec();
    m_tipNumber = dialog.TipNumber();
    programOptions().ShowTipOfTheDay = dialog.ShowAtStart();
}

void TVellinorForm::closeEvent(QCloseEvent* event) {
    if (m_flags.closing) {
        event->accept();
        return;
    }
    const TVLROptions& options = programOptions();
    if (options.MinimizeOnClose && !m_flags.exiting && !m_flags.sessionEnd) {
        event->ignore();
        showMinimized();
        return;
    }
    m_flags.exiting = true;
    m_flags.closing = true;
    if (options.AutoSaveOnExit)
        m_notebookCommands->SaveAll();
    m_notebookCommands->CloseAll();
    // A Cancel answered while closing keeps the program, also when the session is ending.
    if (!m_flags.exiting) {
        m_flags.closing = false;
        event->ignore();
        return;
    }
    setEnabled(false);
    writeSavedState();
    if (m_tray)
        m_tray->SetVisible(false);
    setEnabled(true);
    event->accept();
}

void TVellinorForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TVellinorForm::dropEvent(QDropEvent* event) {
    if (FilesDropped(event->mimeData()->urls()))
        event->acceptProposedAction();
}

bool TVellinorForm::FilesDropped(const QList<QUrl>& urls) {
    QStringList files;
    for (const QUrl& url : urls)
        if (url.isLocalFile())
            files << url.toLocalFile();
    if (files.isEmpty())
        return false;
    // Opened after the drop has ended: message boxes inside a drop confuse the drag source.
    QTimer::singleShot(0, this, [this, files] {
        for (const QString& file : files)
            OpenByName(file);
    });
    return true;
}

void TVellinorForm::connectNoteCommands() {
    connect(tvNotes, &TMyCustomTreeView::deleteRequested, m_noteCommands, &TNoteCommands::DeleteSelected);
    connect(tvNotes, &TMyCustomTreeView::labelEdited, m_noteCommands, &TNoteCommands::LabelEdited);
    connect(m_noteCommands, &TNoteCommands::bufferChanged, this, &TVellinorForm::CommandStatesChanged);
    tvNotes->DragDrop()->OnDrop = [this](TTreeNode* source, TTreeNode* target,
                                         const TNotebookService::MoveOrCopy& how) {
        return m_noteCommands->MoveOrCopy(source, target, how);
    };
    // A lock (also the away timer's) stores the editor first and shows the collapsed notebook after.
    connect(m_service.get(), &TNotebookService::notebookAboutToLock, this, [this](TNodeRoot* nb) {
        if (TNotebookService::NotebookOf(tvNotes->Selected()) == nb)
            StoreEditor(true);
    });
    connect(m_service.get(), &TNotebookService::notebookLocked, this, [this] { tvNotesChange(); });
    connect(m_formatBar, &TFormatBar::caretMoved, this,
            [this](int line, int column) { m_status->SetCaret(line, column); });
    connect(m_formatBar, &TFormatBar::zoomChanged, this,
            [this](int percent) { m_status->SetZoom(percent, true); });
    connect(m_formatBar, &TFormatBar::selectionGroupChanged, this, [this](bool hasSelection) {
        if (tvNotes->Selected() && tvNotes->Selected()->Note())
            applyGroups(hasSelection, kMaskSelection);
    });
    new TMouseFocus(Editor, [this] { return m_editorHost->MayFollowMouse() && isActiveWindow(); });
}

bool TVellinorForm::EditingLabel() const {
    return tvNotes->EditingLabel();
}

void TVellinorForm::SendKeyToLabelEditor(int key) {
    tvNotes->SendKeyToLabelEditor(key);
}

void TVellinorForm::EditLabel(TTreeNode* node, const QString& text) {
    tvNotes->EditLabel(node, text);
}

void TVellinorForm::ResetEditor() {
    ApplyNewNoteDefaults(*Editor, programOptions());
}

void TVellinorForm::CommandStatesChanged() {
    tvNotesChange();
    applyExtraStates(commandSnapshot());
}

void TVellinorForm::ShowStoredExpansion(TTreeNode* node) {
    if (!node)
        return;
    tvNotes->ShowExpanded(node, node->Expanded());
    for (int i = 0; i < node->Count(); ++i)
        ShowStoredExpansion(node->Child(i));
}

bool TVellinorForm::SaveNotebook(TTreeNode* root) {
    return m_notebookCommands->SaveNotebook(root) == snSaved;
}

QList<TNodeData*> TVellinorForm::ChooseNotesToRecover(TNotebookBinding& target) {
    return ChooseNotesToRecoverDialog(this, target);
}

void TVellinorForm::NotebookOptionsChanged(TNodeRoot&) {
    tvNotesChange();
}

} // namespace vlr
