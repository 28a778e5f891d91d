#pragma once
// The control words the reader knows, each named once: the enum and the
// lookup both come from this one list.
#include <QByteArrayView>

namespace vlr::rtf {

// KW(Name, "word"): a word with its own meaning (an empty word: the meaning's
// words come from elsewhere). ALIAS(Name, "word"): one more word of an
// existing meaning. CHAR(Name, "word", code): a word that is one character.
// clang-format off
#define VLR_RTF_KEYWORDS(KW, ALIAS, CHAR) \
    /* document */ \
    KW(Rtf, "rtf") KW(Ansi, "ansi") KW(Mac, "mac") KW(Pc, "pc") KW(Pca, "pca") KW(AnsiCpg, "ansicpg") \
    KW(Deff, "deff") KW(Deflang, "deflang") KW(DefTab, "deftab") KW(Uc, "uc") KW(U, "u") \
    /* destinations */ \
    KW(FontTbl, "fonttbl") KW(ColorTbl, "colortbl") KW(StyleSheet, "stylesheet") KW(Info, "info") \
    KW(Pict, "pict") KW(Object, "object") KW(Field, "field") KW(FldInst, "fldinst") KW(FldRslt, "fldrslt") \
    KW(PnText, "pntext") KW(ListText, "listtext") KW(Pn, "pn") KW(PnTxtA, "pntxta") KW(PnTxtB, "pntxtb") \
    KW(ListTable, "listtable") KW(List, "list") KW(ListLevel, "listlevel") KW(LevelText, "leveltext") \
    KW(LfoLevel, "lfolevel") KW(Footnote, "footnote") KW(ChFtn, "chftn") KW(FAlt, "falt") \
    KW(LevelNumbers, "levelnumbers") KW(ListOverrideTable, "listoverridetable") \
    KW(ListOverride, "listoverride") KW(Result, "result") KW(ShpPict, "shppict") \
    KW(NonShpPict, "nonshppict") KW(ObjData, "objdata") \
    KW(Shp, "shp") ALIAS(Shp, "shpgrp") KW(ShpInst, "shpinst") KW(ShpTxt, "shptxt") ALIAS(ShpTxt, "dptxbxtext") \
    KW(ShpRslt, "shprslt") KW(Do, "do") \
    /* fonts and colours */ \
    KW(F, "f") KW(FCharset, "fcharset") KW(Cpg, "cpg") KW(FPrq, "fprq") \
    KW(FFamily, "fnil") ALIAS(FFamily, "froman") ALIAS(FFamily, "fswiss") ALIAS(FFamily, "fmodern") \
    ALIAS(FFamily, "fscript") ALIAS(FFamily, "fdecor") ALIAS(FFamily, "ftech") ALIAS(FFamily, "fbidi") \
    KW(Red, "red") KW(Green, "green") KW(Blue, "blue") \
    /* character */ \
    KW(Plain, "plain") KW(B, "b") KW(I, "i") KW(Ul, "ul") KW(UlNone, "ulnone") KW(UlKind, "") \
    KW(Strike, "strike") KW(Striked, "striked") KW(Fs, "fs") KW(Cf, "cf") KW(Highlight, "highlight") \
    KW(Cb, "cb") ALIAS(Cb, "chcbpat") KW(Super, "super") KW(Sub, "sub") KW(NoSuperSub, "nosupersub") \
    KW(Up, "up") KW(Dn, "dn") KW(Protect, "protect") KW(Disabled, "disabled") KW(V, "v") KW(Lang, "lang") \
    KW(Caps, "caps") KW(Scaps, "scaps") \
    /* paragraph */ \
    KW(Pard, "pard") KW(Par, "par") KW(Sect, "sect") KW(Page, "page") KW(Ql, "ql") KW(Qr, "qr") \
    KW(Qc, "qc") KW(Qj, "qj") KW(Fi, "fi") KW(Li, "li") KW(Ri, "ri") KW(Sb, "sb") KW(Sa, "sa") KW(Sl, "sl") \
    KW(SlMult, "slmult") KW(Tx, "tx") KW(Tb, "tb") KW(Tqr, "tqr") KW(Tqc, "tqc") KW(TqDec, "tqdec") \
    KW(TlDot, "tldot") KW(TlHyph, "tlhyph") KW(TlUl, "tlul") KW(TlTh, "tlth") KW(TlEq, "tleq") \
    KW(TlMdot, "tlmdot") KW(RtlPar, "rtlpar") KW(LtrPar, "ltrpar") KW(PageBb, "pagebb") \
    /* numbering */ \
    KW(PnLvlBlt, "pnlvlblt") KW(PnLvlBody, "pnlvlbody") KW(PnLvlCont, "pnlvlcont") KW(PnLvl, "pnlvl") \
    KW(PnDec, "pndec") KW(PnUcLtr, "pnucltr") KW(PnLcLtr, "pnlcltr") KW(PnUcRm, "pnucrm") \
    KW(PnLcRm, "pnlcrm") KW(PnStart, "pnstart") KW(PnIndent, "pnindent") KW(Ls, "ls") KW(Ilvl, "ilvl") \
    KW(ListId, "listid") KW(LevelNfc, "levelnfc") KW(LevelNfcN, "levelnfcn") \
    KW(LevelStartAt, "levelstartat") \
    /* tables */ \
    KW(Trowd, "trowd") KW(Cellx, "cellx") KW(TapRtl, "taprtl") KW(Cell, "cell") KW(Row, "row") \
    KW(Intbl, "intbl") KW(Itap, "itap") KW(NestCell, "nestcell") KW(NestRow, "nestrow") \
    KW(NestTableProps, "nesttableprops") KW(NoNestTables, "nonesttables") KW(ClMgf, "clmgf") \
    KW(ClMrg, "clmrg") KW(ClVmgf, "clvmgf") KW(ClVmrg, "clvmrg") \
    /* pictures and objects */ \
    KW(PngBlip, "pngblip") KW(JpegBlip, "jpegblip") KW(EmfBlip, "emfblip") KW(Wmetafile, "wmetafile") \
    KW(Dibitmap, "dibitmap") KW(Wbitmap, "wbitmap") KW(OtherPict, "macpict") ALIAS(OtherPict, "pmmetafile") \
    KW(PicW, "picw") KW(PicH, "pich") KW(PicWGoal, "picwgoal") KW(PicHGoal, "pichgoal") \
    KW(PicScaleX, "picscalex") KW(PicScaleY, "picscaley") KW(ObjW, "objw") KW(ObjH, "objh") KW(Bin, "bin") \
    /* characters */ \
    CHAR(Tab, "tab", u'\t') CHAR(Line, "line", 0x2028) CHAR(EmDash, "emdash", 0x2014) \
    CHAR(EnDash, "endash", 0x2013) CHAR(Bullet, "bullet", 0x2022) CHAR(LQuote, "lquote", 0x2018) \
    CHAR(RQuote, "rquote", 0x2019) CHAR(LDblQuote, "ldblquote", 0x201C) CHAR(RDblQuote, "rdblquote", 0x201D) \
    CHAR(EmSpace, "emspace", 0x2003) CHAR(EnSpace, "enspace", 0x2002) CHAR(QmSpace, "qmspace", 0x2005) \
    CHAR(Zwj, "zwj", 0x200D) CHAR(Zwnj, "zwnj", 0x200C) CHAR(Zwbo, "zwbo", 0x200B) \
    CHAR(LtrMark, "ltrmark", 0x200E) CHAR(RtlMark, "rtlmark", 0x200F) \
    /* destinations whose content is not part of the text */ \
    KW(SkipDest, "header") ALIAS(SkipDest, "headerl") ALIAS(SkipDest, "headerr") ALIAS(SkipDest, "headerf") \
    ALIAS(SkipDest, "footer") ALIAS(SkipDest, "footerl") ALIAS(SkipDest, "footerr") ALIAS(SkipDest, "footerf") \
    ALIAS(SkipDest, "annotation") ALIAS(SkipDest, "xe") ALIAS(SkipDest, "tc") ALIAS(SkipDest, "txe") \
    ALIAS(SkipDest, "bkmkstart") ALIAS(SkipDest, "bkmkend") ALIAS(SkipDest, "fldtitle") \
    ALIAS(SkipDest, "themedata") ALIAS(SkipDest, "colorschememapping") ALIAS(SkipDest, "datastore") \
    ALIAS(SkipDest, "latentstyles") ALIAS(SkipDest, "rsidtbl") ALIAS(SkipDest, "generator") \
    ALIAS(SkipDest, "mmathPr") ALIAS(SkipDest, "pgdsctbl") ALIAS(SkipDest, "userprops") \
    ALIAS(SkipDest, "background") ALIAS(SkipDest, "objclass") ALIAS(SkipDest, "objname") \
    ALIAS(SkipDest, "pnseclvl") ALIAS(SkipDest, "revtbl") \
    ALIAS(SkipDest, "filetbl") ALIAS(SkipDest, "doccomm") ALIAS(SkipDest, "template") \
    ALIAS(SkipDest, "xmlnstbl") ALIAS(SkipDest, "wgrffmtfilter") ALIAS(SkipDest, "panose") \
    ALIAS(SkipDest, "fname") ALIAS(SkipDest, "expandedcolortbl") ALIAS(SkipDest, "defchp") \
    ALIAS(SkipDest, "defpap") ALIAS(SkipDest, "listpicture") \
    ALIAS(SkipDest, "atnid") ALIAS(SkipDest, "atnauthor") ALIAS(SkipDest, "atrfstart") \
    ALIAS(SkipDest, "atrfend") ALIAS(SkipDest, "protusertbl") ALIAS(SkipDest, "docvar") \
    ALIAS(SkipDest, "ftnsep") ALIAS(SkipDest, "ftnsepc") ALIAS(SkipDest, "ftncn") ALIAS(SkipDest, "aftnsep") \
    ALIAS(SkipDest, "aftnsepc") ALIAS(SkipDest, "aftncn") ALIAS(SkipDest, "pgptbl") \
    ALIAS(SkipDest, "listname") ALIAS(SkipDest, "liststylename") ALIAS(SkipDest, "comment") \
    ALIAS(SkipDest, "title") ALIAS(SkipDest, "author") ALIAS(SkipDest, "operator") \
    ALIAS(SkipDest, "company") ALIAS(SkipDest, "subject") ALIAS(SkipDest, "keywords") \
    ALIAS(SkipDest, "category") ALIAS(SkipDest, "manager") ALIAS(SkipDest, "hlinkbase") \
    ALIAS(SkipDest, "passwordhash") ALIAS(SkipDest, "blipuid") ALIAS(SkipDest, "picprop") \
    ALIAS(SkipDest, "htmlbase") ALIAS(SkipDest, "mhtmltag") ALIAS(SkipDest, "formfield") \
    ALIAS(SkipDest, "ffdeftext") ALIAS(SkipDest, "ffname") ALIAS(SkipDest, "datafield") \
    ALIAS(SkipDest, "sp") ALIAS(SkipDest, "sn") ALIAS(SkipDest, "sv") \
    ALIAS(SkipDest, "svb") \
    ALIAS(SkipDest, "oldcprops") ALIAS(SkipDest, "oldpprops") ALIAS(SkipDest, "oldsprops") \
    ALIAS(SkipDest, "oldtprops") ALIAS(SkipDest, "ud")
// clang-format on

#define VLR_RTF_KW_ENUM(name, word) Kw##name,
#define VLR_RTF_KW_NONE(name, word)
#define VLR_RTF_CHAR_ENUM(name, word, code) Kw##name,
enum Kw : int { KwUnknown, VLR_RTF_KEYWORDS(VLR_RTF_KW_ENUM, VLR_RTF_KW_NONE, VLR_RTF_CHAR_ENUM) KwCount };
#undef VLR_RTF_KW_ENUM
#undef VLR_RTF_KW_NONE
#undef VLR_RTF_CHAR_ENUM

// The keyword of a control word's name; KwUnknown for words the reader ignores.
Kw keywordOf(QByteArrayView name);

// The character a word stands for (\emdash…), or 0.
char16_t keywordChar(Kw kw);

} // namespace vlr::rtf
