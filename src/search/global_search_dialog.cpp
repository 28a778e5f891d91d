#include "search/global_search_dialog.h"

#include "config/settingsfile.h"
#include "editor/richedit.h"
#include "libs/extlib.h"
#include "search/search_results_view.h"
#include "search/search_settings.h"
#include "storage/node_data.h"
#include "tree/MyTreeView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace vlr {

namespace {

// How long a double click waits for the tree to show the note.
constexpr int kSelectTimeoutMs = 5000;

// Controls carry the names the program's other parts and tests know them by.
template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

TfrmGlobalSearch::TfrmGlobalSearch(TNotebookService& service, TNoteTextCache* cache, TMyTreeView& tree,
                                   TSettingsFile& settings, HelpOpener help, QWidget* parent)
    : QDialog(parent), m_tree(tree), m_settings(settings), m_help(std::move(help)),
      m_search(new TGlobalSearch(service, cache, this)) {
    setObjectName(QStringLiteral("frmGlobalSearch"));
    setWindowTitle(kGlobalSearchCaption);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    buildControls();
    connect(m_search, &TGlobalSearch::rememberedTextsChanged, this, &TfrmGlobalSearch::fillRemembered);
    connect(m_search, &TGlobalSearch::started, this, &TfrmGlobalSearch::searchStarted);
    connect(m_search, &TGlobalSearch::progressChanged, this, &TfrmGlobalSearch::searchProgress);
    connect(m_search, &TGlobalSearch::finished, this, &TfrmGlobalSearch::searchFinished);
    // The note choice follows the selection while the dialog is open.
    connect(&m_tree, &TMyCustomTreeView::changed, this, &TfrmGlobalSearch::updateNoteChoice);
}

TfrmGlobalSearch::~TfrmGlobalSearch() = default;

void TfrmGlobalSearch::buildControls() {
    edText = named(new QComboBox(this), "edText");
    edText->setEditable(true);
    edText->setInsertPolicy(QComboBox::NoInsert);
    edText->setMaxVisibleItems(kRememberedTexts);
    edText->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* textLabel = new QLabel(QStringLiteral("&Найти:"), this);
    textLabel->setBuddy(edText);

    auto* where = new QGroupBox(QStringLiteral("Где искать"), this);
    rbNote = named(new QRadioButton(QStringLiteral("Тек. запись + подзаписи"), where), "rbNote");
    rbNotebook = named(new QRadioButton(QStringLiteral("Текущая книжка"), where), "rbNotebook");
    rbAllNB = named(new QRadioButton(QStringLiteral("Все открытые книжки"), where), "rbAllNB");
    rbNote->setChecked(true);
    auto* whereLayout = new QVBoxLayout(where);
    whereLayout->addWidget(rbNote);
    whereLayout->addWidget(rbNotebook);
    whereLayout->addWidget(rbAllNB);

    auto* how = new QGroupBox(QStringLiteral("Параметры"), this);
    cbRegExp = named(new QCheckBox(QStringLiteral("Исп. регулярные выражения"), how), "cbRegExp");
    cbCaseSen = named(new QCheckBox(QStringLiteral("Регистро-зависимый"), how), "cbCaseSen");
    cbMatchWords = named(new QCheckBox(QStringLiteral("Только целые слова"), how), "cbMatchWords");
    lbMatchMode = new QLabel(QStringLiteral("Режим совпадения:"), how);
    cbMatchMode = named(new QComboBox(how), "cbMatchMode");
    cbMatchMode->addItems(
        {QStringLiteral("ТОЧНАЯ фраза"), QStringLiteral("ЛЮБОЕ из слов"), QStringLiteral("ВСЕ слова")});
    lbMatchMode->setBuddy(cbMatchMode);
    lbRegExpHelp = new QLabel(QStringLiteral("<a href=\"#\">Что за регул. выражения?</a>"), how);
    lbRegExpHelp->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    auto* howLayout = new QGridLayout(how);
    howLayout->addWidget(cbRegExp, 0, 0, 1, 2);
    howLayout->addWidget(cbCaseSen, 1, 0, 1, 2);
    howLayout->addWidget(cbMatchWords, 2, 0, 1, 2);
    howLayout->addWidget(lbMatchMode, 3, 0);
    howLayout->addWidget(cbMatchMode, 3, 1);
    howLayout->addWidget(lbRegExpHelp, 4, 0, 1, 2);

    btnFind = named(new QPushButton(QStringLiteral("Искать!"), this), "btnFind");
    btnFind->setDefault(true);
    btnCancelFind = named(new QPushButton(QStringLiteral("Отменить поиск"), this), "btnCancelFind");
    btnCancelFind->hide();
    btnClear = named(new QPushButton(QStringLiteral("Очистить"), this), "btnClear");
    btnClose = named(new QPushButton(QStringLiteral("&Закрыть"), this), "btnClose");
    btnHelp = named(new QPushButton(QStringLiteral("&Справка"), this), "btnHelp");
    for (QPushButton* b : {btnCancelFind, btnClear, btnClose, btnHelp})
        b->setAutoDefault(false);
    lbProgress = new QLabel(QStringLiteral("Поиск:"), this);
    pbProgress = named(new QProgressBar(this), "pbProgress");
    pbProgress->setTextVisible(false);
    lbProgress->hide();
    pbProgress->hide();

    LV = new TSearchResultsView(m_search->Results(), &m_tree, this);

    auto* textRow = new QHBoxLayout;
    textRow->addWidget(textLabel);
    textRow->addWidget(edText, 1);
    textRow->addWidget(btnFind);
    textRow->addWidget(btnCancelFind);
    auto* choices = new QHBoxLayout;
    choices->addWidget(where);
    choices->addWidget(how, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(btnClear);
    buttons->addWidget(btnClose);
    buttons->addStretch(1);
    choices->addLayout(buttons);
    // The progress takes the help button's place while a notebook is searched.
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lbProgress);
    bottom->addWidget(pbProgress, 1);
    bottom->addStretch(0);
    bottom->addWidget(btnHelp);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(textRow);
    layout->addLayout(choices);
    layout->addWidget(LV, 1);
    layout->addLayout(bottom);
    resize(640, 480);

    connect(btnFind, &QPushButton::clicked, this, &TfrmGlobalSearch::StartSearch);
    connect(btnCancelFind, &QPushButton::clicked, m_search, &TGlobalSearch::Cancel);
    connect(btnClear, &QPushButton::clicked, this, [this] { m_search->Results().Clear(); });
    connect(btnClose, &QPushButton::clicked, this, &TfrmGlobalSearch::closeAndSave);
    connect(btnHelp, &QPushButton::clicked, this, [this] {
        if (m_help)
            m_help(kGlobalSearchHelpTopic);
    });
    connect(lbRegExpHelp, &QLabel::linkActivated, this, [this] {
        if (m_help)
            m_help(kRegExpHelpTopic);
    });
    connect(cbRegExp, &QCheckBox::toggled, this, &TfrmGlobalSearch::regExpToggled);
    connect(LV, &QAbstractItemView::clicked, this, [this](const QModelIndex& i) { ShowResult(i.row()); });
    connect(LV, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& i) { GoToResult(i.row()); });
}

