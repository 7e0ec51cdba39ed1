#pragma once

#include <QDialog>

#include "AddressBlock.h"

class QCheckBox;
class QPushButton;
class QRadioButton;

// "Address Label Layout": which lines an address block shows, whether in capitals, and
// where the ZIP code goes (the choice of place only while the ZIP code is shown).
class TAddressLabelLayout : public QDialog {
    Q_OBJECT

  public:
    explicit TAddressLabelLayout(const layout::AddressOptions& options, QWidget* parent = nullptr);
    layout::AddressOptions options() const;

    QCheckBox *UseName, *UseTitle, *UseCompany, *UseStreet, *UseStreet2, *UseCityState, *UseZip, *UsePhone,
        *UseCountry, *UpperCase;
    QRadioButton *AfterState, *BeforeCity, *AfterCountry, *BeforeCountry;
    QPushButton *OkButton, *CancelButton;

  private:
    void UseZipClick();

    layout::AddressOptions original_;
};
