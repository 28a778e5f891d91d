#include "exchange/ui/export_wizard.h"

#include "app/dialogs/bound_dialog.h"
#include "app/dialogs/help.h"
#include "config/options.h"
#include "core/messages.h"
#include "core/password_prompt.h"
#include "editor/clipboard_formats.h"
#include "exchange/exchange_texts.h"
#include "exchange/multi_export.h"
#include "exchange/note_targets.h"
#include "exchange/note_text.h"
#include "exchange/safe_write.h"
#include "exchange/single_export.h"
#include "exchange/struct_export.h"
#include "exchange/text_formats.h"
#include "exchange/ui/export_tree_model.h"
#include "rtf/plain_body.h"
#include "rtf/rtf.h"
#include "storage/notebook_binding.h"
#include "storage/notebook_service.h"
#include "tree/MyTreeView.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTreeView>
#include <QVBoxLayout>

namespace vlr {

namespace {

enum TargetSide { sidePreview = 0, sideFolder = 1, sideNotebook = 2 };
constexpr int kEntryRole = Qt::UserRole + 1;

// A copy of the document shown at 75 % or 100 %.
QTextDocument* previewCopy(const QTextDocument* doc, bool zoomed, QObject* parent) {
    QTextDocument* copy = doc->clone(parent);
    if (!zoomed)
        return copy;
    QFont font = copy->defaultFont();
    font.setPointSizeF(font.pointSizeF() * 0.75);
    copy->setDefaultFont(font);
    for (QTextBlock b = copy->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            QTextCharFormat format = f.charFormat();
            if (format.hasProperty(QTextFormat::FontPointSize)) {
                format.setFontPointSize(format.fontPointSize() * 0.75);
                QTextCursor c(copy);
                c.setPosition(f.position());
                c.setPosition(f.position() + f.length(), QTextCursor::KeepAnchor);
                c.setCharFormat(format);
            }
        }
    }
    return copy;
}

QString filterOf(const QString& name, const QString& patterns) {
    return QStringLiteral("%1 (%2);;*.* (*)").arg(name, patterns);
}

} // namespace

TfrmExp::TfrmExp(const TExchangeContext& context, TExportTree::Command command, QWidget* parent)
    : QDialog(parent), m_context(context), m_command(command),
      m_section(command == TExportTree::Command::ExportNote ? kExportNoteOptionsSection
                                                            : kExportOptionsSection) {
    setObjectName(QStringLiteral("TfrmExp"));
    setWindowTitle(QStringLiteral("Мастер экспорта"));
    resize(760, 520);
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
    m_pages.Build(m_stack);
    layout->addWidget(m_stack, 1);
    auto* buttons = new QHBoxLayout;
    m_help = new QPushButton(QStringLiteral("&Справка"));
    m_back = new QPushButton(QStringLiteral("<< Назад"));
    m_next = new QPushButton(QStringLiteral("Далее >>"));
    m_close = new QPushButton(QStringLiteral("&Закрыть"));
    m_next->setDefault(true);
    buttons->addWidget(m_help);
    buttons->addStretch();
    buttons->addWidget(m_back);
    buttons->addWidget(m_next);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);

    m_model = new TExportTreeModel(this);
    m_model->SetTree(&m_tree);
    m_pages.tvExport->setModel(m_model);

    connect(m_help, &QPushButton::clicked, this, [] { OpenHelpTopic(QStringLiteral("DialogExport")); });
    connect(m_back, &QPushButton::clicked, this, &TfrmExp::Back);
    connect(m_next, &QPushButton::clicked, this, [this] {
        if (m_step == esTargets)
            Finish();
        else
            Next();
    });
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
    TExportPages& p = m_pages;
    connect(p.btnMarkAll, &QPushButton::clicked, this,
            [this] { m_model->MarkBelow(m_pages.tvExport->currentIndex(), true); });
    connect(p.btnUnmark, &QPushButton::clicked, this,
            [this] { m_model->MarkBelow(m_pages.tvExport->currentIndex(), false); });
    connect(p.tvExport->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TfrmExp::showNotePreview);
    connect(p.cbZoom2, &QCheckBox::toggled, this, &TfrmExp::showNotePreview);
    connect(p.cbZoom, &QCheckBox::toggled, this, &TfrmExp::showDocumentPreview);
    // The root stays open.
    connect(p.tvExport, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
        if (!index.parent().isValid())
            m_pages.tvExport->expand(index);
    });
    connect(p.lbTargets, &QListWidget::itemDoubleClicked, this, [this] { Finish(); });
    for (TFontChoice* choice : {&p.sepFont, &p.headerFont, &p.footerFont})
        connect(choice->button, &QPushButton::clicked, this, [this, choice] { chooseFont(*choice); });
    for (QCheckBox* box : {p.cbInsertHeader, p.cbInsertFooter})
        connect(box, &QCheckBox::toggled, this, &TfrmExp::prepareLayout);
    connect(p.btnFolder, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(this, QString(), m_pages.edFolder->text());
        if (!folder.isEmpty())
            m_pages.edFolder->setText(folder);
    });
    connect(p.btnVlrFile, &QPushButton::clicked, this, [this] {
        const QString name = askSaveName(QStringLiteral("Книжка Vellinor (*.vlr);;Все файлы (*)"),
                                         QStringLiteral("vlr"), m_pages.edVlrFile->text());
        if (!name.isEmpty())
            m_pages.edVlrFile->setText(name);
    });
    readSettings();
}

