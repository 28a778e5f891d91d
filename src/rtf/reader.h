#pragma once
// The reader behind interpret(): the group stack, the destination each group
// is in, and what each destination has collected so far. Its parts live in
// files of their own (body text, character, paragraph and table words, and
// one file per destination); this header is shared by them only.
#include "rtf/code_pages.h"
#include "rtf/keywords.h"
#include "rtf/sink.h"
#include "rtf/state.h"
#include "rtf/table_recorder.h"
#include "rtf/tokenizer.h"

#include <QHash>
#include <memory>
#include <optional>
#include <vector>

namespace vlr::rtf::detail {

// Deeper groups are still read, with the state of the deepest kept level:
// no writer nests this deep, and the cap keeps memory small for hostile input.
constexpr int kMaxDepth = 1024;
constexpr int kMaxParam = 1 << 24;
// Tables nest at most this deep; deeper levels are read as the deepest.
// Laying out a nested table measures its content again at every level, so
// showing a note takes twice as long per level: 16 levels froze the editor
// for most of a minute, while documents seldom nest more than three.
constexpr int kMaxTableDepth = 6;

enum class Dest : quint8 {
    Normal,
    Skip,
    FontTable,
    ColorTable,
    Pict,
    FldInst,
    Pn,
    PnTxtA,
    PnTxtB,
    ListTable,
    List,
    ListLevel,
    LevelText,
    ListOverrideTable,
    ListOverride,
    Object,
    ObjResult,
    Raw,
    Footnote,
    FontAlt,
    NestTableProps, // a nested row's definition, and the word that ends the row
    Shape,          // a drawing object or text box, kept as written
    ShapeText,      // the text of a text box
};

struct GroupState {
    CharState chr;
    ParaState para;
    Dest dest = Dest::Normal;
    int uc = 1;
    int field = -1;      // innermost field this group is in
    qsizetype start = 0; // offset of the group's '{'
    // Where a kept group's bytes begin: the '{', or the destination word when
    // the group showed something before it (then a '{' is put in front).
    qsizetype rawFrom = 0;
    quint64 outputsAtStart = 0;
    // What applies where a kept group's bytes begin: \uc, font, \ansicpg.
    int rawUc = 1;
    int rawFont = -1;
    int rawAnsi = 0;
};

// A control word as the handlers see it: its keyword, its bounded parameter.
struct Word {
    Kw kw;
    int p;
    bool on; // no parameter, or one other than 0
    bool star;
    const Token& token;
};

struct Field {
    QString inst;
};

struct ListDef {
    std::vector<ListLevel> levels;
};

// A \listoverride: the list it names, and per \lfolevel the level that
// replaces the list's own (empty when the override only restarts it).
struct ListOverrideDef {
    int listId = 0;
    std::vector<std::optional<ListLevel>> levels;
};

// Bullets given in a symbol font's private-use range, mapped to the character they show.
QChar shownBullet(QChar c);

class Interpreter {
public:
    Interpreter(QByteArrayView rtf, Sink& sink) : tok_(rtf), in_(rtf), sink_(sink) {}
    void run();

private:
    GroupState& cur() { return stack_.back(); }

    // interpreter.cpp: groups and dispatch
    void openGroup(qsizetype pos);
    bool closeGroup(qsizetype end); // false when the document group closed
    void word(const Token& t);
    bool documentWord(const Word& w);
    void symbol(const Token& t);
    void textBytes(QByteArrayView bytes);
    void unicodeChar(char16_t c);
    void markRawStart(qsizetype wordPos);
    QByteArray rawBytes(const GroupState& g, qsizetype end) const;
    // A group kept for writing back: its text made to mean the same there.
    QByteArray keptBytes(const GroupState& g, qsizetype end);
    void sideText(QString& target, QByteArrayView bytes);
    void flushSideText();

    // body_text.cpp: the document's own text
    void bodyBytes(QByteArrayView bytes);
    void bodyChar(char16_t c);
    void bodyString(QStringView s);
    void flushBytes();
    void flushText();
    int codePage();
    int lookupCodePage();
    int codePageOfFont(int font, int ansiCodePage) const;

