#pragma once

#include <QDialog>

#include "LabelDefinition.h"

class AppHome;
class QRadioButton;

// "Label Layout": whether a definition's stock comes from the template catalogue or is
// typed by hand. exec() gives Rejected for Cancel, otherwise Template or Manual.
class TChooseLabelLayout : public QDialog {
    Q_OBJECT

  public:
    enum Result { Template = QDialog::Accepted, Manual = QDialog::Accepted + 1 };

    explicit TChooseLabelLayout(QWidget* parent = nullptr);

    QRadioButton* FromTemplates;
    QRadioButton* Manually;
};

// Change Layout, as the designers run it: the choice, then the template picker over the
// home's LBLTPL.DBF or the stock editor; `stock` takes the result by the rules of each.
// False (stock unchanged) when the user cancels or the catalogue cannot be opened (its
// message shown).
bool ChangeLabelStock(const AppHome& home, LabelStock* stock, QWidget* parent);
