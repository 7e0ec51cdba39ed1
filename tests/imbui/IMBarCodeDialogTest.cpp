// The Intelligent Mail barcode's properties dialog, driven as a user drives it.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include "LayoutTestSupport.h"
#include "TIMBarCodeDialog.h"

namespace {

class IMBarCodeDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        record_ = addressRecord();
        record_.add("USER1", "77");
        record_.add("MEMO", "", "MEMO", true);
        record_.set("ZIP", "12345-6789");
        record_.set("STREET", "100 MAIN ST");
        code_.ServiceType = "700";
        code_.MailerIdentifier = "123456";
    }
    static void retype(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    FakeDataSet record_;
    TGIMBarCode code_;
};

TEST_F(IMBarCodeDialogTest, ShowsTheObjectAndAppliesTheChoicesOnOk) {
    TIMBarCodeDialog dialog(code_, &record_);
    EXPECT_EQ(dialog.windowTitle(), "Intelligent Mail Barcode");
    EXPECT_EQ(dialog.BarcodeIdEdit->text(), "00");
    EXPECT_EQ(dialog.MailerIdEdit->text(), "123456");
    EXPECT_TRUE(dialog.SerialCounterRadio->isChecked());
    EXPECT_FALSE(dialog.SerialNumberEdit->isEnabled());
    EXPECT_EQ(dialog.ZipFieldCombo->currentText(), "ZIP");
    EXPECT_EQ(dialog.RoutingCombo->currentIndex(), int(imbr11Digit));
    // Text fields only: no memo.
    EXPECT_EQ(dialog.SerialFieldCombo->findText("MEMO"), -1);
    EXPECT_NE(dialog.SerialFieldCombo->findText("USER1"), -1);
    // The bars of the record as it stands.
    EXPECT_EQ(dialog.PreviewLabel->text(),
              "This record: " + layout::imb::Encode("00700123456000000001", "12345678900").states);

    dialog.show();
    retype(dialog.MailerIdEdit, "9123456x78");  // the letter is refused
    EXPECT_EQ(dialog.MailerIdEdit->text(), "912345678");
    QTest::mouseClick(dialog.SerialFieldRadio, Qt::LeftButton);
    dialog.SerialFieldCombo->setCurrentText("USER1");
    dialog.RoutingCombo->setCurrentIndex(imbr5Digit);
    EXPECT_FALSE(dialog.AddressFieldCombo->isEnabled());  // no delivery point without 11 digits
    EXPECT_EQ(dialog.PreviewLabel->text(),
              "This record: " + layout::imb::Encode("00700912345678000077", "12345").states);
    QTest::mouseClick(dialog.OkButton, Qt::LeftButton);

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(code_.MailerIdentifier, "912345678");
    EXPECT_EQ(code_.SerialSource, imbsField);
    EXPECT_EQ(code_.SerialField, "USER1");
    EXPECT_EQ(code_.RoutingType, imbr5Digit);
}

TEST_F(IMBarCodeDialogTest, AMalformedTrackingCodeHoldsOkBackAndSaysWhy) {
    TIMBarCodeDialog dialog(code_, &record_);
    dialog.show();
    struct Case {
        QLineEdit* edit;
        const char* text;
        const char* reason;
    };
    const Case cases[] = {
        {dialog.BarcodeIdEdit, "07", "second digit above 4"},
        {dialog.ServiceTypeEdit, "70", "service type \"70\""},
        {dialog.MailerIdEdit, "912345", "mailer identifier \"912345\""},
    };
    for (const Case& c : cases) {
        const QString before = c.edit->text();
        retype(c.edit, c.text);
        EXPECT_FALSE(dialog.OkButton->isEnabled()) << c.text;
        EXPECT_NE(dialog.PreviewLabel->text().indexOf(c.reason), -1)
            << dialog.PreviewLabel->text().toStdString();
        retype(c.edit, before);
        EXPECT_TRUE(dialog.OkButton->isEnabled()) << c.text;
    }
    // A counter that starts past the six digits a nine-digit mailer leaves.
    retype(dialog.MailerIdEdit, "912345678");
    dialog.StartingNumberSpin->setValue(1234567);
    EXPECT_FALSE(dialog.OkButton->isEnabled());
    dialog.StartingNumberSpin->setValue(123456);
    EXPECT_TRUE(dialog.OkButton->isEnabled());

    // A record the barcode cannot be made for does not stop Ok: the next may be fine.
    record_.set("ZIP", "K1A 0B1");
    dialog.ZipFieldCombo->setCurrentText("CITY");
    dialog.ZipFieldCombo->setCurrentText("ZIP");
    EXPECT_TRUE(dialog.OkButton->isEnabled());
    EXPECT_EQ(dialog.PreviewLabel->text(),
              "This record prints no barcode: The ZIP code \"K1A 0B1\" is not a US ZIP code");

    QTest::mouseClick(dialog.CancelButton, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(code_.MailerIdentifier, "123456");
    EXPECT_EQ(code_.Startingnumber(), 1);
}

}  // namespace
