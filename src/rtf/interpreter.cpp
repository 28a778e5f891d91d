#include "rtf/interpreter.h"

#include "rtf/code_pages.h"
#include "rtf/escape.h"
#include "rtf/tokenizer.h"

#include <array>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace vlr::rtf {

const char* const kUnderlineWords[UlCount] = {"ulnone",    "ul",        "ulw",        "uldb",    "uld",
                                              "uldash",    "uldashd",   "uldashdd",   "ulwave",  "ulth",
                                              "ulthd",     "ulthdash",  "ululdbwave", "ulhwave", "ulldash",
                                              "ulthldash", "ulthdashd", "ulthdashdd"};

bool looksLikeRtf(QByteArrayView data) {
    qsizetype i = 0;
    if (data.startsWith("\xEF\xBB\xBF"))
        i = 3;
    while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    return data.sliced(i).startsWith("{\\rtf");
}

namespace {

// Deeper groups are still read, with the state of the deepest kept level:
// no writer nests this deep, and the cap keeps memory small for hostile input.
constexpr int kMaxDepth = 1024;
constexpr int kMaxParam = 1 << 24;

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
};

enum Kw : int {
    KwUnknown,
    // document
    KwRtf,
    KwAnsi,
    KwMac,
    KwPc,
    KwPca,
    KwAnsiCpg,
    KwDeff,
    KwDeflang,
    KwDefTab,
    KwUc,
    KwU,
    // destinations
    KwFontTbl,
    KwColorTbl,
    KwStyleSheet,
    KwInfo,
    KwPict,
    KwObject,
    KwField,
    KwFldInst,
    KwFldRslt,
    KwPnText,
    KwListText,
    KwPn,
    KwPnTxtA,
    KwPnTxtB,
    KwListTable,
    KwList,
    KwListLevel,
    KwLevelText,
    KwLfoLevel,
    KwFootnote,
    KwChFtn,
    KwFAlt,
    KwLevelNumbers,
    KwListOverrideTable,
    KwListOverride,
    KwResult,
    KwShpPict,
    KwNonShpPict,
    KwSkipDest,
    KwObjData,
    // fonts and colours
    KwF,
    KwFCharset,
    KwCpg,
    KwFFamily,
    KwFPrq,
    KwRed,
    KwGreen,
    KwBlue,
    // character
    KwPlain,
    KwB,
    KwI,
    KwUl,
    KwUlKind,
    KwUlNone,
    KwStrike,
    KwStriked,
    KwFs,
    KwCf,
    KwHighlight,
    KwCb,
    KwSuper,
    KwSub,
    KwNoSuperSub,
    KwUp,
    KwDn,
    KwProtect,
    KwDisabled,
    KwV,
    KwLang,
    KwCaps,
    KwScaps,
    // paragraph
    KwPard,
    KwPar,
    KwSect,
    KwPage,
    KwQl,
    KwQr,
    KwQc,
    KwQj,
    KwFi,
    KwLi,
    KwRi,
    KwSb,
    KwSa,
    KwSl,
    KwSlMult,
    KwTx,
    KwTb,
    KwTqr,
    KwTqc,
    KwTqDec,
    KwTlDot,
    KwTlHyph,
    KwTlUl,
    KwTlTh,
    KwTlEq,
    KwTlMdot,
    KwRtlPar,
    KwLtrPar,
    KwPageBb,
    // numbering
    KwPnLvlBlt,
    KwPnLvlBody,
    KwPnLvlCont,
    KwPnLvl,
    KwPnDec,
    KwPnUcLtr,
    KwPnLcLtr,
    KwPnUcRm,
    KwPnLcRm,
    KwPnStart,
    KwPnIndent,
    KwLs,
    KwIlvl,
    KwListId,
    KwLevelNfc,
    KwLevelNfcN,
    KwLevelStartAt,
    // tables
    KwTrowd,
    KwCellx,
    KwTapRtl,
    KwCell,
    KwRow,
    KwIntbl,
    KwItap,
    KwNestCell,
    KwNestRow,
    // pictures and objects
    KwPngBlip,
    KwJpegBlip,
    KwEmfBlip,
    KwWmetafile,
    KwDibitmap,
    KwWbitmap,
    KwOtherPict,
    KwPicW,
    KwPicH,
    KwPicWGoal,
    KwPicHGoal,
    KwPicScaleX,
    KwPicScaleY,
    KwObjW,
    KwObjH,
    KwBin,
    // characters
    KwTab,
    KwLine,
    KwEmDash,
    KwEnDash,
    KwBullet,
    KwLQuote,
    KwRQuote,
    KwLDblQuote,
    KwRDblQuote,
    KwEmSpace,
    KwEnSpace,
    KwQmSpace,
    KwZwj,
    KwZwnj,
    KwZwbo,
    KwLtrMark,
    KwRtlMark,
};

// Control words are looked up once per word: an open-addressed table with a
// cheap hash, built once.
class KeywordTable {
public:
    explicit KeywordTable(const std::unordered_map<std::string_view, int>& words) {
        for (const auto& [name, kw] : words) {
            size_t i = hash(name) & kMask;
            while (slots_[i].kw != KwUnknown)
                i = (i + 1) & kMask;
            slots_[i] = Slot{name, kw};
        }
    }
    int find(QByteArrayView name) const {
        const std::string_view key(name.data(), size_t(name.size()));
        for (size_t i = hash(key) & kMask;; i = (i + 1) & kMask) {
            const Slot& s = slots_[i];
            if (s.kw == KwUnknown)
                return KwUnknown;
            if (s.name == key)
                return s.kw;
        }
    }

private:
    static constexpr size_t kSize = 1024; // well above the number of words
    static constexpr size_t kMask = kSize - 1;
    static size_t hash(std::string_view s) {
        quint32 h = 2166136261u;
        for (char c : s)
            h = (h ^ quint8(c)) * 16777619u;
        return h;
    }
    struct Slot {
        std::string_view name;
        int kw = KwUnknown;
    };
    std::array<Slot, kSize> slots_{};
};

