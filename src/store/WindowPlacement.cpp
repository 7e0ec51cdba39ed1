#include "WindowPlacement.h"

#include <climits>

#include "SettingKeys.h"
#include "Settings.h"

QString WindowPlacement::sectionName(const QString& className, int pixelsPerInch) {
    QString section = className + "_Placement";
    if (pixelsPerInch > 96) section += QString::number(pixelsPerInch);
    return section;
}

WindowPlacement::Stored WindowPlacement::read(const Settings& settings, const QString& section,
                                              bool maximizedNow) {
    Stored stored;
    stored.left = settings.value(setting::kPlacementLeft.in(section));
    stored.top = settings.value(setting::kPlacementTop.in(section));
    stored.right = settings.value(setting::kPlacementRight.in(section));
    stored.bottom = settings.value(setting::kPlacementBottom.in(section));
    stored.maximized = settings.value(setting::kPlacementMaximized.in(section), maximizedNow);
    return stored;
}

std::optional<QRect> WindowPlacement::fitToScreen(const Stored& stored, const QRect& screen) {
    if (stored.bottom == 0) return std::nullopt;
    // Work in 64 bits: the stored numbers may be anything a hand could type.
    qint64 left = stored.left, top = stored.top, right = stored.right, bottom = stored.bottom;
    if (right <= left || bottom <= top) return std::nullopt;

    const qint64 screenLeft = screen.x(), screenTop = screen.y();
    const qint64 screenRight = screenLeft + screen.width(), screenBottom = screenTop + screen.height();
    if (right > screenRight) {
        left -= right - screenRight;
        right = screenRight;
        if (left < screenLeft) left = screenLeft;
    }
    if (bottom > screenBottom) {
        top -= bottom - screenBottom;
        bottom = screenBottom;
        if (top < screenTop) top = screenTop;
    }
    if (right <= screenLeft || bottom <= screenTop) return std::nullopt;
    if (right - left > INT_MAX || bottom - top > INT_MAX) return std::nullopt;
    return QRect(int(left), int(top), int(right - left), int(bottom - top));
}

WindowPlacement::Restored WindowPlacement::RestorePlacement(const Settings& settings, const QString& section,
                                                            const QRect& screen, bool maximizedNow) {
    const Stored stored = read(settings, section, maximizedNow);
    return Restored{fitToScreen(stored, screen), stored.maximized};
}

bool WindowPlacement::SavePlacement(Settings& settings, const QString& section, const QRect& normalGeometry,
                                    bool maximized) {
    const QRect& r = normalGeometry;
    return settings.write({
        {setting::kPlacementLeft.in(section), r.x()},
        {setting::kPlacementTop.in(section), r.y()},
        {setting::kPlacementRight.in(section), r.x() + r.width()},
        {setting::kPlacementBottom.in(section), r.y() + r.height()},
        {setting::kPlacementMaximized.in(section), maximized},
    });
}

QRect WindowPlacement::CenterForm(const QSize& size, const QRect& area) {
    const int left = area.x() + (area.width() - size.width()) / 2;
    const int top = area.y() + (area.height() - size.height()) / 2;
    return QRect(QPoint(left, top), size);
}
