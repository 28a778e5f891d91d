#include "app/status_panels.h"

#include <QEvent>
#include <QLabel>
#include <QStatusBar>

namespace vlr {

QString caretPanelText(int line, int column) {
    return QStringLiteral("Стр: %1  Кол: %2").arg(line, 3).arg(column, 3);
}

QString zoomPanelText(int zoom, bool noteShown) {
    if (!noteShown)
        return QStringLiteral("---");
    return zoom <= 0 ? QStringLiteral("100%") : QStringLiteral("%1%").arg(zoom);
}

TStatusPanels::TStatusPanels(QStatusBar* bar) : QObject(bar) {
    bar->setObjectName(QStringLiteral("sbMain"));
    bar->setSizeGripEnabled(true);
    static const int widths[Count] = {140, 90, 50, 60, 0, 0, 150};
    for (int i = 0; i < Count; ++i) {
        auto* label = new QLabel(bar);
        label->setObjectName(QStringLiteral("sbPanel%1").arg(i));
        label->setMargin(2);
        if (widths[i] > 0)
            label->setMinimumWidth(widths[i]);
        label->installEventFilter(this);
        m_panels[size_t(i)] = label;
        if (i == Text)
            bar->addWidget(label, 1);
        else if (i != Spare)
            bar->addPermanentWidget(label);
    }
    // The status text is the stretching one; the clock stays at the right end.
    bar->removeWidget(m_panels[Clock]);
    bar->addPermanentWidget(m_panels[Clock]);
    m_panels[Spare]->hide();
    m_panels[Clock]->hide();
    m_statusTimer.setSingleShot(true);
    m_statusTimer.setInterval(4000);
    connect(&m_statusTimer, &QTimer::timeout, this, [this] { m_panels[Text]->setText(kHelpHint); });
    SetInsertMode(true);
    SetZoom(0, false);
    m_panels[Text]->setText(kHelpHint);
}

void TStatusPanels::SetStatus(const QString& text) {
    m_panels[Text]->setText(text);
    m_statusTimer.start();
}

void TStatusPanels::SetCaret(int line, int column) {
    m_panels[Caret]->setText(caretPanelText(line, column));
}

void TStatusPanels::SetState(bool readOnly, bool modified) {
    QLabel* label = m_panels[State];
    if (readOnly) {
        label->setText(QStringLiteral("Чтение"));
        label->setStyleSheet(QStringLiteral("color: #c00000;"));
    } else {
        label->setText(modified ? QStringLiteral("Изменена") : QString());
        label->setStyleSheet(QString());
    }
}

void TStatusPanels::SetInsertMode(bool insert) {
    m_panels[InsertMode]->setText(insert ? QStringLiteral("ВСТ") : QStringLiteral("ЗАМ"));
}

void TStatusPanels::SetZoom(int zoom, bool noteShown) {
    m_panels[Zoom]->setText(zoomPanelText(zoom, noteShown));
}

void TStatusPanels::SetEnabled(Panel p, bool enabled) {
    m_panels[size_t(p)]->setEnabled(enabled);
}

bool TStatusPanels::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick && OnDoubleClick) {
        for (int i = 0; i < Count; ++i)
            if (watched == m_panels[size_t(i)] && m_panels[size_t(i)]->isEnabled()) {
                OnDoubleClick(Panel(i));
                return true;
            }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vlr
