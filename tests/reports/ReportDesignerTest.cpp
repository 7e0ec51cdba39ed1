// The report designer driven through its widgets: the bands of a new report, switching
// and dragging bands, the tools each band takes, Save with its checks, Change Layout,
// the record buttons, and a saved report read back.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "AddressFile.h"
#include "AppHome.h"
#include "ClickBox.h"
#include "FieldLengths.h"
#include "AltLetters.h"
#include "NextDialog.h"
#include "ObjectDialogs.h"
#include "ReportDefinition.h"
#include "Screenshot.h"
#include "ScriptedMessages.h"
#include "SystemTables.h"
#include "TGLabelObjectFiler.h"
#include "TGOwner.h"
#include "TGPDLabel.h"
#include "TGPLabel.h"
#include "TGPageNumberLabel.h"
#include "TGPanelView.h"
#include "THRuler.h"
#include "TReportDesigner.h"
#include "TReportProperties.h"
#include "Table.h"
#include "TempDir.h"
#include "Trpshapes.h"

namespace {

using Band = TReportSettings::Band;

// The object and font dialogs as the tests answer them: text "Total", the field LNAME,
// the font Courier New 14 bold.
class AnsweringDialogs : public ObjectDialogs {
  public:
    bool edit(ObjectDialog which, TGGraphicControl& object, QWidget*) override {
        if (which == ObjectDialog::Text)
            if (auto* l = dynamic_cast<TGBaseLabel*>(&object)) l->SetCaption("Total");
        if (which == ObjectDialog::Field)
            if (auto* d = dynamic_cast<TGPDLabel*>(&object)) {
                d->DataFieldName = "LNAME";
                d->DataFieldDescript = "Last Name";
            }
        return true;
    }
    bool chooseFont(LayoutFont& font, QWidget*) override {
        font = LayoutFont::Make("Courier New", 14);
        font.set(fsBold, true);
        return true;
    }
    bool chooseColor(QColor&, QWidget*) override { return false; }
};

class ReportDesignerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        home_ = std::make_unique<AppHome>(QString::fromStdString(dir_.path()));
        QString error;
        ASSERT_TRUE(home_->ensureExists(&error)) << error.toStdString();
        ASSERT_TRUE(SystemTables::OpenReportTable(*home_, &reports_, &error)) << error.toStdString();
        const QString path = QString::fromStdString(dir_.file("ADDR.DBF"));
        ASSERT_TRUE(AddressFile::CreateAddressFile(path, FieldLengths(), &error)) << error.toStdString();
        ASSERT_TRUE(AddressFile::OpenTableFile(path, &addresses_, &error)) << error.toStdString();
        xbase::Table& t = *addresses_;
        for (const char* memo : {"First memo", "Second memo"}) {
            ASSERT_TRUE(t.appendBlank().ok());
            ASSERT_TRUE(t.replace(t.fieldIndex("LNAME"), "Smith").ok());
            ASSERT_TRUE(t.replace(t.fieldIndex("MEMO"), memo).ok());
            ASSERT_TRUE(t.commit().ok());
        }
        ASSERT_TRUE(t.goTop().ok());
    }

    std::unique_ptr<TReportDesigner> designer(const QString& layoutFile = QString(), bool isNew = true) {
        ReportDefinition::Definition def;
        auto d = std::make_unique<TReportDesigner>(def, layoutFile, isNew, *addresses_, *home_);
        d->show();
        return d;
    }

    // A press on the sizer of `band`, a move by `dy` and the release.
    static void dragSizer(TReportDesigner& d, Band band, int dy) {
        QWidget* sizer = d.Sizers[band];
        const QPoint start(20, 2);
        QTest::mousePress(sizer, Qt::LeftButton, {}, start);
        QTest::mouseMove(sizer, start + QPoint(0, dy));
        QTest::mouseRelease(sizer, Qt::LeftButton, {}, start + QPoint(0, dy));
    }

    // A drag with the armed tool on a band's view.
    static void draw(TGPanelView* view, QPoint from, QPoint to) {
        QTest::mousePress(view, Qt::LeftButton, {}, from);
        QTest::mouseMove(view, to);
        QTest::mouseRelease(view, Qt::LeftButton, {}, to);
    }

    TempDir dir_;
    std::unique_ptr<AppHome> home_;
    std::unique_ptr<xbase::Table> reports_, addresses_;
    ScriptedMessages messages_;
};

}  // namespace

