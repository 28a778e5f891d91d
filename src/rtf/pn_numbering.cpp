// The rich-edit control's paragraph numbering (\pn), older than list tables.
#include "rtf/reader.h"

namespace vlr::rtf::detail {

bool Interpreter::pnWord(const Word& w) {
    GroupState& g = cur();
    switch (w.kw) {
    case KwPn:
        if (g.dest == Dest::Normal) {
            g.dest = Dest::Pn;
            g.para.pn = ListInfo{};
            g.para.pnOn = true;
            g.para.pn.kind = ListKind::Decimal;
        } else {
            g.dest = Dest::Skip;
        }
        return true;
    case KwPnTxtA:
        if (g.dest == Dest::Pn)
            g.dest = Dest::PnTxtA;
        return true;
    case KwPnTxtB:
        if (g.dest == Dest::Pn)
            g.dest = Dest::PnTxtB;
        return true;
    default:
        return false;
    }
}

void Interpreter::pnTextBytes(QByteArrayView bytes) {
    GroupState& g = cur();
    QString s;
    CodePageDecoder(codePage()).appendDecoded(s, bytes);
    if (g.dest == Dest::PnTxtA)
        g.para.pn.suffix += s;
    else
        g.para.pn.prefix += s;
}

void Interpreter::pnPropertyWord(const Word& w) {
    GroupState& g = cur();
    ListInfo& pn = g.para.pn;
    switch (w.kw) {
    case KwPnLvlBlt:
        pn.kind = ListKind::Bullet;
        break;
    case KwPnLvlCont:
        g.para.pnOn = false;
        break;
    case KwPnLvl:
        pn.level = qBound(0, w.p - 1, 8);
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
        pn.start = w.p;
        break;
    case KwPnIndent:
        pn.indent = w.p;
        break;
    default:
        break;
    }
}

} // namespace vlr::rtf::detail