    // char_words.cpp, para_words.cpp, table_words.cpp: body attributes and structure
    bool charWord(const Word& w);
    bool paraWord(const Word& w);
    void paragraph();
    bool tableWord(const Word& w);
    bool rowDefinitionWord(const Word& w);
    void flow();
    void cell(bool nested);
    void row(bool nested);
    void endTables();
    void enterTables(int depth);
    void openRow(int depth);
    void closeTable();
    RowInfo& rowDef(int depth);

    // font_table.cpp, color_table.cpp
    bool fontWord(const Word& w);
    void fontTableBytes(QByteArrayView bytes);
    void fontAltBytes(QByteArrayView bytes);
    void finishFontName();
    void fontNameBytesToText();
    bool colorWord(const Word& w);
    void colorTableBytes(QByteArrayView bytes);

    // list_table.cpp, pn_numbering.cpp
    bool listWord(const Word& w);
    void finishLevelText();
    ListLevel* levelBeingRead();
    ParaState resolvedPara();
    bool pnWord(const Word& w);
    void pnPropertyWord(const Word& w);
    void pnTextBytes(QByteArrayView bytes);

    // fields.cpp
    bool fieldWord(const Word& w);

    // pictures_read.cpp
    bool pictureWord(const Word& w);
    void pictPropertyWord(const Word& w);
    void objectWord(const Word& w);
    void pictBytes(QByteArrayView bytes);
    void finishPict(const GroupState& g, GroupState& parent, qsizetype end);
    void finishObject(const GroupState& g, GroupState& parent, qsizetype end);
    void emitPicture(Picture& pic);

    // text_boxes.cpp
    bool textBoxWord(const Word& w);
    void shapeWord(const Word& w);
    void boxTextWord(const Word& w);
    void finishTextBox(const GroupState& g, qsizetype end);

    // footnotes.cpp
    bool footnoteWord(const Word& w);
    void footnoteTextWord(const Word& w);
    void footnoteMark();
    void finishFootnote(const GroupState& g, qsizetype end);

    Tokenizer tok_;
    QByteArrayView in_;
    TableRecorder sink_;
    std::vector<GroupState> stack_;
    int extraDepth_ = 0; // groups beyond kMaxDepth
    Tables tables_;
    std::vector<Field> fields_;
    QHash<int, ListDef> lists_;
    QHash<int, ListOverrideDef> overrides_;

    // pending text
    QString text_;
    CharState textState_;
    QByteArray bytes_;
    int bytesCodePage_ = 0;
    std::unique_ptr<CodePageDecoder> decoder_;

    int ucSkip_ = 0;
    bool starPending_ = false;
    qsizetype starPos_ = 0;
    quint64 outputs_ = 0;    // events handed to the sink so far
    bool textDirty_ = false; // text_ may hold characters safeTextChar changes
    bool bodyStarted_ = false;
    // Tables: per open level (outermost first) whether a row is open; the
    // row definitions being read per level, and the level \cellx words go to.
    std::vector<bool> rowOpen_;
    std::vector<RowInfo> rowDefs_;
    int defDepth_ = 1;
    CellDef pendingCell_;
    TabStop pendingTab_;

    // font and colour tables being read
    int fontNum_ = -1;
    QByteArray fontName_;  // bytes not yet decoded
    QString fontNameText_; // decoded part (\\uN letters included)
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorSet_ = false;

    // lists being read
    ListDef listDef_;
    int listId_ = 0;
    int overrideLs_ = 0;
    ListOverrideDef overrideDef_;
    bool overrideLevel_ = false; // the \listlevel being read belongs to an override
    QString levelText_;

    // the text box being read
    QString boxText_;
    bool boxHasText_ = false;

    // bytes of footnote, text box or field instruction text not yet decoded
    QByteArray sideBytes_;
    QString* sideTarget_ = nullptr;
    int sideCodePage_ = 0;

    // footnotes
    QString footnoteText_;
    int footnotes_ = 0;
    int footnoteMarks_ = 0;

    // picture and object being read
    Picture pict_;
    int hexNibble_ = -1;
    Picture object_;
    bool inObject_ = false;
    // The code page of the current font, cached until the font or the tables change.
    int cpFont_ = -2, cpValue_ = 0, cpVersion_ = -1, tablesVersion_ = 0;
};

} // namespace vlr::rtf::detail
