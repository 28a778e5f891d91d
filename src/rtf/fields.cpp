// Fields: the instruction is read, the result is the text; a HYPERLINK
// instruction makes its result a link.
#include "rtf/reader.h"

namespace vlr::rtf::detail {

namespace {

// HYPERLINK "target" with \l "anchor"; backslash escapes inside quotes.
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

} // namespace

bool Interpreter::fieldWord(const Word& w) {
    GroupState& g = cur();
    switch (w.kw) {
    case KwField:
        if (g.dest == Dest::Normal) {
            fields_.push_back(Field{});
            g.field = int(fields_.size()) - 1;
        }
        return true;
    case KwFldInst:
        g.dest = g.dest == Dest::Normal && g.field >= 0 ? Dest::FldInst : Dest::Skip;
        return true;
    case KwFldRslt:
        if (g.dest == Dest::Normal && g.field >= 0) {
            const QString target = hyperlinkTarget(fields_[size_t(g.field)].inst);
            if (!target.isEmpty())
                g.chr.href = target;
        }
        return true;
    default:
        return false;
    }
}

} // namespace vlr::rtf::detail
