#include "FontAndColorDialogs.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QPushButton>

#include "LayoutFont.h"
#include "ObjectEdits.h"

namespace layoutdialogs {

namespace {

// Qt's dialogs label their OK and Cancel buttons without Alt letters on some desktops:
// they get letters that the dialog's other controls leave free.
void giveButtonsLetters(QDialog& dialog, const QString& ok, const QString& cancel) {
    auto* box = dialog.findChild<QDialogButtonBox*>();
    if (!box) return;
    if (QPushButton* b = box->button(QDialogButtonBox::Ok)) b->setText(ok);
    if (QPushButton* b = box->button(QDialogButtonBox::Cancel)) b->setText(cancel);
}

}  // namespace

bool PickFont(LayoutFont& font, QWidget* parent) {
    QFontDialog dialog(layout::DialogFont(font), parent);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    dialog.setWindowTitle(QStringLiteral("Font"));
    giveButtonsLetters(dialog, QStringLiteral("&OK"), QStringLiteral("&Cancel"));
    if (dialog.exec() != QDialog::Accepted) return false;
    font = layout::FromDialogFont(dialog.selectedFont(), font);
    return true;
}

bool PickColor(QColor& color, QWidget* parent) {
    QColorDialog dialog(color, parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setWindowTitle(QStringLiteral("Color"));
    // C is the custom colours' letter.
    giveButtonsLetters(dialog, QStringLiteral("&OK"), QStringLiteral("Ca&ncel"));
    if (dialog.exec() != QDialog::Accepted) return false;
    const QColor chosen = dialog.selectedColor();
    if (!chosen.isValid()) return false;
    color = chosen;
    return true;
}

}  // namespace layoutdialogs