const KeywordTable& keywords() {
    static const KeywordTable table = [] {
        std::unordered_map<std::string_view, int> m{{"rtf", KwRtf},
                                                    {"ansi", KwAnsi},
                                                    {"mac", KwMac},
                                                    {"pc", KwPc},
                                                    {"pca", KwPca},
                                                    {"ansicpg", KwAnsiCpg},
                                                    {"deff", KwDeff},
                                                    {"deflang", KwDeflang},
                                                    {"uc", KwUc},
                                                    {"u", KwU},
                                                    {"fonttbl", KwFontTbl},
                                                    {"colortbl", KwColorTbl},
                                                    {"stylesheet", KwStyleSheet},
                                                    {"info", KwInfo},
                                                    {"pict", KwPict},
                                                    {"object", KwObject},
                                                    {"field", KwField},
                                                    {"fldinst", KwFldInst},
                                                    {"fldrslt", KwFldRslt},
                                                    {"pntext", KwPnText},
                                                    {"listtext", KwListText},
                                                    {"pn", KwPn},
                                                    {"pntxta", KwPnTxtA},
                                                    {"pntxtb", KwPnTxtB},
                                                    {"listtable", KwListTable},
                                                    {"list", KwList},
                                                    {"listlevel", KwListLevel},
                                                    {"leveltext", KwLevelText},
                                                    {"levelnumbers", KwLevelNumbers},
                                                    {"listoverridetable", KwListOverrideTable},
                                                    {"listoverride", KwListOverride},
                                                    {"deftab", KwDefTab},
                                                    {"footnote", KwFootnote},
                                                    {"chftn", KwChFtn},
                                                    {"falt", KwFAlt},
                                                    {"lfolevel", KwLfoLevel},
                                                    {"result", KwResult},
                                                    {"shppict", KwShpPict},
                                                    {"nonshppict", KwNonShpPict},
                                                    {"objdata", KwObjData},
                                                    {"f", KwF},
                                                    {"fcharset", KwFCharset},
                                                    {"cpg", KwCpg},
                                                    {"fnil", KwFFamily},
                                                    {"froman", KwFFamily},
                                                    {"fswiss", KwFFamily},
                                                    {"fmodern", KwFFamily},
                                                    {"fscript", KwFFamily},
                                                    {"fdecor", KwFFamily},
                                                    {"ftech", KwFFamily},
                                                    {"fbidi", KwFFamily},
                                                    {"fprq", KwFPrq},
                                                    {"red", KwRed},
                                                    {"green", KwGreen},
                                                    {"blue", KwBlue},
                                                    {"plain", KwPlain},
                                                    {"b", KwB},
                                                    {"i", KwI},
                                                    {"ul", KwUl},
                                                    {"ulnone", KwUlNone},
                                                    {"strike", KwStrike},
                                                    {"striked", KwStriked},
                                                    {"fs", KwFs},
                                                    {"cf", KwCf},
                                                    {"highlight", KwHighlight},
                                                    {"cb", KwCb},
                                                    {"chcbpat", KwCb},
                                                    {"super", KwSuper},
                                                    {"sub", KwSub},
                                                    {"nosupersub", KwNoSuperSub},
                                                    {"up", KwUp},
                                                    {"dn", KwDn},
                                                    {"protect", KwProtect},
                                                    {"disabled", KwDisabled},
                                                    {"v", KwV},
                                                    {"lang", KwLang},
                                                    {"caps", KwCaps},
                                                    {"scaps", KwScaps},
                                                    {"pard", KwPard},
                                                    {"par", KwPar},
                                                    {"sect", KwSect},
                                                    {"page", KwPage},
                                                    {"ql", KwQl},
                                                    {"qr", KwQr},
                                                    {"qc", KwQc},
                                                    {"qj", KwQj},
                                                    {"fi", KwFi},
                                                    {"li", KwLi},
                                                    {"ri", KwRi},
                                                    {"sb", KwSb},
                                                    {"sa", KwSa},
                                                    {"sl", KwSl},
                                                    {"slmult", KwSlMult},
                                                    {"tx", KwTx},
                                                    {"tb", KwTb},
                                                    {"tqr", KwTqr},
                                                    {"tqc", KwTqc},
                                                    {"tqdec", KwTqDec},
                                                    {"tldot", KwTlDot},
                                                    {"tlhyph", KwTlHyph},
                                                    {"tlul", KwTlUl},
                                                    {"tlth", KwTlTh},
                                                    {"tleq", KwTlEq},
                                                    {"tlmdot", KwTlMdot},
                                                    {"rtlpar", KwRtlPar},
                                                    {"ltrpar", KwLtrPar},
                                                    {"pagebb", KwPageBb},
                                                    {"pnlvlblt", KwPnLvlBlt},
                                                    {"pnlvlbody", KwPnLvlBody},
                                                    {"pnlvlcont", KwPnLvlCont},
                                                    {"pnlvl", KwPnLvl},
                                                    {"pndec", KwPnDec},
                                                    {"pnucltr", KwPnUcLtr},
                                                    {"pnlcltr", KwPnLcLtr},
                                                    {"pnucrm", KwPnUcRm},
                                                    {"pnlcrm", KwPnLcRm},
                                                    {"pnstart", KwPnStart},
                                                    {"pnindent", KwPnIndent},
                                                    {"ls", KwLs},
                                                    {"ilvl", KwIlvl},
                                                    {"listid", KwListId},
                                                    {"levelnfc", KwLevelNfc},
                                                    {"levelnfcn", KwLevelNfcN},
                                                    {"levelstartat", KwLevelStartAt},
                                                    {"trowd", KwTrowd},
                                                    {"cellx", KwCellx},
                                                    {"taprtl", KwTapRtl},
                                                    {"cell", KwCell},
                                                    {"row", KwRow},
                                                    {"intbl", KwIntbl},
                                                    {"itap", KwItap},
                                                    {"nestcell", KwNestCell},
                                                    {"nestrow", KwNestRow},
                                                    {"pngblip", KwPngBlip},
                                                    {"jpegblip", KwJpegBlip},
                                                    {"emfblip", KwEmfBlip},
                                                    {"wmetafile", KwWmetafile},
                                                    {"dibitmap", KwDibitmap},
                                                    {"wbitmap", KwWbitmap},
                                                    {"macpict", KwOtherPict},
                                                    {"pmmetafile", KwOtherPict},
                                                    {"picw", KwPicW},
                                                    {"pich", KwPicH},
                                                    {"picwgoal", KwPicWGoal},
                                                    {"pichgoal", KwPicHGoal},
                                                    {"picscalex", KwPicScaleX},
                                                    {"picscaley", KwPicScaleY},
                                                    {"objw", KwObjW},
                                                    {"objh", KwObjH},
                                                    {"bin", KwBin},
                                                    {"tab", KwTab},
                                                    {"line", KwLine},
                                                    {"emdash", KwEmDash},
                                                    {"endash", KwEnDash},
                                                    {"bullet", KwBullet},
                                                    {"lquote", KwLQuote},
                                                    {"rquote", KwRQuote},
                                                    {"ldblquote", KwLDblQuote},
                                                    {"rdblquote", KwRDblQuote},
                                                    {"emspace", KwEmSpace},
                                                    {"enspace", KwEnSpace},
                                                    {"qmspace", KwQmSpace},
                                                    {"zwj", KwZwj},
                                                    {"zwnj", KwZwnj},
                                                    {"zwbo", KwZwbo},
                                                    {"ltrmark", KwLtrMark},
                                                    {"rtlmark", KwRtlMark}};
        // Destinations whose content is not part of the text.
        for (const char* d : {"header",
                              "headerl",
                              "headerr",
                              "headerf",
                              "footer",
                              "footerl",
                              "footerr",
                              "footerf",
                              "annotation",
                              "xe",
                              "tc",
                              "txe",
                              "bkmkstart",
                              "bkmkend",
                              "fldtitle",
                              "themedata",
                              "colorschememapping",
                              "datastore",
                              "latentstyles",
                              "rsidtbl",
                              "generator",
                              "mmathPr",
                              "pgdsctbl",
                              "userprops",
                              "background",
                              "objclass",
                              "objname",
                              "shpinst",
                              "pnseclvl",
                              "revtbl",
                              "filetbl",
                              "doccomm",
                              "template",
                              "xmlnstbl",
                              "wgrffmtfilter",
                              "panose",
                              "fname",
                              "expandedcolortbl",
                              "defchp",
                              "defpap",
                              "nesttableprops",
                              "listpicture",
                              "atnid",
                              "atnauthor",
                              "atrfstart",
                              "atrfend",
                              "protusertbl",
                              "docvar",
                              "ftnsep",
                              "ftnsepc",
                              "ftncn",
                              "aftnsep",
                              "aftnsepc",
                              "aftncn",
                              "pgptbl",
                              "listname",
                              "liststylename",
                              "stylesheet",
                              "comment",
                              "title",
                              "author",
                              "operator",
                              "company",
                              "subject",
                              "keywords",
                              "category",
                              "manager",
                              "hlinkbase",
                              "passwordhash",
                              "blipuid",
                              "picprop",
                              "htmlbase",
                              "mhtmltag",
                              "formfield",
                              "ffdeftext",
                              "ffname",
                              "datafield",
                              "sp",
                              "sn",
                              "sv",
                              "shptxt",
                              "do",
                              "dptxbxtext",
                              "svb",
                              "oldcprops",
                              "oldpprops",
                              "oldsprops",
                              "oldtprops",
                              "ud"})
            m.emplace(d, KwSkipDest);
        for (int k = 0; k < UlCount; ++k) {
            if (k != UlNone && k != UlSingle)
                m.emplace(kUnderlineWords[k], KwUlKind);
        }
        return KeywordTable(m);
    }();
    return table;
}

