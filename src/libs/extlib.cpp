#include "libs/extlib.h"

#include "core/error.h"
#include "libs/buffer_sinks.h"
#include "libs/companion_library.h"
#include "libs/ext/ext_abi.h"

#include <QLocale>

#include <cstring>
#include <limits>

namespace vlr {

namespace {

enum Entry {
    ERE_Init,
    ERE_Exec,
    ERE_Done,
    ERE_Quote,
    ERE_Replace,
    ERE_CheckText,
    ELoadPictureFromFile2,
    EFreeThis,
    EGetFormulaValue,
    EPackProc,
    EConvertData2,
    EConvertData,
    EntryCount
};

// The exports looked up at load, in Entry order; the library is available
// when every required one resolved.
constexpr CompanionLibrary::Export kExports[] = {
    {"RE_Init", true},
    {"RE_Exec", true},
    {"RE_Done", true},
    {"RE_Quote", true},
    {"RE_Replace", true},
    {"RE_CheckText", false},
    {"LoadPictureFromFile2", true},
    {"FreeThis", true},
    {"GetFormulaValue", true},
    {"PackProc", true},
    {"ConvertData2", true},
    {"ConvertData", true},
};
static_assert(std::size(kExports) == EntryCount, "one row per entry");

constexpr qsizetype kDefaultMaxUnpacked = qsizetype(1) << 30;

const char16_t* utf16(const QString& s) {
    return reinterpret_cast<const char16_t*>(s.utf16());
}

} // namespace

TExtLib::TExtLib()
    : m_library(std::make_unique<CompanionLibrary>(kExtFileName.toString())), m_entries(std::size(kExports)) {
}

TExtLib::~TExtLib() = default;

TExtLib& TExtLib::instance() {
    static TExtLib lib;
    return lib;
}

void TExtLib::setLibraryFolder(const QString& folder) {
    instance().m_library->setFolder(folder);
}

QString TExtLib::libraryFolder() {
    return instance().m_library->folder();
}

bool TExtLib::IsAvailable() {
    return m_library->loadIfNeeded(kExports, m_entries);
}

void TExtLib::Unload() {
    m_library->unload(m_entries);
    m_reError.clear();
}

QString TExtLib::errorString() const {
    return m_library->isLoaded() ? m_reError : m_library->errorString();
}

void TExtLib::ensureAvailable() {
    if (!IsAvailable())
        throw EVellinorError(kExtensionsLoadError.toString(), errorString());
}

template <typename F> F TExtLib::entry(int index) {
    ensureAvailable();
    return reinterpret_cast<F>(m_entries[size_t(index)]);
}

bool TExtLib::RE_Init(const QString& pattern, const QString& modifiers, int* errorPos) {
    auto init = entry<decltype(&::RE_Init)>(ERE_Init);
    QString reason;
    StringSink sink{&reason};
    int pos = 0;
    const bool ok = init(utf16(pattern), size_t(pattern.size()), utf16(modifiers), size_t(modifiers.size()),
                         &pos, &StringSink::append, &sink) != 0;
    m_reError = ok ? QString() : reason;
    if (errorPos)
        *errorPos = ok ? 0 : pos;
    return ok;
}

bool TExtLib::RE_Exec(const QString& text, int& pos, int& length, int& rank) {
    auto exec = entry<decltype(&::RE_Exec)>(ERE_Exec);
    int p = 0, l = 0, r = 0;
    if (!exec(utf16(text), size_t(text.size()), &p, &l, &r))
        return false;
    pos = p;
    length = l;
    rank = r;
    return true;
}

void TExtLib::RE_Done() {
    if (m_library->isLoaded())
        reinterpret_cast<decltype(&::RE_Done)>(m_entries[ERE_Done])();
}

QString TExtLib::RE_Quote(const QString& text) {
    auto quote = entry<decltype(&::RE_Quote)>(ERE_Quote);
    QString result;
    StringSink sink{&result};
    if (!quote(utf16(text), size_t(text.size()), &StringSink::append, &sink))
        throw EVellinorError(QStringLiteral("Out of memory while quoting a search text"));
    return result;
}

QString TExtLib::RE_Replace(const QString& pattern, const QString& text, const QString& replacement) {
    auto replace = entry<decltype(&::RE_Replace)>(ERE_Replace);
    QString result;
    StringSink sink{&result};
    if (!replace(utf16(pattern), size_t(pattern.size()), utf16(text), size_t(text.size()), utf16(replacement),
                 size_t(replacement.size()), &StringSink::append, &sink))
        throw EVellinorError(QStringLiteral("Invalid regular expression: %1").arg(pattern));
    return result;
}

bool TExtLib::HasCheckText() const {
    return m_library->isLoaded() && m_entries[ERE_CheckText] != nullptr;
}

bool TExtLib::RE_CheckText(const QString& pattern, const QString& text) {
    ensureAvailable();
    if (!HasCheckText())
        return false;
    auto check = reinterpret_cast<decltype(&::RE_CheckText)>(m_entries[ERE_CheckText]);
    return check(utf16(pattern), size_t(pattern.size()), utf16(text), size_t(text.size())) != 0;
}

QImage TExtLib::LoadPictureFromFile2(const QString& fileName) {
    auto load = entry<decltype(&::LoadPictureFromFile2)>(ELoadPictureFromFile2);
    auto freeThis = reinterpret_cast<decltype(&::FreeThis)>(m_entries[EFreeThis]);
    const VlrBitmap* bitmap = load(utf16(fileName), size_t(fileName.size()));
    if (!bitmap)
        return {};
    QImage copy;
    const auto format = QImage::Format(bitmap->format);
    if (bitmap->bits && bitmap->width > 0 && bitmap->height > 0 && format > QImage::Format_Invalid &&
        format < QImage::NImageFormats) {
        copy = QImage(bitmap->width, bitmap->height, format);
        const qsizetype row = std::min<qsizetype>(copy.bytesPerLine(), bitmap->bytesPerLine);
        for (int y = 0; !copy.isNull() && y < bitmap->height; ++y)
            std::memcpy(copy.scanLine(y), bitmap->bits + qsizetype(y) * bitmap->bytesPerLine, size_t(row));
    }
    freeThis();
    return copy;
}

double TExtLib::GetFormulaValue(const QString& expression) {
    auto evaluate = entry<decltype(&::GetFormulaValue)>(EGetFormulaValue);
    const QString point = QLocale().decimalPoint();
    const char16_t decimal = point.size() == 1 && point.at(0).unicode() < 0x80 ? point.at(0).unicode() : u'.';
    const char16_t argument = decimal == u',' ? u';' : u',';
    QString reason;
    StringSink sink{&reason};
    double value = 0;
    if (!evaluate(utf16(expression), size_t(expression.size()), decimal, argument, &value,
                  &StringSink::append, &sink))
        throw EVellinorError(reason.isEmpty() ? QStringLiteral("Invalid expression") : reason);
    return value;
}

int TExtLib::PackProc(QByteArrayView src, QByteArray& dst, int mode) {
    return PackProc(src, dst, mode, kDefaultMaxUnpacked);
}

int TExtLib::PackProc(QByteArrayView src, QByteArray& dst, int mode, qsizetype maxUnpacked) {
    auto pack = entry<decltype(&::PackProc)>(EPackProc);
    const qsizetype before = dst.size();
    ByteArraySink sink{&dst, std::numeric_limits<qsizetype>::max()};
    const int result = maxUnpacked < 0 ? 0
                                       : pack(src.data(), size_t(src.size()), &ByteArraySink::append, &sink,
                                              mode, size_t(maxUnpacked));
    if (result == 0)
        dst.truncate(before);
    return result;
}

QString TExtLib::ConvertData2(QByteArrayView rtf, int mode) {
    auto convert = entry<decltype(&::ConvertData2)>(EConvertData2);
    QString result;
    StringSink sink{&result};
    if (!convert(rtf.data(), size_t(rtf.size()), &StringSink::append, &sink, mode))
        throw EVellinorError(QStringLiteral("Unable to convert a note to text"));
    return result;
}

QByteArray TExtLib::ConvertData(QByteArrayView data, const HtmlOptions& options) {
    auto convert = entry<decltype(&::ConvertData)>(EConvertData);
    VlrConvertOptions o{};
    o.folder = utf16(options.folder);
    o.folderLen = size_t(options.folder.size());
    o.fileName = utf16(options.fileName);
    o.fileNameLen = size_t(options.fileName.size());
    o.title = utf16(options.title);
    o.titleLen = size_t(options.title.size());
    o.generator = utf16(options.generator);
    o.generatorLen = size_t(options.generator.size());
    o.fontName = utf16(options.fontName);
    o.fontNameLen = size_t(options.fontName.size());
    o.fontSize = options.fontSize;
    o.flags = (options.pictures ? VlrConvertPictures : 0) | (options.tabsAsNbsp ? VlrConvertTabsAsNbsp : 0) |
              (options.useBackground ? VlrConvertUseBackground : 0);
    o.backgroundColor = options.backgroundColor;
    QByteArray result;
    ByteArraySink sink{&result, std::numeric_limits<qsizetype>::max()};
    if (!convert(data.data(), size_t(data.size()), &ByteArraySink::append, &sink, &o))
        throw EVellinorError(QStringLiteral("Unable to convert a note to HTML"));
    return result;
}

} // namespace vlr
