#include "app/lifecycle/tip_of_the_day.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStringDecoder>
#include <QVBoxLayout>

namespace vlr {

namespace {
// Beyond this the file is not a list of tips.
constexpr qint64 kMaxTipsFile = 1 << 20;
} // namespace

QString TTipCursor::Text() const {
    if (m_index >= 0 && m_index < m_tips.size())
        return m_tips.at(m_index);
    return QStringLiteral("Советы закончились!");
}

void TTipCursor::Next() {
    ++m_index;
    if (m_index >= m_tips.size() || m_index < 0)
        m_index = 0;
}

void TTipCursor::Previous() {
    --m_index;
    if (m_index < 0 || m_index >= m_tips.size())
        m_index = m_tips.isEmpty() ? 0 : int(m_tips.size()) - 1;
}

QStringList ReadTips(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxTipsFile)
        return {};
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(file.readAll());
    QStringList tips;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString tip = line.trimmed();
        if (!tip.isEmpty())
            tips << tip;
    }
    return tips;
}

QString TipsFilePath() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/tips.rus.txt");
}

TfrmTotd::TfrmTotd(int index, bool showAtStart, QWidget* parent)
    : QDialog(parent), m_cursor(ReadTips(TipsFilePath()), index) {
    setObjectName(QStringLiteral("frmTotd"));
    setWindowTitle(QStringLiteral("Совет дня"));
    auto* heading = new QLabel(QStringLiteral("<b>Знаете ли вы, что...</b>"), this);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("lbTip"));
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_text->setMinimumSize(380, 110);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_showAtStart = new QCheckBox(QStringLiteral("Показывать советы при запуске"), this);
    m_showAtStart->setObjectName(QStringLiteral("cbShowAtStart"));
    m_showAtStart->setChecked(showAtStart);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* previous = buttons->addButton(QStringLiteral("< Предыдущий"), QDialogButtonBox::ActionRole);
    previous->setObjectName(QStringLiteral("btPrevious"));
    QPushButton* next = buttons->addButton(QStringLiteral("Следующий >"), QDialogButtonBox::ActionRole);
    next->setObjectName(QStringLiteral("btNext"));
    QPushButton* close = buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::AcceptRole);
    close->setObjectName(QStringLiteral("btClose"));
    close->setDefault(true);
    connect(previous, &QPushButton::clicked, this, [this] {
        m_cursor.Previous();
        refresh();
    });
    connect(next, &QPushButton::clicked, this, [this] {
        m_cursor.Next();
        refresh();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_text, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_showAtStart);
    bottom->addStretch();
    bottom->addWidget(buttons);
    layout->addLayout(bottom);
    refresh();
}

bool TfrmTotd::ShowAtStart() const {
    return m_showAtStart->isChecked();
}

void TfrmTotd::done(int result) {
    // The next start shows the tip after the one seen last.
    if (!m_advanced) {
        m_advanced = true;
        m_cursor.Next();
    }
    QDialog::done(result);
}

void TfrmTotd::refresh() {
    m_text->setText(m_cursor.Text());
}

} // namespace vlr