TfrmExp::~TfrmExp() = default;

void TfrmExp::readSettings() {
    m_settings = ReadExportSettings(m_context.settings, m_section, m_context.options);
    const TExportSettings& s = m_settings;
    TExportPages& p = m_pages;
    p.sepFont.font = s.layout.separatorFont;
    p.headerFont.font = s.layout.headerFont;
    p.footerFont.font = s.layout.footerFont;
    p.edSep->clear();
    p.edSep->addItems(ReadSeparatorTexts(m_context.settings));
    p.edSep->setCurrentText(s.layout.separator);
    p.cbInsertHeader->setChecked(s.layout.insertHeader);
    p.cbInsertFooter->setChecked(s.layout.insertFooter);
    p.mHeader->setPlainText(s.layout.header.join(u'\n'));
    p.mFooter->setPlainText(s.layout.footer.join(u'\n'));
    p.cbCenterHeader->setChecked(s.layout.centerHeader);
    p.cbCenterFooter->setChecked(s.layout.centerFooter);
    p.cbCenterSep->setChecked(s.layout.centerSeparator);
    p.rbPage->setChecked(s.layout.separation == TSeparation::PageBreak);
    p.rbNothing->setChecked(s.layout.separation == TSeparation::Nothing);
    p.rbSep->setChecked(s.layout.separation == TSeparation::Text);
    p.cbZoom->setChecked(s.zoom);
    if (s.zoom2)
        p.cbZoom2->setChecked(*s.zoom2);
    if (s.tvWidth) {
        if (auto* split = qobject_cast<QSplitter*>(p.tvExport->parentWidget()))
            split->setSizes({*s.tvWidth, qMax(100, width() - *s.tvWidth)});
    }
    p.cbHtmlPict->setChecked(s.exportPictures);
    p.cbHtmlTabs->setChecked(s.tabsToNbsp);
    p.cbUseBack->setChecked(s.useBackColor);
    p.cbFormatTxt->setChecked(s.formatText);
    p.spLineWidth->setValue(s.lineWidth);
    p.cbVlrCompress->setChecked(s.vlrCompress);
    p.cbVlrEncrypt->setChecked(s.vlrEncrypt);
}

TExportSettings TfrmExp::settingsFromControls() const {
    TExportSettings s = m_settings;
    const TExportPages& p = m_pages;
    TExportLayout& l = s.layout;
    l.separatorFont = p.sepFont.font;
    l.headerFont = p.headerFont.font;
    l.footerFont = p.footerFont.font;
    l.separator = p.edSep->currentText();
    l.insertHeader = p.cbInsertHeader->isChecked();
    l.insertFooter = p.cbInsertFooter->isChecked();
    l.header = p.mHeader->toPlainText().split(u'\n');
    l.footer = p.mFooter->toPlainText().split(u'\n');
    l.centerHeader = p.cbCenterHeader->isChecked();
    l.centerFooter = p.cbCenterFooter->isChecked();
    l.centerSeparator = p.cbCenterSep->isChecked();
    l.separation = p.rbPage->isChecked()      ? TSeparation::PageBreak
                   : p.rbNothing->isChecked() ? TSeparation::Nothing
                                              : TSeparation::Text;
    s.zoom = p.cbZoom->isChecked();
    s.zoom2 = p.cbZoom2->isChecked();
    if (auto* split = qobject_cast<QSplitter*>(p.tvExport->parentWidget()))
        s.tvWidth = split->sizes().value(0);
    s.exportPictures = p.cbHtmlPict->isChecked();
    s.tabsToNbsp = p.cbHtmlTabs->isChecked();
    s.useBackColor = p.cbUseBack->isChecked();
    s.formatText = p.cbFormatTxt->isChecked();
    s.lineWidth = p.spLineWidth->value();
    s.vlrCompress = p.cbVlrCompress->isChecked();
    s.vlrEncrypt = p.cbVlrEncrypt->isChecked();
    return s;
}

