#pragma once
// The export wizard's steps and the way between them, and the target lists
// of its last step: what the wizard shows, decided without widgets.
#include "exchange/converters.h"
#include "exchange/export_targets.h"

#include <QList>
#include <QString>

namespace vlr {

enum TExportStep : int {
    esResult = 0,        // "1": one file, several files or a notebook file
    esSelect = 1,        // "1.1": the export tree with marks
    esFormat = 2,        // "2": formatted or plain
    esFormatOptions = 3, // "2.1": HTML and plain-text options
    esLayout = 4,        // "3": separation, header, footer
    esTargets = 5,       // "4": the targets
    esFilesOptions = 6,  // "2": folders, duplicates, characters
};

enum class TExportKind { OneFile, ManyFiles, NotebookFile };

struct TExportFlow {
    TExportKind kind = TExportKind::OneFile;
    bool selectNotes = false; // cbSelNotes
    bool moreSingle = false;  // cbAddSingle
    bool moreMulti = false;   // cbAddMulti
    bool oneNote = false;     // FileExportNote: starts at step 2, no way back from there

    TExportStep Start() const { return oneNote ? esFormat : esResult; }
    TExportStep Next(TExportStep from) const;
    // Back from a step; the same step when there is no way back.
    TExportStep Back(TExportStep from) const;
    bool CanGoBack(TExportStep at) const { return Back(at) != at; }
};

// The step's number and title as the wizard's label and heading show them.
QString StepNumber(TExportStep step);
QString StepTitle(TExportStep step);

struct TTargetEntry {
    bool heading = false;
    QString caption;
    TDocumentTarget document = TDocumentTarget::FileRTF; // one combined document
    TFileFormat format = TFileFormat::FormatRTF;         // one file per note
    bool notebookFile = false;                           // the structured file
    int converter = -1;                                  // index into the converter list
};

// One combined document: files, clipboard, notes, converters. The RTF
// targets only for a formatted export; the current-note targets not when
// the export started from a notebook's root.
QList<TTargetEntry> DocumentTargets(bool formatted, bool fromRoot, const QList<TConverter>& converters);
QList<TTargetEntry> FileTargets(const QList<TConverter>& converters);
QList<TTargetEntry> NotebookFileTargets();

} // namespace vlr
