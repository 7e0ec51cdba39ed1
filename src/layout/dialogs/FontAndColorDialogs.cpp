#include "FontAndColorDialogs.h"

#include <QColorDialog>
#include <QFontDialog>

#include "LayoutFont.h"
#include "ObjectEdits.h"

namespace layoutdialogs {

bool PickFont(LayoutFont& font, QWidget* parent) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, layout::DialogFont(font), parent, QStringLiteral("Font"),
                                              QFontDialog::DontUseNativeDialog);
    if (!ok) return false;
    font = layout::FromDialogFont(chosen, font);
    return true;
}

bool PickColor(QColor& color, QWidget* parent) {
    const QColor chosen =
        QColorDialog::getColor(color, parent, QStringLiteral("Color"), QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid()) return false;
    color = chosen;
    return true;
}

}  // namespace layoutdialogs
