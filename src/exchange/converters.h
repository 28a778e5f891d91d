#pragma once
// Converter programs found on the PATH take the place of installed text
// converters: each program found is one converter entry. They run as
// separate processes on files in a private temporary folder, with a time
// limit and the Stop button of the progress window; their output is handed
// back as bytes, so a failure never leaves a partial file anywhere.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QTemporaryDir;

namespace vlr {

struct TConverter {
    enum class Kind { Pandoc, Office };
    Kind kind = Kind::Pandoc;
    QString name;           // shown in lists and error texts
    QString program;        // full path of the program
    QStringList extensions; // lower case, without dots, in the order offered

    // "md docx odt", as an extension list is written.
    QString ExtensionsText() const { return extensions.join(u' '); }
    // "*.md;*.docx;*.odt"
    QString Filter() const;
    // "*.md *.docx *.odt", for Qt's file dialogs.
    QString Patterns() const;
    bool Handles(const QString& extension) const { return extensions.contains(extension.toLower()); }
};

// The programs are looked for in these folders, the PATH when empty.
QList<TConverter> ExportConverters(const QStringList& searchPath = {});
QList<TConverter> ImportConverters(const QStringList& searchPath = {});

struct TConvertResult {
    bool ok = false;
    QByteArray data; // the converted file
    QString error;
    explicit operator bool() const { return ok; }
};

// One series of conversions sharing a private folder (the office program's
// profile is made once per series).
class TConverterRun {
public:
    static constexpr int kDefaultTimeLimitMs = 120000;

    explicit TConverterRun(int timeLimitMs = kDefaultTimeLimitMs);
    ~TConverterRun();
    TConverterRun(const TConverterRun&) = delete;
    TConverterRun& operator=(const TConverterRun&) = delete;

    // A document to the format of the extension: pandoc reads the
    // document's HTML, the office program its RTF.
    [[nodiscard]] TConvertResult Export(const TConverter& converter, const QByteArray& rtf,
                                        const QString& extension);
    // A file to RTF.
    [[nodiscard]] TConvertResult Import(const TConverter& converter, const QString& fileName);
    // Stop was pressed during a conversion.
    bool Stopped() const { return m_stopped; }

private:
    TConvertResult run(const QString& program, const QStringList& arguments, const QString& output);
    bool ensureFolder();
    QString work(const QString& name) const;

    int m_timeLimitMs;
    std::unique_ptr<QTemporaryDir> m_dir;
    int m_counter = 0;
    bool m_stopped = false;
};

} // namespace vlr
