#include "cli/cli_text.h"

#include "cli/cli_args.h"
#include "core/codepage.h"

#include <QFile>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vlr::cli {

namespace {

const QByteArray kBom("\xEF\xBB\xBF");
const QByteArray kEmptyPlain("\x20\x00", 2);
// Plain bodies are converted in slices, so no whole-body QString is ever built.
constexpr qsizetype kSlice = qsizetype(1) << 20;

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

bool needsEscape(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x200E || c == 0x200F ||
           (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

} // namespace

QString systemError(int error) {
    if (error == ELOOP)
        return QStringLiteral("a loop of symbolic links");
    return QString::fromLocal8Bit(std::strerror(error));
}

QByteArray readInput(const QString& source) {
    const bool standardInput = source == QLatin1String("-");
    const int fd =
        standardInput ? STDIN_FILENO : ::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw UsageError{QStringLiteral("cannot read %1: %2").arg(source, systemError(errno))};
    auto fail = [&](const QString& why) {
        if (!standardInput)
            ::close(fd);
        throw UsageError{QStringLiteral("cannot read %1: %2")
                             .arg(standardInput ? QStringLiteral("standard input") : source, why)};
    };
    QByteArray bytes;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        bytes.reserve(qsizetype(qMin<qint64>(st.st_size, kMaxBody) + 1));
    qsizetype used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (used > kMaxBody)
                fail(QStringLiteral("more than a note can hold (%1 bytes)").arg(kMaxBody));
            // Grows by half: realloc moves large blocks without copying.
            bytes.resize(qMin<qsizetype>(qMax<qsizetype>(used + used / 2, 64 * 1024), kMaxBody + 1));
        }
        const ssize_t r = ::read(fd, bytes.data() + used, size_t(bytes.size() - used));
        if (r > 0) {
            used += r;
            continue;
        }
        if (r == 0)
            break;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            // Non-blocking input with nothing there yet is not its end.
            pollfd p{fd, POLLIN, 0};
            ::poll(&p, 1, -1);
            continue;
        }
        fail(systemError(errno));
    }
    if (!standardInput)
        ::close(fd);
    if (used > kMaxBody)
        fail(QStringLiteral("more than a note can hold (%1 bytes)").arg(kMaxBody));
    bytes.truncate(used);
    return bytes;
}

bool isValidUtf8(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int len = 0;
        uint32_t cp = 0;
        uint32_t min = 0;
        if ((c & 0xE0) == 0xC0) {
            len = 2, cp = c & 0x1F, min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3, cp = c & 0x0F, min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4, cp = c & 0x07, min = 0x10000;
        } else {
            return false;
        }
        if (i + len > n)
            return false;
        for (int k = 1; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and code points beyond Unicode are not UTF-8.
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

QByteArray plainBodyFromUtf8(const QByteArray& utf8) {
    bool ascii = true;
    for (char c : utf8)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    QByteArray ansi;
    // A byte-order mark anywhere is a character Windows-1251 cannot hold.
    bool fits = !utf8.contains(kBom);
    if (ascii) {
        ansi = utf8; // Windows-1251 holds ASCII as it is: shared, not copied
    } else {
        ansi.reserve(utf8.size());
        for (qsizetype at = 0; fits && at < utf8.size();) {
            qsizetype end = qMin(at + kSlice, utf8.size());
            while (end < utf8.size() && isContinuation(utf8[end]))
                ++end;
            const QString text = QString::fromUtf8(utf8.constData() + at, end - at);
            const QByteArray bytes = toAnsi(text);
            fits = fitsAnsi(text) && fromAnsi(bytes) == text;
            ansi += bytes;
            at = end;
        }
    }
    // Stored forms that a reader takes for something else: a leading mark
    // means UTF-8, and 20 00 is the empty body (what an empty text stores).
    if (utf8.isEmpty() || (fits && !ansi.startsWith(kBom) && ansi != kEmptyPlain))
        return ansi;
    ansi = QByteArray(); // freed before the marked copy is made
    QByteArray marked;
    marked.reserve(kBom.size() + utf8.size());
    marked += kBom;
    marked += utf8;
    return marked;
}

QByteArray plainBodyToUtf8(const QByteArray& stored) {
    if (stored == kEmptyPlain)
        return {};
    if (stored.startsWith(kBom))
        return stored.mid(kBom.size());
    QByteArray out;
    out.reserve(stored.size());
    for (qsizetype at = 0; at < stored.size(); at += kSlice)
        out += fromAnsi(stored.constData() + at, qMin(kSlice, stored.size() - at)).toUtf8();
    return out;
}

QString printable(const QString& name) {
    QString out;
    out.reserve(name.size());
    for (const QChar ch : name) {
        const char16_t c = ch.unicode();
        if (c == u'\\')
            out += QLatin1String("\\\\");
        else if (c == u'\n')
            out += QLatin1String("\\n");
        else if (c == u'\r')
            out += QLatin1String("\\r");
        else if (c == u'\t')
            out += QLatin1String("\\t");
        else if (needsEscape(c) && c <= 0xFF)
            out += QStringLiteral("\\x%1").arg(uint(c), 2, 16, QLatin1Char('0'));
        else if (needsEscape(c))
            out += QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0'));
        else
            out += ch;
    }
    return out;
}

void checkStorableName(const QString& name, bool lossy) {
    const QStringList lost = lostInAnsi(name);
    if (lost.isEmpty() || lossy)
        return;
    QStringList listed;
    for (const QString& character : lost) {
        const char32_t code = character.size() == 1 ? character.at(0).unicode() : character.toUcs4().value(0);
        listed << QStringLiteral("%1 (U+%2)")
                      .arg(printable(character),
                           QString::number(uint(code), 16).toUpper().rightJustified(4, u'0'));
    }
    throw UsageError{
        QStringLiteral("the name \"%1\" has characters a notebook cannot store: %2; --lossy stores "
                       "each as \"?\"")
            .arg(printable(name), listed.join(QStringLiteral(", ")))};
}

QStringList splitNamePath(const QString& path) {
    QStringList names;
    QString current;
    auto broken = [&] {
        return UsageError{QStringLiteral("a broken escape in the note path \"%1\"").arg(printable(path))};
    };
    auto hex = [&](qsizetype at, int digits) {
        const QStringView v = QStringView(path).mid(at, digits);
        bool ok = v.size() == digits && std::all_of(v.begin(), v.end(), [](QChar c) {
                      return c.unicode() < 128 && std::isxdigit(c.unicode());
                  });
        const uint code = ok ? v.toUInt(&ok, 16) : 0;
        if (!ok)
            throw broken();
        return QChar(char16_t(code));
    };
    for (qsizetype i = 0; i < path.size(); ++i) {
        const QChar c = path[i];
        if (c == QLatin1Char('/')) {
            if (!current.isEmpty())
                names << current;
            current.clear();
            continue;
        }
        if (c != QLatin1Char('\\')) {
            current += c;
            continue;
        }
        if (++i >= path.size())
            throw broken();
        switch (path[i].unicode()) {
        case u'/':
            current += QLatin1Char('/');
            break;
        case u'\\':
            current += QLatin1Char('\\');
            break;
        case u'n':
            current += QLatin1Char('\n');
            break;
        case u'r':
            current += QLatin1Char('\r');
            break;
        case u't':
            current += QLatin1Char('\t');
            break;
        case u'x':
            current += hex(i + 1, 2), i += 2;
            break;
        case u'u':
            current += hex(i + 1, 4), i += 4;
            break;
        default:
            throw broken();
        }
    }
    if (!current.isEmpty())
        names << current;
    return names;
}

} // namespace vlr::cli