void TfrmExp::writeSettings() {
    m_settings = settingsFromControls();
    (void)WriteExportSettings(m_context.settings, m_section, m_settings); // a failure is ignored
}

void TfrmExp::done(int result) {
    writeSettings();
    // The tree refers to notes that may change once the wizard is gone.
    m_model->SetTree(nullptr);
    m_tree.Clear();
    m_model->SetTree(&m_tree);
    m_document.reset();
    m_pages.docPreview->clear();
    m_pages.notePreview->clear();
    QDialog::done(result);
}

TExportFlow TfrmExp::flow() const {
    TExportFlow f;
    f.kind = m_pages.rbMulti->isChecked()    ? TExportKind::ManyFiles
             : m_pages.rbStruct->isChecked() ? TExportKind::NotebookFile
                                             : TExportKind::OneFile;
    if (m_command == TExportTree::Command::ExportNote)
        f.kind = TExportKind::OneFile;
    f.selectNotes = m_pages.cbSelNotes->isChecked() && m_command == TExportTree::Command::ExportNotes;
    f.moreSingle = m_pages.cbAddSingle->isChecked();
    f.moreMulti = m_pages.cbAddMulti->isChecked();
    f.oneNote = m_command == TExportTree::Command::ExportNote;
    return f;
}

void TfrmExp::Start(TTreeNode* selection) {
    m_target = std::make_unique<TNotebookBinding>(m_context.service, selection);
    CancelWhenLost(*this, *m_target);
    m_noteChanged = false;
    m_document.reset();
    m_model->SetTree(nullptr);
    m_tree.Clear();
    m_model->SetTree(&m_tree);
    if (m_command == TExportTree::Command::ExportNote)
        buildTree();
    enter(flow().Start());
}

void TfrmExp::buildTree() {
    m_model->SetTree(nullptr);
    m_tree.Build(selection(), m_command, m_pages.cbRecurse->isChecked());
    m_model->SetTree(&m_tree);
    const QModelIndex root = m_model->index(0, 0);
    m_pages.tvExport->expand(root);
    if (m_tree.Root() && m_tree.Root()->Count() > 0)
        m_pages.tvExport->expand(m_model->index(0, 0, root));
    m_pages.tvExport->setCurrentIndex(root);
}

void TfrmExp::Next() {
    const TExportFlow f = flow();
    if (m_step == esResult)
        buildTree();
    if (m_step == esLayout) {
        generate();
        if (!m_document)
            return;
    }
    enter(f.Next(m_step));
}

void TfrmExp::Back() {
    enter(flow().Back(m_step));
}

void TfrmExp::enter(TExportStep step) {
    m_step = step;
    m_stack->setCurrentIndex(step);
    m_stepLabel->setText(QStringLiteral("Шаг %1").arg(StepNumber(step)));
    m_titleLabel->setText(StepTitle(step));
    m_back->setEnabled(flow().CanGoBack(step));
    m_next->setText(step == esTargets ? QStringLiteral("Завершить") : QStringLiteral("Далее >>"));
    if (step == esFormatOptions)
        prepareOptions();
    else if (step == esLayout)
        prepareLayout();
    else if (step == esTargets)
        fillTargets();
    else if (step == esSelect)
        showNotePreview();
}

void TfrmExp::prepareOptions() {
    TExportPages& p = m_pages;
    const TExportFlow f = flow();
    const bool plain = f.kind == TExportKind::ManyFiles || p.rbExpPlain->isChecked();
    p.gbPlain->setEnabled(plain);
    p.edHtmlTitle->setEnabled(f.kind == TExportKind::OneFile);
    if (p.edHtmlTitle->text().isEmpty())
        p.edHtmlTitle->setText(HtmlPageTitle({}, m_tree, m_command));
    if (p.cbDefFont->count() == 0)
        p.cbDefFont->addItems(QFontDatabase::families());
    if (p.cbDefFont->currentText().isEmpty())
        p.cbDefFont->setCurrentText(m_context.options.DefFontName);
    if (p.cbDefSize->currentText().isEmpty() || p.cbDefSize->currentIndex() == 0)
        p.cbDefSize->setCurrentText(QString::number(m_context.options.DefFontSize));
}

