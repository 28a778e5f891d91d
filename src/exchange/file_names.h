#pragma once
// File names of the one-file-per-note export.
#include <QString>

#include <functional>

namespace vlr {

// The characters a file name may not hold: " * / < > ? \ |
inline constexpr QStringView kForbiddenNameChars = u"\"*/<>?\\|";

// The title with the forbidden characters (and control characters, which
// no file name should carry) replaced by "_", or left out.
QString CleanFileName(const QString& title, bool replaceChars);

QString WithoutTrailingDots(const QString& name);

// name, or with numberDuplicates "name 2", "name 3"… until folder/name.ext
// names no file that exists.
QString FreeFileName(const QString& folder, const QString& name, const QString& extension,
                     bool numberDuplicates, const std::function<bool(const QString& path)>& exists);

// Whether something (a file, a folder, or a symbolic link even when broken) has this name.
bool PathTaken(const QString& path);

} // namespace vlr
