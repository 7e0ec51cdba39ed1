// The main window's own work done from the keyboard, and the windows of the record
// tools, as a person meets them.

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "HelpSystem.h"
#include "Person.h"
#include "PtyModem.h"
#include "RecordView.h"
#include "RunQuillory.h"
#include "TDeleteRecords.h"
#include "TQYDialer.h"

namespace person {
namespace {

// Prefix and Country are skipped when adding, as the preferences can say.
class AddingRecords : public PersonTest {
    QByteArray settings() const override {
        return "[Misc]\nGettingStarted=1\n[Adding]\nSkipPrefix=1\nSkipCountry=1\n";
    }
};

TEST_F(AddingRecords, EnterWalksEveryFieldToSaveAndNothingTypedIsLost) {
    press(Qt::Key_A, Qt::AltModifier);  // the Add button
    settle();

    ASSERT_EQ(QApplication::focusWidget(), main().recordView()->edit("LNAME"));
    // One value a field in the order Enter walks them; Prefix and Country are left out.
    const std::vector<std::pair<QString, QString>> typed = {
        {"LNAME", "Carver"},       {"FNAME", "Cleo"},          {"MIDDLE", "D"},
        {"TITLE", "Treasurer"},    {"ORG", "Garden Club"},     {"STREET", "7 Elm Road"},
        {"STREET2", "Apt 3"},      {"CITY", "Dayton"},         {"STATE", "OH"},
        {"ZIP", "45402"},          {"PHONE", "555-0134"},      {"PHONE2", "555-0135"},
        {"FAX", "555-0136"},       {"EMAIL", "cleo@example.org"}, {"CODES", "GC"},
        {"USER1", "Spring fair"},  {"USER2", "Volunteer"}};
    for (const auto& [field, value] : typed) {
        ASSERT_EQ(QApplication::focusWidget(), main().recordView()->edit(field))
            << "Enter did not bring the focus to " << field.toStdString() << " but to "
            << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "nothing");
        type(value);
        press(Qt::Key_Return);
    }
    // Past the last field, Enter is on Save, and saves.
    press(Qt::Key_Return);
    settle();
    EXPECT_FALSE(main().editor().editing());
    main().close();
    main_.reset();

    const QuilloryResult dump =
        runQuillory({"dump", addressFile().toStdString(), "--query", "LNAME = 'Carver'"}, dir_);
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    for (const auto& [field, value] : typed)
        EXPECT_NE(dump.out.find(value.toStdString()), std::string::npos) << field.toStdString() << " lost: " << dump.out;
}

TEST_F(PersonTest, ExitClosesEveryWindowOfTheProgram) {
    press(Qt::Key_F1);
    settle(200);
    QWidget* help = HelpSystem::window();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(help->isVisible());
    main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main(), 20000));
    chooseMenu(&main(), "File/Exit");
    settle();
    EXPECT_FALSE(main().isVisible());
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible()) << w->metaObject()->className() << " stayed open after Exit";
}

TEST_F(PersonTest, DeleteAllRecordsAsksWithNoAsTheDefault) {
    messages_.answers = {false};
    whenActive<TDeleteRecords>([](TDeleteRecords* d) {
        EXPECT_TRUE(d->AllRadio->isChecked());
        press(Qt::Key_Return);  // "Delete Now", the default button
        settle();
        press(Qt::Key_Escape);
    });
    chooseMenu(&main(), "Utilities/Delete Records");
    ASSERT_FALSE(messages_.requests.empty());
    EXPECT_EQ(messages_.requests.back().preset, Messages::Preset::No);
    // The main window holds the file while it is open.
    main().close();
    main_.reset();
    const QuilloryResult count = runQuillory({"count", addressFile().toStdString(), ".T."}, dir_);
    EXPECT_EQ(count.out, "2\n") << count.err;
}

TEST_F(PersonTest, DialerButtonsStayWhereTheyAreAfterDialling) {
    PtyModem modem;
    ASSERT_TRUE(modem.ok());
    main().dialerDevice = QString::fromStdString(modem.path());
    bool dialledOnce = false;
    whenActive<TQYDialer>([&](TQYDialer* d) {
        const QRect cancelBefore = d->CancelButton->geometry();
        const QRect helpBefore = d->HelpButton->geometry();
        click(d->DialButton);
        dialledOnce = modem.waitFor("ATH\r\n");
        settle();
        EXPECT_TRUE(d->HelpButton->isVisible());
        EXPECT_EQ(d->CancelButton->geometry(), cancelBefore);
        EXPECT_EQ(d->HelpButton->geometry(), helpBefore);
        click(d->CancelButton);
    });
    click(main().recordView()->dialPhone1());
    EXPECT_TRUE(dialledOnce);
    // Cancel closed the window without dialling again.
    EXPECT_EQ(modem.received(), "ATDT555-0101\r\nATH\r\n");
}

}  // namespace
}  // namespace person
