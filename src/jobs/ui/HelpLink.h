#pragma once

#include <QHash>
#include <QString>
#include <functional>

class QWidget;

// Which page of the manual belongs to which window, and the way every window asks for
// it. A window's page is found by its class: its own, else its base classes', else the
// page of the window it was opened from (a file dialog or message box explains itself
// by the window that opened it). The desktop installs the viewer that shows the
// pages; without one (the command line, tests of a single window) asking does nothing.
namespace HelpLink {

// The page (a file name of the manual, perhaps with an #anchor) of each window class.
const QHash<QString, QString>& table();

// The page about `widget`'s window as described above; the contents page for a window
// with none.
QString pageFor(const QWidget* widget);

// Shows `page`; `from` is the window that asked (the help window opens beside it).
void show(const QString& page, QWidget* from = nullptr);
// Shows the page about `from`'s window: what F1 and every Help button do.
void showFor(QWidget* from);

using Viewer = std::function<void(const QString& page, QWidget* from)>;
void setViewer(Viewer viewer);

constexpr const char* kContents = "index.html";

}  // namespace HelpLink
