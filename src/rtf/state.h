#pragma once
// What the reader knows at a point of the text: the character and paragraph
// attributes in force, and the tables they refer to.
#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <vector>

namespace vlr::rtf {

// Underline kinds, in the order the RTF words name them.
enum Underline : quint8 {
    UlNone,
    UlSingle,
    UlWords,
    UlDouble,
    UlDotted,
    UlDash,
    UlDashDot,
    UlDashDotDot,
    UlWave,
    UlThick,
    UlThickDotted,
    UlThickDash,
    UlDoubleWave,
    UlHeavyWave,
    UlLongDash,
    UlThickLongDash,
    UlThickDashDot,
    UlThickDashDotDot,
    UlCount
};

// The RTF word of each underline kind (index = Underline).
extern const char* const kUnderlineWords[UlCount];

struct CharState {
    int font = -1;     // font number; -1: none given
    int fontSize = 0;  // half points; 0: none given
    int color = 0;     // colour table index; 0: automatic
    int highlight = 0; // colour table index; 0: none
    int up = 0;        // \up (positive) or \dn (negative), half points
    int lang = 0;      // 0: none given
    quint8 underline = UlNone;
    quint8 strike = 0;   // 1 single, 2 double
    quint8 vertical = 0; // 1 superscript, 2 subscript
    quint8 caps = 0;     // 1 all caps, 2 small caps
    bool bold = false;
    bool italic = false;
    bool protect = false;
    bool disabled = false;
    bool hidden = false;
    int footnoteRef = 0; // nonzero: the automatic footnote number (\chftn), one id per mark
    QString href;        // target of the hyperlink field this text belongs to

    bool operator==(const CharState&) const = default;
};

enum class Align : quint8 { Left, Right, Center, Justify };

struct TabStop {
    int pos = 0;       // twips
    quint8 kind = 0;   // 0 left, 1 center, 2 right, 3 decimal, 4 bar
    quint8 leader = 0; // 0 none, 1 dots, 2 hyphens, 3 underline, 4 thick line, 5 equals, 6 middle dots
    bool operator==(const TabStop&) const = default;
};

// Numbering kinds; the numbers are those of the paragraph attribute table.
enum class ListKind : quint8 { None, Bullet, Decimal, LowerAlpha, UpperAlpha, LowerRoman, UpperRoman };

struct ListInfo {
    ListKind kind = ListKind::None;
    int start = 1;
    int level = 0;
    int indent = 0; // twips (\pnindent)
    QString prefix, suffix;
    QChar bullet; // the document's own bullet character, when it gave one
    // Paragraphs with the same key belong to one list: \ls number for word
    // processor lists, -1 for the rich-edit control's \pn numbering.
    int key = -1;
    bool operator==(const ListInfo&) const = default;
};

struct ParaState {
    Align align = Align::Left;
    int fi = 0, li = 0, ri = 0, sb = 0, sa = 0; // twips
    int sl = 0;                                 // twips; 0: single
    bool slmult = false;
    bool rtl = false;
    bool intbl = false;
    int itap = 0; // nesting level of the table the paragraph is in (\itap); 0 with \intbl: 1
    bool pageBreakBefore = false;
    QList<TabStop> tabs; // shared between group copies until changed
    // Legacy numbering (\pn) as it stands, and the \ls/\ilvl pair.
    ListInfo pn;
    bool pnOn = false;
    int ls = 0;
    int ilvl = 0;
    // Resolved when the paragraph ends.
    ListInfo list;

    bool operator==(const ParaState&) const = default;
};

struct FontEntry {
    QString name;
    int charset = -1;  // -1: not given
    int codePage = 0;  // \cpg, 0: not given
    QByteArray family; // \froman, \fswiss… without the backslash
    int pitch = 0;
    QString alt; // \falt: the face to use where this one is missing
};

struct ListLevel {
    ListKind kind = ListKind::Decimal;
    int start = 1;
    QString prefix, suffix;
    QChar bullet;
};

struct Tables {
    QHash<int, FontEntry> fonts;
    std::vector<QColor> colors; // index 0 is usually the automatic colour (invalid)
    int defaultFont = 0;
    int ansiCodePage = 1252;
    int defaultLang = 0;
    int defTab = 720; // twips between default tab stops
};

// A picture, or an embedded object shown by its result picture.
struct Picture {
    enum Kind : quint8 { None, Png, Jpeg, Emf, Wmf, Dib, Wbitmap, Other };
    Kind kind = None;
    QByteArray data; // the picture's bytes, decoded from hex or \bin
    int picw = 0, pich = 0, picwgoal = 0, pichgoal = 0;
    int scalex = 100, scaley = 100;
    // Objects and pictures the document cannot represent keep their original
    // group, written back unchanged.
    QByteArray raw;
    bool object = false;
    int objw = 0, objh = 0; // twips
};

// One cell of a row definition: its merge marks and right boundary.
struct CellDef {
    int right = 0;     // \cellx, twips
    quint8 hmerge = 0; // 1: first of cells merged across (\clmgf), 2: merged into the cell before (\clmrg)
    quint8 vmerge = 0; // 1: first of cells merged down (\clvmgf), 2: merged into the cell above (\clvmrg)
    bool operator==(const CellDef&) const = default;
};

// Where a cell of a row stands in its table's grid of columns.
struct CellPlace {
    int row = 0, column = 0;   // the grid cell it shows in: its own, or the first cell of its merge
    int rows = 1, columns = 1; // the span of a merge's first cell
    bool covered = false;      // merged into the cell at row/column: its text joins that cell's
};

// A table row: the row definition, and once the whole table is known, the
// place of each of its cells in order.
struct RowInfo {
    std::vector<CellDef> cells;
    bool rtl = false; // \taprtl: the first cell is on the right
    int depth = 1;    // 1 for a table in the text, 2 and more for tables inside cells
    std::vector<CellPlace> places;
};

// A table as a whole: its grid, its merged cells.
struct TableInfo {
    int rows = 0;
    int columns = 1;
    std::vector<int> columnWidth; // per grid column in twips; 0: not given
    std::vector<CellPlace> spans; // the first cells of merges
    bool rtl = false;
    int depth = 1;
};

} // namespace vlr::rtf
