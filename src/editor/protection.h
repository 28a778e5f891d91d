#pragma once
// Protected text: runs marked protected may change only with the consent of
// the control's OnProtectChange handler.
class QTextDocument;
class QTextCursor;

namespace vlr {

// True when replacing [start, end) would change protected text. An empty
// range is an insertion point: it is protected when the text typed there
// would itself be protected (the character before it is protected, or, at a
// paragraph start, the paragraph's mark is).
bool touchesProtected(const QTextDocument* doc, int start, int end);

// The same for what a cursor's edit would replace (its selection or its position).
bool touchesProtected(const QTextCursor& cursor);

} // namespace vlr
