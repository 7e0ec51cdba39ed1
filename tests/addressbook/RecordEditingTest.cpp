#include <gtest/gtest.h>

#include <QFile>

#include "AddressFile.h"
#include "AddressTable.h"
#include "RecordEditing.h"
#include "RecordEditor.h"
#include "TempDir.h"

using RecordEditing::Move;

namespace {

QString field(const xbase::Table& table, const char* name) {
    return AddressFile::text(table, table.fieldIndex(name));
}

// --- Adding -----------------------------------------------------------------------------

TEST(NewRecordValues, CarryForwardAndDefaultCountry) {
    const RecordValues current = {{"ORG", "Acme"},      {"STREET", "1 Main St"}, {"STREET2", "Suite 2"},
                                  {"CITY", "Boston"},   {"STATE", "MA"},         {"ZIP", "02110"},
                                  {"COUNTRY", "Canada"}};
    struct Case {
        const char* name;
        bool carryCountry;
        QString currentCountry;
        QString expectedCountry;
    };
    const Case cases[] = {
        {"default when not carried", false, "Canada", "USA"},
        {"carried country wins", true, "Canada", "Canada"},
        {"default when the carried one is empty", true, "", "USA"},
    };
    for (const Case& c : cases) {
        Preferences p;
        p.defaultCountry = "USA";
        p.carryCountry = c.carryCountry;
        RecordValues cur = current;
        cur["COUNTRY"] = c.currentCountry;
        const RecordValues v =
            RecordEditing::NewRecordValues(RecordEditing::RememberForAdd(cur, p), {}, p, QDate(2024, 2, 29));
        EXPECT_EQ(v.value("COUNTRY"), c.expectedCountry) << c.name;
        EXPECT_TRUE(v.value("CITY").isEmpty()) << c.name;  // nothing else carried
        EXPECT_TRUE(v.value("DATE").isEmpty()) << c.name;
    }
}

TEST(NewRecordValues, EntriesWinOverCarriedFields) {
    Preferences p;
    p.carryOrg = p.carryStreet = p.carryStreet2 = p.carryCity = p.carryState = p.carryZip = true;
    p.plugDate = true;
    const RecordValues current = {{"ORG", "Acme"},    {"STREET", "1 Main St"}, {"STREET2", "Suite 2"},
                                  {"CITY", "Boston"}, {"STATE", "MA"},         {"ZIP", "02110"}};
    RecordEditing::NewRecordEntries entries;
    entries.lastName = "Smith";
    entries.zip = "12345";
    entries.city = "Springfield";  // from the city fill; no state found
    const RecordValues v = RecordEditing::NewRecordValues(RecordEditing::RememberForAdd(current, p), entries,
                                                          p, QDate(2024, 2, 29));
    EXPECT_EQ(v.value("LNAME"), "Smith");
    EXPECT_EQ(v.value("ZIP"), "12345");
    EXPECT_EQ(v.value("CITY"), "Springfield");
    EXPECT_EQ(v.value("STATE"), "MA");  // carried where the fill gave nothing
    EXPECT_EQ(v.value("ORG"), "Acme");
    EXPECT_EQ(v.value("STREET"), "1 Main St");
    EXPECT_EQ(v.value("STREET2"), "Suite 2");
    EXPECT_EQ(v.value("DATE"), "20240229");
}

TEST(FindDuplicateName, MatchesInAnyCaseAndPutsEverythingBack) {
    AddressTable t;
    t.add({{"LNAME", "Smith"},
           {"FNAME", "John"},
           {"STREET", "1 Elm St"},
           {"CITY", "Salem"},
           {"STATE", "OR"},
           {"ZIP", "97301"}});
    const uint32_t other = t.add({{"LNAME", "Adams"}, {"FNAME", "Ann"}});
    t.add({{"LNAME", "Smith"}, {"FNAME", "Johnny"}});
    t.order("ZIP");
    ASSERT_TRUE(t->go(other).ok());
    t->setExact(false);

    const auto dup = RecordEditing::FindDuplicateName(*t, "JOHN", "smith");
    ASSERT_TRUE(dup.has_value());
    EXPECT_EQ(dup->recNo, 1u);
    EXPECT_EQ(dup->question,
              "Possible duplicate: \r\n\r\nJohn Smith\r\n1 Elm St\r\nSalem,OR 97301\r\n\r\nContinue adding?");
    EXPECT_EQ(t->recNo(), other);
    EXPECT_EQ(t->indexOrd(), t->tagArea("ZIP"));
    EXPECT_FALSE(t->exact());

    EXPECT_FALSE(RecordEditing::FindDuplicateName(*t, "Jo", "Smith").has_value());  // exact, not a prefix
    EXPECT_FALSE(RecordEditing::FindDuplicateName(*t, "", "Smith").has_value());
    EXPECT_FALSE(RecordEditing::FindDuplicateName(*t, "John", "Smyth").has_value());
}

// The LNAME tag upper-cases accented letters too (UPPER() in Windows-1252), and so
// must the key looked up.
TEST(FindDuplicateName, MatchesAccentedNamesInAnyCase) {
    AddressTable t;
    t.add({{"LNAME", "Müller"}, {"FNAME", "Jürgen"}});
    t.add({{"LNAME", "Ødegård"}, {"FNAME", "Åse"}});
    EXPECT_TRUE(RecordEditing::FindDuplicateName(*t, "Jürgen", "Müller").has_value());
    EXPECT_TRUE(RecordEditing::FindDuplicateName(*t, "JÜRGEN", "müller").has_value());
    EXPECT_TRUE(RecordEditing::FindDuplicateName(*t, "åse", "ØDEGÅRD").has_value());
    EXPECT_FALSE(RecordEditing::FindDuplicateName(*t, "Jurgen", "Muller").has_value());
}

TEST(FindDuplicateName, WorksInFilesWithOtherNameWidths) {
    TempDir dir;
    const QString path = QString::fromStdString(dir.file("wide.DBF"));
    FieldLengths widths;
    widths.setWidth(FieldLengths::indexOf("LNAME"), 50);
    widths.setWidth(FieldLengths::indexOf("FNAME"), 20);
    QString message;
    ASSERT_TRUE(AddressFile::CreateAddressFile(path, widths, &message));
    std::unique_ptr<xbase::Table> table;
    ASSERT_TRUE(AddressFile::OpenTableFile(path, &table, &message));
    RecordEditor editor;
    editor.setTable(table.get());
    editor.append({{"LNAME", "Vandenberghe-Oosterhuis"}, {"FNAME", "Maria"}});
    ASSERT_TRUE(editor.post().ok());
    EXPECT_TRUE(RecordEditing::FindDuplicateName(*table, "maria", "VANDENBERGHE-OOSTERHUIS").has_value());
}

TEST(FillCityState, TakesTheFirstZipThatBeginsWithTheEntry) {
    AddressTable t;
    t.add({{"CITY", "Later"}, {"STATE", "ZZ"}, {"ZIP", "12399"}});
    const uint32_t current = t.add({{"CITY", "Springfield"}, {"STATE", "IL"}, {"ZIP", "12345-6789"}});
    t.add({{"CITY", "Deleted"}, {"STATE", "XX"}, {"ZIP", "12300"}, {"ISDEL", "T"}});
    ASSERT_TRUE(t->query("!ISDEL").ok());
    ASSERT_TRUE(t->go(current).ok());

    QString city, state;
    ASSERT_TRUE(RecordEditing::FillCityState(*t, "123", &city, &state));
    EXPECT_EQ(city, "Springfield");  // 12345 sorts before 12399; the deleted 12300 is hidden
    EXPECT_EQ(state, "IL");
    EXPECT_EQ(t->recNo(), current);
    EXPECT_EQ(t->indexOrd(), 0);

    city = state = "unchanged";
    EXPECT_FALSE(RecordEditing::FillCityState(*t, "99", &city, &state));
    EXPECT_EQ(city, "unchanged");
}

// --- Calculated fields and texts ----------------------------------------------------------

TEST(FormatStoredDate, OnlyValidDatesAreShown) {
    const struct {
        QString stored;
        QString shown;
    } cases[] = {
        {"20240229", "29.02.2024"}, {"20230229", ""},           {"", ""}, {"2024022", ""}, {"2024-2-1", ""},
        {"20241301", ""},           {"19991231", "31.12.1999"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RecordEditing::FormatStoredDate(c.stored, "dd.MM.yyyy"), c.shown) << c.stored.toStdString();
    }
}

TEST(CalculatedFields, JoinTheNamesAndTheTown) {
    const RecordValues full = {{"PREFIX", "Dr."}, {"FNAME", "Ann"}, {"MIDDLE", "B"},  {"LNAME", "Cole"},
                               {"CITY", "Reno"},  {"STATE", "NV"},  {"ZIP", "89501"}, {"TAG", "ABC"}};
    EXPECT_EQ(RecordEditing::FullName(full), "Ann B Cole");
    EXPECT_EQ(RecordEditing::FullNameWithPrefix(full), "Dr. Ann B Cole");
    EXPECT_EQ(RecordEditing::CityStateZip(full), "Reno NV 89501");
    EXPECT_TRUE(RecordEditing::Tagged(full, "ABC"));
    EXPECT_FALSE(RecordEditing::Tagged(full, "ABD"));

    const RecordValues bare = {{"LNAME", "Cole"}, {"ZIP", "89501"}};
    EXPECT_EQ(RecordEditing::FullName(bare), " Cole");
    EXPECT_EQ(RecordEditing::FullNameWithPrefix(bare), " Cole");
    EXPECT_EQ(RecordEditing::CityStateZip(bare), "89501");
    EXPECT_FALSE(RecordEditing::Tagged({}, ""));  // an empty identifier tags nothing
}

TEST(GetRecordAsString, GroupsLinesAndLeavesOutEmptyOnes) {
    const RecordValues v = {{"PREFIX", "Mr."},   {"FNAME", "John"},   {"MIDDLE", "Q"},
                            {"LNAME", "Public"}, {"TITLE", "Editor"}, {"ORG", ""},
                            {"STREET", "1 Elm"}, {"CITY", "Salem"},   {"STATE", "OR"},
                            {"ZIP", "97301"},    {"COUNTRY", "USA"},  {"PHONE", "555-1234"},
                            {"CODES", "ABC"},    {"USER2", "second"}};
    EXPECT_EQ(RecordEditing::GetRecordAsString(v, {}),
              "Mr. John Q. Public \r\nEditor\r\n1 Elm\r\nSalem  OR 97301\r\nUSA \r\nPhone  :555-1234\r\n"
              "Codes :ABC\r\nComment 2 :second\r\n");

    RecordEditing::ClipboardGroups onlyPhones;
    onlyPhones.name = onlyPhones.address = onlyPhones.codes = onlyPhones.comments = false;
    EXPECT_EQ(RecordEditing::GetRecordAsString(v, onlyPhones), "Phone  :555-1234\r\n");

    // A record without city, state and ZIP gives no line of blanks.
    EXPECT_EQ(RecordEditing::GetRecordAsString({{"LNAME", "Solo"}}, {}), "Solo \r\n");

    RecordValues huge;
    huge["USER1"] = QString(2000, 'x');
    EXPECT_EQ(RecordEditing::GetRecordAsString(huge, {}).size(), RecordEditing::kMaxClipboardText);
}

TEST(MemoForSave, AMultipleOfFourGetsOneBlank) {
    const struct {
        QString memo;
        QString saved;
    } cases[] = {
        {"", ""},
        {"1234567", "1234567"},
        {"12345678", "12345678 "},
        {"123456789", "123456789"},
        {"ab\ncd", "ab\ncd"},        // 6 characters with CR LF
        {"abc\ncdef", "abc\ncdef"},  // 9
        {"abc\ncde", "abc\ncde "},   // 8 with CR LF
    };
    for (const auto& c : cases)
        EXPECT_EQ(RecordEditing::MemoForSave(c.memo), c.saved) << c.memo.toStdString();
}

// --- Writing records ----------------------------------------------------------------------

TEST(RecordEditor, EditWritesOnlyOnPostAndCancelLeavesTheFile) {
    AddressTable t;
    t.add({{"LNAME", "Old"}, {"FNAME", "Name"}});
    RecordEditor editor;
    editor.setTable(&*t);
    ASSERT_TRUE(editor.edit());
    editor.setValue("LNAME", "New");
    EXPECT_EQ(editor.value("LNAME"), "New");
    EXPECT_EQ(field(*t, "LNAME"), "Old");
    editor.cancel();
    EXPECT_EQ(editor.value("LNAME"), "Old");

    ASSERT_TRUE(editor.edit());
    editor.setValue("LNAME", "New");
    editor.setValue("MEMO", "line one\nline two");
    ASSERT_TRUE(editor.post().ok());
    EXPECT_FALSE(editor.editing());
    EXPECT_EQ(field(*t, "LNAME"), "New");
    EXPECT_EQ(field(*t, "FNAME"), "Name");
    std::string memo;
    ASSERT_TRUE(t->getMemo(t->fieldIndex("MEMO"), &memo).ok());
    EXPECT_EQ(memo, "line one\r\nline two");  // stored with CR LF, as other tools expect
    EXPECT_EQ(editor.value("MEMO"), "line one\nline two");
}

TEST(RecordEditor, TextTheCodePageLacksIsRefusedBeforeAnythingIsWritten) {
    AddressTable t;
    t.add({{"LNAME", "Keep"}, {"CITY", "Here"}});
    RecordEditor editor;
    editor.setTable(&*t);
    ASSERT_TRUE(editor.edit());
    editor.setValue("CITY", "Changed");
    editor.setValue("USER1", "Greek \u03A9 letter");
    const xbase::Status s = editor.post();
    ASSERT_FALSE(s.ok());
    EXPECT_NE(s.message().find("Comment 1"), std::string::npos) << s.message();
    EXPECT_NE(s.message().find("cannot be stored"), std::string::npos) << s.message();
    EXPECT_TRUE(editor.editing());
    ASSERT_TRUE(t->go(1).ok());
    EXPECT_EQ(field(*t, "CITY"), "Here");

    editor.setValue("USER1", "Caf\u00e9");  // in Windows-1252
    ASSERT_TRUE(editor.post().ok());
    EXPECT_EQ(field(*t, "USER1"), "Caf\u00e9");
    EXPECT_EQ(field(*t, "CITY"), "Changed");
}

TEST(RecordEditor, AppendPostsANewCurrentRecord) {
    AddressTable t;
    t.add({{"LNAME", "First"}});
    t.order("LNAME");
    RecordEditor editor;
    editor.setTable(&*t);
    editor.append({{"LNAME", "Adams"}});
    EXPECT_EQ(t->recCount(), 1u);  // nothing written yet
    editor.cancel();
    EXPECT_EQ(t->recCount(), 1u);

    editor.append({{"LNAME", "Adams"}, {"FNAME", "Zoe"}});
    ASSERT_TRUE(editor.post().ok());
    EXPECT_EQ(t->recCount(), 2u);
    EXPECT_EQ(t->recNo(), 2u);
    EXPECT_EQ(editor.value("FNAME"), "Zoe");
    EXPECT_FALSE(t->getLogical(t->fieldIndex("ISDEL")));
    ASSERT_TRUE(t->goTop().ok());
    EXPECT_EQ(field(*t, "LNAME"), "Adams");  // in the index too
}

TEST(Clone, CopiesEverythingButTheTag) {
    AddressTable t;
    t.add({{"LNAME", "Twin"},
           {"FNAME", "Tom"},
           {"DATE", "20200101"},
           {"USER2", "c2"},
           {"TAG", "ABC"},
           {"MEMO", "notes"}});
    RecordEditor editor;
    editor.setTable(&*t);
    ASSERT_TRUE(t->goTop().ok());
    ASSERT_TRUE(RecordEditing::Clone(editor).ok());
    EXPECT_EQ(t->recNo(), 2u);
    const RecordValues copy = RecordEditor::read(*t);
    ASSERT_TRUE(t->go(1).ok());
    RecordValues original = RecordEditor::read(*t);
    EXPECT_EQ(copy.value("TAG"), "");
    original["TAG"] = "";
    EXPECT_EQ(copy, original);
}

TEST(ToggleTag, WritesAtOnceOrJoinsTheEdit) {
    AddressTable t;
    t.add({{"LNAME", "One"}, {"TAG", "OLDTAG"}});
    RecordEditor editor;
    editor.setTable(&*t);
    ASSERT_TRUE(t->goTop().ok());
    ASSERT_TRUE(RecordEditing::ToggleTag(editor, "NEWTAG").ok());
    EXPECT_EQ(field(*t, "TAG"), "NEWTAG");
    ASSERT_TRUE(RecordEditing::ToggleTag(editor, "NEWTAG").ok());
    EXPECT_EQ(field(*t, "TAG"), "");

    ASSERT_TRUE(editor.edit());
    ASSERT_TRUE(RecordEditing::ToggleTag(editor, "NEWTAG").ok());
    EXPECT_TRUE(editor.editing());
    EXPECT_EQ(field(*t, "TAG"), "");
    editor.cancel();
    EXPECT_EQ(field(*t, "TAG"), "");
}

TEST(Navigate, StopsAtBothEndsOfTheVisibleRecords) {
    AddressTable t;
    t.add({{"LNAME", "B"}});
    t.add({{"LNAME", "Gone"}, {"ISDEL", "T"}});
    t.add({{"LNAME", "A"}});
    t.add({{"LNAME", "C"}});
    ASSERT_TRUE(t->query("!ISDEL").ok());
    t.order("LNAME");
    ASSERT_TRUE(RecordEditing::Navigate(*t, Move::First));
    EXPECT_EQ(t.value("LNAME"), "A");
    EXPECT_FALSE(RecordEditing::Navigate(*t, Move::Prior));
    EXPECT_EQ(t.value("LNAME"), "A");
    ASSERT_TRUE(RecordEditing::Navigate(*t, Move::Next));
    EXPECT_EQ(t.value("LNAME"), "B");
    ASSERT_TRUE(RecordEditing::Navigate(*t, Move::Next));
    EXPECT_EQ(t.value("LNAME"), "C");
    EXPECT_FALSE(RecordEditing::Navigate(*t, Move::Next));
    EXPECT_EQ(t.value("LNAME"), "C");
    EXPECT_FALSE(t->eof());
    ASSERT_TRUE(RecordEditing::Navigate(*t, Move::Prior));
    EXPECT_EQ(t.value("LNAME"), "B");
}

}  // namespace
