#pragma once
// Names of notes and notebooks are stored in Windows-1251: a character it
// cannot hold becomes '?'. The user is asked before that happens.
#include <QString>
#include <QStringList>

namespace vlr {

// The characters as the question lists them: visible ones as they are,
// invisible ones and combining marks as "U+0301".
QString lostCharactersList(const QStringList& lost);

// The question shown before such a name is stored.
QString nameLossQuestion(const QStringList& lost);

// True when the name may be stored: it loses nothing, or the user agreed to
// the '?' (asked once through the message service).
bool confirmNameLoss(const QString& name);

} // namespace vlr