void TfrmExp::prepareLayout() {
    TExportPages& p = m_pages;
    const bool formatted = p.rbExpRTF->isChecked();
    for (TFontChoice* c : {&p.sepFont, &p.headerFont, &p.footerFont}) {
        c->Show();
        c->button->setEnabled(formatted);
    }
    const QFont dialogFont = font();
    p.edSep->setFont(formatted ? FontOf(p.sepFont.font) : dialogFont);
    p.mHeader->setFont(formatted ? FontOf(p.headerFont.font) : dialogFont);
    p.mFooter->setFont(formatted ? FontOf(p.footerFont.font) : dialogFont);
    p.cbCenterSep->setEnabled(formatted);
    p.headerFont.button->setEnabled(formatted && p.cbInsertHeader->isChecked());
    p.cbCenterHeader->setEnabled(formatted && p.cbInsertHeader->isChecked());
    p.footerFont.button->setEnabled(formatted && p.cbInsertFooter->isChecked());
    p.cbCenterFooter->setEnabled(formatted && p.cbInsertFooter->isChecked());
}

void TfrmExp::chooseFont(TFontChoice& choice) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, FontOf(choice.font), this);
    if (!ok)
        return;
    choice.font.name = chosen.family();
    choice.font.size = chosen.pointSize() > 0 ? chosen.pointSize() : choice.font.size;
    choice.font.style = quint8((chosen.bold() ? 1 : 0) | (chosen.italic() ? 2 : 0) |
                               (chosen.underline() ? 4 : 0) | (chosen.strikeOut() ? 8 : 0));
    prepareLayout();
}

void TfrmExp::generate() {
    m_settings = settingsFromControls();
    const TDocumentOptions o =
        DocumentOptionsFrom(m_context.options, m_settings, m_pages.rbExpRTF->isChecked());
    try {
        m_document = GenerateDocument(m_tree, o);
    } catch (const std::exception&) {
        m_document.reset();
        showMessage(kExportFailed, kCaptionError, MsgIcon::Warning);
    }
}

void TfrmExp::fillTargets() {
    TExportPages& p = m_pages;
    const TExportFlow f = flow();
    m_converters = ExportConverters(); // found anew each time the list is shown
    const bool fromRoot = !selection() || !selection()->Note();
    switch (f.kind) {
    case TExportKind::OneFile:
        m_targets = DocumentTargets(p.rbExpRTF->isChecked(), fromRoot, m_converters);
        p.targetSide->setCurrentIndex(sidePreview);
        showDocumentPreview();
        break;
    case TExportKind::ManyFiles:
        m_targets = FileTargets(m_converters);
        p.targetSide->setCurrentIndex(sideFolder);
        break;
    case TExportKind::NotebookFile:
        m_targets = NotebookFileTargets();
        p.targetSide->setCurrentIndex(sideNotebook);
        break;
    }
    p.lbTargets->clear();
    const QPalette pal = palette();
    for (qsizetype i = 0; i < m_targets.size(); ++i) {
        auto* item = new QListWidgetItem(m_targets[i].caption, p.lbTargets);
        item->setData(kEntryRole, int(i));
        if (m_targets[i].heading) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
            item->setBackground(pal.color(QPalette::Highlight).lighter(160));
            item->setFlags(Qt::ItemIsEnabled); // a heading is not a target
        }
    }
    for (int i = 0; i < p.lbTargets->count(); ++i)
        if (!m_targets[i].heading) {
            p.lbTargets->setCurrentRow(i);
            break;
        }
}

void TfrmExp::showNotePreview() {
    QTextEdit* view = m_pages.notePreview;
    const TExportNode* node = m_model->NodeOf(m_pages.tvExport->currentIndex());
    view->clear();
    if (!node || !node->Note() || !m_tree.Notebook())
        return;
    const std::optional<QByteArray> body = StoredTextOf(*m_tree.Notebook(), *node->Note());
    if (!body)
        return;
    QTextDocument doc;
    if (IsPlainNote(*node->Note()))
        doc.setPlainText(rtf::plainBodyText(*body));
    else if (!rtf::readRtf(*body, &doc))
        doc.setPlainText(rtf::rtfToPlainText(*body));
    view->setDocument(previewCopy(&doc, m_pages.cbZoom2->isChecked(), view));
}

