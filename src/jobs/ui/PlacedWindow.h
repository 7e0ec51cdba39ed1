#pragma once

#include <QRect>
#include <QString>
#include <functional>

class QWidget;
class Settings;

// A real window that remembers where it was: puts the placement that WindowPlacement
// stores (per class name and screen resolution) on the window, and stores it again.
// The main window, the browse window and the preview window use it.
namespace PlacedWindow {

// The available area of the window's screen (the primary screen's before it has one;
// 1024 × 768 without any screen).
QRect AvailableArea(const QWidget* window);

// Gives `window` its stored placement, or, when none is stored or it no longer fits,
// the rectangle `unplaced(area)` makes of the screen's available area; maximises it
// when it was maximised.
void Restore(QWidget* window, const Settings& settings, const QString& className,
             const std::function<QRect(const QRect& area)>& unplaced);

// Stores the window's normal-position rectangle and whether it is maximised. A settings
// file that cannot be written costs only the placement.
void Save(const QWidget* window, Settings& settings, const QString& className);

}  // namespace PlacedWindow
