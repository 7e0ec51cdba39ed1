#pragma once

#include <QChar>
#include <QSet>
#include <QString>
#include <vector>

class QWidget;

// Alt+letter for every button, check box and field label. Captions that name their
// letter with "&" keep it; a caption without one gets the first free letter of its
// window, word starts first, so that every control a person may want to reach from
// the keyboard has a key of its own within its window. The menu bar's and the tab
// bars' letters count as taken.
namespace Mnemonics {

// Gives each window its letters as it is shown, for the whole run. Call once.
void install();
// Gives the controls of `window` that have no letter one that is free in it.
void assign(QWidget* window);
// The letter a caption marks with "&" (lower case), or a null QChar.
QChar of(const QString& caption);
// The controls of `window` that take a letter (buttons with a caption, labels of a
// field), and the caption of one of them.
std::vector<QWidget*> controls(QWidget* window);
QString captionOf(const QWidget* control);
// The letters taken in `window`: by its controls, its menu bar, tab bars and group boxes.
QSet<QChar> taken(QWidget* window);

}  // namespace Mnemonics
