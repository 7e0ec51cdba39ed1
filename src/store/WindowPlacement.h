#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

class Settings;

// Where a window reappears. A window that remembers its placement keeps its
// normal-position rectangle (the geometry it has when neither maximised nor minimised)
// and whether it was maximised, in a settings section of its own. The windows call
// these functions; the arithmetic here knows nothing of widgets.
class WindowPlacement {
public:
    // The stored form: Right and Bottom are the edges just past the window (left +
    // width, top + height). Bottom 0 means that no placement was stored.
    struct Stored {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        bool maximized = false;
    };

    // The window's class name + "_Placement", followed by the screen's pixels per inch
    // when they are above 96 ("TAddressMain_Placement120"), so that each resolution
    // keeps its own placement.
    static QString sectionName(const QString& className, int pixelsPerInch);

    static Stored read(const Settings& settings, const QString& section, bool maximizedNow);

    // The rectangle to give a window with the stored placement on `screen`, or nothing
    // when the window is to be centred instead (CenterForm). It is centred when nothing
    // was stored (Bottom 0). Otherwise a rectangle reaching past the screen's right edge
    // is moved left until its right edge meets it, and one reaching past the bottom edge
    // is moved up likewise. Beyond that:
    // - a rectangle larger than the screen does not start before the screen's left or
    //   top edge after the move, but is cut there, so its title bar stays reachable;
    // - an empty rectangle (right not past left, or bottom not past top) and one lying
    //   wholly before the screen's left or top edge (a screen that is gone) are centred.
    static std::optional<QRect> fitToScreen(const Stored& stored, const QRect& screen);

    // The outcome of restoring a window: its rectangle (nothing: centre it) and whether
    // to maximise it. `maximizedNow` is the default of a missing "Maximized".
    struct Restored {
        std::optional<QRect> rect;
        bool maximized = false;
    };
    // Reads the placement and fits it to `screen`. The window then applies it and
    // saves its placement at once (SavePlacement).
    static Restored RestorePlacement(const Settings& settings, const QString& section, const QRect& screen,
                                     bool maximizedNow);

    // Stores `normalGeometry` (the normal-position rectangle) and `maximized`.
    [[nodiscard]] static bool SavePlacement(Settings& settings, const QString& section,
                                            const QRect& normalGeometry, bool maximized);

    // A window of `size` centred over `area`: left = area's left + (area's width -
    // width) / 2, top likewise, the halves rounded toward zero. Dialogs are centred
    // over the main window, or over the screen when the main window is maximised.
    static QRect CenterForm(const QSize& size, const QRect& area);
};
