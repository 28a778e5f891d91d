// Word processor lists: the list table, the list overrides, and the list a
// paragraph's \ls and \ilvl (or its legacy \pn numbering) resolve to.
#include "rtf/reader.h"

namespace vlr::rtf::detail {

namespace {

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

} // namespace

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

bool Interpreter::listWord(const Word& w) {
    GroupState& g = cur();
    switch (w.kw) {
    case KwListTable:
        g.dest = g.dest == Dest::Normal ? Dest::ListTable : Dest::Skip;
        return true;
    case KwList:
        if (g.dest == Dest::ListTable) {
            g.dest = Dest::List;
            listDef_ = ListDef{};
            listId_ = 0;
        }
        return true;
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
        return true;
    case KwLfoLevel:
        if (g.dest == Dest::ListOverride)
            overrideDef_.levels.emplace_back();
        return true;
    case KwLevelText:
        if (g.dest == Dest::ListLevel) {
            g.dest = Dest::LevelText;
            levelText_.clear();
        }
        return true;
    case KwListOverrideTable:
        g.dest = g.dest == Dest::Normal ? Dest::ListOverrideTable : Dest::Skip;
        return true;
    case KwListOverride:
        if (g.dest == Dest::ListOverrideTable) {
            g.dest = Dest::ListOverride;
            overrideLs_ = 0;
            overrideDef_ = ListOverrideDef{};
        }
        return true;
    case KwListId:
        if (g.dest == Dest::List)
            listId_ = w.p;
        else if (g.dest == Dest::ListOverride)
            overrideDef_.listId = w.p;
        return true;
    case KwLevelNfc:
    case KwLevelNfcN:
        if (g.dest == Dest::ListLevel && levelBeingRead())
            levelBeingRead()->kind = kindOfNfc(w.p);
        return true;
    case KwLevelStartAt:
        if (g.dest == Dest::ListLevel && levelBeingRead())
            levelBeingRead()->start = w.p;
        return true;
    case KwLs:
        if (g.dest == Dest::ListOverride)
            overrideLs_ = w.p;
        else
            g.para.ls = w.p;
        return true;
    case KwIlvl:
        g.para.ilvl = w.p;
        return true;
    default:
        return false;
    }
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

} // namespace vlr::rtf::detail
