// The object dialogs driven as a user would: each opens seeded from its object, Ok
// applies what it shows, Cancel leaves the object byte for byte as it was, and an
// object of another kind is left alone.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFile>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <functional>
#include <memory>

#include "ColorButton.h"
#include "DialogTestSupport.h"
#include "ImagePreview.h"
#include "NextDialog.h"
#include "ScriptedMessages.h"
#include "StandardObjectDialogs.h"
#include "TAddressLabelLayout.h"
#include "TCounterDialog.h"
#include "TGCounterLabel.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGDMultiLineLabel.h"
#include "TGImage.h"
#include "TGLabelPanel.h"
#include "TGMultiLineLabel.h"
#include "TGPDLabel.h"
#include "TGPLabel.h"
#include "TGSymbolLabel.h"
#include "TLoadImageFile.h"
#include "TMultiLineTextEditor.h"
#include "TSelectField.h"
#include "TSymbolSelector.h"
#include "TText3DEffects.h"
#include "TTextDialog.h"
#include "TempDir.h"

namespace {

class ObjectDialogsTest : public ::testing::Test {
  protected:
    template <typename T>
    T* add(int left = 10, int top = 10) {
        auto* object = static_cast<T*>(panel_.InsertObject(std::make_unique<T>()));
        object->SetBounds(left, top, object->Width(), object->Height());
        return object;
    }

    // Opens `which` on `object`, lets `handle` work the dialog of type D and close it,
    // and returns the call's answer.
    template <typename D>
    bool edit(ObjectDialog which, TGGraphicControl& object, std::function<void(D*)> handle) {
        onNextDialog<D>(std::move(handle));
        return dialogs_.edit(which, object, nullptr);
    }

