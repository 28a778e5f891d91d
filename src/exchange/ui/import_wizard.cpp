#include "exchange/ui/import_wizard.h"

#include "app/dialogs/bound_dialog.h"
#include "core/name_loss.h"
#include "core/number_text.h"
#include "storage/note_forest.h"
#include "storage/notebook_binding.h"

#include <QDragEnterEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyle>
#include <QVBoxLayout>

namespace vlr {

TImportFileList::TImportFileList(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("lvFiles"));
    setHeaderLabels({QStringLiteral("Имя"), QStringLiteral("Путь"), QStringLiteral("Размер"),
                     QStringLiteral("Тип"), QStringLiteral("ИмяФайла")});
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);
}

void TImportFileList::paintEvent(QPaintEvent* event) {
    QTreeWidget::paintEvent(event);
    if (topLevelItemCount() > 0)
        return;
    QPainter painter(viewport());
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawText(viewport()->rect(), Qt::AlignCenter,
                     QStringLiteral("Перенесите файлы из Проводника для импорта..."));
}

void TImportFileList::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TImportFileList::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TImportFileList::dropEvent(QDropEvent* event) {
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    event->acceptProposedAction();
    emit filesDropped(files);
}

TfrmImport::TfrmImport(TNotebookService& service, QWidget* parent) : QDialog(parent), m_service(service) {
    setObjectName(QStringLiteral("TfrmImport"));
    setWindowTitle(QStringLiteral("Мастер импорта"));
    resize(680, 420);
    auto* layout = new QVBoxLayout(this);
    m_stepLabel = new QLabel;
    m_titleLabel = new QLabel;
    QFont bold = m_titleLabel->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    m_titleLabel->setFont(bold);
    auto* head = new QHBoxLayout;
    head->addWidget(m_stepLabel);
    head->addWidget(m_titleLabel, 1);
    layout->addLayout(head);

    m_stack = new QStackedWidget;
    auto* files = new QWidget;
    auto* fv = new QVBoxLayout(files);
    fv->setContentsMargins(0, 0, 0, 0);
    lvFiles = new TImportFileList;
    btnAdd = new QPushButton(QStringLiteral("Добавить..."));
    btnRemove = new QPushButton(QStringLiteral("Удалить"));
    auto* fileButtons = new QHBoxLayout;
    fileButtons->addWidget(btnAdd);
    fileButtons->addWidget(btnRemove);
    fileButtons->addStretch();
    fv->addWidget(lvFiles, 1);
    fv->addLayout(fileButtons);
    m_stack->addWidget(files);

    auto* options = new QWidget;
    auto* ov = new QVBoxLayout(options);
    auto* group = new QGroupBox(QStringLiteral("Импорт файлов в несколько подзаписей текущей записи"));
    auto* gv = new QVBoxLayout(group);
    rbOne = new QRadioButton(QStringLiteral("Импорт всех файлов в одну запись"));
    rbPlain = new QRadioButton(QStringLiteral("Построение списка записей"));
    rbMulti = new QRadioButton(QStringLiteral("Построение иерархической структуры записей"));
    rbOne->setObjectName(QStringLiteral("rbOne"));
    rbPlain->setObjectName(QStringLiteral("rbPlain"));
    rbMulti->setObjectName(QStringLiteral("rbMulti"));
    rbOne->setChecked(true);
    gv->addWidget(rbOne);
    gv->addWidget(rbPlain);
    gv->addWidget(rbMulti);
    ov->addWidget(group);
    ov->addStretch();
    m_stack->addWidget(options);
    layout->addWidget(m_stack, 1);

    auto* buttons = new QHBoxLayout;
    btnBack = new QPushButton(QStringLiteral("<< &Назад"));
    btnNext = new QPushButton(QStringLiteral("&Далее >>"));
    btnCancel = new QPushButton(QStringLiteral("Отмена"));
    btnNext->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(btnBack);
    buttons->addWidget(btnNext);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);

    connect(btnAdd, &QPushButton::clicked, this, [this] {
        const QStringList chosen = QFileDialog::getOpenFileNames(
            this, QString(), QString(), ImportFilters(m_converters).join(QStringLiteral(";;")));
        AddFiles(chosen, false);
    });
    connect(btnRemove, &QPushButton::clicked, this, &TfrmImport::removeSelected);
    connect(lvFiles, &TImportFileList::filesDropped, this,
            [this](const QStringList& f) { AddFiles(f, true); });
    connect(btnBack, &QPushButton::clicked, this, [this] { showStep(1); });
    connect(btnNext, &QPushButton::clicked, this, [this] {
        if (m_step == 1)
            Next();
        else
            Finish();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmImport::~TfrmImport() = default;

void TfrmImport::Start(TTreeNode* parent, const TImportSettings& settings) {
    m_target = std::make_unique<TNotebookBinding>(m_service, parent);
    CancelWhenLost(*this, *m_target);
    m_settings = settings;
    m_converters = ImportConverters();
    m_rows.clear();
    m_outcome = {};
    refillList();
    showStep(1);
}

void TfrmImport::AddFiles(const QStringList& files, bool sortByFolder) {
    const QString accepted = AcceptedExtensions(m_converters);
    for (const QString& f : files)
        if (const std::optional<TImportRow> row = MakeImportRow(f, accepted, m_converters))
            m_rows.append(*row);
    if (sortByFolder)
        SortRowsByFolder(m_rows);
    refillList();
}

void TfrmImport::refillList() {
    lvFiles->clear();
    const QIcon icon = style()->standardIcon(QStyle::SP_FileIcon);
    for (const TImportRow& row : std::as_const(m_rows)) {
        auto* item = new QTreeWidgetItem(
            lvFiles, {row.displayName, row.folder, groupedNumber(row.size), row.typeName, row.fileName});
        item->setIcon(0, icon);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    lvFiles->header()->resizeSections(QHeaderView::ResizeToContents);
    btnNext->setEnabled(!m_rows.isEmpty());
    lvFiles->viewport()->update();
}

void TfrmImport::removeSelected() {
    QList<int> rows;
    for (QTreeWidgetItem* item : lvFiles->selectedItems())
        rows << lvFiles->indexOfTopLevelItem(item);
    std::sort(rows.begin(), rows.end(), std::greater<>());
    for (int r : rows)
        m_rows.removeAt(r);
    refillList();
}

void TfrmImport::showStep(int step) {
    m_step = step;
    m_stack->setCurrentIndex(step - 1);
    m_stepLabel->setText(QStringLiteral("Шаг %1").arg(step));
    m_titleLabel->setText(step == 1 ? QStringLiteral("Выберите файлы для импорта")
                                    : QStringLiteral("Укажите опции импорта"));
    btnBack->setEnabled(step == 2);
    btnNext->setText(step == 1 ? QStringLiteral("&Далее >>") : QStringLiteral("&Завершить"));
    btnNext->setEnabled(!m_rows.isEmpty());
}

void TfrmImport::Next() {
    if (!m_rows.isEmpty())
        showStep(2);
}

void TfrmImport::Finish() {
    if (!m_target || !m_target->Node() || m_rows.isEmpty())
        return;
    m_settings.mode = rbPlain->isChecked()   ? TImportMode::NoteList
                      : rbMulti->isChecked() ? TImportMode::NoteTree
                                             : TImportMode::OneNote;
    // File and folder names become note names; the user stays in the wizard
    // rather than have them lose characters unasked.
    if (!confirmNameLoss(ImportedNames(m_rows, m_settings.mode).join(QString())))
        return;
    // The question let events run: the parent is asked for again.
    TTreeNode* parent = m_target->Node();
    if (!parent)
        return;
    TConverterRun run;
    m_outcome = ImportFiles(m_service, parent, m_rows, m_settings, m_converters, run);
    accept();
}

} // namespace vlr
