#pragma once

#include <QDialog>

#include "TGIMBarCode.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TGDataSet;

// "Intelligent Mail Barcode": the tracking code's fields (barcode identifier, service
// type, mailer identifier, and where the serial number comes from), and the fields and
// length of the routing code. A line at the foot shows the bars the record would print,
// or why it would print none, as the choices change. Ok is enabled only while the
// tracking code's fixed parts are well formed; Ok copies the choices to the object (a
// changed starting number resets the counter), Cancel changes nothing.
//
// `record` (borrowed, may be null) is the panel's data set: its fields fill the field
// lists and its current record the preview. Both it and the object must outlive the
// dialog.
class TIMBarCodeDialog : public QDialog {
    Q_OBJECT

  public:
    TIMBarCodeDialog(TGIMBarCode& object, const TGDataSet* record, QWidget* parent = nullptr);

    QLineEdit* BarcodeIdEdit;
    QLineEdit* ServiceTypeEdit;
    QLineEdit* MailerIdEdit;
    QRadioButton* SerialFixedRadio;
    QLineEdit* SerialNumberEdit;
    QRadioButton* SerialCounterRadio;
    QSpinBox* StartingNumberSpin;
    QSpinBox* RepeatEachSpin;
    QRadioButton* SerialFieldRadio;
    QComboBox* SerialFieldCombo;
    QComboBox* ZipFieldCombo;
    QComboBox* AddressFieldCombo;
    QComboBox* RoutingCombo;
    QLabel* PreviewLabel;
    QPushButton* OkButton;
    QPushButton* CancelButton;
    QPushButton* HelpButton;

  private:
    // The dialog's choices copied to `code`.
    void CopyChoicesTo(TGIMBarCode& code) const;
    void ChoicesChanged();
    void OkButtonClick();

    TGIMBarCode& object_;
    const TGDataSet* record_;
    QButtonGroup* serialGroup_;
};
