#pragma once
// The rules behind the format bar that need no widgets: undo captions, the
// size box's text, the document colours of a stored body, the zoom presets.
#include "editor/richedit_types.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace vlr {

// "Отменить ввод текста", "Повторить удаление"…; an identifier without a
// name leaves the caption ending in its space.
QString undoCaption(TUndoName name);
QString redoCaption(TUndoName name);
QString undoActionName(TUndoName name);

// The size box keeps only the decimal digits of what was typed or chosen:
// "1a2" is 12 points; text without digits (or a number too large for a font
// size) sets nothing. A chosen item must also be above 0.
std::optional<int> sizeBoxPoints(const QString& text, bool chosen);

// The colours of the colour table in the first 1000 bytes of a stored RTF
// body, as 0x00BBGGRR; an entry that does not parse is 0x1FFFFFFF. Empty
// when there is no table within those bytes.
QList<quint32> documentColors(const QByteArray& body);
constexpr int kDocumentColorBytes = 1000;
constexpr quint32 kNoColor = 0x1FFFFFFF;

// The zoom menu's percentages.
inline constexpr int kZoomPresets[] = {10, 25, 50, 75, 90, 100, 110, 125, 150, 175, 200};
constexpr int kZoomMin = 1;
constexpr int kZoomMax = 1000;

} // namespace vlr