TEST_F(ReportDesignerTest, NewReportOpensWithHeaderAndDetailAndBandsSwitchOn) {
    auto d = designer();
    EXPECT_EQ(d->windowTitle(), "Report Designer");
    EXPECT_EQ(d->DescriptionEdit->text(), "<new report>");
    EXPECT_EQ(d->LayoutLabel->text(), "Letter Size, Portrait");
    EXPECT_EQ(d->FontButton->text(), "De&fault Font: Arial, 10 pt ");
    EXPECT_TRUE(d->HeaderCheck->isChecked());
    EXPECT_TRUE(d->DetailCheck->isChecked());
    EXPECT_FALSE(d->MemoCheck->isChecked());
    EXPECT_FALSE(d->FooterCheck->isChecked());
    const float z = d->PDetail().Zoom();
    EXPECT_EQ(d->PHeader().Height(), std::lround(33 * z));
    EXPECT_EQ(d->PDetail().Height(), std::lround(33 * z));
    EXPECT_EQ(d->PDetail().Width(), std::lround(696 * z));
    EXPECT_FALSE(d->BandView(TReportSettings::Footer)->isVisible());
    EXPECT_FALSE(d->MemoView->isVisible());
    EXPECT_FALSE(d->MemoProperties->isVisible());
    EXPECT_DOUBLE_EQ(d->Ruler->StartInch(), 0.5);

    clickBox(d->FooterCheck);
    EXPECT_EQ(d->settings().FooterHeight, 20);
    EXPECT_TRUE(d->BandView(TReportSettings::Footer)->isVisible());
    clickBox(d->MemoCheck);
    EXPECT_TRUE(d->MemoView->isVisible());
    EXPECT_TRUE(d->MemoProperties->isVisible());
    EXPECT_EQ(d->MemoView->text(), "First memo");
    screenshot(d.get(), "TReportDesigner");

    // Off: no height; on again: 20 pixels, whatever it had before.
    clickBox(d->HeaderCheck);
    EXPECT_EQ(d->settings().HeaderHeight, 0);
    EXPECT_FALSE(d->BandView(TReportSettings::Header)->isVisible());
    clickBox(d->HeaderCheck);
    EXPECT_EQ(d->settings().HeaderHeight, 20);
}

