#include "app/dialogs/error_dialog.h"

#include "app/dialogs/dialog_parts.h"
#include "core/messages.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include <cstdio>

namespace vlr {

namespace {
const QString kShowDetails = QStringLiteral("Подробности >>");
const QString kHideDetails = QStringLiteral("<< Подробности");
} // namespace

TErrorDialog::TErrorDialog(QWidget* parent, const InternalErrorReport& report, const QString& logNote)
    : QDialog(parent), m_details(new QPlainTextEdit(this)),
      m_detailsButton(new QPushButton(kShowDetails, this)) {
    setWindowTitle(QStringLiteral("Ошибка"));
    auto* intro = new QLabel(QStringLiteral("В программе произошла внутренняя ошибка:"), this);
    auto* text = new QLabel(withLineBreaks(report.text), this);
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = text->font();
    bold.setBold(true);
    text->setFont(bold);
    auto* place =
        new QLabel(QStringLiteral("Место: ") + (report.place.isEmpty() ? report.origin : report.place), this);
    place->setTextFormat(Qt::PlainText);
    place->setWordWrap(true);

    m_details->setReadOnly(true);
    m_details->setPlainText(errorLogEntry(report).trimmed() + QStringLiteral("\n\n") + logNote);
    m_details->setVisible(false);
    m_detailsButton->setAutoDefault(false);
    connect(m_detailsButton, &QPushButton::clicked, this, &TErrorDialog::toggleDetails);

    auto* texts = new QVBoxLayout;
    texts->addWidget(intro);
    texts->addWidget(text);
    texts->addWidget(place);
    auto* buttons = okCancelButtons(this, false);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(besideIcon(this, QStyle::SP_MessageBoxCritical, texts));
    layout->addWidget(m_details, 1);
    layout->addLayout(buttonRow(m_detailsButton, buttons));
    setMinimumWidth(460);
    buttons->button(QDialogButtonBox::Ok)->setFocus();
}

void TErrorDialog::toggleDetails() {
    const bool show = !m_details->isVisible();
    m_details->setVisible(show);
    m_detailsButton->setText(show ? kHideDetails : kShowDetails);
    adjustSize();
}

void TGuiErrorReporter::report(const InternalErrorReport& report) noexcept {
    try {
        const QString logPath = QDir(m_logFolder).filePath(kErrorLogName);
        const QString note = appendErrorLog(m_logFolder, report)
                                 ? QStringLiteral("Записано в журнал ошибок: ") + logPath
                                 : QStringLiteral("Не удалось записать журнал ошибок: ") + logPath;
        auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
        if (!app || QThread::currentThread() != app->thread()) {
            StderrErrorReporter().report(report);
            return;
        }
        TErrorDialog dialog(QApplication::activeWindow(), report, note);
        dialog.exec();
    } catch (...) {
        std::fputs("internal error: the error dialog could not be shown\n", stderr);
    }
}

} // namespace vlr
