#pragma once
// The vlr commands; each takes the words after its name and returns the exit code.
#include <QStringList>

namespace vlr::cli {

int cmdInfo(const QStringList& args);
int cmdLs(const QStringList& args);
int cmdCat(const QStringList& args);
int cmdNew(const QStringList& args);
int cmdAdd(const QStringList& args);
int cmdPut(const QStringList& args);
int cmdRm(const QStringList& args);
int cmdPack(const QStringList& args);
int cmdCheck(const QStringList& args);
int cmdRecover(const QStringList& args);
int cmdSalvage(const QStringList& args);
int cmdSearch(const QStringList& args);
int cmdExport(const QStringList& args);
int cmdImport(const QStringList& args);

// Writes text (UTF-8) or bytes to standard output.
void out(const QString& text);
void outBytes(const QByteArray& bytes);

} // namespace vlr::cli
