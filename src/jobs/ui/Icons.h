#pragma once

#include <QIcon>

// The program's icons: one meaning, one picture, everywhere it is shown. A meaning that
// the desktop's icon theme names (the freedesktop names: edit-find, go-first, ...) comes
// from the theme, so that it looks like the rest of the desktop; the program's own
// meanings, and every meaning when no theme is installed, are drawn in one style
// (icons/*.svg: scalable, so sharp at any scale, with outlines that read on light and
// dark backgrounds).
namespace Icons {

enum class Icon {
    Labels,
    Letters,
    Envelopes,
    Reports,
    Browse,
    Search,
    Filter,
    FirstRecord,
    PreviousRecord,
    NextRecord,
    LastRecord,
    ShowGrid,
    SnapToGrid,
    FieldNames,
    ShowArt,
    PrintableArea,
    MailTemplate,
};

QIcon get(Icon icon);

}  // namespace Icons
