// Character attribute words of the body.
#include "rtf/reader.h"

namespace vlr::rtf::detail {

bool Interpreter::charWord(const Word& w) {
    CharState& c = cur().chr;
    const int p = w.p;
    const bool on = w.on;
    switch (w.kw) {
    case KwPlain: {
        QString href = c.href;
        c = CharState{};
        c.href = href;
        bodyStarted_ = true;
        return true;
    }
    case KwB:
        c.bold = on;
        return true;
    case KwI:
        c.italic = on;
        return true;
    case KwUl:
        c.underline = on ? UlSingle : UlNone;
        return true;
    case KwUlNone:
        c.underline = UlNone;
        return true;
    case KwUlKind:
        if (!on) {
            c.underline = UlNone;
            return true;
        }
        for (int k = 0; k < UlCount; ++k) {
            if (w.token.name == QByteArrayView(kUnderlineWords[k])) {
                c.underline = quint8(k);
                break;
            }
        }
        return true;
    case KwStrike:
        c.strike = on ? 1 : 0;
        return true;
    case KwStriked:
        c.strike = on ? 2 : 0;
        return true;
    case KwFs:
        c.fontSize = (w.token.hasParam && p > 0) ? qMin(p, 3276) : 24;
        return true;
    case KwCf:
        c.color = qMax(0, p);
        return true;
    case KwHighlight:
    case KwCb:
        c.highlight = qMax(0, p);
        return true;
    case KwSuper:
        c.vertical = 1;
        return true;
    case KwSub:
        c.vertical = 2;
        return true;
    case KwNoSuperSub:
        c.vertical = 0;
        return true;
    case KwUp:
        c.up = w.token.hasParam ? qBound(-3276, p, 3276) : 6;
        return true;
    case KwDn:
        c.up = w.token.hasParam ? -qBound(-3276, p, 3276) : -6;
        return true;
    case KwProtect:
        c.protect = on;
        return true;
    case KwDisabled:
        c.disabled = on;
        return true;
    case KwV:
        c.hidden = on;
        return true;
    case KwLang:
        c.lang = p;
        return true;
    case KwCaps:
        c.caps = on ? 1 : 0;
        return true;
    case KwScaps:
        c.caps = on ? 2 : 0;
        return true;
    default:
        return false;
    }
}

} // namespace vlr::rtf::detail
