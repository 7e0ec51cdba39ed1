#pragma once

#include <QByteArray>
#include <QString>

// Text in layout streams is single-byte Windows-1252, as the files have always held it.
namespace layout {

QString FromAnsi(const QByteArray& bytes);
// False when `text` holds a character that Windows-1252 cannot hold; `out` is then
// left unchanged.
bool ToAnsi(const QString& text, QByteArray* out);

}  // namespace layout
