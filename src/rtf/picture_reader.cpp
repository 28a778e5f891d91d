// Pictures and embedded objects: a picture's data and sizes, an object's
// result picture, and the original group kept for what cannot be shown.
#include "rtf/reader.h"

namespace vlr::rtf::detail {

void Interpreter::emitPicture(Picture& pic) {
    flushText();
    flow();
    sink_.picture(pic, cur().chr);
    ++outputs_;
}

bool Interpreter::pictureWord(const Word& w) {
    GroupState& g = cur();
    switch (w.kw) {
    case KwPict:
        if (g.dest == Dest::Normal) {
            pict_ = Picture{};
            hexNibble_ = -1;
            markRawStart(w.star ? starPos_ : w.token.pos);
            cur().dest = Dest::Pict;
        } else {
            g.dest = Dest::Skip;
        }
        return true;
    case KwObject:
        if (g.dest == Dest::Normal && !inObject_) {
            markRawStart(w.star ? starPos_ : w.token.pos);
            object_ = Picture{};
            object_.object = true;
            inObject_ = true;
            g.dest = Dest::Object;
        } else {
            g.dest = Dest::Skip;
        }
        return true;
    default:
        return false;
    }
}

void Interpreter::pictPropertyWord(const Word& w) {
    const int p = w.p;
    switch (w.kw) {
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
}

// Inside an object only its size and its result picture matter.
void Interpreter::objectWord(const Word& w) {
    GroupState& g = cur();
    switch (w.kw) {
    case KwObjW:
        object_.objw = w.p;
        return;
    case KwObjH:
        object_.objh = w.p;
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
        tok_.binary(w.p);
        return;
    default:
        if (w.star || w.kw == KwSkipDest || w.kw == KwObjData || w.kw == KwNonShpPict)
            g.dest = Dest::Skip;
        return;
    }
}

void Interpreter::pictBytes(QByteArrayView bytes) {
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
}

void Interpreter::finishPict(const GroupState& g, GroupState& parent, qsizetype end) {
    hexNibble_ = -1;
    if (pict_.kind != Picture::Png && pict_.kind != Picture::Jpeg)
        pict_.raw = rawBytes(g, end);
    if (inObject_ && parent.dest == Dest::ObjResult) {
        if (object_.kind == Picture::None) {
            // The object shows its result picture; the object's own group is what is kept.
            const QByteArray raw = object_.raw;
            const bool isObject = object_.object;
            const int objw = object_.objw, objh = object_.objh;
            object_ = pict_;
            object_.raw = raw;
            object_.object = isObject;
            object_.objw = objw;
            object_.objh = objh;
        }
    } else if (parent.dest == Dest::Normal) {
        emitPicture(pict_);
    }
    pict_ = Picture{};
}

void Interpreter::finishObject(const GroupState& g, GroupState& parent, qsizetype end) {
    if (!inObject_)
        return;
    inObject_ = false;
    object_.raw = rawBytes(g, end);
    if (parent.dest == Dest::Normal)
        emitPicture(object_);
    object_ = Picture{};
}

} // namespace vlr::rtf::detail