void TfrmExp::showDocumentPreview() {
    QTextEdit* view = m_pages.docPreview;
    if (!m_document || !m_document->Document()) {
        view->clear();
        return;
    }
    view->setDocument(previewCopy(m_document->Document(), m_pages.cbZoom->isChecked(), view));
}

THtmlChoices TfrmExp::htmlChoices() const {
    THtmlChoices h;
    // The step with the title box may have been skipped, or the box emptied.
    h.title = HtmlPageTitle(m_pages.edHtmlTitle->text(), m_tree, m_command);
    h.fontName = m_pages.cbDefFont->currentText();
    bool ok = false;
    h.fontSize = m_pages.cbDefSize->currentText().toInt(&ok);
    if (!ok || h.fontSize <= 0)
        h.fontSize = m_context.options.DefFontSize;
    h.pictures = m_pages.cbHtmlPict->isChecked();
    h.tabsAsNbsp = m_pages.cbHtmlTabs->isChecked();
    h.useBackground = m_pages.cbUseBack->isChecked();
    h.background = m_context.options.DefEditorBack;
    return h;
}

QString TfrmExp::askSaveName(const QString& filter, const QString& extension, const QString& initial) {
    const QString name = QFileDialog::getSaveFileName(this, QString(), initial, filter);
    return targetLost() ? QString() : WithDefaultExtension(name, extension);
}

TTreeNode* TfrmExp::selection() const {
    return m_target ? m_target->Node() : nullptr;
}

bool TfrmExp::targetLost() const {
    return !m_target || m_target->IsLost();
}

void TfrmExp::Finish() {
    if (targetLost())
        return;
    const int row = m_pages.lbTargets->currentRow();
    TExportOutcome outcome = TExportOutcome::Failed(QStringLiteral("no target"));
    if (row >= 0 && row < m_targets.size() && !m_targets[row].heading) {
        try {
            outcome = runTarget(m_targets[row]);
        } catch (const std::exception& e) {
            outcome = TExportOutcome::Failed(QString::fromLocal8Bit(e.what()));
        }
    }
    // Lost while a file or password was asked for: the wizard is cancelled
    // and whoever showed it says why.
    if (targetLost())
        return;
    if (outcome)
        showMessage(kExportDone, kCaptionDone, MsgIcon::Information);
    else
        showMessage(kExportFailed, kCaptionError, MsgIcon::Warning);
}

TExportOutcome TfrmExp::runTarget(const TTargetEntry& entry) {
    switch (flow().kind) {
    case TExportKind::OneFile:
        return runDocumentTarget(entry);
    case TExportKind::ManyFiles:
        return runFilesTarget(entry);
    case TExportKind::NotebookFile:
        return runNotebookTarget();
    }
    return TExportOutcome::Failed(QStringLiteral("no target"));
}

