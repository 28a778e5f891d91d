#pragma once
// The control as the windows use it: the rich-text control with its own
// find and replace dialogs.
#include "editor/custom_richedit.h"

#include <QPointer>

namespace vlr {

class TRichFindDialog;

class TMyRichEdit : public TMyCustomRichEdit {
    Q_OBJECT
public:
    explicit TMyRichEdit(QWidget* parent = nullptr);
    ~TMyRichEdit() override;

    // Shows the dialog (created on first use and kept); a dialog created
    // after the other starts with the other's search text. A non-empty
    // text replaces the search text.
    QDialog* FindDialog(const QString& searchText = QString());
    QDialog* ReplaceDialog(const QString& searchText = QString(), const QString& replaceText = QString());
    void CloseFindDialog(); // hides whichever dialog is open

    // The last used dialog's search again; false (and OnTextNotFound) when
    // nothing was found, false without an event when there was no search.
    bool FindNext();
    bool CanFindNext() const;

    // Searches from the selection as a dialog does: down from the end of the
    // selection, up from its start. A match is selected and scrolled into view.
    bool SearchFor(const QString& text, bool down, bool wholeWord, bool matchCase);
    // Replaces the next match from the selection; false when none was
    // replaced (a protected match is passed over).
    bool ReplaceNext(const QString& text, const QString& replacement, bool down, bool wholeWord,
                     bool matchCase);
    // Replaces every match in the dialog's direction; the number replaced.
    int ReplaceAll(const QString& text, const QString& replacement, bool down, bool wholeWord,
                   bool matchCase);

private:
    enum class Step { NotFound, Replaced, Refused };
    Step replaceStep(const QString& text, const QString& replacement, bool down, bool wholeWord,
                     bool matchCase);
    TRichFindDialog* dialog(bool replace);
    void runFind(TRichFindDialog* d);
    void runReplace(TRichFindDialog* d, bool all);
    void keepClearOf(int start, int end);

    QPointer<TRichFindDialog> m_find;
    QPointer<TRichFindDialog> m_replace;
    QPointer<TRichFindDialog> m_lastUsed;
};

} // namespace vlr
