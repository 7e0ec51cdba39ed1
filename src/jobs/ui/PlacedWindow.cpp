#include "PlacedWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "WindowPlacement.h"

namespace PlacedWindow {

namespace {

const QScreen* screenOf(const QWidget* window) {
    return window->screen() ? window->screen() : QGuiApplication::primaryScreen();
}

QString section(const QWidget* window, const QString& className) {
    const QScreen* s = screenOf(window);
    return WindowPlacement::sectionName(className, s ? qRound(s->logicalDotsPerInch()) : 96);
}

}  // namespace

QRect AvailableArea(const QWidget* window) {
    const QScreen* s = screenOf(window);
    return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
}

void Restore(QWidget* window, const Settings& settings, const QString& className,
             const std::function<QRect(const QRect& area)>& unplaced) {
    const QRect area = AvailableArea(window);
    const WindowPlacement::Restored placed =
        WindowPlacement::RestorePlacement(settings, section(window, className), area, window->isMaximized());
    window->setGeometry(placed.rect ? *placed.rect : unplaced(area));
    if (placed.maximized) window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

void Save(const QWidget* window, Settings& settings, const QString& className) {
    const QRect normal = window->isMaximized() && window->normalGeometry().isValid()
                             ? window->normalGeometry()
                             : window->geometry();
    (void)WindowPlacement::SavePlacement(settings, section(window, className), normal, window->isMaximized());
}

}  // namespace PlacedWindow
