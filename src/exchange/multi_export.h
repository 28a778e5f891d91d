#pragma once
// The export of one file per note, into one folder or a folder tree that
// follows the notes tree. Names never lead out of the chosen folder.
#include "exchange/export_targets.h"

#include <QStringList>

namespace vlr {

class TExportTree;
class TWriteGuard;
class TConverterRun;
struct TConverter;

struct TFilesExportOptions {
    QString folder;
    bool oneFolder = false;       // rbFolderOne; else the folders follow the tree
    bool numberDuplicates = true; // rbDupRename; else an existing file is overwritten
    bool replaceChars = true;     // forbidden characters become "_"; else they are left out
    TFileFormat format = TFileFormat::FormatRTF;
    bool formatText = false;
    int lineWidth = 70;
    THtmlChoices html;
    const TConverter* converter = nullptr; // with TFileFormat::Converter
};

struct TFilesExportResult {
    QStringList written; // full names, in the order written
    int failed = 0;      // notes whose file could not be made (left out silently)
    bool stopped = false;
};

// Visits the nodes below the export root depth-first, each parent before its
// children, with the progress window "Обработка файлов, подождите..." (Stop
// ends it). A failing note is skipped and the export goes on.
TFilesExportResult ExportFilesPerNote(const TExportTree& tree, const TFilesExportOptions& options,
                                      const TWriteGuard& guard, TConverterRun& converterRun);

} // namespace vlr
