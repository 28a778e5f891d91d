#include "cli/cmd_rtf.h"

#include "rtf/convert.h"
#include "rtf/html_writer.h"
#include "rtf/plain_body.h"
#include "rtf/rtf.h"

#include <QFile>
#include <QFileInfo>
#include <QTextDocument>
#include <cstdio>

namespace vlr::cli {

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "vlr rtf: %s\n", message.toLocal8Bit().constData());
    return 2;
}

void print(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

} // namespace

int cmdRtf(const QStringList& args) {
    QString file, to = QStringLiteral("text");
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--to")) {
            if (i + 1 >= args.size())
                return fail(QStringLiteral("--to needs text, html or rtf"));
            to = args[++i];
        } else if (a.startsWith(QLatin1String("--to="))) {
            to = a.mid(5);
        } else if (a.startsWith(QLatin1String("--"))) {
            return fail(QStringLiteral("unknown option %1").arg(a));
        } else if (file.isEmpty()) {
            file = a;
        } else {
            return fail(QStringLiteral("only one file may be given"));
        }
    }
    if (file.isEmpty())
        return fail(QStringLiteral("usage: vlr rtf FILE [--to text|html|rtf]"));
    if (to != QLatin1String("text") && to != QLatin1String("html") && to != QLatin1String("rtf"))
        return fail(QStringLiteral("--to must be text, html or rtf, not %1").arg(to));
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1: %2").arg(file, f.errorString()));
    const QByteArray data = f.readAll();

    // A file that is not RTF is plain text from outside a notebook.
    if (to == QLatin1String("text")) {
        print((rtf::looksLikeRtf(data) ? rtf::rtfToPlainText(data) : rtf::outsidePlainText(data)).toUtf8());
        return 0;
    }
    QTextDocument doc;
    if (!rtf::readRtf(data, &doc))
        doc.setPlainText(rtf::outsidePlainText(data));
    if (to == QLatin1String("html")) {
        rtf::ConvertDataOptions options;
        options.title = QFileInfo(file).completeBaseName();
        print(rtf::documentToHtml(&doc, options));
        return 0;
    }
    print(rtf::writeRtf(&doc, rtf::WritePortable));
    return 0;
}

} // namespace vlr::cli