    // Cancel returns false and changes nothing that a layout file or a dialog sees.
    template <typename D>
    void expectCancelChangesNothing(
        ObjectDialog which, TGGraphicControl& object, std::function<void(D*)> fiddle = [](D*) {}) {
        const QByteArray before = streamOf(object);
        EXPECT_FALSE(edit<D>(which, object, [fiddle](D* d) {
            fiddle(d);
            QTest::mouseClick(d->template findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
        }));
        EXPECT_EQ(streamOf(object), before);
    }

    static void ok(QDialog* d) { QTest::mouseClick(d->findChild<QPushButton*>("OkButton"), Qt::LeftButton); }

    TGLabelPanel panel_;
    StandardObjectDialogs dialogs_;
    ScriptedMessages messages_;
};

}  // namespace

TEST_F(ObjectDialogsTest, EachDialogLeavesObjectsOfOtherKindsAlone) {
    auto* field = add<TGPDLabel>();
    auto* text = add<TGPLabel>();
    const QByteArray before = streamOf(*field);
    // No dialog opens, so none needs answering.
    for (ObjectDialog which :
         {ObjectDialog::Text, ObjectDialog::MemoField, ObjectDialog::Counter, ObjectDialog::Symbol,
          ObjectDialog::MultiLineText, ObjectDialog::AddressLayout, ObjectDialog::LoadImage})
        EXPECT_FALSE(dialogs_.edit(which, *field, nullptr)) << int(which);
    EXPECT_FALSE(dialogs_.edit(ObjectDialog::Field, *text, nullptr));
    EXPECT_EQ(streamOf(*field), before);
}

TEST_F(ObjectDialogsTest, TextDialogSetsTheCaptionAndGrowsToIt) {
    auto* text = add<TGPLabel>();
    text->SetCaption("<text>");
    text->SetBounds(10, 10, 50, 15);
    QString seeded;
    EXPECT_TRUE(edit<TTextDialog>(ObjectDialog::Text, *text, [&](TTextDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Text");
        seeded = d->EnterText->text();
        d->EnterText->clear();
        QTest::keyClicks(d->EnterText, "A much longer caption than before");
        QTest::keyClick(d->EnterText, Qt::Key_Return);  // Ok is the default button
    }));
    EXPECT_EQ(seeded, "<text>");
    EXPECT_EQ(text->Caption(), "A much longer caption than before");
    EXPECT_GT(text->Width(), 150);
    EXPECT_GE(text->Height(), 15);
    expectCancelChangesNothing<TTextDialog>(ObjectDialog::Text, *text,
                                            [](TTextDialog* d) { d->EnterText->setText("other"); });
}

TEST_F(ObjectDialogsTest, EffectsDialogShowsTheEffectsAndAppliesThemWithTheFontColour) {
    auto* text = add<TGPLabel>();
    text->SetDirectionShadow(sdDown);
    text->SetDepthShadow(3);
    text->SetColorShadow(clBtnFace);  // a system colour
    EXPECT_TRUE(edit<TText3DEffects>(ObjectDialog::TextEffects, *text, [](TText3DEffects* d) {
        EXPECT_EQ(d->windowTitle(), "Text 3D Effects");
        EXPECT_EQ(d->ShadowDirection->currentText(), "Down");
        EXPECT_EQ(d->ShadowDepth->currentText(), "3");
        EXPECT_EQ(d->HighlightDirection->currentText(), "Upper Left");
        EXPECT_EQ(d->HighlightDirection->count(), 6);
        EXPECT_EQ(d->ShadowDepth->count(), 11);
        d->HighlightDirection->setCurrentIndex(hdUpRight);
        d->HighlightDepth->setCurrentIndex(2);
        onNextDialog<QColorDialog>([](QColorDialog* c) {
            c->setCurrentColor(QColor(0, 0, 255));
            c->accept();
        });
        QTest::mouseClick(d->FontColor, Qt::LeftButton);
        EXPECT_EQ(d->effects().font.Color, clBlue);
        ok(d);
    }));
    EXPECT_EQ(text->DirectionHighlight(), hdUpRight);
    EXPECT_EQ(text->DepthHighlight(), 2);
    EXPECT_EQ(text->DirectionShadow(), sdDown);
    EXPECT_EQ(text->DepthShadow(), 3);
    EXPECT_EQ(text->Font().Color, clBlue);
    EXPECT_EQ(text->ColorShadow(), clBtnFace);  // untouched colours stay what they were
    expectCancelChangesNothing<TText3DEffects>(ObjectDialog::TextEffects, *text, [](TText3DEffects* d) {
        d->ShadowDirection->setCurrentIndex(sdNone);
        d->ShadowDepth->setCurrentIndex(9);
    });
}

TEST_F(ObjectDialogsTest, FieldChooserBindsTheChosenFieldByItsLabel) {
    KindedDataSet data;
    data.add("LNAME", "Lee", "Last Name").add("ISDEL", "F", "Deleted").add("CITY", "Dover", "City");
    data.add("MEMO", "a memo", "MEMO", true);
    data.notText = {1};
    panel_.SetDataSet(&data);
    auto* field = add<TGPDLabel>();
    field->DataFieldDescript = "City";
    QStringList shown;
    EXPECT_TRUE(edit<TSelectField>(ObjectDialog::Field, *field, [&](TSelectField* d) {
        EXPECT_EQ(d->windowTitle(), "Select Field");
        for (int i = 0; i < d->ListOfFields->count(); ++i) shown << d->ListOfFields->item(i)->text();
        EXPECT_EQ(d->ListOfFields->currentItem()->text(), "City");
        d->ListOfFields->setCurrentRow(0);
        ok(d);
    }));
    EXPECT_EQ(shown, QStringList({"Last Name", "City"}));
    EXPECT_EQ(field->DataFieldName, "LNAME");
    EXPECT_EQ(field->DataFieldDescript, "Last Name");
    EXPECT_EQ(field->Caption(), "Lee");  // showing the chosen field's value at once
    expectCancelChangesNothing<TSelectField>(ObjectDialog::Field, *field,
                                             [](TSelectField* d) { d->ListOfFields->setCurrentRow(1); });

    // A memo object is offered the memo fields; a double-click chooses.
    auto* memo = add<TGDMultiLineLabel>();
    EXPECT_TRUE(edit<TSelectField>(ObjectDialog::MemoField, *memo, [](TSelectField* d) {
        ASSERT_EQ(d->ListOfFields->count(), 1);
        EXPECT_EQ(d->ListOfFields->currentRow(), 0);  // nothing bound yet: the first
        QListWidgetItem* item = d->ListOfFields->item(0);
        const QRect r = d->ListOfFields->visualItemRect(item);
        QTest::mouseClick(d->ListOfFields->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(d->ListOfFields->viewport(), Qt::LeftButton, {}, r.center());
        if (d->isVisible()) d->reject();
    }));
    EXPECT_EQ(memo->DataFieldName, "MEMO");
    EXPECT_EQ(memo->Items(), QStringList({"a memo"}));

    // Without a data set there is nothing to choose: Ok is off and nothing changes.
    panel_.SetDataSet(nullptr);
    const QByteArray before = streamOf(*field);
    EXPECT_FALSE(edit<TSelectField>(ObjectDialog::Field, *field, [](TSelectField* d) {
        EXPECT_EQ(d->ListOfFields->count(), 0);
        EXPECT_FALSE(d->OkButton->isEnabled());
        d->accept();
    }));
    EXPECT_EQ(streamOf(*field), before);
}

TEST_F(ObjectDialogsTest, CounterDialogSetsTheFiveValuesAndRestartsTheCount) {
    auto* counter = add<TGCounterLabel>();
    counter->SetStartingnumber(1000);
    counter->RepeatEach = 2;
    counter->AdvanceCounter();
    counter->AdvanceCounter();
    ASSERT_EQ(counter->Value(), 1001);
    EXPECT_TRUE(edit<TCounterDialog>(ObjectDialog::Counter, *counter, [](TCounterDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Counter");
        EXPECT_EQ(d->StartingNumber->value(), 1000);
        EXPECT_EQ(d->RepeatEach->value(), 2);
        EXPECT_EQ(d->RepeatEach->maximum(), 999);
        EXPECT_EQ(d->LeadingZeros->maximum(), 9);
        d->StartingNumber->setValue(7);
        d->RepeatEach->setValue(3);
        QTest::keyClicks(d->TextBefore, "No. ");
        QTest::keyClicks(d->TextAfter, " of 9");
        d->LeadingZeros->setValue(4);
        ok(d);
    }));
    EXPECT_EQ(counter->Startingnumber(), 7);
    EXPECT_EQ(counter->RepeatEach, 3);
    EXPECT_EQ(counter->LeadingZeros, 4);
    EXPECT_EQ(counter->Caption(), "No. 0007 of 9");
    expectCancelChangesNothing<TCounterDialog>(ObjectDialog::Counter, *counter,
                                               [](TCounterDialog* d) { d->StartingNumber->setValue(1); });
}

TEST_F(ObjectDialogsTest, SymbolSelectorTakesTheCharacterAndTheFont) {
    auto* symbol = add<TGSymbolLabel>();
    EXPECT_TRUE(edit<TSymbolSelector>(ObjectDialog::Symbol, *symbol, [](TSymbolSelector* d) {
        EXPECT_EQ(d->windowTitle(), "Symbol Selector");
        EXPECT_EQ(d->code(), '[');
        EXPECT_EQ(d->SymbolList->columnCount(), 8);  // 24 points
        EXPECT_EQ(d->FontButton->text(), "WingDings, 24pt ");
        // The font dialog: a 10-point bold font gives the grid more columns.
        onNextDialog<QFontDialog>([](QFontDialog* f) {
            QFont font("DejaVu Sans");
            font.setPointSize(10);
            font.setBold(true);
            f->setCurrentFont(font);
            f->accept();
        });
        QTest::mouseClick(d->FontButton, Qt::LeftButton);
        EXPECT_EQ(d->SymbolList->columnCount(), 14);
        EXPECT_EQ(d->code(), '[');  // the choice stays
        EXPECT_EQ(d->FontButton->text(), "DejaVu Sans, 10pt Bold ");
        // 'A' is code 65, index 33: row 2, column 5 of 14.
        d->SymbolList->setCurrentCell(2, 5);
        EXPECT_EQ(d->Sample->text(), "A");
        ok(d);
    }));
    EXPECT_EQ(symbol->Caption(), "A");
    EXPECT_EQ(symbol->Font().Name, "DejaVu Sans");
    EXPECT_EQ(symbol->Font().Size(), 10);
    EXPECT_TRUE(symbol->Font().has(fsBold));
    EXPECT_LT(symbol->Height(), 30);  // sized to the smaller character
    expectCancelChangesNothing<TSymbolSelector>(ObjectDialog::Symbol, *symbol,
                                                [](TSymbolSelector* d) { d->selectCode(200); });
}

TEST_F(ObjectDialogsTest, MultiLineEditorReplacesTheLinesAndHoldsAtMostItsLimit) {
    auto* text = add<TGMultiLineLabel>();
    text->SetItems({"first", "second"});
    EXPECT_TRUE(edit<TMultiLineTextEditor>(ObjectDialog::MultiLineText, *text, [](TMultiLineTextEditor* d) {
        EXPECT_EQ(d->windowTitle(), "Multi-line Text Editor");
        EXPECT_EQ(d->Memo->toPlainText(), "first\nsecond");
        EXPECT_EQ(d->Memo->font().family(), QFont("Arial").family());
        QTest::keyClick(d->Memo, Qt::Key_End, Qt::ControlModifier);  // after the selected text
        QTest::keyClick(d->Memo, Qt::Key_Return);                     // a new line, not Ok
        QTest::keyClicks(d->Memo, "third");
        EXPECT_TRUE(d->isVisible());
        ok(d);
    }));
    EXPECT_EQ(text->Items(), QStringList({"first", "second", "third"}));

    EXPECT_TRUE(edit<TMultiLineTextEditor>(ObjectDialog::MultiLineText, *text, [](TMultiLineTextEditor* d) {
        d->Memo->clear();
        d->Memo->insertPlainText(QString(300, 'y'));  // a paste past the limit
        EXPECT_EQ(d->Memo->toPlainText().size(), layout::kMultiLineTextLimit);
        ok(d);
    }));
    EXPECT_EQ(text->Items(), QStringList({QString(layout::kMultiLineTextLimit, 'y')}));
    expectCancelChangesNothing<TMultiLineTextEditor>(ObjectDialog::MultiLineText, *text,
                                                     [](TMultiLineTextEditor* d) { d->Memo->clear(); });
}

TEST_F(ObjectDialogsTest, AddressLayoutStoresTheBoxesAndTheZipPlace) {
    FakeDataSet data = addressRecord();
    data.set("LNAME", "Lee");
    data.set("CITY", "Dover");
    data.set("ZIP", "19901");
    data.set("COUNTRY", "USA");
    panel_.SetDataSet(&data);
    auto* block = add<TGDMultiLineAddressLabel>();
    block->Options.zipOptions = zoBeforeCity;
    EXPECT_TRUE(edit<TAddressLabelLayout>(ObjectDialog::AddressLayout, *block, [](TAddressLabelLayout* d) {
        EXPECT_EQ(d->windowTitle(), "Address Label Layout");
        EXPECT_TRUE(d->UseName->isChecked());
        EXPECT_FALSE(d->UsePhone->isChecked());
        EXPECT_TRUE(d->BeforeCity->isChecked());
        EXPECT_TRUE(d->AfterCountry->isEnabled());
        // The ZIP places follow the ZIP box, both ways.
        QTest::mouseClick(d->UseZip, Qt::LeftButton);
        EXPECT_FALSE(d->AfterCountry->isEnabled());
        QTest::mouseClick(d->UseZip, Qt::LeftButton);
        EXPECT_TRUE(d->AfterCountry->isEnabled());
        QTest::mouseClick(d->AfterCountry, Qt::LeftButton);
        QTest::mouseClick(d->UpperCase, Qt::LeftButton);
        d->UseName->click();
        ok(d);
    }));
    EXPECT_FALSE(block->Options.useName);
    EXPECT_TRUE(block->Options.upperCase);
    EXPECT_EQ(block->Options.zipOptions, zoAfterCountry);
    EXPECT_EQ(block->Items(), QStringList({"DOVER ", "USA 19901"}));  // composed afresh
    expectCancelChangesNothing<TAddressLabelLayout>(
        ObjectDialog::AddressLayout, *block, [](TAddressLabelLayout* d) { d->UsePhone->setChecked(true); });
}

TEST_F(ObjectDialogsTest, ImageDialogListsPicturesPreviewsThemAndLoadsTheChosenOne) {
    TempDir dir;
    auto write = [&](const char* name, const QByteArray& data) {
        QFile f(QString::fromStdString(dir.file(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    };
    write("small.bmp", bitmapFile(30, 20));
    write("BIG.BMP", bitmapFile(300, 200));
    write("rect.Wmf", placeableMetafile());
    write("photo.png", bitmapFile(5, 5));
    write("broken.bmp", "BM not a bitmap");
    const QString folder = QString::fromStdString(dir.path());
    auto select = [](TLoadImageFile* d, const QString& name) {
        const auto items = d->FileList->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        d->FileList->setCurrentItem(items[0]);
    };

    auto* image = add<TGImage>();
    EXPECT_TRUE(edit<TLoadImageFile>(ObjectDialog::LoadImage, *image, [&](TLoadImageFile* d) {
        EXPECT_EQ(d->windowTitle(), "Load Image File (BMP/WMF)");
        EXPECT_TRUE(d->StretchBox->isChecked());
        EXPECT_FALSE(d->AutoSizeBox->isChecked());
        d->setFolder(folder);
        QStringList files;
        for (int i = 0; i < d->FileList->count(); ++i) files << d->FileList->item(i)->text();
        EXPECT_EQ(files, QStringList({"BIG.BMP", "broken.bmp", "rect.Wmf", "small.bmp"}));

        select(d, "rect.Wmf");
        EXPECT_EQ(d->Preview->picture().kind(), LayoutPicture::Kind::Metafile);
        // A file that cannot be read is reported and previews nothing.
        select(d, "broken.bmp");
        EXPECT_TRUE(d->Preview->picture().isEmpty());
        EXPECT_EQ(messages_.texts(), QStringList({"Quillory: Error loading file!"}));
        select(d, "BIG.BMP");
        EXPECT_EQ(d->Preview->picture().size(), QSize(300, 200));
        // The two boxes exclude each other; AutoSize shows the picture at its own size.
        QTest::mouseClick(d->AutoSizeBox, Qt::LeftButton);
        EXPECT_FALSE(d->StretchBox->isChecked());
        EXPECT_EQ(d->Preview->pictureRect().size(), QSize(300, 200));
        QTest::mouseClick(d->StretchBox, Qt::LeftButton);
        EXPECT_FALSE(d->AutoSizeBox->isChecked());
        EXPECT_LE(d->Preview->pictureRect().width(), d->Preview->width() - 10);
        QTest::mouseClick(d->AutoSizeBox, Qt::LeftButton);
        ok(d);
    }));
    EXPECT_EQ(image->Picture().size(), QSize(300, 200));
    EXPECT_EQ(image->BoundsRect().size(), QSize(300, 200));
    EXPECT_TRUE(image->AutoSize());
    EXPECT_FALSE(image->Stretch());

    // Ok on a file that cannot be read keeps the dialog up and the picture the object has.
    messages_.requests.clear();
    const QByteArray before = streamOf(*image);
    EXPECT_FALSE(edit<TLoadImageFile>(ObjectDialog::LoadImage, *image, [&](TLoadImageFile* d) {
        EXPECT_EQ(d->folder(), folder);  // where the last one was
        EXPECT_TRUE(d->AutoSizeBox->isChecked());
        {
            // The preview's own report of the file, as it is selected.
            select(d, "broken.bmp");
        }
        ok(d);
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(messages_.requests.size(), 2u);
        // Ok without a file changes nothing either.
        d->FileList->setCurrentRow(-1);
        ok(d);
    }));
    EXPECT_EQ(streamOf(*image), before);
    expectCancelChangesNothing<TLoadImageFile>(ObjectDialog::LoadImage, *image, [&](TLoadImageFile* d) {
        select(d, "small.bmp");
        QTest::mouseClick(d->StretchBox, Qt::LeftButton);
    });
}

TEST_F(ObjectDialogsTest, FontAndColourDialogsAreSeededAndReplaceOnlyOnOk) {
    LayoutFont font = LayoutFont::Make("DejaVu Serif", 12);
    font.Color = clRed;
    QFont seeded;
    onNextDialog<QFontDialog>([&](QFontDialog* d) {
        seeded = d->currentFont();
        QFont f("DejaVu Sans");
        f.setPointSize(16);
        f.setUnderline(true);
        d->setCurrentFont(f);
        d->accept();
    });
    EXPECT_TRUE(dialogs_.chooseFont(font, nullptr));
    EXPECT_EQ(seeded.family(), "DejaVu Serif");
    EXPECT_EQ(seeded.pointSize(), 12);
    EXPECT_EQ(font.Name, "DejaVu Sans");
    EXPECT_EQ(font.Size(), 16);
    EXPECT_TRUE(font.has(fsUnderline));
    EXPECT_EQ(font.Color, clRed);

    onNextDialog<QFontDialog>([](QFontDialog* d) { d->reject(); });
    const LayoutFont kept = font;
    EXPECT_FALSE(dialogs_.chooseFont(font, nullptr));
    EXPECT_EQ(font, kept);

    QColor color(10, 20, 30);
    onNextDialog<QColorDialog>([](QColorDialog* d) {
        EXPECT_EQ(d->currentColor(), QColor(10, 20, 30));
        d->setCurrentColor(QColor(200, 100, 50));
        d->accept();
    });
    EXPECT_TRUE(dialogs_.chooseColor(color, nullptr));
    EXPECT_EQ(color, QColor(200, 100, 50));
    onNextDialog<QColorDialog>([](QColorDialog* d) { d->reject(); });
    EXPECT_FALSE(dialogs_.chooseColor(color, nullptr));
    EXPECT_EQ(color, QColor(200, 100, 50));
}
