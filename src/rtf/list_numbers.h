#pragma once
// List item numbers as the lists show them, with the start the document keeps
// (Qt 6.4 lists always count from 1).
#include "rtf/properties.h"

#include <QString>
#include <QTextBlock>
#include <QTextList>
#include <QTextListFormat>

namespace vlr::rtf {

// A number in the list style's notation: 3, c, C, iii, III.
QString listNumberText(QTextListFormat::Style style, int n);

// The label of a list paragraph: a bullet, or prefix + number + suffix.
QString listItemLabel(const QTextBlock& block);

} // namespace vlr::rtf
