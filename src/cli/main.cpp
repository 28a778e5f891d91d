// vlr: works on notebook files without a display, on the program's own storage code.
#include "cli/cli_notebook.h"
#include "cli/commands.h"
#include "core/error.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>

#ifdef VLR_HAVE_RTF
#include "cli/cmd_rtf.h"
#endif

namespace {

const char* const kUsage =
    "usage: vlr COMMAND ...\n"
    "  info  FILE [--json]                       header fields and totals\n"
    "  ls    FILE [--json] [--deleted]           notes in tree order\n"
    "  cat   FILE NOTE [--raw]                   a note's decoded body\n"
    "  new   FILE [--title T] [--lossy] [--compress] [--encrypt] [--reserve N]\n"
    "  add   FILE --name NAME [--lossy] [--under NOTE | --after NOTE] [--plain] [--body PATH|-] [--raw]\n"
    "  put   FILE NOTE [--body PATH|-] [--raw]   replace a note's body\n"
    "  rm    FILE NOTE                           delete a note (kept for recovery)\n"
    "  pack  FILE [--purge] [--backup]           compact the file\n"
    "  check FILE [--json]                       verify the whole file\n"
    "  recover FILE                              undo a save that was cut short\n"
    "  salvage DAMAGED OUT.vlr [--json] [--force] copy what survives of a damaged notebook\n"
    "                                            into a new one (DAMAGED is only read)\n"
#ifdef VLR_HAVE_RTF
    "  rtf   FILE [--to text|html|rtf]           convert an RTF document\n"
#endif
#ifdef VLR_HAVE_EXCHANGE
    "  export FILE [--note NOTE] [--marked NOTE]... --to rtf|txt|oem|html|vlr|md|docx|odt\n"
    "        (--out FILE | --dir DIR [--flat]) [--bare] [--compress] [--encrypt]\n"
    "  import FILE PATH... [--under NOTE] [--one|--list|--tree] [--lossy]   files (or folders) as notes\n"
#endif
#ifdef VLR_HAVE_SEARCH
    "  search FILE PATTERN [--regex] [--case] [--words] [--any|--all] [--under NOTE] [--json]\n"
    "                                            find text in titles and bodies; exit 0 found,\n"
    "                                            1 nothing found, 2 unusable input\n"
#endif
    "NOTE is an index as ls prints it, a GUID in braces or a path of names joined by \"/\".\n"
    "  In a path, \\/ is a \"/\" inside a name and \\\\ a backslash; names are written as ls\n"
    "  prints them (\\n, \\t, \\xHH, \\uHHHH for control characters). A leading \"/\" makes\n"
    "  a number or a braced text a name.\n"
    "Names and titles are stored in Windows-1251: one with characters it cannot hold is\n"
    "  refused (exit 2) unless --lossy, which stores each such character as \"?\".\n"
    "Plain-text bodies go in and out as UTF-8 text; text that is not UTF-8 is refused.\n"
    "  --raw stores or prints the stored bytes exactly. RTF bodies are bytes both ways.\n"
    "Writers take the notebook before reading it; another process holding it is waited\n"
    "  for --wait SECONDS (default 10), then the command fails.\n"
    "Passwords: --password-file FILE, the VLR_PASSWORD variable, or a prompt on the terminal.\n";

QtMessageHandler g_defaultHandler = nullptr;

// A headless tool has no use for Qt's complaints about a missing session folder.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths:")))
        return;
    g_defaultHandler(type, context, message);
}

// Only commands that lay out documents need fonts and a GUI application;
// the rest start without one, which is most of their start-up time.
bool needsGui(int argc, char** argv) {
    if (argc < 2)
        return false;
    const char* command = argv[1];
    for (const char* headless : {"info", "ls", "cat", "new", "add", "put", "rm", "pack", "check", "recover",
                                 "salvage", "help", "--help"})
        if (std::strcmp(command, headless) == 0)
            return false;
    if (std::strcmp(command, "rtf") != 0)
        return true;
    // Text out of RTF goes through the text reader alone.
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--to") == 0 && i + 1 < argc)
            return std::strcmp(argv[i + 1], "text") != 0;
        if (std::strncmp(argv[i], "--to=", 5) == 0)
            return std::strcmp(argv[i] + 5, "text") != 0;
    }
    return false;
}

void fail(const QString& text) {
    std::fprintf(stderr, "vlr: %s\n", text.toUtf8().constData());
}

} // namespace

int main(int argc, char** argv) {
    // Headless by default, whatever display there is.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    g_defaultHandler = qInstallMessageHandler(quietHandler);
    const std::unique_ptr<QCoreApplication> app = needsGui(argc, argv)
                                                      ? std::make_unique<QGuiApplication>(argc, argv)
                                                      : std::make_unique<QCoreApplication>(argc, argv);
    QStringList words = QCoreApplication::arguments().mid(1);
    if (words.isEmpty() || words[0] == QLatin1String("--help") || words[0] == QLatin1String("help")) {
        std::fputs(kUsage, words.isEmpty() ? stderr : stdout);
        return words.isEmpty() ? vlr::cli::ExitUsage : vlr::cli::ExitOk;
    }
    using Command = std::function<int(const QStringList&)>;
    const std::map<QString, Command> commands = {
        {QStringLiteral("info"), vlr::cli::cmdInfo},       {QStringLiteral("ls"), vlr::cli::cmdLs},
        {QStringLiteral("cat"), vlr::cli::cmdCat},         {QStringLiteral("new"), vlr::cli::cmdNew},
        {QStringLiteral("add"), vlr::cli::cmdAdd},         {QStringLiteral("put"), vlr::cli::cmdPut},
        {QStringLiteral("rm"), vlr::cli::cmdRm},           {QStringLiteral("pack"), vlr::cli::cmdPack},
        {QStringLiteral("check"), vlr::cli::cmdCheck},     {QStringLiteral("recover"), vlr::cli::cmdRecover},
        {QStringLiteral("salvage"), vlr::cli::cmdSalvage},
#ifdef VLR_HAVE_RTF
        {QStringLiteral("rtf"), vlr::cli::cmdRtf},
#endif
#ifdef VLR_HAVE_EXCHANGE
        {QStringLiteral("export"), vlr::cli::cmdExport},   {QStringLiteral("import"), vlr::cli::cmdImport},
#endif
#ifdef VLR_HAVE_SEARCH
        {QStringLiteral("search"), vlr::cli::cmdSearch},
#endif
    };
    const QString name = words.takeFirst();
    const auto it = commands.find(name);
    if (it == commands.end()) {
        fail(QStringLiteral("unknown command \"%1\" (vlr --help lists them)").arg(name));
        return vlr::cli::ExitUsage;
    }
    try {
        return it->second(words);
    } catch (const vlr::cli::UsageError& e) {
        fail(e.text);
        return vlr::cli::ExitUsage;
    } catch (const vlr::cli::CliError& e) {
        fail(e.text);
        return e.code;
    } catch (const vlr::EVellinorError& e) {
        fail(e.text());
        return vlr::cli::ExitFailed;
    } catch (const std::exception& e) {
        fail(QString::fromLocal8Bit(e.what()));
        return vlr::cli::ExitFailed;
    }
}