struct Field {
    QString inst;
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

// Bullets given in a symbol font's private-use range (\u-3913 is Symbol's
// 0xB7) or as a plain letter, mapped to the character they show.
QChar shownBullet(QChar c) {
    char16_t u = c.unicode();
    if (u >= 0xF000 && u <= 0xF0FF)
        u -= 0xF000;
    switch (u) {
    case 0xB7:
        return QChar(0x2022);
    case 0xA7:
    case 0x6E:
        return QChar(0x25AA);
    case 0xA8:
        return QChar(0x25C6);
    case 0xD8:
        return QChar(0x27A2);
    case 0x76:
        return QChar(0x2756);
    case 0xFC:
        return QChar(0x2713);
    case 0x71:
        return QChar(0x2751);
    default:
        return u < 0x20 ? QChar() : QChar(u);
    }
}

// Field instruction syntax: HYPERLINK "target" with \l "anchor"; backslash escapes inside quotes.
QString hyperlinkTarget(const QString& inst) {
    QStringView s = QStringView(inst).trimmed();
    if (!s.startsWith(u"HYPERLINK", Qt::CaseInsensitive))
        return {};
    s = s.sliced(9);
    QString target, anchor;
    auto readArg = [&](QStringView& v) {
        while (!v.isEmpty() && v.front().isSpace())
            v = v.sliced(1);
        QString out;
        if (v.startsWith(u'"')) {
            qsizetype i = 1;
            for (; i < v.size(); ++i) {
                const QChar c = v[i];
                if (c == u'\\' && i + 1 < v.size()) {
                    out.append(v[++i]);
                } else if (c == u'"') {
                    ++i;
                    break;
                } else {
                    out.append(c);
                }
            }
            v = v.sliced(qMin(i, v.size()));
        } else {
            qsizetype i = 0;
            while (i < v.size() && !v[i].isSpace())
                ++i;
            out = v.first(i).toString();
            v = v.sliced(i);
        }
        return out;
    };
    bool haveTarget = false;
    while (true) {
        while (!s.isEmpty() && s.front().isSpace())
            s = s.sliced(1);
        if (s.isEmpty())
            break;
        if (s.front() == u'\\' && s.size() >= 2) {
            const QChar sw = s[1];
            s = s.sliced(2);
            if (sw == u'l')
                anchor = readArg(s);
            else if (sw == u'o' || sw == u't')
                readArg(s);
            continue;
        }
        const QString arg = readArg(s);
        if (!haveTarget) {
            target = arg;
            haveTarget = true;
        }
    }
    if (!anchor.isEmpty())
        target += u'#' + anchor;
    return target;
}

// Whether the bytes end with the first half of a double-byte letter.
bool endsWithLeadByte(const QByteArray& bytes, int codePage) {
    const auto lead = [codePage](uchar b) {
        if (codePage == 932)
            return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        return b >= 0x81 && b <= 0xFE;
    };
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    while (i < n)
        i += lead(uchar(bytes[i])) ? 2 : 1;
    return i > n;
}

ListKind kindOfNfc(int nfc) {
    switch (nfc) {
    case 1:
        return ListKind::UpperRoman;
    case 2:
        return ListKind::LowerRoman;
    case 3:
        return ListKind::UpperAlpha;
    case 4:
        return ListKind::LowerAlpha;
    case 23:
        return ListKind::Bullet;
    case 255:
        return ListKind::None;
    default:
        return ListKind::Decimal;
    }
}

class Interpreter {
public:
    Interpreter(QByteArrayView rtf, Sink& sink) : tok_(rtf), in_(rtf), sink_(sink) {}
    void run();

private:
    GroupState& cur() { return stack_.back(); }
    void openGroup(qsizetype pos);
    bool closeGroup(qsizetype end); // false when the document group closed
    void word(const Token& t);
    void symbol(const Token& t);
    void textBytes(QByteArrayView bytes);
    void hexByte(unsigned char b);
    void bodyBytes(QByteArrayView bytes);
    void bodyChar(char16_t c);
    void bodyString(QStringView s);
    void flushBytes();
    void flushText();
    void flow();
    void paragraph();
    void cell();
    void row();
    void emitPicture(Picture& pic);
    void markRawStart(qsizetype wordPos);
    QByteArray rawBytes(const GroupState& g, qsizetype end) const;
    int codePage();
    int lookupCodePage();
    ParaState resolvedPara();
    void consumeUcSkip(Token& t, bool& swallowed);
    void finishFontName();
    void fontNameBytesToText();
    void finishLevelText();
    ListLevel* levelBeingRead();

    Tokenizer tok_;
    QByteArrayView in_;
    Sink& sink_;
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
    bool inRow_ = false;
    bool inTable_ = false;
    RowInfo rowDef_;

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

    // footnotes
    QString footnoteText_;
    int footnotes_ = 0;

