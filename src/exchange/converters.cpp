#include "exchange/converters.h"

#include "core/progress.h"
#include "exchange/exchange_texts.h"
#include "libs/extlib.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

namespace vlr {

namespace {

constexpr qint64 kMaxOutputBytes = qint64(1) << 30;

QString find(const QString& program, const QStringList& searchPath) {
    return QStandardPaths::findExecutable(program, searchPath);
}

QList<TConverter> converters(const QStringList& searchPath, const QStringList& pandocExts,
                             const QStringList& officeExts) {
    QList<TConverter> list;
    if (const QString pandoc = find(QStringLiteral("pandoc"), searchPath); !pandoc.isEmpty())
        list.append({TConverter::Kind::Pandoc, QStringLiteral("Pandoc"), pandoc, pandocExts});
    if (const QString office = find(QStringLiteral("soffice"), searchPath); !office.isEmpty())
        list.append({TConverter::Kind::Office, QStringLiteral("LibreOffice"), office, officeExts});
    return list;
}

// pandoc's name of the format a file extension stands for.
QString pandocFormat(const QString& extension) {
    const QString e = extension.toLower();
    if (e == QLatin1StringView("md") || e == QLatin1StringView("markdown"))
        return QStringLiteral("markdown");
    if (e == QLatin1StringView("htm") || e == QLatin1StringView("html"))
        return QStringLiteral("html");
    return e; // docx, odt, epub
}

// The format pandoc writes: Markdown without the spans and attributes that
// would carry the HTML's styling along.
QString pandocTarget(const QString& extension) {
    const QString format = pandocFormat(extension);
    if (format == QLatin1StringView("markdown"))
        return QStringLiteral("markdown-bracketed_spans-native_spans-native_divs-fenced_divs-raw_html-"
                              "link_attributes-header_attributes");
    return format;
}

} // namespace

QString TConverter::Filter() const {
    QStringList patterns;
    for (const QString& e : extensions)
        patterns << QStringLiteral("*.") + e;
    return patterns.join(u';');
}

QString TConverter::Patterns() const {
    return Filter().replace(u';', u' ');
}

QList<TConverter> ExportConverters(const QStringList& searchPath) {
    return converters(
        searchPath,
        {QStringLiteral("md"), QStringLiteral("docx"), QStringLiteral("odt"), QStringLiteral("epub")},
        {QStringLiteral("doc"), QStringLiteral("docx"), QStringLiteral("odt")});
}

QList<TConverter> ImportConverters(const QStringList& searchPath) {
    return converters(searchPath,
                      {QStringLiteral("md"), QStringLiteral("docx"), QStringLiteral("odt"),
                       QStringLiteral("html"), QStringLiteral("htm")},
                      {QStringLiteral("doc"), QStringLiteral("docx"), QStringLiteral("odt")});
}

TConverterRun::TConverterRun(int timeLimitMs) : m_timeLimitMs(timeLimitMs) {}
TConverterRun::~TConverterRun() = default;

bool TConverterRun::ensureFolder() {
    if (!m_dir)
        m_dir = std::make_unique<QTemporaryDir>();
    return m_dir->isValid();
}

QString TConverterRun::work(const QString& name) const {
    return m_dir->filePath(name);
}

TConvertResult TConverterRun::run(const QString& program, const QStringList& arguments,
                                  const QString& output) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(QFileInfo(output).absolutePath());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(10000))
        return {false, {}, QStringLiteral("%1 did not start: %2").arg(program, process.errorString())};
    QElapsedTimer clock;
    clock.start();
    while (!process.waitForFinished(100)) {
        if (process.state() == QProcess::NotRunning)
            break;
        QString stop;
        if (ProgressStep(0)) {
            m_stopped = true;
            stop = QStringLiteral("the conversion was stopped");
        } else if (clock.elapsed() > m_timeLimitMs) {
            stop = QStringLiteral("%1 took longer than %2 s").arg(program).arg(m_timeLimitMs / 1000);
        }
        if (!stop.isEmpty()) {
            process.kill();
            process.waitForFinished(5000);
            return {false, {}, stop};
        }
    }
    const QString said = QString::fromLocal8Bit(process.readAll()).trimmed().right(400);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {
            false,
            {},
            QStringLiteral("%1 failed (exit code %2): %3").arg(program).arg(process.exitCode()).arg(said)};
    QFile result(output);
    if (!result.open(QIODevice::ReadOnly))
        return {false, {}, QStringLiteral("%1 wrote no result: %2").arg(program, said)};
    if (result.size() > kMaxOutputBytes)
        return {false, {}, QStringLiteral("the result of %1 is too large").arg(program)};
    QByteArray data = result.readAll();
    result.close();
    QFile::remove(output);
    if (data.isEmpty())
        return {false, {}, QStringLiteral("%1 gave an empty result").arg(program)};
    return {true, std::move(data), {}};
}

