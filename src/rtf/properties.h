#pragma once
// Format properties the document keeps for what Qt's formats cannot say, so
// that a note written back carries the attributes it was read with.
#include <QTextFormat>

namespace vlr::rtf {

enum Property : int {
    // character
    PropUnderlineKind = QTextFormat::UserProperty + 0x5200, // int (Underline) other than none/single
    PropStrikeDouble,                                       // bool
    PropUp,                                                 // int, half points (\up positive, \dn negative)
    PropProtect,                                            // bool
    PropDisabled,                                           // bool
    PropLang,                                               // int
    PropFontCharset,                                        // int
    PropFontFamilyWord,                                     // QByteArray ("fswiss"…)
    PropFontPitch,                                          // int
    PropRawBefore,   // QByteArray: kept RTF groups written before this text
    PropFootnoteRef, // int: the text is a footnote's automatic number; each mark its own id
    // pictures and objects (on QTextImageFormat)
    PropPictKind, // int (Picture::Kind)
    PropPictData, // QByteArray: original PNG or JPEG bytes
    PropPictRaw,  // QByteArray: the original group, written back unchanged
    PropPicW,
    PropPicH,
    PropPicWGoal,
    PropPicHGoal,
    PropPicScaleX,
    PropPicScaleY,
    PropPictShownW, // qreal: the width the goal sizes gave, to tell a resize
    PropPictShownH,
    PropObject, // bool
    // paragraph
    PropLineSpacing,  // int: \sl in twips
    PropLineMult,     // bool: \slmult1
    PropTabKinds,     // QByteArray: per tab stop its kind and leader
    PropRawTail,      // QByteArray: kept RTF groups at the end of the paragraph
    PropFootnoteEcho, // bool: a footnote shown at the end; the footnote itself is kept raw
    // lists (on QTextListFormat)
    PropListStart,  // int: the first item's number (Qt 6.4 lists always count from 1)
    PropListIndent, // int: \pnindent, twips
    PropListBullet, // QString: the bullet character the document gave
    // paragraph, appended so that the values above stay
    PropListFirstIndent, // int: a list item's \fi in twips; its textIndent is 0 so its text starts at \li
    PropRawSerial,       // int: which kept groups PropRawBefore holds, so equal groups stay two
};

} // namespace vlr::rtf
