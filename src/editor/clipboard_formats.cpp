#include "editor/clipboard_formats.h"

#include "editor/plain_stream.h"
#include "rtf/rtf.h"

#include <QImage>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextImageFormat>
#include <QUrl>
#include <QUuid>

namespace vlr {

namespace {

QByteArray rtfOf(const QMimeData* source) {
    for (const QString& type : rtfMimeTypes()) {
        if (source->hasFormat(type)) {
            const QByteArray data = source->data(type);
            if (rtf::looksLikeRtf(data))
                return data;
        }
    }
    return {};
}

bool insertText(QTextCursor& cursor, const QString& text) {
    if (text.isEmpty())
        return false;
    cursor.insertText(streamTextOf(text));
    return true;
}

bool insertImage(QTextCursor& cursor, const QImage& image) {
    if (image.isNull())
        return false;
    const QString name = QStringLiteral("vlr-paste:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    cursor.document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat f;
    f.setName(name);
    f.setWidth(image.width());
    f.setHeight(image.height());
    cursor.insertImage(f);
    return true;
}

} // namespace

QStringList rtfMimeTypes() {
    return {QStringLiteral("text/rtf"), QStringLiteral("application/rtf"), QStringLiteral("text/richtext")};
}

QMimeData* mimeDataForSelection(const QTextCursor& selection) {
    auto* data = new QMimeData;
    if (!selection.hasSelection())
        return data;
    // Other programs read the clipboard: text in the form every reader decodes alike.
    const QByteArray rtfData =
        rtf::writeRtf(selection.document(), rtf::WriteSelection | rtf::WritePortable, &selection);
    data->setData(QStringLiteral("text/rtf"), rtfData);
    data->setData(QStringLiteral("application/rtf"), rtfData);
    data->setHtml(selection.selection().toHtml());
    data->setText(streamTextOf(selection.selectedText()));
    return data;
}

QList<TPasteSpecialEntry> pasteSpecialEntries(const QMimeData* source) {
    const bool all = source == nullptr;
    const bool rtf = all || !rtfOf(source).isEmpty();
    QList<TPasteSpecialEntry> out;
    if (rtf) {
        out.append({TPasteFormat::pfRtf, QStringLiteral("Текст в формате RTF"),
                    QStringLiteral("Текст с форматированием и объектами")});
        out.append({TPasteFormat::pfRtfNoObjects, QStringLiteral("Текст в формате RTF без объектов"),
                    QStringLiteral("Текст с форматированием, без объектов")});
    }
    if (all || source->hasText())
        out.append({TPasteFormat::pfText, QStringLiteral("Неформатированный текст"),
                    QStringLiteral("Текст без какого-либо форматирования")});
    if (all || source->hasImage())
        out.append({TPasteFormat::pfBitmap, QStringLiteral("Точечный рисунок"), QStringLiteral("Рисунок")});
    return out;
}

bool canPasteData(const QMimeData* source, bool plainText) {
    if (!source)
        return false;
    if (plainText)
        return source->hasText() || !rtfOf(source).isEmpty();
    return source->hasText() || source->hasHtml() || source->hasImage() || !rtfOf(source).isEmpty();
}

bool insertMimeData(const QMimeData* source, QTextCursor& cursor, bool plainText) {
    if (!source)
        return false;
    const QByteArray rtfData = rtfOf(source);
    if (plainText) {
        if (source->hasText())
            return insertText(cursor, source->text());
        return !rtfData.isEmpty() && insertText(cursor, rtf::rtfToPlainText(rtfData));
    }
    if (!rtfData.isEmpty() && rtf::insertRtf(rtfData, cursor))
        return true;
    if (source->hasHtml()) {
        const auto fragment = QTextDocumentFragment::fromHtml(source->html(), cursor.document());
        if (!fragment.isEmpty()) {
            cursor.insertFragment(fragment);
            return true;
        }
    }
    if (source->hasText())
        return insertText(cursor, source->text());
    if (source->hasImage())
        return insertImage(cursor, qvariant_cast<QImage>(source->imageData()));
    return false;
}

bool insertMimeDataAs(const QMimeData* source, QTextCursor& cursor, TPasteFormat format) {
    if (!source)
        return false;
    switch (format) {
    case TPasteFormat::pfRtf:
    case TPasteFormat::pfRtfNoObjects: {
        QByteArray rtfData = rtfOf(source);
        if (rtfData.isEmpty())
            return false;
        if (format == TPasteFormat::pfRtfNoObjects) {
            // Read once and write back without objects: the writer knows them.
            QTextDocument scratch;
            if (!rtf::readRtf(rtfData, &scratch))
                return false;
            QTextCursor all(&scratch);
            all.select(QTextCursor::Document);
            rtfData = rtf::writeRtf(&scratch, rtf::WriteNoObjects | rtf::WriteSelection, &all);
        }
        return rtf::insertRtf(rtfData, cursor);
    }
    case TPasteFormat::pfText:
        return insertText(cursor, source->text());
    case TPasteFormat::pfBitmap:
        return source->hasImage() && insertImage(cursor, qvariant_cast<QImage>(source->imageData()));
    }
    return false;
}

qsizetype mimeTextLength(const QMimeData* source, bool plainText) {
    if (!source)
        return 0;
    const QByteArray rtfData = rtfOf(source);
    if (!rtfData.isEmpty() && (!plainText || !source->hasText()))
        return rtf::rtfToPlainText(rtfData).size();
    if (!plainText) {
        if (source->hasHtml())
            return QTextDocumentFragment::fromHtml(source->html()).toPlainText().size();
    }
    if (source->hasText())
        return streamTextOf(source->text()).size();
    return source->hasImage() ? 1 : 0;
}

TDropEffect dropEffectFor(bool ctrl, bool shift, bool reverse) {
    if (ctrl && shift)
        return TDropEffect::deLink;
    const bool copy = ctrl != reverse;
    return copy ? TDropEffect::deCopy : TDropEffect::deMove;
}

} // namespace vlr
