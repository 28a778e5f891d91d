#pragma once
// TVLROptions: every user-adjustable behaviour of the program, held once for
// the whole process. Fields are in record order with their built-in
// defaults; the defaults that depend on the system (author, folders, date and
// time formats) are filled by setDefaultOptions.
#include "core/dateformat.h"

#include <QKeySequence>
#include <QString>

namespace vlr {

// Style bytes: bold 1, italic 2, underline 4, strike-out 8. Colours: 0x00BBGGRR,
// or 0x80000000 + n for system colour n (5 window, 8 window text).
struct TVLROptions {
    // Capacities of the fixed-size author fields; longer values are cut.
    static constexpr int kAuthorNameMax = 100;
    static constexpr int kCompanyMax = 100;
    static constexpr int kCommentsMax = 200;

    QString DefFontName = QStringLiteral("Verdana");
    int DefFontSize = 9;
    quint32 DefFontColor = 0x80000008;
    quint8 DefFontStyle = 0;
    quint8 DefFontCharset = 1;
    quint32 DefEditorBack = 0xE1FFFF;
    quint8 DefParaAlign = 0; // 0 left, 1 right, 2 centre, 3 justified
    int DefFirstIndent = 0;
    int DefLeftIndent = 0;
    int DefRightIndent = 0;
    int DefSpaceBefore = 0;
    int DefSpaceAfter = 0;
    quint8 DefLineSpacing = 0; // 0 single, 1 one and a half, 2 double, 3 at least, 4 exactly, 5 multiple
    double DefLineSpacingValue = 0;
    int DefNodeImageIndex = 0;
    quint8 DefNodeFontStyle = 0;
    quint32 DefNodeFontColor = 0x80000008;
    quint32 DefNodeFontBack = 0;
    QString PlainFontName = QStringLiteral("Courier New");
    int PlainFontSize = 9;
    quint32 PlainFontColor = 0x80000008;
    quint8 PlainFontStyle = 0;
    quint8 PlainFontCharset = 1;
    int DefResSize = 5000;
    bool DefCompress = false;
    bool DefEncrypt = false;
    int DefAwayMinutes = 10;
    int DefRootImageIndex = 1;
    quint8 DefRootFontStyle = 1;
    quint32 DefRootFontColor = 0x80000008;
    quint32 DefRootFontBack = 0;
    QString DefAuthorName; // at most kAuthorNameMax
    QString DefCompany;    // at most kCompanyMax
    QString DefComments;   // at most kCommentsMax
    QString TreeFontName = QStringLiteral("Verdana");
    quint8 TreeFontCharset = 1;
    int TreeFontSize = 8;
    quint32 TreeBackColor = 0xD1FFFF;
    bool TreeShowLines = true;
    bool TreeHotTrack = false;
    bool TreeAutoCollapse = false;
    bool TreeAutoExpand = false;
    bool TreeAsPanel = false;
    bool TreeDrawChildCount = false;
    bool ShowTipOfTheDay = true;
    int DefMarginTop = 2000;
    int DefMarginLeft = 2500;
    int DefMarginRight = 2000;
    int DefMarginBottom = 2000;
    bool EditorWordWrap = true;
    bool EditorWordSel = true;
    bool EditorAutoURL = true;
    bool EditorApplyWord = false;
    bool EditorAutoFocus = true;
    bool EditorTabJump = false;
    bool EditorPaintFonts = false;
    bool DisableNonTrueType = false;
    int EditorURLDblClick = 4;    // 0 nothing, 1 open, 2 open in new window, 3 copy link, 4 menu
    int EditorURLModifier = 1;    // 0 none, 1 Ctrl, 2 Shift, 3 Ctrl+Shift
    int EditorURLSingleClick = 2; // as EditorURLDblClick
    bool EditorURLRightMenu = true;
    QString EditorFormatDate;
    QString EditorFormatTime;
    QString EditorFormatDateTime;
    bool EditorUseDefault = false;
    bool MinimizeOnClose = false;
    bool MinimizeToTray = false;
    bool MinimizeOnStart = false;
    bool StealthOnMinimize = false;
    bool AutoRunWithWindows = false; // the autostart entry, not in the settings file
    bool AutoLoadPrevious = true;
    bool MinimizeByESC = true;
    bool EnableHotKey = false;
    QKeySequence ActivateHotKey; // empty: no hot key
    bool PlusWin = false;        // the hot key also needs the Meta key
    bool FreeUnusedRes = false;
    bool AwayOnStealth = false;
    bool SaveOnMinimize = true;
    bool PackOnExit = false;
    bool AutoSaveOnExit = false;
    bool BackupOnPack = true;
    int AutoSaveMinutes = 10;
    bool EnableAutoSave = true;
    QString BackupPath;
    bool PackOn30Percent = true;
    QString DefaultPath;
    bool SaveCursor = true;
    QString SeparatorFormat = QStringLiteral("------------< hh:mm:ss, dd mmmm yyyy >------------");
    bool SeparatorUseCurrentFont = false;
    QString SeparatorFontName = QStringLiteral("Arial");
    quint8 SeparatorCharset = 1;
    quint8 SeparatorFontStyle = 2;
    int SeparatorFontSize = 10;
    quint32 SeparatorFontColor = 0x800080;
    quint32 SeparatorFontBack = 0x80000005;
    bool AskSaveChanges = true;
    bool AskDelNote = true;
    bool AskCompress = true;
    bool AskProtect = true;
    bool AskHide = true;
    bool AskNoPrinter = true;
    bool AskNoRichEdit = true;
    QString InsertSymbolFont = QStringLiteral("Symbol");
    QString HeaderFormat = QStringLiteral("$NB - $N");
    QString FooterFormat = QStringLiteral("$P / $TP");
    QString FHFontName = QStringLiteral("Times New Roman");
    int FHFontSize = 12;
    quint8 FHFontStyle = 0;
    quint8 FHFontCharset = 1;
    quint32 FHFontColor = 0;
    quint8 MarginLines = 3; // bit 0 header rule, bit 1 footer rule
    quint8 HeaderAlign = 0; // 0 left, 1 right, 2 centre
    quint8 FooterAlign = 2;
    bool AssociateWithVLR = false; // the .vlr file association, not in the settings file
    int ClipMaxSize = 0;           // kilobytes
    bool ColReverseDND = true;
    bool ColCatchUrl = false;
    bool ColCatchTop = false;
    int ColLayered = 100; // percent
    quint32 ColBackColor = 0x80000005;

    bool operator==(const TVLROptions&) const = default;
};

// What the system-dependent defaults are taken from.
struct TSystemFacts {
    QString userName;        // the user's full name, else the login name
    QString documentsFolder; // with a trailing "/", or empty
    DateFormatLocale dates;

    static TSystemFacts current();
};

// Fills the record with the built-in defaults. The backup folder defaults to
// the documents folder: the floppy drive the original default named has no
// counterpart here.
void setDefaultOptions(TVLROptions& options, const TSystemFacts& facts = TSystemFacts::current());

// Cuts a fixed-capacity text to its capacity without splitting a character.
QString cutToCapacity(const QString& text, int capacity);

// The process-wide record, holding the defaults until the settings are read.
TVLROptions& programOptions();

} // namespace vlr