TConvertResult TConverterRun::Export(const TConverter& c, const QByteArray& rtf, const QString& extension) {
    if (!ensureFolder())
        return {false, {}, m_dir->errorString()};
    const QString ext = extension.toLower();
    const QString base = QStringLiteral("document%1").arg(++m_counter);
    const QString folder = work(base);
    if (!QDir().mkpath(folder))
        return {false, {}, QStringLiteral("cannot make %1").arg(folder)};
    const QString output = QDir(folder).filePath(base + u'.' + ext);
    if (c.kind == TConverter::Kind::Pandoc) {
        TExtLib::HtmlOptions html;
        html.folder = folder;
        html.fileName = base + QStringLiteral(".htm");
        html.generator = kHtmlGenerator;
        // Markdown would refer to pictures in a folder that is about to go.
        html.pictures = ext != QLatin1StringView("md");
        QByteArray page;
        try {
            page = TExtLib::instance().ConvertData(rtf, html);
        } catch (const std::exception& e) {
            return {false, {}, QString::fromLocal8Bit(e.what())};
        }
        QFile input(QDir(folder).filePath(html.fileName));
        if (!input.open(QIODevice::WriteOnly) || input.write(page) != page.size())
            return {false, {}, input.errorString()};
        input.close();
        return run(c.program,
                   {QStringLiteral("-f"), QStringLiteral("html"), QStringLiteral("-t"), pandocTarget(ext),
                    QStringLiteral("-o"), output, input.fileName()},
                   output);
    }
    QFile input(QDir(folder).filePath(base + QStringLiteral(".rtf")));
    if (!input.open(QIODevice::WriteOnly) || input.write(rtf) != rtf.size())
        return {false, {}, input.errorString()};
    input.close();
    return run(c.program,
               {QStringLiteral("--headless"), QStringLiteral("--norestore"),
                QStringLiteral("-env:UserInstallation=") +
                    QUrl::fromLocalFile(work(QStringLiteral("profile"))).toString(),
                QStringLiteral("--convert-to"), ext, QStringLiteral("--outdir"), folder, input.fileName()},
               output);
}

TConvertResult TConverterRun::Import(const TConverter& c, const QString& fileName) {
    if (!ensureFolder())
        return {false, {}, m_dir->errorString()};
    const QFileInfo info(fileName);
    // Absolute names: a file called "-x" is no option to the program.
    const QString source = info.absoluteFilePath();
    const QString folder = work(QStringLiteral("import%1").arg(++m_counter));
    if (!QDir().mkpath(folder))
        return {false, {}, QStringLiteral("cannot make %1").arg(folder)};
    if (c.kind == TConverter::Kind::Pandoc) {
        const QString output = QDir(folder).filePath(QStringLiteral("result.rtf"));
        return run(c.program,
                   {QStringLiteral("-f"), pandocFormat(info.suffix()), QStringLiteral("-t"),
                    QStringLiteral("rtf"), QStringLiteral("-s"), QStringLiteral("-o"), output, source},
                   output);
    }
    const QString output = QDir(folder).filePath(info.completeBaseName() + QStringLiteral(".rtf"));
    return run(c.program,
               {QStringLiteral("--headless"), QStringLiteral("--norestore"),
                QStringLiteral("-env:UserInstallation=") +
                    QUrl::fromLocalFile(work(QStringLiteral("profile"))).toString(),
                QStringLiteral("--convert-to"), QStringLiteral("rtf"), QStringLiteral("--outdir"), folder,
                source},
               output);
}

} // namespace vlr
