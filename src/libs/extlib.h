#pragma once
// TExtLib: the one loader of the extension library libVlrExt.so (regular
// expressions, formulas, pictures, packing of old notebooks).
#include <QByteArray>
#include <QByteArrayView>
#include <QFunctionPointer>
#include <QImage>
#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

namespace vlr {

class CompanionLibrary;

// Raised by storage when it cannot get the library.
inline constexpr QStringView kExtensionsLoadError = u"FATAL: Unable to initalize extensions engine!";
// Shown (caption kExtLibMissingCaption) before the main window first shows
// when the library is missing; the program then ends with exit code 1.
inline constexpr QStringView kExtLibMissingMessage =
    u"Ошибка загрузки библиотеки расширений Vellinor (VlrExt.Dll)!\r\nПопробуйте переустановить программу.";
inline constexpr QStringView kExtLibMissingCaption = u"Ошибка";
inline constexpr QStringView kExtFileName = u"libVlrExt.so";

class TExtLib {
public:
    static TExtLib& instance();
    // Folder the library is loaded from; the program's folder until set.
    // Takes effect at the next load (after Unload when already loaded).
    static void setLibraryFolder(const QString& folder);
    static QString libraryFolder();

    bool IsAvailable(); // loads on first query; all exports but RE_CheckText required
    void Unload();      // next query reloads
    // Why the library is unavailable, or why the last RE_Init failed.
    QString errorString() const;

    // Unless said otherwise the calls below load the library when needed and
    // throw EVellinorError with kExtensionsLoadError when it is unavailable.

    // Compiles the pattern for RE_Exec. Modifiers: i case-insensitive, s dot
    // matches line breaks, m ^ and $ at each line, r Russian ranges (а-я, А-Я
    // also take ё, Ё); a leading "-" makes the search case-sensitive. \w and
    // \b know Cyrillic. On failure *errorPos is the 0-based offset of the
    // fault in the pattern (a caret position) and errorString() the reason.
    bool RE_Init(const QString& pattern, const QString& modifiers, int* errorPos = nullptr);
    // Finds the first match in text. pos: 1-based UTF-16 position of its
    // start (an editor position + 1); length: its UTF-16 length. rank: the
    // number of distinct capturing groups of the pattern that took part in
    // some match anywhere in the text, or, for a pattern without groups, the
    // number of matches in the text. So "(a)|(b)" gives 2 exactly when both
    // a and b occur. False without a compiled pattern.
    bool RE_Exec(const QString& text, int& pos, int& length, int& rank);
    // Frees the compiled pattern; does nothing when unavailable.
    void RE_Done();
    // Escapes \ ^ $ . | ? * + ( ) [ ] { }; spaces and commas stay.
    QString RE_Quote(const QString& text);
    // Every match of pattern (modifiers "irsm") replaced by the replacement
    // taken literally. A pattern that does not compile throws EVellinorError.
    QString RE_Replace(const QString& pattern, const QString& text, const QString& replacement);
    // Whether the optional RE_CheckText export is there (false when unavailable).
    bool HasCheckText() const;
    // Text contains a match of pattern (modifiers "irsm"); false without the
    // optional export or when the pattern does not compile.
    bool RE_CheckText(const QString& pattern, const QString& text);
    QImage
    LoadPictureFromFile2(const QString& fileName); // null image on failure; calls FreeThis after copying
    // Decimal separator from the default QLocale; functions take their
    // arguments separated by ";" when that is ",", else by ",".
    double GetFormulaValue(const QString& expression); // throws vlr::EVellinorError on a bad expression
    // mode 1 packs (result > 0 = done), mode 0 unpacks (non-zero = done); appends to dst.
    // Unpacking fails when the output would pass maxUnpacked; dst is
    // unchanged after a failure.
    int PackProc(QByteArrayView src, QByteArray& dst, int mode);
    int PackProc(QByteArrayView src, QByteArray& dst, int mode, qsizetype maxUnpacked);

    // RTF (or a plain-text body) to plain text: mode 0 for search (one
    // character per editor position), 1 for text export. Throws
    // EVellinorError when the conversion fails.
    QString ConvertData2(QByteArrayView rtf, int mode);
    struct HtmlOptions {
        QString folder, fileName, title, generator, fontName;
        int fontSize = 0;
        bool pictures = false, tabsAsNbsp = false, useBackground = false;
        quint32 backgroundColor = 0;
    };
    // RTF or plain text to a complete HTML document (UTF-8); pictures go as
    // files into the folder when asked. Throws EVellinorError on failure.
    QByteArray ConvertData(QByteArrayView data, const HtmlOptions& options);

    ~TExtLib();
    TExtLib(const TExtLib&) = delete;
    TExtLib& operator=(const TExtLib&) = delete;

private:
    TExtLib();
    void ensureAvailable();
    template <typename F> F entry(int index);

    std::unique_ptr<CompanionLibrary> m_library;
    std::vector<QFunctionPointer> m_entries; // one per row of the export table
    QString m_reError;                       // reason of the last failed RE_Init
};

} // namespace vlr
