#pragma once
// Fonts named in settings and options by a name, a size in points and style
// bits. "MS Shell Dlg" names the dialog font of the system the settings came
// from, 8 points there; here it stands for the system's interface font at
// that font's own size.
#include <QFont>
#include <QString>

namespace vlr {

bool IsInterfaceFontName(QStringView name);

// The interface font for a size given against the dialog font's 8 points:
// 8 gives the interface font's own size, other sizes scale alike. The family
// is the face actually used, so documents name a face other programs know.
QFont InterfaceFont(int dialogPointSize);

// The font a name, size and style bits (bold 1, italic 2, underline 4,
// strike-out 8) stand for; an empty name is the interface font's.
QFont FontFromSettings(const QString& name, int pointSize, int style);

} // namespace vlr
