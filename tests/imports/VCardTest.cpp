// vCard files: reading the three versions (folding, escapes, quoted-printable and
// character sets of 2.1, types), bad cards named by their line, the contact as a
// record, and writing 3.0 folded at 75 octets.

#include <gtest/gtest.h>

#include "ImportTestSupport.h"
#include "RecordingProgress.h"
#include "VCard.h"
#include "VCardImport.h"
#include "VCardRecord.h"

namespace {

// The records a vCard file gives, by field name (VCardRecord::Fields of each card).
std::vector<Record> cardsOf(const QByteArray& bytes, QStringList* problems,
                            const VCardRecord::Choices& choices = {}) {
    TempDir dir;
    const QString path = QString::fromStdString(dir.file("in.vcf"));
    writeFile(path, bytes);
    VCard::Reader reader;
    QString message;
    EXPECT_TRUE(reader.open(path, &message));
    std::vector<Record> records;
    VCardContact c;
    for (;;) {
        const VCard::Reader::Result r = reader.next(&c);
        if (r == VCard::Reader::Result::End || r == VCard::Reader::Result::Failed) break;
        if (r == VCard::Reader::Result::Bad) {
            *problems << reader.problem();
            continue;
        }
        Record rec;
        for (const auto& [name, value] : VCardRecord::Fields(c, choices)) rec[name] = value;
        records.push_back(rec);
    }
    return records;
}

TEST(VCard, ReadsTheThreeVersions) {
    const struct {
        const char* what;
        QByteArray file;
        Record record;
    } cases[] = {
        {"2.1: quoted-printable over two lines, a character set, bare types",
         "BEGIN:VCARD\r\nVERSION:2.1\r\n"
         "N;CHARSET=ISO-8859-1:M\xfcller;J\xfcrgen;;Dr.;\r\n"
         "ADR;HOME;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:;;Stra=C3=9Fe 5=0D=0A=\r\nHinterhaus;K=C3=B6ln;;50667;\r\n"
         "TEL;HOME;VOICE:0221 1\r\nTEL;WORK;FAX:0221 2\r\n"
         "NOTE;QUOTED-PRINTABLE:one=0D=0Atwo =3D three\r\n"
         "END:VCARD\r\n",
         {{"LNAME", "Müller"},
          {"FNAME", "Jürgen"},
          {"PREFIX", "Dr."},
          {"STREET", "Straße 5"},
          {"STREET2", "Hinterhaus"},
          {"CITY", "Köln"},
          {"ZIP", "50667"},
          {"PHONE", "0221 1"},
          {"FAX", "0221 2"},
          {"MEMO", "one\r\ntwo = three"}}},
        {"3.0: folded lines, escaped commas and semicolons, an organisation with a unit",
         "BEGIN:VCARD\nVERSION:3.0\nN:O'Hara;Seán;Patrick;;\nFN:Seán O'Hara\n"
         "ORG:Acme\\, Inc.;Sales\nTITLE:Head\\; of all\n"
         "NOTE:A long note that goes on and on\\, and is folded by the wri\n ter somewhere\\nnext line\n"
         "EMAIL;TYPE=INTERNET:sean@example.com\nEND:VCARD\n",
         {{"LNAME", "O'Hara"},
          {"FNAME", "Seán"},
          {"MIDDLE", "P"},
          {"ORG", "Acme, Inc., Sales"},
          {"TITLE", "Head; of all"},
          {"EMAIL", "sean@example.com"},
          {"MEMO", "A long note that goes on and on, and is folded by the writer somewhere\r\nnext line"}}},
        {"4.0: quoted type lists, tel: URIs, no N (FN split)",
         "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Ann Marie Lee\r\n"
         "TEL;VALUE=uri;TYPE=\"voice,cell\":tel:+1-555-0100\r\n"
         "ADR;TYPE=work:;;1 Main St;Albany;NY;12207;USA\r\nEND:VCARD\r\n",
         {{"LNAME", "Lee"},
          {"FNAME", "Ann Marie"},
          {"STREET", "1 Main St"},
          {"CITY", "Albany"},
          {"STATE", "NY"},
          {"ZIP", "12207"},
          {"COUNTRY", "USA"},
          {"PHONE", "+1-555-0100"}}},
    };
    for (const auto& c : cases) {
        QStringList problems;
        EXPECT_EQ(cardsOf(c.file, &problems), std::vector<Record>{c.record}) << c.what;
        EXPECT_TRUE(problems.isEmpty()) << c.what << ": " << problems.join('\n').toStdString();
    }
}

// Several addresses, phones and e-mails: the chosen ones go into the fields, the rest
// into the memo, so that nothing of the card is lost.
TEST(VCard, ChoosesAnAddressAndKeepsTheRestInTheMemo) {
    const QByteArray card =
        "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann;;;\r\nNOTE:Met in May\r\nBDAY:1980-02-29\r\n"
        "ADR;TYPE=WORK:;;1 Office Rd;Albany;NY;12207;\r\n"
        "ADR;TYPE=HOME,PREF:;;5 Home Ln;Troy;NY;12180;\r\n"
        "TEL;TYPE=CELL:111\r\nTEL;TYPE=FAX:222\r\nTEL;TYPE=WORK:333\r\nTEL;TYPE=HOME:444\r\n"
        "EMAIL:a@x.org\r\nEMAIL;TYPE=PREF:b@x.org\r\nEND:VCARD\r\n";
    const struct {
        VCardRecord::AddressChoice choice;
        const char* street;
        const char* other;
    } cases[] = {
        {VCardRecord::AddressChoice::Preferred, "5 Home Ln", "Address (work): 1 Office Rd, Albany NY 12207"},
        {VCardRecord::AddressChoice::Home, "5 Home Ln", "Address (work): 1 Office Rd, Albany NY 12207"},
        {VCardRecord::AddressChoice::Work, "1 Office Rd", "Address (home): 5 Home Ln, Troy NY 12180"},
    };
    for (const auto& c : cases) {
        QStringList problems;
        VCardRecord::Choices choices;
        choices.address = c.choice;
        choices.birthdayField = "USER2";
        const std::vector<Record> records = cardsOf(card, &problems, choices);
        ASSERT_EQ(records.size(), 1u);
        const Record& r = records[0];
        EXPECT_EQ(r["STREET"], c.street);
        EXPECT_EQ(r["PHONE"], "111");
        EXPECT_EQ(r["PHONE2"], "333");
        EXPECT_EQ(r["FAX"], "222");
        EXPECT_EQ(r["EMAIL"], "b@x.org");
        EXPECT_EQ(r["USER2"], "1980-02-29");
        EXPECT_EQ(r["MEMO"], QString("Met in May\r\n") + c.other + "\r\nPhone (home): 444\r\nE-mail: a@x.org");
    }
}

TEST(VCard, ABadCardIsNamedByItsLineAndSkipped) {
    const QByteArray file =
        "BEGIN:VCARD\nVERSION:3.0\nN:One;;;;\nEND:VCARD\n"
        "BEGIN:VCARD\nVERSION:3.0\nN:Two;;;;\nthis line has no colon\nEND:VCARD\n"  // line 8
        "BEGIN:VCARD\nVERSION:3.0\nN;CHARSET=NO-SUCH-SET:Three;;;;\nEND:VCARD\n"  // line 12
        "BEGIN:VCARD\nVERSION:9.9\nEND:VCARD\n"                                    // line 15
        "BEGIN:VCARD\nVERSION:3.0\nN:Five;;;;\n"                                   // no END, line 17
        "BEGIN:VCARD\nVERSION:3.0\nN:Six;;;;\nEND:VCARD\n";
    QStringList problems;
    const std::vector<Record> records = cardsOf(file, &problems);
    EXPECT_EQ(records, (std::vector<Record>{{{"LNAME", "One"}}, {{"LNAME", "Six"}}}));
    EXPECT_EQ(problems, QStringList({"Line 8: not a vCard property (no colon)",
                                     "Line 12: N names the character set NO-SUCH-SET, which is not known",
                                     "Line 15: vCard version 9.9 is not known",
                                     "Line 17: the card has no END:VCARD"}));

    // The import skips them and names them, or stops at the first when asked to.
    for (const bool stop : {false, true}) {
        AddressFileFixture f;
        const QString path = f.file("bad.vcf");
        writeFile(path, file);
        VCardImportSetup setup;
        setup.path = path;
        setup.stopAtBadCard = stop;
        RecordingProgress progress;
        const ImportReport report = RunVCardImport(f.table(), setup, progress);
        if (stop) {
            EXPECT_EQ(report.messages,
                      QStringList({"Import stopped at a bad card after importing 1 records.\r\n"
                                   "Line 8: not a vCard property (no colon)"}));
            EXPECT_EQ(f.records(), (std::vector<Record>{{{"LNAME", "One"}}}));
        } else {
            EXPECT_EQ(report.messages, QStringList({"Import complete. Imported 2 records.",
                                                    "Skipped 4 cards:\r\n" + problems.join("\r\n")}));
            EXPECT_EQ(f.records().size(), 2u);
        }
        EXPECT_TRUE(AddressFile::CheckValidIndex(f.table()));
    }
}

TEST(VCard, WritesVersion3FoldedAt75Octets) {
    VCardContact c;
    c.family = "Núñez";
    c.given = "José";
    c.formatted = "José Núñez";
    c.org = "Acme, Inc.";
    c.addresses.push_back({{}, {}, {}, "Calle 5\n2º", "Sevilla", {}, "41001", "España"});
    c.phones.push_back({{"voice"}, "+34 1"});
    c.note = QString("ä").repeated(60) + "\r\nsecond; line";
    std::string out;
    VCard::Write(c, &out);
    const QList<QByteArray> lines = QByteArray::fromStdString(out).split('\n');
    for (const QByteArray& line : lines) {
        if (line.isEmpty()) continue;
        EXPECT_TRUE(line.endsWith('\r')) << line.toStdString();
        EXPECT_LE(line.size() - 1, 75) << line.toStdString();
        EXPECT_TRUE(QString::fromUtf8(line).toUtf8() == line) << "a character cut in two: " << line.toStdString();
    }
    EXPECT_EQ(lines.value(0), "BEGIN:VCARD\r");
    EXPECT_EQ(lines.value(1), "VERSION:3.0\r");
    EXPECT_EQ(lines.value(2), "N:Núñez;José;;;\r");
    EXPECT_TRUE(out.find("ORG:Acme\\, Inc.\r\n") != std::string::npos) << out;
    EXPECT_TRUE(out.find("ADR:;;Calle 5\\n2º;Sevilla;;41001;España\r\n") != std::string::npos) << out;

    // And reads back the same.
    TempDir dir;
    const QString path = QString::fromStdString(dir.file("out.vcf"));
    writeFile(path, QByteArray::fromStdString(out));
    VCard::Reader reader;
    QString message;
    ASSERT_TRUE(reader.open(path, &message));
    VCardContact back;
    ASSERT_EQ(reader.next(&back), VCard::Reader::Result::Card) << reader.problem().toStdString();
    EXPECT_EQ(back.family, c.family);
    EXPECT_EQ(back.org, c.org);
    EXPECT_EQ(back.note, c.note);
    ASSERT_EQ(back.addresses.size(), 1u);
    EXPECT_EQ(back.addresses[0].street, "Calle 5\n2º");
    EXPECT_EQ(back.addresses[0].country, "España");
}

}  // namespace
