#include "PanelCursors.h"

#include <QPixmap>

// The pictures are in cursors/*.xpm, compiled in as resources.
static void initResources() { Q_INIT_RESOURCE(layoutui_cursors); }

namespace layoutui {

namespace {

QCursor load(const char* path, int hotX, int hotY, Qt::CursorShape fallback) {
    initResources();
    const QPixmap pixmap(path);
    return pixmap.isNull() ? QCursor(fallback) : QCursor(pixmap, hotX, hotY);
}

}  // namespace

const QCursor& HandGrabCursor() {
    static const QCursor cursor = load(":/layoutui/cursors/handgrab.xpm", 8, 8, Qt::ClosedHandCursor);
    return cursor;
}

const QCursor& HandPointCursor() {
    static const QCursor cursor = load(":/layoutui/cursors/handpoint.xpm", 5, 0, Qt::PointingHandCursor);
    return cursor;
}

}  // namespace layoutui
