#include "core/name_loss.h"

#include "core/codepage.h"
#include "core/messages.h"

namespace vlr {

namespace {

bool shownAsCode(char32_t code) {
    switch (QChar::category(code)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
        return true;
    default:
        return false;
    }
}

} // namespace

QString lostCharactersList(const QStringList& lost) {
    QStringList shown;
    for (const QString& character : lost) {
        // A lone surrogate has no code point of its own: its unit is shown.
        const char32_t code = character.size() == 1 ? character.at(0).unicode() : character.toUcs4().value(0);
        shown << (shownAsCode(code)
                      ? QStringLiteral("U+%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper()
                      : character);
    }
    return shown.join(QStringLiteral(", "));
}

QString nameLossQuestion(const QStringList& lost) {
    return QStringLiteral(
               "В имени есть символы, которые нельзя сохранить в книжке: %1.\nОни будут заменены на "
               "«?». Продолжить?")
        .arg(lostCharactersList(lost));
}

bool confirmNameLoss(const QString& name) {
    const QStringList lost = lostInAnsi(name);
    if (lost.isEmpty())
        return true;
    return showMessage(nameLossQuestion(lost), QStringLiteral("Подтверждение"), MsgIcon::Question,
                       MbYes | MbNo, MbNo) == MbYes;
}

} // namespace vlr