    // picture and object being read
    Picture pict_;
    int hexNibble_ = -1;
    Picture object_;
    bool inObject_ = false;
    TabStop pendingTab_;
    // The code page of the current font, cached until the font or the tables change.
    int cpFont_ = -2, cpValue_ = 0, cpVersion_ = -1, tablesVersion_ = 0;
};

int Interpreter::codePage() {
    if (cur().chr.font == cpFont_ && tablesVersion_ == cpVersion_)
        return cpValue_;
    cpFont_ = cur().chr.font;
    cpVersion_ = tablesVersion_;
    cpValue_ = lookupCodePage();
    return cpValue_;
}

int Interpreter::lookupCodePage() {
    int f = cur().chr.font;
    if (f < 0)
        f = tables_.defaultFont;
    auto it = tables_.fonts.constFind(f);
    if (it != tables_.fonts.constEnd()) {
        if (it->codePage > 0)
            return it->codePage;
        if (it->charset >= 0)
            return codePageOfCharset(it->charset, tables_.ansiCodePage);
    }
    return tables_.ansiCodePage;
}

void Interpreter::flushBytes() {
    if (bytes_.isEmpty())
        return;
    CodePageDecoder dec(bytesCodePage_);
    dec.appendDecoded(text_, bytes_);
    bytes_.clear();
}

void Interpreter::flushText() {
    flushBytes();
    if (text_.isEmpty())
        return;
    // Unpaired surrogate halves (damaged \u pairs) become the replacement character.
    // Characters that would change the document's structure (block and frame
    // marks, object marks) are not text and become the replacement character.
    // Single-byte tables already map their bytes this way, so only text with
    // \uN letters or double-byte runs needs the pass.
    if (textDirty_) {
        for (qsizetype i = 0; i < text_.size(); ++i) {
            const QChar c = text_.at(i);
            if (c.isHighSurrogate() && i + 1 < text_.size() && text_.at(i + 1).isLowSurrogate())
                ++i;
            else
                text_[i] = QChar(safeTextChar(c.unicode()));
        }
        textDirty_ = false;
    }
    if (textState_.hidden) {
        // Hidden text has no place in the shown text but must survive a save.
        QByteArray raw("{\\v ");
        appendRtfText(raw, text_);
        raw.append('}');
        sink_.rawGroup(raw);
    } else {
        sink_.text(text_, textState_);
    }
    ++outputs_;
    text_.clear();
}

void Interpreter::flow() {
    bodyStarted_ = true;
    const bool wantTable = cur().para.intbl;
    if (wantTable && !inRow_) {
        flushText();
        sink_.rowStart(rowDef_);
        inRow_ = inTable_ = true;
    } else if (!wantTable && inTable_ && !inRow_) {
        flushText();
        sink_.tableEnd();
        inTable_ = false;
    }
}

void Interpreter::bodyBytes(QByteArrayView bytes) {
    if (!text_.isEmpty() || !bytes_.isEmpty()) {
        if (!(textState_ == cur().chr))
            flushText();
    }
    if (text_.isEmpty() && bytes_.isEmpty()) {
        flow();
        textState_ = cur().chr;
    }
    const int cp = codePage();
    if (!decoder_ || decoder_->codePage() != cp)
        decoder_ = std::make_unique<CodePageDecoder>(cp);
    if (decoder_->singleByte()) {
        flushBytes();
        decoder_->appendDecoded(text_, bytes);
    } else {
        if (!bytes_.isEmpty() && bytesCodePage_ != cp)
            flushBytes();
        bytesCodePage_ = cp;
        textDirty_ = true;
        // 7-bit bytes are ASCII unless they complete a double-byte letter.
        for (const char b : bytes) {
            if (uchar(b) < 0x80 && !endsWithLeadByte(bytes_, cp)) {
                flushBytes();
                text_.append(QLatin1Char(b));
            } else {
                bytes_.append(b);
            }
        }
    }
}

void Interpreter::bodyString(QStringView s) {
    if (!text_.isEmpty() || !bytes_.isEmpty()) {
        if (!(textState_ == cur().chr))
            flushText();
    }
    flushBytes();
    if (text_.isEmpty()) {
        flow();
        textState_ = cur().chr;
    }
    text_.append(s);
}

void Interpreter::bodyChar(char16_t c) {
    const QChar ch(c);
    bodyString(QStringView(&ch, 1));
    // After the append: bodyString may have flushed (and cleaned) earlier text.
    if (safeTextChar(c) != c)
        textDirty_ = true;
}

ParaState Interpreter::resolvedPara() {
    ParaState p = cur().para;
    if (p.ls > 0) {
        auto o = overrides_.constFind(p.ls);
        if (o != overrides_.constEnd()) {
            auto l = lists_.constFind(o->listId);
            const int listLevels = l != lists_.constEnd() ? int(l->levels.size()) : 0;
            const int count = qMax(listLevels, int(o->levels.size()));
            const int lvl = qBound(0, p.ilvl, qMax(0, count - 1));
            // A level the override gives replaces the list's own.
            const ListLevel* level = nullptr;
            if (lvl < int(o->levels.size()) && o->levels[size_t(lvl)])
                level = &*o->levels[size_t(lvl)];
            else if (listLevels > 0)
                level = &l->levels[size_t(qMin(lvl, listLevels - 1))];
            if (level) {
                const ListLevel& lv = *level;
                p.list.kind = lv.kind;
                p.list.start = lv.start;
                p.list.prefix = lv.prefix;
                p.list.suffix = lv.suffix;
                p.list.level = qBound(0, p.ilvl, 8);
                // Our own writing repeats the indent in the \pn form.
                p.list.indent = p.pnOn ? p.pn.indent : 0;
                p.list.key = p.ls * 16 + p.list.level;
                if (p.list.kind == ListKind::Bullet) {
                    p.list.prefix.clear();
                    p.list.suffix.clear();
                    p.list.bullet = lv.bullet;
                }
                if (p.list.kind == ListKind::None)
                    p.list = ListInfo{};
                return p;
            }
        }
    }
    if (p.pnOn && p.pn.kind != ListKind::None) {
        p.list = p.pn;
        p.list.key = -1;
        if (p.list.kind == ListKind::Bullet) {
            if (!p.list.prefix.isEmpty())
                p.list.bullet = shownBullet(p.list.prefix[0]);
            p.list.prefix.clear();
            p.list.suffix.clear();
            p.list.start = 1;
        }
    }
    return p;
}

void Interpreter::paragraph() {
    flushText();
    flow();
    sink_.paragraphEnd(resolvedPara(), cur().chr);
    ++outputs_;
    cur().para.pageBreakBefore = false;
}

void Interpreter::cell() {
    flushText();
    bodyStarted_ = true;
    if (!inRow_) {
        if (inTable_ && !cur().para.intbl) {
            sink_.tableEnd();
            inTable_ = false;
        }
        sink_.rowStart(rowDef_);
        inRow_ = inTable_ = true;
    }
    sink_.cellEnd(resolvedPara(), cur().chr);
    ++outputs_;
}

void Interpreter::row() {
    flushText();
    if (!inRow_)
        return;
    sink_.rowEnd();
    inRow_ = false;
}

void Interpreter::emitPicture(Picture& pic) {
    flushText();
    flow();
    sink_.picture(pic, cur().chr);
    ++outputs_;
}

void Interpreter::markRawStart(qsizetype wordPos) {
    flushText();
    GroupState& g = cur();
    g.rawFrom = outputs_ == g.outputsAtStart ? g.start : wordPos;
}

QByteArray Interpreter::rawBytes(const GroupState& g, qsizetype end) const {
    QByteArray raw;
    if (g.rawFrom != g.start)
        raw.append('{');
    raw.append(in_.sliced(g.rawFrom, end - g.rawFrom));
    return raw;
}

void Interpreter::openGroup(qsizetype pos) {
    flushText();
    ucSkip_ = 0;
    starPending_ = false;
    if (stack_.size() >= size_t(kMaxDepth)) {
        ++extraDepth_;
        return;
    }
    GroupState g = stack_.back();
    g.start = pos;
    g.rawFrom = pos;
    g.outputsAtStart = outputs_;
    stack_.push_back(std::move(g));
}

void Interpreter::fontNameBytesToText() {
    if (fontNum_ < 0 || fontName_.isEmpty())
        return;
    const FontEntry& f = tables_.fonts[fontNum_];
    const int cp = f.codePage > 0 ? f.codePage : codePageOfCharset(f.charset, tables_.ansiCodePage);
    CodePageDecoder(cp).appendDecoded(fontNameText_, fontName_);
    fontName_.clear();
}

void Interpreter::finishFontName() {
    if (fontNum_ < 0) {
        fontName_.clear();
        fontNameText_.clear();
        return;
    }
    fontNameBytesToText();
    QString name = fontNameText_.trimmed();
    if (name.endsWith(u';'))
        name.chop(1);
    name = name.trimmed();
    FontEntry& f = tables_.fonts[fontNum_];
    if (!name.isEmpty())
        f.name = name;
    fontNameText_.clear();
}

ListLevel* Interpreter::levelBeingRead() {
    if (overrideLevel_) {
        if (overrideDef_.levels.empty() || !overrideDef_.levels.back())
            return nullptr;
        return &*overrideDef_.levels.back();
    }
    return listDef_.levels.empty() ? nullptr : &listDef_.levels.back();
}

void Interpreter::finishLevelText() {
    ListLevel* level = levelBeingRead();
    if (!level)
        return;
    ListLevel& lv = *level;
    // First character: the length; characters below 10 stand for level numbers.
    QString t = levelText_;
    if (!t.isEmpty())
        t.remove(0, 1);
    if (t.endsWith(u';'))
        t.chop(1);
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i].unicode() < 10) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first >= 0) {
        lv.prefix = t.first(first);
        lv.suffix = t.sliced(last + 1);
    } else if (!t.isEmpty()) {
        lv.bullet = shownBullet(t[0]);
    }
    levelText_.clear();
}

