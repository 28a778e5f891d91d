#include "exchange/note_text.h"

#include "core/codepage.h"
#include "core/error.h"
#include "libs/extlib.h"
#include "rtf/plain_body.h"
#include "storage/node_root.h"

namespace vlr {

std::optional<QByteArray> StoredTextOf(TNodeRoot& notebook, const TNodeData& note) {
    QByteArray body;
    if (note.Loaded) {
        body = note.Body;
    } else {
        if (!note.TreeNode || notebook.ReadNoteInto(note.TreeNode, body) < 0)
            return std::nullopt;
    }
    if (!IsPlainNote(note)) {
        qsizetype end = body.size();
        while (end > 0 && body[end - 1] == '\0')
            --end;
        body.truncate(end);
    }
    return body;
}

bool IsPlainNote(const TNodeData& note) {
    return note.Record.PlainText() != 0;
}

bool ExtensionsAvailable() {
    return TExtLib::instance().IsAvailable();
}

std::optional<QString> ExportTextOf(QByteArrayView body, bool plainNote) {
    if (!ExtensionsAvailable())
        return std::nullopt;
    if (plainNote)
        return WithCrLf(rtf::plainBodyText(body));
    try {
        return TExtLib::instance().ConvertData2(body, 1);
    } catch (const EVellinorError&) {
        return std::nullopt;
    }
}

namespace {

QString withLineEnds(const QString& text, QStringView end) {
    QString out;
    out.reserve(text.size() + text.size() / 32);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            out += end;
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else if (c == u'\n') {
            out += end;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

QString WithCrLf(const QString& text) {
    return withLineEnds(text, u"\r\n");
}

QByteArray AnsiOrUtf8Bytes(const QString& text) {
    if (fitsAnsi(text))
        return toAnsi(text);
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QByteArray TextFileBytes(const QString& text, TTextFileKind kind) {
    switch (kind) {
    case TTextFileKind::Ansi: {
        QString lf = withLineEnds(text, u"\n");
        if (lf.startsWith(QChar::ByteOrderMark))
            lf.remove(0, 1);
        return lf.toUtf8();
    }
    case TTextFileKind::Oem:
        return toOem(WithCrLf(text));
    }
    return {};
}

QString ClipboardPlainText(const QString& text) {
    const qsizetype zero = text.indexOf(QChar(0));
    return withLineEnds(zero < 0 ? text : text.first(zero), u"\n");
}

} // namespace vlr
