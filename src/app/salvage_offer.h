#pragma once
// The offer made when a damaged notebook is opened: bring what survives of it
// into a new notebook. The question, the new file's name, the salvage and its
// summary; the damaged file is never written.
#include <QDir>
#include <QString>

namespace vlr {

class FileDialogs;
class TNodeRoot;
class TNotebookService;

// "NAME (восстановлено).vlr" beside the damaged file, or in home when that
// folder cannot be written.
QString SalvageProposal(const QString& damagedPath, const QString& home = QDir::homePath());

// Asks whether to salvage the damaged notebook (open in the service) and does
// it: the path of the new notebook when one was written, else empty. The new
// notebook is written closed; the caller opens it.
QString OfferSalvage(const TNotebookService& service, FileDialogs& dialogs, const TNodeRoot& damaged);

} // namespace vlr
