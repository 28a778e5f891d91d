#include "exchange/ui/export_wizard_pages.h"

#include "exchange/text_formats.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTreeView>
#include <QVBoxLayout>

namespace vlr {

namespace {

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QRadioButton* radio(const QString& text, const char* name) {
    return named(new QRadioButton(text), name);
}

QCheckBox* check(const QString& text, const char* name) {
    return named(new QCheckBox(text), name);
}

QWidget* page(QLayout* layout) {
    auto* w = new QWidget;
    w->setLayout(layout);
    return w;
}

QTextEdit* preview(const char* name) {
    auto* e = named(new QTextEdit, name);
    e->setReadOnly(true);
    e->setUndoRedoEnabled(false);
    return e;
}

} // namespace

void TFontChoice::Show() {
    const QFont shown = FontOf(font);
    button->setText(QStringLiteral("%1, %2").arg(shown.family()).arg(shown.pointSize()));
    button->setFont(shown);
}

void TExportPages::Build(QStackedWidget* stack) {
    // Step 1: the result.
    {
        auto* v = new QVBoxLayout;
        rbOne = radio(QStringLiteral("Экспорт в один файл"), "rbOne");
        rbMulti = radio(QStringLiteral("Эспорт в несколько файлов"), "rbMulti");
        rbStruct = radio(QStringLiteral("Экспорт в структурированный файл"), "rbStruct");
        rbOne->setChecked(true);
        cbSelNotes = check(QStringLiteral("Выбрать записи для экспорта"), "cbSelNotes");
        cbRecurse = check(QStringLiteral("Включать подзаписи второго и следующих уровней"), "cbRecurse");
        cbRecurse->setChecked(true);
        for (QWidget* w :
             {static_cast<QWidget*>(rbOne), static_cast<QWidget*>(rbMulti), static_cast<QWidget*>(rbStruct)})
            v->addWidget(w);
        v->addSpacing(12);
        v->addWidget(cbSelNotes);
        v->addWidget(cbRecurse);
        v->addStretch();
        stack->addWidget(page(v));
    }
    // Step 1.1: the notes.
    {
        auto* v = new QVBoxLayout;
        auto* split = new QSplitter(Qt::Horizontal);
        tvExport = named(new QTreeView, "tvExport");
        tvExport->setHeaderHidden(true);
        split->addWidget(tvExport);
        auto* right = new QWidget;
        auto* rv = new QVBoxLayout(right);
        rv->setContentsMargins(0, 0, 0, 0);
        notePreview = preview("notePreview");
        cbZoom2 = check(QStringLiteral("Масштаб 75%"), "cbZoom2");
        rv->addWidget(notePreview);
        rv->addWidget(cbZoom2);
        split->addWidget(right);
        split->setStretchFactor(1, 1);
        auto* buttons = new QHBoxLayout;
        btnMarkAll = named(new QPushButton(QStringLiteral("Отметить подзаписи")), "btnMarkAll");
        btnUnmark = named(new QPushButton(QStringLiteral("Снять отметки")), "btnUnmark");
        buttons->addWidget(btnMarkAll);
        buttons->addWidget(btnUnmark);
        buttons->addStretch();
        v->addWidget(split, 1);
        v->addLayout(buttons);
        stack->addWidget(page(v));
    }
    // Step 2: the format.
    {
        auto* v = new QVBoxLayout;
        rbExpRTF = radio(QStringLiteral("Экспорт форматированного текста"), "rbExpRTF");
        rbExpPlain = radio(QStringLiteral("Экспорт простого текста"), "rbExpPlain");
        rbExpRTF->setChecked(true);
        cbAddSingle = check(QStringLiteral("Дополнительные опции"), "cbAddSingle");
        v->addWidget(rbExpRTF);
        v->addWidget(rbExpPlain);
        v->addSpacing(12);
        v->addWidget(cbAddSingle);
        v->addStretch();
        stack->addWidget(page(v));
    }
    // Step 2.1: HTML and plain-text options.
    {
        auto* v = new QVBoxLayout;
        gbHtml = named(new QGroupBox(QStringLiteral("HTML")), "gbHtml");
        auto* hf = new QFormLayout(gbHtml);
        cbHtmlPict = check(QStringLiteral("Экспортировать рисунки"), "cbHtmlPict");
        cbDefFont = named(new QComboBox, "cbDefFont");
        cbDefFont->setEditable(true);
        cbDefSize = named(new QComboBox, "cbDefSize");
        cbDefSize->setEditable(true);
        for (int size : {8, 9, 10, 11, 12, 14, 16, 20, 24, 26, 28, 36, 48, 72})
            cbDefSize->addItem(QString::number(size));
        cbDefSize->setValidator(new QIntValidator(1, 999, cbDefSize)); // only digits
        cbHtmlTabs = check(QStringLiteral("Табуляция как неразрывные пробелы"), "cbHtmlTabs");
        cbUseBack = check(QStringLiteral("Цвет фона страницы"), "cbUseBack");
        edHtmlTitle = named(new QLineEdit, "edHtmlTitle");
        hf->addRow(cbHtmlPict);
        hf->addRow(QStringLiteral("Шрифт:"), cbDefFont);
        hf->addRow(QStringLiteral("Размер:"), cbDefSize);
        hf->addRow(cbHtmlTabs);
        hf->addRow(cbUseBack);
        hf->addRow(QStringLiteral("Заголовок страницы:"), edHtmlTitle);
        gbPlain = named(new QGroupBox(QStringLiteral("Простой текст")), "gbPlain");
        auto* pf = new QFormLayout(gbPlain);
        cbFormatTxt = check(QStringLiteral("Разбивать абзацы на строки"), "cbFormatTxt");
        spLineWidth = named(new QSpinBox, "spLineWidth");
        spLineWidth->setRange(1, 10000);
        spLineWidth->setValue(70);
        pf->addRow(cbFormatTxt);
        pf->addRow(QStringLiteral("Ширина строки (символов):"), spLineWidth);
        v->addWidget(gbHtml);
        v->addWidget(gbPlain);
        v->addStretch();
        stack->addWidget(page(v));
    }
    // Step 3: separation, header, footer.
    {
        auto* v = new QVBoxLayout;
        auto* sep = new QGroupBox(QStringLiteral("Разделение записей"));
        auto* sg = new QGridLayout(sep);
        rbPage = radio(QStringLiteral("Разрыв страницы"), "rbPage");
        rbSep = radio(QStringLiteral("Разделитель:"), "rbSep");
        rbNothing = radio(QStringLiteral("Ничего"), "rbNothing");
        rbSep->setChecked(true);
        edSep = named(new QComboBox, "edSep");
        edSep->setEditable(true);
        sepFont.button = named(new QPushButton, "btnSepFont");
        cbCenterSep = check(QStringLiteral("По центру"), "cbCenterSep");
        sg->addWidget(rbPage, 0, 0);
        sg->addWidget(rbNothing, 0, 1);
        sg->addWidget(rbSep, 1, 0);
        sg->addWidget(edSep, 1, 1);
        sg->addWidget(sepFont.button, 2, 0);
        sg->addWidget(cbCenterSep, 2, 1);
        const auto block = [](const QString& title, QCheckBox*& insert, const char* insertName,
                              QPlainTextEdit*& text, const char* textName, TFontChoice& font,
                              const char* fontName, QCheckBox*& centre, const char* centreName) {
            auto* box = new QGroupBox(title);
            auto* g = new QGridLayout(box);
            insert = check(QStringLiteral("Вставлять"), insertName);
            text = named(new QPlainTextEdit, textName);
            text->setMaximumHeight(60);
            font.button = named(new QPushButton, fontName);
            centre = check(QStringLiteral("По центру"), centreName);
            g->addWidget(insert, 0, 0);
            g->addWidget(font.button, 0, 1);
            g->addWidget(centre, 0, 2);
            g->addWidget(text, 1, 0, 1, 3);
            return box;
        };
        v->addWidget(sep);
        v->addWidget(block(QStringLiteral("Заголовок записи"), cbInsertHeader, "cbInsertHeader", mHeader,
                           "mHeader", headerFont, "btnHeaderFont", cbCenterHeader, "cbCenterHeader"));
        v->addWidget(block(QStringLiteral("Окончание записи"), cbInsertFooter, "cbInsertFooter", mFooter,
                           "mFooter", footerFont, "btnFooterFont", cbCenterFooter, "cbCenterFooter"));
        auto* macros =
            new QLabel(QStringLiteral("$NB книжка, $NR путь в книжке, $NP путь в экспорте, $N запись, "
                                      "$A автор, $C организация, $DC/$TC создана, $DS/$TS сохранена, "
                                      "$L уровень"));
        macros->setWordWrap(true);
        v->addWidget(macros);
        stack->addWidget(page(v));
    }
    // Step 4: the targets.
    {
        auto* h = new QHBoxLayout;
        lbTargets = named(new QListWidget, "lbTargets");
        lbTargets->setMaximumWidth(260);
        targetSide = new QStackedWidget;
        auto* previewPage = new QWidget;
        auto* pv = new QVBoxLayout(previewPage);
        pv->setContentsMargins(0, 0, 0, 0);
        docPreview = preview("docPreview");
        cbZoom = check(QStringLiteral("Масштаб 75%"), "cbZoom");
        pv->addWidget(docPreview);
        pv->addWidget(cbZoom);
        auto* folderPage = new QWidget;
        auto* fv = new QVBoxLayout(folderPage);
        auto* fr = new QHBoxLayout;
        edFolder = named(new QLineEdit, "edFolder");
        btnFolder = named(new QPushButton(QStringLiteral("Обзор...")), "btnFolder");
        fr->addWidget(edFolder);
        fr->addWidget(btnFolder);
        fv->addWidget(new QLabel(QStringLiteral("Папка для файлов:")));
        fv->addLayout(fr);
        fv->addStretch();
        auto* vlrPage = new QWidget;
        auto* vv = new QVBoxLayout(vlrPage);
        auto* vr = new QHBoxLayout;
        edVlrFile = named(new QLineEdit, "edVlrFile");
        btnVlrFile = named(new QPushButton(QStringLiteral("Обзор...")), "btnVlrFile");
        vr->addWidget(edVlrFile);
        vr->addWidget(btnVlrFile);
        cbVlrCompress = check(QStringLiteral("Сжать эту книжку"), "cbVlrCompress");
        cbVlrEncrypt =
            check(QStringLiteral("Зашифровать эту книжку (пароль будет запрошен)"), "cbVlrEncrypt");
        vv->addWidget(new QLabel(QStringLiteral("Имя файла:")));
        vv->addLayout(vr);
        vv->addWidget(cbVlrCompress);
        vv->addWidget(cbVlrEncrypt);
        vv->addStretch();
        targetSide->addWidget(previewPage);
        targetSide->addWidget(folderPage);
        targetSide->addWidget(vlrPage);
        h->addWidget(lbTargets);
        h->addWidget(targetSide, 1);
        stack->addWidget(page(h));
    }
    // Step 2 of several files.
    {
        auto* v = new QVBoxLayout;
        auto* folders = new QGroupBox(QStringLiteral("Структура папок"));
        auto* fl = new QVBoxLayout(folders);
        rbFolderOne = radio(QStringLiteral("Все файлы в одной папке"), "rbFolderOne");
        rbFolderMany = radio(QStringLiteral("Папки по дереву записей"), "rbFolderMany");
        rbFolderMany->setChecked(true);
        fl->addWidget(rbFolderOne);
        fl->addWidget(rbFolderMany);
        auto* dups = new QGroupBox(QStringLiteral("Одинаковые имена файлов"));
        auto* dl = new QVBoxLayout(dups);
        rbDupSkip = radio(QStringLiteral("Перезаписывать файл"), "rbDupSkip");
        rbDupRename = radio(QStringLiteral("Добавлять к имени номер"), "rbDupRename");
        rbDupRename->setChecked(true);
        dl->addWidget(rbDupSkip);
        dl->addWidget(rbDupRename);
        cbReplaceChars = check(QStringLiteral("Заменять недопустимые символы на \"_\""), "cbReplaceChars");
        cbReplaceChars->setChecked(true);
        cbAddMulti = check(QStringLiteral("Дополнительные опции"), "cbAddMulti");
        v->addWidget(folders);
        v->addWidget(dups);
        v->addWidget(cbReplaceChars);
        v->addWidget(cbAddMulti);
        v->addStretch();
        stack->addWidget(page(v));
    }
    // Radio buttons of one page belong together, whatever their boxes.
    for (const auto& group : {QList<QRadioButton*>{rbOne, rbMulti, rbStruct},
                              {rbExpRTF, rbExpPlain},
                              {rbPage, rbSep, rbNothing},
                              {rbFolderOne, rbFolderMany},
                              {rbDupSkip, rbDupRename}}) {
        auto* g = new QButtonGroup(stack);
        for (QRadioButton* r : group)
            g->addButton(r);
    }
}

} // namespace vlr
