#include "editor/richedit.h"

#include "editor/find_dialog.h"

#include <QApplication>
#include <QScreen>

namespace vlr {

TMyRichEdit::TMyRichEdit(QWidget* parent) : TMyCustomRichEdit(parent) {}

TMyRichEdit::~TMyRichEdit() {
    delete m_find;
    delete m_replace;
}

TRichFindDialog* TMyRichEdit::dialog(bool replace) {
    QPointer<TRichFindDialog>& slot = replace ? m_replace : m_find;
    if (!slot) {
        slot = new TRichFindDialog(window(), replace);
        const QPointer<TRichFindDialog>& other = replace ? m_find : m_replace;
        if (other)
            slot->setFindText(other->findText());
        TRichFindDialog* d = slot;
        connect(d, &TRichFindDialog::findNext, this, [this, d] { runFind(d); });
        connect(d, &TRichFindDialog::replaceOne, this, [this, d] { runReplace(d, false); });
        connect(d, &TRichFindDialog::replaceAll, this, [this, d] { runReplace(d, true); });
        connect(d, &TRichFindDialog::closed, this, [this, d] {
            if (OnCloseFindDialog)
                OnCloseFindDialog(this, d);
        });
    }
    return slot;
}

QDialog* TMyRichEdit::FindDialog(const QString& searchText) {
    TRichFindDialog* d = dialog(false);
    if (!searchText.isEmpty())
        d->setFindText(searchText);
    if (m_replace && m_replace->isVisible())
        m_replace->hide();
    d->show();
    d->raise();
    return d;
}

QDialog* TMyRichEdit::ReplaceDialog(const QString& searchText, const QString& replaceText) {
    TRichFindDialog* d = dialog(true);
    if (!searchText.isEmpty())
        d->setFindText(searchText);
    if (!replaceText.isEmpty())
        d->setReplaceText(replaceText);
    if (m_find && m_find->isVisible())
        m_find->hide();
    d->show();
    d->raise();
    return d;
}

void TMyRichEdit::CloseFindDialog() {
    for (TRichFindDialog* d : {m_find.data(), m_replace.data()}) {
        if (d && d->isVisible())
            d->reject();
    }
}

bool TMyRichEdit::CanFindNext() const {
    return m_lastUsed && !m_lastUsed->findText().isEmpty();
}

bool TMyRichEdit::FindNext() {
    if (!CanFindNext())
        return false;
    TRichFindDialog* d = m_lastUsed;
    if (SearchFor(d->findText(), d->down(), d->wholeWord(), d->matchCase()))
        return true;
    if (OnTextNotFound)
        OnTextNotFound(this, d->findText());
    return false;
}

bool TMyRichEdit::SearchFor(const QString& text, bool down, bool wholeWord, bool matchCase) {
    int start = 0, end = 0;
    GetSelection(start, end);
    TRichSearchTypes options = stSetSelection;
    if (wholeWord)
        options |= stWholeWord;
    if (matchCase)
        options |= stMatchCase;
    int pos;
    if (down) {
        pos = FindText(text, end, -1, options);
    } else {
        options |= stBackward;
        pos = FindText(text, 0, start, options);
    }
    if (pos < 0)
        return false;
    keepClearOf(pos, pos + int(text.size()));
    return true;
}

TMyRichEdit::Step TMyRichEdit::replaceStep(const QString& text, const QString& replacement, bool down,
                                           bool wholeWord, bool matchCase) {
    // A match already selected is the next one.
    int start = 0, end = 0;
    GetSelection(start, end);
    SetSelection(down ? start : end, down ? start : end, false);
    if (!SearchFor(text, down, wholeWord, matchCase)) {
        SetSelection(start, end, false);
        return Step::NotFound;
    }
    const int at = SelStart();
    const bool replaced = SetSelText(replacement);
    // Continue after the replacement (down) or before it (up).
    const int next = down ? at + int(replaced ? replacement.size() : text.size()) : at;
    SetSelection(next, next, true);
    return replaced ? Step::Replaced : Step::Refused;
}

bool TMyRichEdit::ReplaceNext(const QString& text, const QString& replacement, bool down, bool wholeWord,
                              bool matchCase) {
    Step step;
    do {
        step = replaceStep(text, replacement, down, wholeWord, matchCase);
    } while (step == Step::Refused);
    return step == Step::Replaced;
}

int TMyRichEdit::ReplaceAll(const QString& text, const QString& replacement, bool down, bool wholeWord,
                            bool matchCase) {
    // One selection and one change notification for the whole run.
    auto onChange = std::exchange(OnChange, nullptr);
    auto onSelection = std::exchange(OnSelectionChange, nullptr);
    setUpdatesEnabled(false);
    int count = 0;
    while (ReplaceNext(text, replacement, down, wholeWord, matchCase))
        ++count;
    setUpdatesEnabled(true);
    OnChange = std::move(onChange);
    OnSelectionChange = std::move(onSelection);
    if (count > 0) {
        if (OnSelectionChange)
            OnSelectionChange(this);
        if (OnChange)
            OnChange(this);
    }
    return count;
}

void TMyRichEdit::runFind(TRichFindDialog* d) {
    m_lastUsed = d;
    if (!SearchFor(d->findText(), d->down(), d->wholeWord(), d->matchCase()) && OnTextNotFound)
        OnTextNotFound(this, d->findText());
}

void TMyRichEdit::runReplace(TRichFindDialog* d, bool all) {
    m_lastUsed = d;
    const bool found =
        all ? ReplaceAll(d->findText(), d->replaceText(), d->down(), d->wholeWord(), d->matchCase()) > 0
            : ReplaceNext(d->findText(), d->replaceText(), d->down(), d->wholeWord(), d->matchCase());
    if (found) {
        keepClearOf(SelStart(), SelStart() + SelLength());
    } else if (OnTextNotFound) {
        OnTextNotFound(this, d->findText());
    }
}

void TMyRichEdit::keepClearOf(int start, int end) {
    // Moves the open dialog off the match: above it when there is room,
    // otherwise below it when it then fits on the screen.
    TRichFindDialog* d = m_lastUsed;
    if (!d || !d->isVisible())
        return;
    const QPoint top = viewport()->mapToGlobal(GetCharPos(start));
    const QPoint bottom = viewport()->mapToGlobal(GetCharPos(end)) + QPoint(0, 20);
    const QRect frame = d->frameGeometry();
    if (!frame.contains(top) && !frame.contains(bottom))
        return;
    const QScreen* screen = d->screen();
    const QRect avail = screen ? screen->availableGeometry() : QRect();
    if (top.y() - 20 - frame.height() >= avail.top()) {
        d->move(frame.left(), top.y() - 20 - frame.height());
    } else if (top.y() + 40 + frame.height() <= avail.bottom()) {
        d->move(frame.left(), top.y() + 40);
    }
}

} // namespace vlr