bool Interpreter::closeGroup(qsizetype end) {
    flushText();
    ucSkip_ = 0;
    starPending_ = false;
    if (extraDepth_ > 0) {
        --extraDepth_;
        return true;
    }
    GroupState g = std::move(stack_.back());
    stack_.pop_back();
    if (stack_.size() <= 1) {
        stack_.push_back(std::move(g)); // keep a state for the finishing events
        return false;
    }
    GroupState& parent = stack_.back();
    const bool parentSame = parent.dest == g.dest;
    switch (g.dest) {
    case Dest::FontTable:
        finishFontName();
        break;
    case Dest::ColorTable:
        break;
    case Dest::Pn:
    case Dest::PnTxtA:
    case Dest::PnTxtB:
        parent.para.pn = g.para.pn;
        parent.para.pnOn = g.para.pnOn;
        break;
    case Dest::LevelText:
        if (!parentSame)
            finishLevelText();
        break;
    case Dest::List:
        if (!parentSame)
            lists_.insert(listId_, listDef_);
        break;
    case Dest::ListOverride:
        if (!parentSame)
            overrides_.insert(overrideLs_, overrideDef_);
        break;
    case Dest::Pict:
        if (!parentSame) {
            hexNibble_ = -1;
            if (pict_.kind != Picture::Png && pict_.kind != Picture::Jpeg)
                pict_.raw = rawBytes(g, end);
            if (inObject_ && parent.dest == Dest::ObjResult) {
                if (object_.kind == Picture::None) {
                    object_.kind = pict_.kind;
                    object_.data = pict_.data;
                    object_.picw = pict_.picw;
                    object_.pich = pict_.pich;
                    object_.picwgoal = pict_.picwgoal;
                    object_.pichgoal = pict_.pichgoal;
                    object_.scalex = pict_.scalex;
                    object_.scaley = pict_.scaley;
                }
            } else if (parent.dest == Dest::Normal) {
                emitPicture(pict_);
            }
            pict_ = Picture{};
        }
        break;
    case Dest::Object:
        if (!parentSame && inObject_) {
            inObject_ = false;
            object_.raw = rawBytes(g, end);
            if (parent.dest == Dest::Normal)
                emitPicture(object_);
            object_ = Picture{};
        }
        break;
    case Dest::Raw:
        if (!parentSame && parent.dest == Dest::Normal) {
            sink_.rawGroup(rawBytes(g, end));
            ++outputs_;
        }
        break;
    case Dest::Footnote:
        if (!parentSame && parent.dest == Dest::Normal) {
            sink_.footnote(rawBytes(g, end), footnoteText_.simplified());
            ++footnotes_;
            ++outputs_;
        }
        break;
    default:
        break;
    }
    return true;
}

void Interpreter::hexByte(unsigned char b) {
    const char c = char(b);
    textBytes(QByteArrayView(&c, 1));
}

void Interpreter::textBytes(QByteArrayView bytes) {
    GroupState& g = cur();
    switch (g.dest) {
    case Dest::Normal:
        bodyBytes(bytes);
        break;
    case Dest::FontTable:
        for (char c : bytes) {
            fontName_.append(c);
            if (c == ';') {
                finishFontName();
            }
        }
        break;
    case Dest::ColorTable:
        for (char c : bytes) {
            if (c == ';') {
                tables_.colors.push_back(colorSet_ ? QColor(red_, green_, blue_) : QColor());
                red_ = green_ = blue_ = 0;
                colorSet_ = false;
            }
        }
        break;
    case Dest::FldInst:
        if (g.field >= 0) {
            const int cp = codePage();
            CodePageDecoder(cp).appendDecoded(fields_[size_t(g.field)].inst, bytes);
        }
        break;
    case Dest::PnTxtA:
    case Dest::PnTxtB: {
        QString s;
        CodePageDecoder(codePage()).appendDecoded(s, bytes);
        if (g.dest == Dest::PnTxtA)
            g.para.pn.suffix += s;
        else
            g.para.pn.prefix += s;
        break;
    }
    case Dest::LevelText:
        for (char c : bytes)
            levelText_.append(QChar(uchar(c)));
        break;
    case Dest::Footnote:
        CodePageDecoder(codePage()).appendDecoded(footnoteText_, bytes);
        break;
    case Dest::FontAlt:
        if (fontNum_ >= 0) {
            QString& alt = tables_.fonts[fontNum_].alt;
            CodePageDecoder(codePage()).appendDecoded(alt, bytes);
            alt.remove(u';');
        }
        break;
    case Dest::Pict:
        for (char c : bytes) {
            const int v = hexValue(c);
            if (v < 0)
                continue;
            if (hexNibble_ < 0) {
                hexNibble_ = v;
            } else {
                pict_.data.append(char(hexNibble_ * 16 + v));
                hexNibble_ = -1;
            }
        }
        break;
    default:
        break;
    }
}

void Interpreter::symbol(const Token& t) {
    if (t.symbol == '*') {
        starPending_ = true;
        starPos_ = t.pos;
        return;
    }
    starPending_ = false; // \* applies only to a control word right after it
    switch (t.symbol) {
    case '\\':
    case '{':
    case '}': {
        const char c = t.symbol;
        if (cur().dest == Dest::Pict)
            return;
        textBytes(QByteArrayView(&c, 1));
        return;
    }
    case '~':
        if (cur().dest == Dest::Normal)
            bodyChar(0x00A0);
        return;
    case '-':
        if (cur().dest == Dest::Normal)
            bodyChar(0x00AD);
        return;
    case '_':
        if (cur().dest == Dest::Normal)
            bodyChar(0x2011);
        return;
    case '\t':
        if (cur().dest == Dest::Normal)
            bodyChar('\t');
        return;
    case '\n':
        if (cur().dest == Dest::Normal)
            paragraph();
        return;
    default:
        return;
    }
}