TExportOutcome TfrmExp::runDocumentTarget(const TTargetEntry& entry) {
    if (!m_document)
        return TExportOutcome::Failed(QStringLiteral("no document"));
    const TCombinedDocument& doc = *m_document;
    const TConverter* converter = entry.converter >= 0 && entry.converter < m_converters.size()
                                      ? &m_converters[entry.converter]
                                      : nullptr;
    switch (entry.document) {
    case TDocumentTarget::FileRTF:
    case TDocumentTarget::FilePlain:
    case TDocumentTarget::FileOEM:
    case TDocumentTarget::FileHTML:
    case TDocumentTarget::Converter: {
        QString filter;
        switch (entry.document) {
        case TDocumentTarget::FileRTF:
            filter = filterOf(QStringLiteral("RTF текст"), QStringLiteral("*.rtf"));
            break;
        case TDocumentTarget::FileHTML:
            filter = filterOf(QStringLiteral("Файлы HTML"), QStringLiteral("*.htm *.html *.shtml *.shtm"));
            break;
        case TDocumentTarget::Converter:
            filter = converter ? filterOf(converter->name, converter->Patterns()) : QString();
            break;
        default:
            filter = filterOf(QStringLiteral("Простой текст"), QStringLiteral("*.txt"));
            break;
        }
        const QString name = askSaveName(filter, DefaultExtension(entry.document, converter), QString());
        if (name.isEmpty())
            return TExportOutcome::Cancelled();
        TConverterRun run;
        return SaveDocument(doc, entry.document, name, htmlChoices(),
                            TWriteGuard::ForNotebooks(m_context.service), converter, &run);
    }
    case TDocumentTarget::ClipRich: {
        QTextCursor all(const_cast<QTextDocument*>(doc.Document()));
        all.select(QTextCursor::Document);
        QApplication::clipboard()->setMimeData(mimeDataForSelection(all));
        return {};
    }
    case TDocumentTarget::ClipPlain:
        QApplication::clipboard()->setText(ClipboardPlainText(doc.PlainText()));
        return {};
    case TDocumentTarget::NoteCurrentDelete:
    case TDocumentTarget::NoteCurrentKeep: {
        TNodeData* note = selection() ? selection()->Note() : nullptr;
        if (!note)
            return TExportOutcome::Failed(QStringLiteral("no note"));
        // The export tree refers to the notes about to go.
        m_model->SetTree(nullptr);
        const TExportOutcome r = WriteIntoNote(m_context.service, *note, doc,
                                               entry.document == TDocumentTarget::NoteCurrentDelete);
        m_tree.Build(selection(), m_command, m_pages.cbRecurse->isChecked());
        m_model->SetTree(&m_tree);
        m_noteChanged = m_noteChanged || r.ok;
        return r;
    }
    case TDocumentTarget::NoteNewAfter:
        return AddNoteAfter(m_context.service, selection(),
                            m_tree.Root() ? m_tree.Root()->Title() : QString(), doc,
                            m_context.noteDefaults());
    case TDocumentTarget::NoteNewNotebook: {
        TNewNotebookChoices choices{m_context.notebookDefaults(), m_context.noteDefaults(), {}};
        if (m_context.options.DefEncrypt) {
            QString reminder;
            if (const std::optional<QString> password = passwordPrompt().newPassword(reminder))
                choices.password = *password;
            if (targetLost())
                return TExportOutcome::Cancelled();
        }
        return AddNotebookWith(m_context.service, m_tree, doc, choices);
    }
    }
    return TExportOutcome::Failed(QStringLiteral("no target"));
}

TExportOutcome TfrmExp::runFilesTarget(const TTargetEntry& entry) {
    QString folder = m_pages.edFolder->text().trimmed();
    if (folder.isEmpty()) {
        folder = QFileDialog::getExistingDirectory(this);
        if (folder.isEmpty() || targetLost())
            return TExportOutcome::Cancelled();
        m_pages.edFolder->setText(folder);
    }
    TFilesExportOptions o;
    o.folder = folder;
    o.oneFolder = m_pages.rbFolderOne->isChecked();
    o.numberDuplicates = m_pages.rbDupRename->isChecked();
    o.replaceChars = m_pages.cbReplaceChars->isChecked();
    o.format = entry.format;
    o.formatText = m_pages.cbFormatTxt->isChecked();
    o.lineWidth = m_pages.spLineWidth->value();
    o.html = htmlChoices();
    if (entry.converter >= 0 && entry.converter < m_converters.size())
        o.converter = &m_converters[entry.converter];
    TConverterRun run;
    (void)ExportFilesPerNote(m_tree, o, TWriteGuard::ForNotebooks(m_context.service), run);
    return {}; // a file that fails is skipped silently
}

TExportOutcome TfrmExp::runNotebookTarget() {
    QString name = m_pages.edVlrFile->text().trimmed();
    if (name.isEmpty()) {
        name = askSaveName(QStringLiteral("Книжка Vellinor (*.vlr);;Все файлы (*)"), QStringLiteral("vlr"),
                           QString());
        if (name.isEmpty())
            return TExportOutcome::Cancelled();
        m_pages.edVlrFile->setText(name);
    }
    TNotebookFileChoices choices{
        WithDefaultExtension(name, QStringLiteral("vlr")), m_pages.cbVlrCompress->isChecked(), {}};
    if (m_pages.cbVlrEncrypt->isChecked()) {
        QString reminder;
        const std::optional<QString> password = passwordPrompt().newPassword(reminder);
        if (!password || password->isEmpty() || targetLost())
            return TExportOutcome::Cancelled(); // nothing is written unenciphered that was to be enciphered
        choices.password = *password;
    }
    return ExportToNotebookFile(m_tree, choices, TWriteGuard::ForNotebooks(m_context.service));
}

} // namespace vlr
