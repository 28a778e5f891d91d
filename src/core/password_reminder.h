#pragma once
// The password reminder as a notebook keeps it: free text of at most 150
// characters whose line breaks are "\r\n" (each counts as two characters, as
// in the notebook's header).
#include <QString>

#include <optional>

namespace vlr {

inline constexpr int kReminderMaxLength = 150;

// Any line breaks become "\r\n"; the text is cut to 150 characters without
// leaving half a line break at the end.
QString reminderToStored(const QString& text);
// Line breaks as "\n", for text widgets.
QString reminderToShown(const QString& stored);

// An edit of the shown reminder (before -> after) kept within the limit: of
// what the edit inserted only as much stays as fits, as a length-limited edit
// box does. Nothing when the edit fits; else the text and where the caret
// belongs.
struct ReminderEdit {
    QString text;
    int cursor = 0;
};
std::optional<ReminderEdit> limitReminderEdit(const QString& before, const QString& after);

} // namespace vlr