TSearchOptions TfrmGlobalSearch::Options() const {
    TSearchOptions o;
    o.text = edText->currentText();
    o.regExp = cbRegExp->isChecked();
    o.caseSensitive = cbCaseSen->isChecked();
    o.matchWords = cbMatchWords->isChecked();
    o.matchMode = TMatchMode(qBound(0, cbMatchMode->currentIndex(), 2));
    o.scope = rbAllNB->isChecked()      ? TSearchScope::AllNotebooks
              : rbNotebook->isChecked() ? TSearchScope::CurrentNotebook
                                        : TSearchScope::NoteAndDescendants;
    return o;
}

void TfrmGlobalSearch::updateNoteChoice() {
    TTreeNode* selected = m_tree.Selected();
    rbNote->setEnabled(selected && selected->Note());
    if (rbNote->isChecked() && !rbNote->isEnabled())
        rbNotebook->setChecked(true);
}

void TfrmGlobalSearch::regExpToggled(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{cbCaseSen, cbMatchWords, cbMatchMode, lbMatchMode})
        w->setEnabled(!on);
}

void TfrmGlobalSearch::fillRemembered() {
    const QString text = edText->currentText();
    edText->clear();
    edText->addItems(m_search->RememberedTexts());
    edText->setCurrentIndex(-1);
    edText->setEditText(text);
}

