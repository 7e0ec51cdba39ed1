// What the object dialogs do to an object on OK, without the windows.

#include <gtest/gtest.h>

#include <QFile>

#include "AddressFile.h"
#include "DialogTestSupport.h"
#include "ObjectEdits.h"
#include "TAddressDataSet.h"
#include "TGCounterLabel.h"
#include "TGImage.h"
#include "TGMultiLineLabel.h"
#include "TGSymbolLabel.h"
#include "Table.h"
#include "TempDir.h"

using namespace layout;

namespace {

void writeAll(const std::string& path, const QByteArray& data) {
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

}  // namespace

TEST(ObjectEditsTest, SymbolListColumnsFollowTheFontSize) {
    const struct {
        int points, columns;
    } cases[] = {{5, 1},  {6, 14}, {10, 14}, {11, 10}, {20, 10}, {21, 8}, {30, 8}, {31, 6},
                 {40, 6}, {41, 4}, {50, 4},  {51, 3},  {60, 3},  {61, 2}, {72, 2}, {73, 1}};
    for (const auto& c : cases) EXPECT_EQ(SymbolListColumns(c.points), c.columns) << c.points;
}

TEST(ObjectEditsTest, SymbolCodesAreTheBytesOfTheLayoutsCodePage) {
    for (int code : {32, 65, 0x80, 0x81, 0x9F, 0xA0, 0xFF}) {
        const QString c = SymbolCharacter(code);
        ASSERT_EQ(c.size(), 1) << code;
        EXPECT_EQ(SymbolCode(c), code) << code;
    }
    EXPECT_EQ(SymbolCharacter(0x80), QString(QChar(0x20AC)));  // the euro sign, as files store it
    EXPECT_TRUE(SymbolCharacter(31).isEmpty());
    EXPECT_TRUE(SymbolCharacter(256).isEmpty());
    EXPECT_EQ(SymbolCode("ab"), -1);
    EXPECT_EQ(SymbolCode(QString(QChar(0x263A))), -1);  // not in the code page
    EXPECT_EQ(SymbolCode(""), -1);
}

TEST(ObjectEditsTest, TheSymbolFontButtonNamesSizeAndOneStyle) {
    LayoutFont f = LayoutFont::Make("WingDings", 24);
    EXPECT_EQ(SymbolFontCaption(f), "WingDings, 24pt ");
    f.set(fsBold, true);
    EXPECT_EQ(SymbolFontCaption(f), "WingDings, 24pt Bold ");
    f.set(fsItalic, true);
    EXPECT_EQ(SymbolFontCaption(f), "WingDings, 24pt Italic ");
}

TEST(ObjectEditsTest, AChosenFontKeepsTheColourAndPitchItCannotChoose) {
    LayoutFont base = LayoutFont::Make("Arial", 10);
    base.Color = clRed;
    base.Pitch = fpVariable;
    QFont chosen("Times New Roman");
    chosen.setPointSize(14);
    chosen.setItalic(true);
    chosen.setStrikeOut(true);
    const LayoutFont f = FromDialogFont(chosen, base);
    EXPECT_EQ(f.Name, "Times New Roman");
    EXPECT_EQ(f.Size(), 14);
    EXPECT_EQ(f.Height, -19);
    EXPECT_TRUE(f.has(fsItalic));
    EXPECT_TRUE(f.has(fsStrikeOut));
    EXPECT_FALSE(f.has(fsBold));
    EXPECT_EQ(f.Color, clRed);
    EXPECT_EQ(f.Pitch, fpVariable);
    // And the dialog starts from what the object has.
    const QFont seeded = DialogFont(f);
    EXPECT_EQ(seeded.family(), "Times New Roman");
    EXPECT_EQ(seeded.pointSize(), 14);
    EXPECT_TRUE(seeded.italic());
}

TEST(ObjectEditsTest, CounterSettingsRestartTheCountAndFitTheText) {
    TGCounterLabel counter;
    counter.SetBounds(10, 10, 400, 33);
    CounterSettings s;
    s.startingNumber = 7;
    s.repeatEach = 3;
    s.textBefore = "No. ";
    s.leadingZeros = 4;
    ApplyCounterSettings(counter, s);
    EXPECT_EQ(counter.Caption(), "No. 0007");
    // Narrowed to its text: far less than the 400 it had.
    EXPECT_LT(counter.Width(), 200);
    EXPECT_GT(counter.Width(), 10);
    for (int label = 0; label < 3; ++label) counter.AdvanceCounter();
    EXPECT_EQ(counter.Caption(), "No. 0008");

    // The same settings again do not restart a count in progress; a new start does.
    ApplyCounterSettings(counter, s);
    EXPECT_EQ(counter.Value(), 8);
    s.startingNumber = -5;
    s.leadingZeros = 0;
    s.textBefore.clear();
    ApplyCounterSettings(counter, s);
    EXPECT_EQ(counter.Caption(), "-5");
    EXPECT_EQ(ReadCounterSettings(counter).startingNumber, -5);

    // A rotated counter keeps its size.
    counter.SetAngle(90);
    const QRect before = counter.BoundsRect();
    s.textAfter = " and a long text after it";
    ApplyCounterSettings(counter, s);
    EXPECT_EQ(counter.BoundsRect(), before);
}

TEST(ObjectEditsTest, MultiLineTextIsCutToTheLimitAndSplitIntoLines) {
    TGMultiLineLabel label;
    ApplyMultiLineText(label, "one\r\ntwo\n\nfour");
    EXPECT_EQ(label.Items(), QStringList({"one", "two", "", "four"}));
    EXPECT_EQ(MultiLineText(label), "one\ntwo\n\nfour");
    ApplyMultiLineText(label, QString(300, 'x'));
    ASSERT_EQ(label.Items().size(), 1);
    EXPECT_EQ(label.Items()[0].size(), kMultiLineTextLimit);
    ApplyMultiLineText(label, "");
    EXPECT_TRUE(label.Items().isEmpty());
}

TEST(ObjectEditsTest, ImageFilesAreOfferedByExtensionInAnyCase) {
    for (const char* name : {"a.bmp", "B.BMP", "c.Wmf", "dir.x/d.WMF"})
        EXPECT_TRUE(IsImageFileName(name)) << name;
    for (const char* name : {"a.png", "bmp", "a.bmp.txt", "a.emf", ""})
        EXPECT_FALSE(IsImageFileName(name)) << name;
}

TEST(ObjectEditsTest, AnImageFileThatCannotBeReadLeavesTheObjectAsItWas) {
    TempDir dir;
    writeAll(dir.file("big.bmp"), bitmapFile(300, 200));
    writeAll(dir.file("broken.bmp"), "BM not really a bitmap");
    writeAll(dir.file("rect.wmf"), placeableMetafile());
    TGImage image;
    image.SetBounds(5, 5, 105, 105);

    // AutoSize takes the picture's size and switches Stretch off.
    ASSERT_TRUE(ApplyImageFile(image, QString::fromStdString(dir.file("big.bmp")), true, true));
    EXPECT_EQ(image.BoundsRect(), QRect(5, 5, 300, 200));
    EXPECT_TRUE(image.AutoSize());
    EXPECT_FALSE(image.Stretch());

    const QByteArray before = streamOf(image);
    EXPECT_FALSE(ApplyImageFile(image, QString::fromStdString(dir.file("broken.bmp")), true, false));
    EXPECT_FALSE(ApplyImageFile(image, QString::fromStdString(dir.file("missing.bmp")), true, false));
    EXPECT_EQ(streamOf(image), before);

    // A metafile, stretched over the object, which keeps its size.
    ASSERT_TRUE(ApplyImageFile(image, QString::fromStdString(dir.file("rect.wmf")), true, false));
    EXPECT_EQ(image.Picture().kind(), LayoutPicture::Kind::Metafile);
    EXPECT_TRUE(image.Stretch());
    EXPECT_FALSE(image.AutoSize());
    EXPECT_EQ(image.BoundsRect(), QRect(5, 5, 300, 200));
}

TEST(ObjectEditsTest, TheFieldChooserOffersTheVisibleTextFieldsOrTheMemos) {
    KindedDataSet data;
    data.add("LNAME", "", "Last Name").add("ISDEL", "", "Deleted").add("TAG", "").add("CITY", "", "City");
    data.add("MEMO", "", "MEMO", true).add("NOTES", "", "Notes", true);
    data.notText = {1};
    data.hidden = {2};
    auto labels = [](const std::vector<OfferedField>& fields) {
        QStringList l;
        for (const OfferedField& f : fields) l << f.name + "=" + f.label;
        return l;
    };
    EXPECT_EQ(labels(OfferedFields(&data, false)), QStringList({"LNAME=Last Name", "CITY=City"}));
    EXPECT_EQ(labels(OfferedFields(&data, true)), QStringList({"MEMO=MEMO", "NOTES=Notes"}));
    EXPECT_TRUE(OfferedFields(nullptr, false).empty());
    const auto fields = OfferedFields(&data, false);
    EXPECT_EQ(PreselectedField(fields, "City"), 1);
    EXPECT_EQ(PreselectedField(fields, "CITY"), 0);  // labels bind, not names
    EXPECT_EQ(PreselectedField({}, "City"), -1);
}

TEST(ObjectEditsTest, AnAddressFileOffersItsShownCharacterFields) {
    TempDir dir;
    const QString path = QString::fromStdString(dir.file("ADD0001.DBF"));
    QString message;
    ASSERT_TRUE(AddressFile::CreateAddressFile(path, FieldLengths(), &message)) << message.toStdString();
    std::unique_ptr<xbase::Table> table;
    ASSERT_TRUE(AddressFile::OpenTableFile(path, &table, &message)) << message.toStdString();
    TAddressDataSet data(table.get());
    data.AddCalculatedField("FullName", "Full Name", [] { return QString(); });
    QStringList names;
    for (const OfferedField& f : OfferedFields(&data, false)) names << f.name;
    EXPECT_TRUE(names.contains("LNAME"));
    EXPECT_TRUE(names.contains("ZIP"));
    EXPECT_EQ(names.last(), "FullName");
    for (const char* hidden : {"DATE", "ISDEL", "TAG", "MEMO"})
        EXPECT_FALSE(names.contains(hidden)) << hidden;
    const auto memos = OfferedFields(&data, true);
    ASSERT_EQ(memos.size(), 1u);
    EXPECT_EQ(memos[0].name, "MEMO");
}
