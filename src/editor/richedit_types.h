#pragma once
// Types, constants and flag sets shared by the rich-text control and the
// code that drives it.
#include <QFlags>
#include <QtGlobal>

namespace vlr {

// The control generation the rest of the program switches features on.
constexpr int kRichEditVersion = 6;

// Colour values with a meaning of their own.
constexpr quint32 kColorWindowText = 0x80000008; // automatic text colour
constexpr quint32 kColorWindow = 0x80000005;     // automatic background
constexpr quint32 kColorAutomatic = 0x20000000;  // written: "automatic" in either role

// The text limit a MaxLength of 0 stands for.
constexpr int kMaxTextLimit = 16777215;

enum class TStreamFormat { sfDefault, sfRichText, sfPlainText };

enum TRichStreamMode {
    smSelection = 0x1,
    smPlainRtf = 0x2,
    smNoObjects = 0x4,
    smUnicode = 0x8,
};
Q_DECLARE_FLAGS(TRichStreamModes, TRichStreamMode)

enum TRichLangOption {
    rlAutoKeyboard = 0x1,
    rlAutoFont = 0x2,
    rlImeCancelComplete = 0x4,
    rlImeAlwaysSendNotify = 0x8,
};
Q_DECLARE_FLAGS(TRichLangOptions, TRichLangOption)

enum TRichSearchType {
    stWholeWord = 0x1,
    stMatchCase = 0x2,
    stBackward = 0x4, // search up instead of down
    stSetSelection = 0x8,
};
Q_DECLARE_FLAGS(TRichSearchTypes, TRichSearchType)

enum TRichSelection {
    stText = 0x1,
    stObject = 0x2,
    stMultiChar = 0x4,
    stMultiObject = 0x8,
};
Q_DECLARE_FLAGS(TRichSelectionType, TRichSelection)

// Identifiers of the next undo and redo actions.
enum class TUndoName { unUnknown = 0, unTyping = 1, unDelete = 2, unDragDrop = 3, unCut = 4, unPaste = 5 };

// Font style bits as the settings and notebook files keep them.
enum TFontStyleBit { fsBold = 0x1, fsItalic = 0x2, fsUnderline = 0x4, fsStrikeOut = 0x8 };

enum class TFontPitch { fpDefault = 0, fpFixed = 1, fpVariable = 2 };

enum class TSubscriptStyle { ssNone, ssSubscript, ssSuperscript };

enum class TAttributeType { atSelected, atWord, atDefaultText };

enum class TParaAlignment { paLeftJustify, paRightJustify, paCenter, paJustify };

// Numbering kinds 0..6.
enum class TRxNumbering {
    nsNone,
    nsBullet,
    nsArabicNumbers,
    nsLoCaseLetter,
    nsUpCaseLetter,
    nsLoCaseRoman,
    nsUpCaseRoman
};

// Numbering styles: how the number is framed.
enum TRxNumberingStyle : int {
    nsParenthesis = 0x000,   // 1)
    nsParenthesises = 0x100, // (1)
    nsPeriod = 0x200,        // 1.
    nsSimple = 0x300,        // 1
    nsNoNumber = 0x400,
};

// Line-spacing rules: single, one and a half, double, at least the value,
// exactly the value, the value in lines (value / 20).
enum class TLineSpacingRule { lsSingle, lsOneAndHalf, lsDouble, lsAtLeast, lsExactly, lsMultiple };

// Buttons a link click reports.
enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Drop effects.
enum class TDropEffect { deNone, deMove, deCopy, deLink };

} // namespace vlr

Q_DECLARE_OPERATORS_FOR_FLAGS(vlr::TRichStreamModes)
Q_DECLARE_OPERATORS_FOR_FLAGS(vlr::TRichLangOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(vlr::TRichSearchTypes)
Q_DECLARE_OPERATORS_FOR_FLAGS(vlr::TRichSelectionType)