void TfrmGlobalSearch::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    updateNoteChoice();
    if (TExtLib::instance().IsAvailable())
        readSettings();
}

void TfrmGlobalSearch::readSettings() {
    const TGlobalFindSettings s = ReadGlobalFindSettings(m_settings, size());
    resize(s.dialogSize.expandedTo(minimumSizeHint()));
    m_search->SetRememberedTexts(s.items);
    switch (s.whereToFind) {
    case TSearchScope::NoteAndDescendants:
        (rbNote->isEnabled() ? rbNote : rbNotebook)->setChecked(true);
        break;
    case TSearchScope::CurrentNotebook:
        rbNotebook->setChecked(true);
        break;
    case TSearchScope::AllNotebooks:
        rbAllNB->setChecked(true);
        break;
    }
    cbRegExp->setChecked(s.useRegExp);
    regExpToggled(s.useRegExp);
    cbCaseSen->setChecked(s.caseSensitive);
    cbMatchWords->setChecked(s.matchWords);
    cbMatchMode->setCurrentIndex(int(s.matchMode));
}

void TfrmGlobalSearch::closeAndSave() {
    TGlobalFindSettings s;
    s.dialogSize = size();
    s.items = m_search->RememberedTexts();
    const TSearchOptions o = Options();
    s.whereToFind = o.scope;
    s.useRegExp = o.regExp;
    s.caseSensitive = o.caseSensitive;
    s.matchWords = o.matchWords;
    s.matchMode = o.matchMode;
    // A settings file that cannot be written does not keep the dialog open.
    (void)WriteGlobalFindSettings(m_settings, s);
    close();
}

void TfrmGlobalSearch::StartSearch() {
    const TGlobalSearch::StartResult r = m_search->Start(Options(), m_tree.Selected());
    if (r.outcome != TGlobalSearch::Outcome::BadPattern)
        return;
    edText->setFocus();
    edText->lineEdit()->setSelection(r.errorPosition, 1);
}

void TfrmGlobalSearch::searchStarted() {
    btnClear->setEnabled(false);
    btnClose->setEnabled(false);
    btnFind->hide();
    btnCancelFind->show();
    btnCancelFind->setDefault(true);
    searchProgress();
}

void TfrmGlobalSearch::searchProgress() {
    const TGlobalSearch::Progress p = m_search->CurrentProgress();
    btnHelp->setVisible(!p.visible);
    lbProgress->setVisible(p.visible);
    pbProgress->setVisible(p.visible);
    if (p.visible) {
        pbProgress->setRange(0, qMax(0, p.maximum));
        pbProgress->setValue(p.position);
    }
}

void TfrmGlobalSearch::searchFinished() {
    btnClear->setEnabled(true);
    btnClose->setEnabled(true);
    btnCancelFind->hide();
    btnFind->show();
    btnFind->setDefault(true);
    lbProgress->hide();
    pbProgress->hide();
    btnHelp->show();
}

void TfrmGlobalSearch::ShowResult(int row) {
    if (row < 0 || row >= m_search->Results().rowCount())
        return;
    if (TTreeNode* node = m_search->Results().Row(row).note->TreeNode)
        m_tree.scrollTo(m_tree.IndexOf(node));
}

void TfrmGlobalSearch::GoToResult(int row) {
    if (row < 0 || row >= m_search->Results().rowCount())
        return;
    // Copied: the rows may change while input is processed below.
    const TSearchRow r = m_search->Results().Row(row);
    if (!r.note->TreeNode)
        return;
    m_tree.SelectNode(r.note->TreeNode);
    const QDeadlineTimer deadline(kSelectTimeoutMs);
    while ((m_tree.ChangePending() || m_tree.Busy()) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    // Posted, so that the editor has shown the note first. A title row's
    // position lies in the title: the body keeps its own caret then.
    QPointer<TMyRichEdit> editor = m_tree.Editor();
    QPointer<TMyTreeView> tree = &m_tree;
    QTimer::singleShot(0, editor, [editor, tree, r] {
        if (!editor || !tree || tree->CurrentNote() != r.note || r.title)
            return;
        const int length = editor->TextLength();
        const int start = qBound(0, r.position - 1, length);
        editor->SetSelection(start, qMin(length, start + r.length), true);
    });
}

} // namespace vlr