void Interpreter::word(const Token& t) {
    const int kw = keywords().find(t.name);
    if (cur().dest == Dest::FontTable || kw == KwAnsi || kw == KwMac || kw == KwPc || kw == KwPca ||
        kw == KwAnsiCpg || kw == KwDeff)
        ++tablesVersion_;
    const bool star = starPending_;
    starPending_ = false;
    GroupState& g = cur();
    // Parameters are bounded so that no arithmetic on them can overflow
    // (measures, numbers, keys); \bin counts and list identifiers are kept whole.
    const int p = (kw == KwBin || kw == KwListId) ? t.param : qBound(-kMaxParam, t.param, kMaxParam);
    const bool on = !t.hasParam || p != 0;

    // Inside skipped or kept groups only the group structure matters, except
    // for objects, which may carry a result picture. Binary data is passed
    // over everywhere: its bytes may look like braces.
    if (g.dest == Dest::Skip || g.dest == Dest::Raw) {
        if (kw == KwBin)
            tok_.binary(p);
        return;
    }
    if (g.dest == Dest::Object || g.dest == Dest::ObjResult) {
        switch (kw) {
        case KwObjW:
            object_.objw = p;
            return;
        case KwObjH:
            object_.objh = p;
            return;
        case KwResult:
            g.dest = Dest::ObjResult;
            return;
        case KwPict:
            if (g.dest == Dest::ObjResult) {
                pict_ = Picture{};
                hexNibble_ = -1;
                g.dest = Dest::Pict;
            }
            return;
        case KwShpPict:
            return;
        case KwBin:
            tok_.binary(p);
            return;
        default:
            if (star || kw == KwSkipDest || kw == KwObjData || kw == KwNonShpPict)
                g.dest = Dest::Skip;
            return;
        }
    }

    if (star) {
        const bool known = kw == KwFldInst || kw == KwPn || kw == KwShpPict || kw == KwListTable ||
                           kw == KwListOverrideTable || kw == KwPict || kw == KwObject || kw == KwFootnote ||
                           (kw == KwFAlt && g.dest == Dest::FontTable);
        if (!known) {
            if (kw == KwSkipDest || kw == KwListText || kw == KwPnText || !bodyStarted_ ||
                g.dest != Dest::Normal || stack_.size() <= 2) {
                g.dest = Dest::Skip;
            } else {
                markRawStart(starPos_);
                cur().dest = Dest::Raw;
            }
            return;
        }
    }

    switch (kw) {
    case KwUnknown:
        return;
    case KwRtf:
        return;
    case KwAnsi:
        tables_.ansiCodePage = 1252;
        return;
    case KwMac:
        tables_.ansiCodePage = 10000;
        return;
    case KwPc:
        tables_.ansiCodePage = 437;
        return;
    case KwPca:
        tables_.ansiCodePage = 850;
        return;
    case KwAnsiCpg:
        if (p > 0)
            tables_.ansiCodePage = p;
        return;
    case KwDeff:
        tables_.defaultFont = p;
        return;
    case KwDeflang:
        tables_.defaultLang = p;
        return;
    case KwDefTab:
        if (p > 0)
            tables_.defTab = qMin(p, 31680); // at most 22 inches, as word processors allow
        return;
    case KwUc:
        g.uc = qBound(0, p, 1000000);
        return;
    case KwU: {
        int v = p;
        if (v < 0)
            v += 65536;
        char16_t c = (v < 0 || v > 0xFFFF) ? char16_t(0xFFFD) : char16_t(v);
        ucSkip_ = g.uc;
        if (g.dest == Dest::Normal) {
            bodyChar(c);
        } else if (g.dest == Dest::FldInst && g.field >= 0) {
            fields_[size_t(g.field)].inst.append(QChar(c));
        } else if (g.dest == Dest::PnTxtA) {
            g.para.pn.suffix.append(QChar(c));
        } else if (g.dest == Dest::PnTxtB) {
            g.para.pn.prefix.append(QChar(c));
        } else if (g.dest == Dest::LevelText) {
            levelText_.append(QChar(c));
        } else if (g.dest == Dest::Footnote) {
            footnoteText_.append(QChar(c));
        } else if (g.dest == Dest::FontTable) {
            fontNameBytesToText();
            fontNameText_.append(QChar(c));
        }
        return;
    }
    case KwBin: {
        const Token b = tok_.binary(p);
        if (g.dest == Dest::Pict)
            pict_.data.append(b.data);
        return;
    }
    // Destinations
    case KwFontTbl:
        // Tables count only where the document's own text is read: inside a
        // picture, a field instruction or a skipped group they are content.
        if (g.dest != Dest::Normal) {
            g.dest = Dest::Skip;
            return;
        }
        g.dest = Dest::FontTable;
        fontNum_ = -1;
        fontName_.clear();
        fontNameText_.clear();
        return;
    case KwColorTbl:
        g.dest = g.dest == Dest::Normal ? Dest::ColorTable : Dest::Skip;
        colorSet_ = false;
        return;
    case KwStyleSheet:
    case KwInfo:
    case KwPnText:
    case KwListText:
    case KwNonShpPict:
    case KwSkipDest:
    case KwLevelNumbers:
    case KwObjData:
        g.dest = Dest::Skip;
        return;
    case KwShpPict:
        return;
    case KwPict:
        if (g.dest == Dest::Normal) {
            pict_ = Picture{};
            hexNibble_ = -1;
            markRawStart(star ? starPos_ : t.pos);
            cur().dest = Dest::Pict;
        } else {
            g.dest = Dest::Skip;
        }
        return;
    case KwFootnote:
        if (g.dest == Dest::Normal && bodyStarted_) {
            markRawStart(star ? starPos_ : t.pos);
            cur().dest = Dest::Footnote;
            footnoteText_.clear();
        } else {
            g.dest = Dest::Skip;
        }
        return;
    case KwObject:
        if (g.dest == Dest::Normal && !inObject_) {
            markRawStart(star ? starPos_ : t.pos);
            object_ = Picture{};
            object_.object = true;
            inObject_ = true;
            g.dest = Dest::Object;
        } else {
            g.dest = Dest::Skip;
        }
        return;
    case KwField:
        if (g.dest == Dest::Normal) {
            fields_.push_back(Field{});
            g.field = int(fields_.size()) - 1;
        }
        return;
    case KwFldInst:
        if (g.dest == Dest::Normal && g.field >= 0)
            g.dest = Dest::FldInst;
        else
            g.dest = Dest::Skip;
        return;
    case KwFldRslt:
        if (g.dest == Dest::Normal && g.field >= 0) {
            const QString target = hyperlinkTarget(fields_[size_t(g.field)].inst);
            if (!target.isEmpty())
                g.chr.href = target;
        }
        return;
    case KwPn:
        if (g.dest == Dest::Normal) {
            g.dest = Dest::Pn;
            g.para.pn = ListInfo{};
            g.para.pnOn = true;
            g.para.pn.kind = ListKind::Decimal;
        } else {
            g.dest = Dest::Skip;
        }
        return;
    case KwPnTxtA:
        if (g.dest == Dest::Pn)
            g.dest = Dest::PnTxtA;
        return;
    case KwPnTxtB:
        if (g.dest == Dest::Pn)
            g.dest = Dest::PnTxtB;
        return;
    case KwListTable:
        g.dest = g.dest == Dest::Normal ? Dest::ListTable : Dest::Skip;
        return;
    case KwList:
        if (g.dest == Dest::ListTable) {
            g.dest = Dest::List;
            listDef_ = ListDef{};
            listId_ = 0;
        }
        return;
    case KwListLevel:
        if (g.dest == Dest::List) {
            g.dest = Dest::ListLevel;
            overrideLevel_ = false;
            listDef_.levels.push_back(ListLevel{});
        } else if (g.dest == Dest::ListOverride) {
            g.dest = Dest::ListLevel;
            overrideLevel_ = true;
            if (overrideDef_.levels.empty() || overrideDef_.levels.back())
                overrideDef_.levels.emplace_back();
            overrideDef_.levels.back() = ListLevel{};
        }
        return;
    case KwLfoLevel:
        if (g.dest == Dest::ListOverride)
            overrideDef_.levels.emplace_back();
        return;
    case KwLevelText:
        if (g.dest == Dest::ListLevel) {
            g.dest = Dest::LevelText;
            levelText_.clear();
        }
        return;
    case KwListOverrideTable:
        g.dest = g.dest == Dest::Normal ? Dest::ListOverrideTable : Dest::Skip;
        return;
    case KwListOverride:
        if (g.dest == Dest::ListOverrideTable) {
            g.dest = Dest::ListOverride;
            overrideLs_ = 0;
            overrideDef_ = ListOverrideDef{};
        }
        return;
    case KwListId:
        if (g.dest == Dest::List)
            listId_ = p;
        else if (g.dest == Dest::ListOverride)
            overrideDef_.listId = p;
        return;
    case KwLevelNfc:
    case KwLevelNfcN:
        if (g.dest == Dest::ListLevel && levelBeingRead())
            levelBeingRead()->kind = kindOfNfc(p);
        return;
    case KwLevelStartAt:
        if (g.dest == Dest::ListLevel && levelBeingRead())
            levelBeingRead()->start = p;
        return;
    case KwLs:
        if (g.dest == Dest::ListOverride)
            overrideLs_ = p;
        else
            g.para.ls = p;
        return;
    case KwIlvl:
        g.para.ilvl = p;
        return;
    // Fonts and colours
    case KwF:
        if (g.dest == Dest::FontTable) {
            finishFontName();
            fontNum_ = p;
            tables_.fonts[p];
        } else {
            g.chr.font = p;
        }
        return;
    case KwFCharset:
        if (g.dest == Dest::FontTable && fontNum_ >= 0)
            tables_.fonts[fontNum_].charset = p;
        return;
    case KwCpg:
        if (g.dest == Dest::FontTable && fontNum_ >= 0)
            tables_.fonts[fontNum_].codePage = p;
        return;
    case KwFAlt:
        g.dest = g.dest == Dest::FontTable && fontNum_ >= 0 ? Dest::FontAlt : Dest::Skip;
        return;
    case KwFFamily:
        if (g.dest == Dest::FontTable && fontNum_ >= 0)
            tables_.fonts[fontNum_].family = t.name.toByteArray();
        return;
    case KwFPrq:
        if (g.dest == Dest::FontTable && fontNum_ >= 0)
            tables_.fonts[fontNum_].pitch = p;
        return;
    case KwRed:
        red_ = qBound(0, p, 255);
        colorSet_ = true;
        return;
    case KwGreen:
        green_ = qBound(0, p, 255);
        colorSet_ = true;
        return;
    case KwBlue:
        blue_ = qBound(0, p, 255);
        colorSet_ = true;
        return;
    default:
        break;
    }

    if (g.dest == Dest::Pict) {
        switch (kw) {
        case KwPngBlip:
            pict_.kind = Picture::Png;
            break;
        case KwJpegBlip:
            pict_.kind = Picture::Jpeg;
            break;
        case KwEmfBlip:
            pict_.kind = Picture::Emf;
            break;
        case KwWmetafile:
            pict_.kind = Picture::Wmf;
            break;
        case KwDibitmap:
            pict_.kind = Picture::Dib;
            break;
        case KwWbitmap:
            pict_.kind = Picture::Wbitmap;
            break;
        case KwOtherPict:
            pict_.kind = Picture::Other;
            break;
        case KwPicW:
            pict_.picw = p;
            break;
        case KwPicH:
            pict_.pich = p;
            break;
        case KwPicWGoal:
            pict_.picwgoal = p;
            break;
        case KwPicHGoal:
            pict_.pichgoal = p;
            break;
        case KwPicScaleX:
            pict_.scalex = p;
            break;
        case KwPicScaleY:
            pict_.scaley = p;
            break;
        default:
            break;
        }
        return;
    }
    if (g.dest == Dest::Footnote) {
        // The note's text reads as one line; its own number is the one shown.
        if (kw == KwPar || kw == KwTab || kw == KwLine)
            footnoteText_.append(u' ');
        return;
    }
    if (g.dest == Dest::Pn) {
        ListInfo& pn = g.para.pn;
        switch (kw) {
        case KwPnLvlBlt:
            pn.kind = ListKind::Bullet;
            break;
        case KwPnLvlBody:
            break;
        case KwPnLvlCont:
            g.para.pnOn = false;
            break;
        case KwPnLvl:
            pn.level = qBound(0, p - 1, 8);
            break;
        case KwPnDec:
            pn.kind = ListKind::Decimal;
            break;
        case KwPnUcLtr:
            pn.kind = ListKind::UpperAlpha;
            break;
        case KwPnLcLtr:
            pn.kind = ListKind::LowerAlpha;
            break;
        case KwPnUcRm:
            pn.kind = ListKind::UpperRoman;
            break;
        case KwPnLcRm:
            pn.kind = ListKind::LowerRoman;
            break;
        case KwPnStart:
            pn.start = p;
            break;
        case KwPnIndent:
            pn.indent = p;
            break;
        default:
            break;
        }
        return;
    }
    const bool body = g.dest == Dest::Normal;
    if (!body && g.dest != Dest::FontTable)
        return;
    if (g.dest == Dest::FontTable) {
        // A damaged table that holds the body: the body words end the table.
        if (kw != KwPard && kw != KwPar)
            return;
        finishFontName();
        g.dest = Dest::Normal;
    }

    CharState& c = g.chr;
    ParaState& pa = g.para;
    switch (kw) {
    case KwPlain: {
        QString href = c.href;
        c = CharState{};
        c.href = href;
        bodyStarted_ = true;
        return;
    }
    case KwB:
        c.bold = on;
        return;
    case KwI:
        c.italic = on;
        return;
    case KwUl:
        c.underline = on ? UlSingle : UlNone;
        return;
    case KwUlNone:
        c.underline = UlNone;
        return;
    case KwUlKind:
        if (!on) {
            c.underline = UlNone;
            return;
        }
        for (int k = 0; k < UlCount; ++k) {
            if (t.name == QByteArrayView(kUnderlineWords[k])) {
                c.underline = quint8(k);
                break;
            }
        }
        return;
    case KwStrike:
        c.strike = on ? 1 : 0;
        return;
    case KwStriked:
        c.strike = on ? 2 : 0;
        return;
    case KwFs:
        c.fontSize = (t.hasParam && p > 0) ? qMin(p, 3276) : 24;
        return;
    case KwCf:
        c.color = qMax(0, p);
        return;
    case KwHighlight:
    case KwCb:
        c.highlight = qMax(0, p);
        return;
    case KwSuper:
        c.vertical = 1;
        return;
    case KwSub:
        c.vertical = 2;
        return;
    case KwNoSuperSub:
        c.vertical = 0;
        return;
    case KwUp:
        c.up = t.hasParam ? qBound(-3276, p, 3276) : 6;
        return;
    case KwDn:
        c.up = t.hasParam ? -qBound(-3276, p, 3276) : -6;
        return;
    case KwProtect:
        c.protect = on;
        return;
    case KwDisabled:
        c.disabled = on;
        return;
    case KwV:
        c.hidden = on;
        return;
    case KwLang:
        c.lang = p;
        return;
    case KwCaps:
        c.caps = on ? 1 : 0;
        return;
    case KwScaps:
        c.caps = on ? 2 : 0;
        return;
    case KwPard: {
        pa = ParaState{};
        bodyStarted_ = true;
        return;
    }
    case KwPar:
        paragraph();
        return;
    case KwSect:
        paragraph();
        return;
    case KwPage:
        paragraph();
        cur().para.pageBreakBefore = true;
        return;
    case KwPageBb:
        pa.pageBreakBefore = on;
        return;
    case KwQl:
        pa.align = Align::Left;
        return;
    case KwQr:
        pa.align = Align::Right;
        return;
    case KwQc:
        pa.align = Align::Center;
        return;
    case KwQj:
        pa.align = Align::Justify;
        return;
    case KwFi:
        pa.fi = p;
        return;
    case KwLi:
        pa.li = p;
        return;
    case KwRi:
        pa.ri = p;
        return;
    case KwSb:
        pa.sb = p;
        return;
    case KwSa:
        pa.sa = p;
        return;
    case KwSl:
        pa.sl = p;
        return;
    case KwSlMult:
        pa.slmult = on;
        return;
    case KwRtlPar:
        pa.rtl = true;
        return;
    case KwLtrPar:
        pa.rtl = false;
        return;
    case KwTx:
    case KwTb: {
        TabStop ts = pendingTab_;
        ts.pos = p;
        if (kw == KwTb)
            ts.kind = 4;
        if (pa.tabs.size() < 64)
            pa.tabs.push_back(ts);
        pendingTab_ = TabStop{};
        return;
    }
    case KwTqr:
        pendingTab_.kind = 2;
        return;
    case KwTqc:
        pendingTab_.kind = 1;
        return;
    case KwTqDec:
        pendingTab_.kind = 3;
        return;
    case KwTlDot:
        pendingTab_.leader = 1;
        return;
    case KwTlHyph:
        pendingTab_.leader = 2;
        return;
    case KwTlUl:
        pendingTab_.leader = 3;
        return;
    case KwTlTh:
        pendingTab_.leader = 4;
        return;
    case KwTlEq:
        pendingTab_.leader = 5;
        return;
    case KwTlMdot:
        pendingTab_.leader = 6;
        return;
    case KwTrowd:
        rowDef_ = RowInfo{};
        return;
    case KwTapRtl:
        rowDef_.rtl = true;
        return;
    case KwCellx:
        if (rowDef_.cellRight.size() < 64)
            rowDef_.cellRight.push_back(p);
        return;
    case KwIntbl:
        pa.intbl = true;
        return;
    case KwItap:
        pa.intbl = p > 0;
        return;
    case KwCell:
        cell();
        return;
    case KwRow:
        row();
        return;
    case KwNestCell:
        bodyChar('\t');
        return;
    case KwNestRow:
        paragraph();
        return;
    case KwChFtn:
        // The automatic number of the footnote that follows.
        c.footnoteRef = true;
        bodyString(QString::number(footnotes_ + 1));
        c.footnoteRef = false;
        return;
    case KwTab:
        bodyChar('\t');
        return;
    case KwLine:
        bodyChar(0x2028);
        return;
    case KwEmDash:
        bodyChar(0x2014);
        return;
    case KwEnDash:
        bodyChar(0x2013);
        return;
    case KwBullet:
        bodyChar(0x2022);
        return;
    case KwLQuote:
        bodyChar(0x2018);
        return;
    case KwRQuote:
        bodyChar(0x2019);
        return;
    case KwLDblQuote:
        bodyChar(0x201C);
        return;
    case KwRDblQuote:
        bodyChar(0x201D);
        return;
    case KwEmSpace:
        bodyChar(0x2003);
        return;
    case KwEnSpace:
        bodyChar(0x2002);
        return;
    case KwQmSpace:
        bodyChar(0x2005);
        return;
    case KwZwj:
        bodyChar(0x200D);
        return;
    case KwZwnj:
        bodyChar(0x200C);
        return;
    case KwZwbo:
        bodyChar(0x200B);
        return;
    case KwLtrMark:
        bodyChar(0x200E);
        return;
    case KwRtlMark:
        bodyChar(0x200F);
        return;
    default:
        return;
    }
}

