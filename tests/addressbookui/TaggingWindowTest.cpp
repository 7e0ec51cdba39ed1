#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <set>

#include "AddressTable.h"
#include "TTagging.h"
#include "UiTestSupport.h"

namespace {

class TaggingWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < 10; ++i) table_.add({{"LNAME", QString("Name%1").arg(9 - i)}});
        table_.order("LNAME");
        ASSERT_TRUE(table_->query("!ISDEL").ok());
    }
    std::set<QString> taggedNames() { return table_.namesTagged("ID1"); }
    TagAll::Result tagAll(TTagging& dialog) {
        return dialog.runLoop([this](const std::function<bool(uint32_t)>& progress) {
            return TagAll::TagAll(*table_, "ID1", progress);
        });
    }

    AddressTable table_;
    RecordedServices answers_;
};

TEST_F(TaggingWindowTest, CancelledHalfWayKeepsWhatWasTaggedAndSaysSo) {
    TTagging dialog;
    EXPECT_EQ(dialog.windowTitle(), "Tagging");
    QStringList progress;
    // Cancel pressed twice: the first question is answered No, the second Yes.
    answers_.answers = {false, true};
    QObject::connect(&dialog, &TTagging::progressed, [&](uint32_t n) {
        progress << dialog.ProgressLabel->text();
        EXPECT_EQ(dialog.TaggingLabel->text(), "Tagging Records");
        EXPECT_TRUE(dialog.CancelButton->isVisible());
        EXPECT_FALSE(dialog.OkButton->isVisible());
        if (n == 2 || n == 4) QTest::mouseClick(dialog.CancelButton, Qt::LeftButton);
    });
    // The outcome, as the user sees it before pressing Ok.
    QString outcome, progressAfter;
    bool cancelShown = true;
    onNextDialog<TTagging>([](TTagging* d) { return d->OkButton->isVisible(); },
                           [&](TTagging* d) {
                               outcome = d->TaggingLabel->text();
                               progressAfter = d->ProgressLabel->text();
                               cancelShown = d->CancelButton->isVisible();
                               QTest::mouseClick(d->OkButton, Qt::LeftButton);
                           });
    const TagAll::Result result = tagAll(dialog);

    EXPECT_EQ(result.outcome, TagAll::Outcome::Cancelled);
    EXPECT_EQ(progress, (QStringList{"1 tagged", "2 tagged", "3 tagged", "4 tagged"}));
    EXPECT_EQ(answers_.asked(), (QStringList{"CANCEL: Cancel Tagging?", "CANCEL: Cancel Tagging?"}));
    EXPECT_EQ(taggedNames(), (std::set<QString>{"Name0", "Name1", "Name2", "Name3"}));
    EXPECT_EQ(table_.value("LNAME"), "Name0");  // back on the first record

    EXPECT_EQ(outcome, "Cancelled before completion");
    EXPECT_EQ(progressAfter, "");
    EXPECT_FALSE(cancelShown);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(TaggingWindowTest, TagAllFilterMatchesAsksFirstAndWaitsForOk) {
    answers_.answers = {false};
    EXPECT_FALSE(TTagging::TagAllFilterMatches(*table_, "ID1").has_value());
    EXPECT_TRUE(taggedNames().empty());

    QString label;
    onNextDialog<TTagging>([](TTagging* d) { return d->OkButton->isVisible(); },
                           [&](TTagging* d) {
                               label = d->TaggingLabel->text();
                               QTest::mouseClick(d->OkButton, Qt::LeftButton);
                           });
    const auto result = TTagging::TagAllFilterMatches(*table_, "ID1");
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->outcome, TagAll::Outcome::Complete);
    EXPECT_EQ(result->tagged, 10u);
    EXPECT_EQ(label, "Complete");
    EXPECT_EQ(taggedNames().size(), 10u);
    EXPECT_EQ(answers_.asked(), (QStringList{"TAG ALL: Tag all records matching filter?",
                                             "TAG ALL: Tag all records matching filter?"}));
}

}  // namespace
