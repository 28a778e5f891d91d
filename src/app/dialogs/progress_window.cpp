#include "app/dialogs/progress_window.h"

#include "core/messages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vlr {

TfrmProgress::TfrmProgress(QWidget* owner, const QString& text, int maximum, bool showStop)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_text(new QLabel(withLineBreaks(text), this)), m_bar(new QProgressBar(this)),
      m_stop(new QPushButton(QStringLiteral("Стоп"), this)) {
    setWindowTitle(QStringLiteral("Vellinor"));
    setWindowModality(Qt::ApplicationModal);
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    m_bar->setRange(0, std::max(0, maximum));
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    m_stop->setVisible(showStop);
    m_stop->setAutoDefault(false);
    connect(m_stop, &QPushButton::clicked, this, &TfrmProgress::requestStop);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_stop);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);
    setMinimumWidth(360);
}

void TfrmProgress::requestStop() {
    m_stopRequested = true;
    m_stop->setEnabled(false);
}

void TfrmProgress::reject() {
    if (m_stop->isVisible())
        requestStop();
}

TGuiProgressService::~TGuiProgressService() {
    destroyWindow();
}

void TGuiProgressService::destroyWindow() {
    delete m_window.data();
    m_window = nullptr;
}

void TGuiProgressService::start(const QString& text, int maximum, bool showStop) {
    // A progress started while another is shown replaces it under the same owner.
    QWidget* owner = m_window ? m_window->parentWidget() : QApplication::activeWindow();
    destroyWindow();
    m_stopped = false;
    m_canStop = showStop;
    m_window = new TfrmProgress(owner, text, maximum, showStop);
    m_window->show();
    m_window->raise();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool TGuiProgressService::step(int n) {
    if (!m_window)
        return m_stopped;
    QProgressBar* bar = m_window->bar();
    bar->setValue(std::min(bar->maximum(), bar->value() + std::max(0, n)));
    // Stop can only be pressed when user input is let through; the window is
    // modal, so no other window takes it meanwhile.
    QCoreApplication::processEvents(m_canStop ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    if (!m_window) // its owner went away
        return m_stopped;
    m_stopped = m_window->stopRequested();
    if (m_stopped || bar->value() >= bar->maximum())
        m_window->hide();
    return m_stopped;
}

void TGuiProgressService::end() {
    if (m_window) {
        m_window->bar()->setValue(m_window->bar()->maximum());
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    destroyWindow();
}

} // namespace vlr
