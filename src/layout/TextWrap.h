#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace layout {

// The lines of a text: line breaks are CR LF, LF or CR.
QStringList SplitLines(const QString& text);

// Breaks each paragraph into lines no wider than `maxWidth` (as `width` measures),
// the way a multi-line edit control wraps: after the spaces that end a word, a word
// wider than the line between characters; an empty paragraph stays an empty line.
// Spaces at a break end the line they follow and are not counted in its width.
QStringList WrapLines(const QStringList& paragraphs, int maxWidth,
                      const std::function<int(const QString&)>& width);

}  // namespace layout