void Interpreter::run() {
    GroupState root;
    stack_.push_back(root); // outside the document group
    Token first = tok_.next();
    while (first.type != Token::GroupOpen && first.type != Token::End)
        first = tok_.next();
    if (first.type == Token::End) {
        sink_.begin(tables_);
        sink_.finish(ParaState{}, CharState{});
        return;
    }
    sink_.begin(tables_);
    openGroup(first.pos);
    while (true) {
        Token t = tok_.next();
        if (t.type == Token::End)
            break;
        if (ucSkip_ > 0) {
            if (t.type == Token::Text) {
                const qsizetype n = qMin<qsizetype>(ucSkip_, t.data.size());
                ucSkip_ -= int(n);
                t.data = t.data.sliced(n);
                if (t.data.isEmpty())
                    continue;
            } else if (t.type == Token::Hex || t.type == Token::ControlSymbol) {
                --ucSkip_;
                continue;
            } else if (t.type == Token::ControlWord) {
                --ucSkip_;
                if (keywords().find(t.name) == KwBin)
                    tok_.binary(t.param);
                continue;
            }
        }
        switch (t.type) {
        case Token::GroupOpen:
            openGroup(t.pos);
            break;
        case Token::GroupClose:
            if (!closeGroup(t.end))
                goto done;
            break;
        case Token::Text:
            starPending_ = false;
            textBytes(t.data);
            break;
        case Token::Hex:
            starPending_ = false;
            if (t.hexValid)
                hexByte(t.hex);
            else if (cur().dest == Dest::Normal)
                bodyChar(u'?');
            break;
        case Token::ControlSymbol:
            symbol(t);
            break;
        case Token::ControlWord:
            word(t);
            break;
        default:
            break;
        }
    }
done:
    flushText();
    if (inRow_)
        sink_.rowEnd();
    if (inTable_)
        sink_.tableEnd();
    sink_.finish(resolvedPara(), cur().chr);
}

} // namespace

bool interpret(QByteArrayView rtf, Sink& sink, QString* error) {
    if (!looksLikeRtf(rtf)) {
        if (error)
            *error = QStringLiteral("not RTF: the data does not start with {\\rtf");
        return false;
    }
    Interpreter(rtf, sink).run();
    return true;
}

} // namespace vlr::rtf
