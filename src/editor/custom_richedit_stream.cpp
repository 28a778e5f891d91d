// The control reading and writing its content: RTF and plain-text streams.
#include "editor/custom_richedit.h"

#include "core/error.h"
#include "editor/format_range.h"
#include "editor/plain_stream.h"
#include "rtf/rtf.h"

#include <QIODevice>
#include <QTextDocument>

namespace vlr {

namespace {

// Streams larger than this are refused rather than read into memory.
constexpr qint64 kMaxStreamBytes = qint64(512) * 1024 * 1024;

} // namespace

// ---------------------------------------------------------------- streaming

bool TMyCustomRichEdit::streamsRtf() const {
    switch (m_streamFormat) {
    case TStreamFormat::sfRichText:
        return true;
    case TStreamFormat::sfPlainText:
        return false;
    case TStreamFormat::sfDefault:
        break;
    }
    return !m_plainText;
}

void TMyCustomRichEdit::LoadFromStream(QIODevice& stream) {
    if (!stream.isReadable())
        throw EVellinorError(QStringLiteral("Failed to Load Stream"));
    if (!stream.isSequential() && stream.size() - stream.pos() > kMaxStreamBytes)
        throw EVellinorError(QStringLiteral("Failed to Load Stream"));
    QByteArray data;
    char buffer[65536];
    for (;;) {
        const qint64 n = stream.read(buffer, sizeof buffer);
        if (n < 0)
            throw EVellinorError(QStringLiteral("Failed to Load Stream"));
        if (n == 0 && (stream.atEnd() || !stream.waitForReadyRead(0)))
            break;
        if (data.size() + n > kMaxStreamBytes)
            throw EVellinorError(QStringLiteral("Failed to Load Stream"));
        data.append(buffer, n);
    }
    loadBytes(data, TPlainOrigin::poOutside);
}

void TMyCustomRichEdit::LoadFromBytes(QByteArrayView data) {
    if (data.size() > kMaxStreamBytes)
        throw EVellinorError(QStringLiteral("Failed to Load Stream"));
    loadBytes(data, TPlainOrigin::poStoredBody);
}

QString TMyCustomRichEdit::streamPlainText(QByteArrayView data, bool asRtf, TPlainOrigin origin) const {
    return asRtf ? rtf::rtfToPlainText(data) : decodePlainStream(data, m_streamMode & smUnicode, origin);
}

bool TMyCustomRichEdit::fillDocument(QTextDocument* doc, QByteArrayView data, bool asRtf,
                                     TPlainOrigin origin) {
    if (asRtf && !rtf::looksLikeRtf(data))
        return false;
    if (asRtf && !m_plainText) {
        QString error;
        if (!rtf::readRtf(data, doc, &error))
            return false;
        if (doc->isEmpty())
            QTextCursor(doc).setBlockCharFormat(m_defaultFormat);
        return true;
    }
    const QString text = streamPlainText(data, asRtf, origin);
    QTextCursor c(doc);
    c.setBlockCharFormat(m_defaultFormat);
    c.insertText(text, m_defaultFormat);
    return true;
}

bool TMyCustomRichEdit::insertStream(QByteArrayView data, bool asRtf, TPlainOrigin origin) {
    if (asRtf && !rtf::looksLikeRtf(data))
        return false;
    QTextCursor c = textCursor();
    if (!allowCursorEdit(c))
        return true; // refused: nothing changes, and that is no reading error
    c.beginEditBlock();
    bool ok = true;
    if (asRtf && !m_plainText)
        ok = rtf::insertRtf(data, c);
    else
        c.insertText(streamPlainText(data, asRtf, origin));
    c.endEditBlock();
    return ok;
}

void TMyCustomRichEdit::loadBytes(QByteArrayView data, TPlainOrigin origin) {
    const bool rtfFirst = streamsRtf();
    if (m_streamMode & smSelection) {
        if (!insertStream(data, rtfFirst, origin) && !insertStream(data, !rtfFirst, origin))
            throw EVellinorError(QStringLiteral("Failed to Load Stream"));
        m_modified = true;
        SetSelection(0, 0, true);
        return;
    }
    // A whole new content is built in a document of its own, away from the
    // layout and the listeners of the shown one (several times faster), and
    // then takes its place with an empty undo history.
    auto fresh = std::make_unique<QTextDocument>();
    fresh->setUndoRedoEnabled(false);
    fresh->setDefaultFont(document()->defaultFont());
    if (!fillDocument(fresh.get(), data, rtfFirst, origin)) {
        fresh = std::make_unique<QTextDocument>();
        fresh->setUndoRedoEnabled(false);
        fresh->setDefaultFont(document()->defaultFont());
        if (!fillDocument(fresh.get(), data, !rtfFirst, origin))
            throw EVellinorError(QStringLiteral("Failed to Load Stream"));
    }
    ++m_loading;
    m_formatRange->clear();
    QTextDocument* old = document();
    const bool ownOld = old->parent() == this;
    fresh->setParent(this);
    setDocument(fresh.release());
    if (ownOld)
        delete old;
    if (m_plainText)
        applyDefaultFormat();
    attachDocument();
    --m_loading;
    m_modified = false;
    document()->setModified(false);
    SetSelection(0, 0, true);
}

QByteArray TMyCustomRichEdit::saveBytes() {
    const bool selection = m_streamMode & smSelection;
    const QTextCursor c = textCursor();
    if (streamsRtf()) {
        int flags = 0;
        if (selection)
            flags |= rtf::WriteSelection;
        if (m_streamMode & smNoObjects)
            flags |= rtf::WriteNoObjects;
        if (m_streamMode & smPlainRtf)
            flags |= rtf::WritePlainRtf;
        return rtf::writeRtf(document(), flags, selection ? &c : nullptr);
    }
    const QString text = streamTextOf(selection ? c.selectedText() : document()->toRawText());
    return encodePlainStream(text, m_streamMode & smUnicode);
}

void TMyCustomRichEdit::SaveToStream(QIODevice& stream) {
    const QByteArray data = saveBytes();
    if (!stream.isWritable() || stream.write(data) != data.size())
        throw EVellinorError(QStringLiteral("Failed to Save Stream"));
}

QByteArray TMyCustomRichEdit::SaveToBytes() {
    return saveBytes();
}

void TMyCustomRichEdit::Clear() {
    ++m_loading;
    QTextDocument* doc = document();
    doc->setUndoRedoEnabled(false);
    doc->clear();
    applyDefaultFormat();
    doc->setUndoRedoEnabled(true);
    m_undo.clear();
    m_formatRange->clear();
    --m_loading;
    m_modified = false;
    doc->setModified(false);
    if (OnChange)
        OnChange(this);
}

} // namespace vlr
