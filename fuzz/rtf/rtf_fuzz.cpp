// Feeds arbitrary bytes to the reader and every sink, the writer and the
// conversions; the plain text must always equal the document's text.
#include "rtf/convert.h"
#include "rtf/rtf.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication* app = new QGuiApplication(*argc, *argv);
    (void)app;
    // Decoder complaints about damaged pictures are expected here.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView rtf(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = vlr::rtf::rtfToPlainText(rtf);
    QTextDocument doc;
    if (!vlr::rtf::readRtf(rtf, &doc))
        return 0;
    if (text != doc.toPlainText()) {
        std::fprintf(stderr, "plain text and document text differ\n");
        std::abort();
    }
    const QByteArray written = vlr::rtf::writeRtf(&doc);
    QTextDocument back;
    if (!vlr::rtf::readRtf(written, &back) || back.toPlainText() != doc.toPlainText()) {
        std::fprintf(stderr, "written RTF does not read back to the same text\n");
        std::abort();
    }
    // Laid out and drawn as the editor would show it: hostile sizes, indents
    // and tables must not crash the layout or the painting of what is seen.
    // Small inputs only: layout takes time per table cell, and a few bytes
    // a cell would turn large inputs into timeouts rather than findings.
    if (size <= 20000) {
        doc.setTextWidth(600);
        (void)doc.documentLayout()->documentSize();
        QImage seen(300, 300, QImage::Format_RGB32);
        seen.fill(Qt::white);
        QPainter painter(&seen);
        doc.drawContents(&painter, QRectF(0, 0, 600, 600));
    }
    QTextCursor sel(&doc);
    sel.setPosition(doc.characterCount() / 3);
    sel.setPosition(doc.characterCount() - 1, QTextCursor::KeepAnchor);
    (void)vlr::rtf::writeRtf(&doc, vlr::rtf::WriteSelection | vlr::rtf::WriteNoObjects, &sel);
    (void)vlr::rtf::convertData2(rtf, 1);
    (void)vlr::rtf::convertData(rtf, {});
    return 0;
}