TEST_F(ReportDesignerTest, SizerDragsWithinThePageAndKeepsObjectsOnTheBand) {
    auto d = designer();
    dragSizer(*d, TReportSettings::Detail, 30);
    EXPECT_EQ(d->settings().DetailHeight, 63);
    EXPECT_EQ(d->PDetail().Height(), std::lround(63 * d->PDetail().Zoom()));
    // From the keyboard: Down a pixel, Shift+Up ten.
    QWidget* sizer = d->Sizers[TReportSettings::Detail];
    EXPECT_EQ(sizer->focusPolicy(), Qt::TabFocus);
    QTest::keyClick(sizer, Qt::Key_Down);
    EXPECT_EQ(d->settings().DetailHeight, 64);
    QTest::keyClick(sizer, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(d->settings().DetailHeight, 54);
    dragSizer(*d, TReportSettings::Detail, 9);
    EXPECT_EQ(d->settings().DetailHeight, 63);

    // Far past the page: header and detail fill the page between the margins.
    dragSizer(*d, TReportSettings::Detail, 3000);
    EXPECT_EQ(d->settings().HeaderHeight + d->settings().DetailHeight, 1056 - 48 - 48);

    // A rectangle low in the detail band; shortening the band moves it onto its edge.
    d->findChild<QAction*>("Rectangletool")->trigger();
    TGPanelView* detail = d->BandView(TReportSettings::Detail);
    draw(detail, QPoint(30, 200), QPoint(90, 230));
    ASSERT_EQ(d->PDetail().ObjectCount(), 1);
    EXPECT_TRUE(d->SelectionTool->isChecked());
    dragSizer(*d, TReportSettings::Detail, -(d->settings().DetailHeight - 40));
    EXPECT_EQ(d->settings().DetailHeight, 40);
    const TGGraphicControl* moved = d->PDetail().Object(0);
    EXPECT_EQ(moved->Top() + moved->Height(), d->PDetail().Height());  // its bottom on the edge, in sight

    // The memo band has no sizer to drag.
    clickBox(d->MemoCheck);
    EXPECT_FALSE(d->Sizers[TReportSettings::Memo]->isEnabled());
}

TEST_F(ReportDesignerTest, EachBandTakesOnlyItsTools) {
    auto d = designer();
    clickBox(d->FooterCheck);
    QAction* pageNumber = d->findChild<QAction*>("PageNumberTool");
    ASSERT_TRUE(pageNumber);

    // The detail band refuses page numbers with a beep only.
    pageNumber->trigger();
    draw(d->BandView(TReportSettings::Detail), QPoint(10, 5), QPoint(80, 25));
    EXPECT_EQ(messages_.beeps, 1);
    EXPECT_TRUE(messages_.requests.empty());
    EXPECT_EQ(d->PDetail().ObjectCount(), 0);

    // Header and footer take them; the selection tool comes back after each.
    for (Band band : {TReportSettings::Header, TReportSettings::Footer}) {
        pageNumber->trigger();
        draw(d->BandView(band), QPoint(10, 3), QPoint(80, 18));
        TGBasePanel& panel = d->BandView(band)->Panel();
        ASSERT_EQ(panel.ObjectCount(), 1) << int(band);
        EXPECT_TRUE(dynamic_cast<TGPageNumberLabel*>(panel.Object(0)));
        EXPECT_TRUE(d->SelectionTool->isChecked());
    }
    EXPECT_EQ(messages_.beeps, 1);
    EXPECT_TRUE(d->PDetail().AcceptsPresses);

    // Selecting in one band clears the others.
    TGPanelView* header = d->BandView(TReportSettings::Header);
    TGPanelView* footer = d->BandView(TReportSettings::Footer);
    const QPoint inHeader = d->PHeader().Object(0)->BoundsRect().center();
    QTest::mouseClick(header, Qt::LeftButton, {}, inHeader);
    EXPECT_EQ(header->Handle().Count(), 1);
    QTest::mouseClick(footer, Qt::LeftButton, {}, d->PFooter().Object(0)->BoundsRect().center());
    EXPECT_EQ(footer->Handle().Count(), 1);
    EXPECT_EQ(header->Handle().Count(), 0);

    // A page number copied from the footer keeps to the bands that take it when pasted.
    footer->CopySelection();
    TGPanelView* detail = d->BandView(TReportSettings::Detail);
    detail->Paste();
    EXPECT_EQ(d->PDetail().ObjectCount(), 0);
    EXPECT_EQ(messages_.texts().last(), "Information: This object may only be used in the header or footer bands");
    header->Paste();
    EXPECT_EQ(d->PHeader().ObjectCount(), 2);
}

TEST_F(ReportDesignerTest, SaveNeedsABandAndTurnsOffBandsWithoutHeight) {
    auto d = designer();
    clickBox(d->HeaderCheck);
    clickBox(d->DetailCheck);
    d->SaveButton->click();
    EXPECT_EQ(messages_.texts(),
              QStringList{"Information: No report bands are selected. Please select at least one"});
    EXPECT_TRUE(d->isVisible());
    EXPECT_NE(d->result(), QDialog::Accepted);

    // The detail band dragged to nothing counts as off.
    clickBox(d->DetailCheck);
    dragSizer(*d, TReportSettings::Detail, -100);
    EXPECT_EQ(d->settings().DetailHeight, 0);
    d->SaveButton->click();
    EXPECT_EQ(messages_.requests.size(), 2u);
    EXPECT_FALSE(d->DetailCheck->isChecked());

    clickBox(d->FooterCheck);
    d->SaveButton->click();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_FALSE(d->settings().UseDetail);
    EXPECT_TRUE(d->settings().UseFooter);
}

TEST_F(ReportDesignerTest, EveryButtonBoxAndFieldLabelHasItsOwnAltLetter) {
    auto d = designer();
    EXPECT_EQ(AltLetterProblems(*d).join('\n').toStdString(), "");
}

TEST_F(ReportDesignerTest, EscapeCancelsAndAChangedReportAsksFirst) {
    const QString question = "The report has been changed. Save the changes?";
    {
        auto d = designer();
        d->DescriptionEdit->setFocus();
        QTest::keyClick(d->DescriptionEdit, Qt::Key_Escape);
        EXPECT_EQ(d->result(), QDialog::Rejected);
        EXPECT_FALSE(d->isVisible());
        EXPECT_FALSE(messages_.wasAsked(question));
    }
    // Changed: Cancel stays, No discards, Yes saves; the title bar's X asks alike.
    using A = Messages::Answer;
    const struct {
        A answer;
        bool visible;
        int result;
    } cases[] = {{A::Cancel, true, -1}, {A::No, false, QDialog::Rejected}, {A::Yes, false, QDialog::Accepted}};
    for (bool byClose : {false, true}) {
        for (const auto& c : cases) {
            auto d = designer();
            clickBox(d->FooterCheck);
            messages_.requests.clear();
            messages_.threeWayAnswers = {c.answer};
            d->DescriptionEdit->setFocus();
            if (byClose)
                d->close();
            else
                QTest::keyClick(d->DescriptionEdit, Qt::Key_Escape);
            ASSERT_EQ(messages_.requests.size(), 1u) << int(c.answer);
            EXPECT_EQ(messages_.requests[0].text, question);
            EXPECT_EQ(d->isVisible(), c.visible) << int(c.answer) << byClose;
            if (c.result >= 0) EXPECT_EQ(d->result(), c.result) << int(c.answer) << byClose;
        }
    }
}

TEST_F(ReportDesignerTest, RecordButtonsMoveTheAddressTableAndTheMemoFollows) {
    auto d = designer();
    clickBox(d->MemoCheck);
    EXPECT_EQ(d->MemoView->text(), "First memo");
    d->RecordButtons[2]->click();  // next
    EXPECT_EQ(addresses_->recNo(), 2u);
    EXPECT_EQ(d->MemoView->text(), "Second memo");
    d->RecordButtons[0]->click();  // first
    EXPECT_EQ(d->MemoView->text(), "First memo");

    // The alignment of the memo band from its drop-down.
    d->MemoAlign[2]->trigger();
    EXPECT_EQ(d->settings().MemoAlignment, 2);
    EXPECT_TRUE(d->MemoView->alignment() & Qt::AlignHCenter);
}

TEST_F(ReportDesignerTest, ChangeLayoutTakesTheDialogsPageOnlyOnSave) {
    auto d = designer();
    // Cancel leaves everything.
    onNextDialog<TReportProperties>([](TReportProperties* p) {
        p->A4Button->click();
        p->CancelButton->click();
    });
    d->ChangeLayoutButton->click();
    EXPECT_EQ(d->settings().PageWidth, 816);
    EXPECT_EQ(d->LayoutLabel->text(), "Letter Size, Portrait");

    onNextDialog<TReportProperties>([](TReportProperties* p) {
        p->A4Button->click();
        p->LandscapeButton->click();
        p->SaveButton->click();
    });
    d->ChangeLayoutButton->click();
    EXPECT_EQ(d->LayoutLabel->text(), "A4 Size, Landscape");
    EXPECT_EQ(d->settings().PageWidth, 1121);
    EXPECT_EQ(d->settings().PageHeight, 793);
    EXPECT_EQ(d->PDetail().Width(), std::lround((1121 - 96 - 24) * d->PDetail().Zoom()));

    d->SaveButton->click();
    ASSERT_EQ(d->result(), QDialog::Accepted);
    QString error;
    ASSERT_TRUE(d->Save(*reports_, 0, home_->sysDataDir(), &error)) << error.toStdString();
    ASSERT_TRUE(reports_->go(1).ok());
    const ReportDefinition::Definition stored = ReportDefinition::Read(*reports_);
    EXPECT_EQ(stored.layout, "A4 Size, Landscape");
    EXPECT_EQ(stored.binary, "BIN00001.R");
}

TEST_F(ReportDesignerTest, SavedReportComesBackWithItsBandsAndSettings) {
    // A report file whose detail band (33 high) holds a rectangle within 10 pixels below
    // it and one further down.
    const QString file = home_->sysDataDir() + "/BIN00007.R";
    {
        TGOwner owner;
        TReportPanel header(&owner), detail(&owner), footer(&owner);
        for (int top : {40, 60}) {
            auto shape = std::make_unique<Trpshapes>();
            shape->SetName(QString("Shape%1").arg(top));
            shape->SetBounds(10, top, 50, 15);
            detail.InsertObject(std::move(shape));
        }
        TReportSettings s = ReportDefinition::NewSettings();
        s.UseFooter = true;
        s.FooterHeight = 50;
        s.Frames[TReportSettings::Footer].ShadePercent = 40;
        ASSERT_TRUE(TGLabelObjectFiler().SaveBands(header, detail, footer, s, file).ok());
    }
    ReportDefinition::Definition def;
    def.description = "Phone list";
    def.binary = "BIN00007.R";
    TReportDesigner d(def, file, false, *addresses_, *home_);
    d.show();
    EXPECT_EQ(d.DescriptionEdit->text(), "Phone list");
    EXPECT_TRUE(d.FooterCheck->isChecked());
    ASSERT_EQ(d.PDetail().ObjectCount(), 2);
    dragSizer(d, TReportSettings::Footer, 10);
    d.DescriptionEdit->setText("Phone list by name");
    d.SaveButton->click();
    ASSERT_EQ(d.result(), QDialog::Accepted);
    // The one more than 10 pixels outside is gone.
    ASSERT_EQ(d.PDetail().ObjectCount(), 1);
    EXPECT_EQ(d.PDetail().Object(0)->Top(), std::lround(40 * d.PDetail().Zoom()));
    QString error;
    ASSERT_TRUE(d.Save(*reports_, 0, home_->sysDataDir(), &error)) << error.toStdString();
    EXPECT_EQ(d.definition().binary, "BIN00007.R");

    ASSERT_TRUE(reports_->go(1).ok());
    const ReportDefinition::Definition stored = ReportDefinition::Read(*reports_);
    EXPECT_EQ(stored.description, "Phone list by name");
    EXPECT_EQ(stored.layout, "Letter Size, Portrait");
    TGOwner owner;
    TReportPanel header(&owner), detail(&owner), footer(&owner);
    TReportSettings read;
    ASSERT_TRUE(ReportDefinition::LoadReport(file, &owner, header, detail, footer, read).ok());
    EXPECT_EQ(header.ObjectCount(), 0);
    ASSERT_EQ(detail.ObjectCount(), 1);
    EXPECT_EQ(detail.Object(0)->Top(), 40);
    EXPECT_TRUE(read.UseFooter);
    EXPECT_EQ(read.FooterHeight, 60);
    EXPECT_EQ(read.DetailHeight, 33);
    EXPECT_EQ(read.Frames[TReportSettings::Footer].ShadePercent, 40);
    EXPECT_EQ(read.PageWidth, 816);
    EXPECT_EQ(read.MarginLeft, 48);
}

TEST_F(ReportDesignerTest, FontsAndFieldsFollowTheDialogs) {
    auto d = designer();
    AnsweringDialogs dialogs;
    d->setObjectDialogs(&dialogs);

    // The default font goes to the caption, the settings and the objects drawn next.
    d->FontButton->click();
    EXPECT_EQ(d->FontButton->text(), "De&fault Font: Courier New, 14 pt , bold");
    EXPECT_EQ(d->settings().DefaultFontName, "Courier New");
    EXPECT_EQ(d->settings().DefaultFontSize, 14);
    EXPECT_TRUE(d->settings().DefaultBold);
    d->findChild<QAction*>("Texttool")->trigger();
    draw(d->BandView(TReportSettings::Header), QPoint(10, 3), QPoint(80, 18));
    ASSERT_EQ(d->PHeader().ObjectCount(), 1);
    auto* text = dynamic_cast<TGPLabel*>(d->PHeader().Object(0));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->Caption(), "Total");
    EXPECT_EQ(text->Font().Name, "Courier New");

    // A field in the detail band shows the record's value, or its name in brackets.
    d->findChild<QAction*>("DatabaseFieldtool")->trigger();
    draw(d->BandView(TReportSettings::Detail), QPoint(10, 3), QPoint(80, 18));
    ASSERT_EQ(d->PDetail().ObjectCount(), 1);
    auto* field = dynamic_cast<TGPDLabel*>(d->PDetail().Object(0));
    ASSERT_TRUE(field);
    EXPECT_EQ(field->Caption(), "Smith");
    d->FieldNames->trigger();
    EXPECT_EQ(field->Caption(), "[Last Name]");

    // The memo font from the memo band's drop-down.
    clickBox(d->MemoCheck);
    d->MemoFont->trigger();
    EXPECT_EQ(d->settings().MemoFontName, "Courier New");
    EXPECT_EQ(d->MemoView->font().pointSize(), 14);
    EXPECT_TRUE(d->MemoView->font().bold());
    QCoreApplication::processEvents();
    screenshot(d.get(), "TReportDesigner-Objects");
}
