// Imports and exports against independent implementations: a table written by
// Python's dbf package imports with import-dbf, and every kind of export reads back in
// Python's csv module, Python's dbf package and Perl's XBase module with every value
// equal. The readers print the row format of tests/interop (tab-separated values,
// escaped).

#include <gtest/gtest.h>

#include <QFile>
#include <fstream>

#include "ImportTestSupport.h"
#include "RunQuillory.h"

namespace {

const std::string kPython = "/usr/bin/python3";  // python3-dbf is installed for this one

std::string script(const std::string& folder, const std::string& name) {
    return shellQuote(folder + "/" + name);
}
std::string interopScript(const std::string& name) { return script(QUILLORY_INTEROP_DIR, name); }
std::string ownScript(const std::string& name) { return script(QUILLORY_TEST_DIR, name); }

// Runs a shell command with `input` on its standard input; its standard output.
::testing::AssertionResult shell(const std::string& command, const std::string& input, std::string* out,
                                 const TempDir& dir) {
    const std::string in = dir.file("stdin.txt");
    std::ofstream(in, std::ios::binary) << input;
    int code = -1;
    *out = runCommand(command + " <" + shellQuote(in) + " 2>" + shellQuote(dir.file("err.txt")), &code);
    if (code != 0) {
        std::ifstream err(dir.file("err.txt"));
        return ::testing::AssertionFailure() << command << " exited " << code << ":\n"
                                             << std::string(std::istreambuf_iterator<char>(err), {}) << *out;
    }
    return ::testing::AssertionSuccess();
}

// The stored address-file fields in file order, and the twenty fields of the text
// kinds followed by MEMO.
const std::vector<std::string> kAllFields = {"LNAME",  "FNAME",   "MIDDLE", "PREFIX", "TITLE", "ORG",
                                             "STREET", "STREET2", "CITY",   "STATE",  "ZIP",   "COUNTRY",
                                             "DATE",   "PHONE",   "PHONE2", "FAX",    "EMAIL", "CODES",
                                             "USER1",  "USER2",   "ISDEL",  "TAG",    "MEMO"};
const std::vector<std::string> kCsvFields = {
    "PREFIX",  "FNAME", "MIDDLE", "LNAME", "TITLE", "ORG",  "STREET", "STREET2", "CITY",  "STATE", "ZIP",
    "COUNTRY", "PHONE", "PHONE2", "EMAIL", "FAX",   "DATE", "USER1",  "USER2",   "CODES", "MEMO"};

std::string escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// A line of the row format: `mark` ("-", "*" or none) and the values of `fields`.
std::string rowLine(const std::string& mark, const std::vector<std::string>& fields, const Record& r) {
    std::string line = mark;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i || !mark.empty()) line += '\t';
        line += escape(r.value(QString::fromStdString(fields[i])).toStdString());
    }
    return line + "\n";
}

std::string join(const std::vector<std::string>& names, char sep) {
    std::string s;
    for (size_t i = 0; i < names.size(); ++i) s += (i ? std::string(1, sep) : "") + names[i];
    return s;
}

class ImportInteropTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string out;
        ASSERT_TRUE(shell(kPython + " -c 'import dbf'", "", &out, dir_)) << "Python's dbf package is missing";
        ASSERT_TRUE(shell(kPython + " -c 'import vobject'", "", &out, dir_)) << "Python's vobject is missing";
        ASSERT_TRUE(shell("perl -MXBase -e 1", "", &out, dir_)) << "Perl's XBase module is missing";
    }
    std::string file(const std::string& name) const { return dir_.file(name); }
    QuilloryResult quillory(const std::vector<std::string>& args) { return runQuillory(args, home_); }

    TempDir dir_, home_;
};

TEST_F(ImportInteropTest, ATableWrittenByPythonImports) {
    const std::string source = file("src.dbf");
    std::string out;
    ASSERT_TRUE(
        shell(kPython + " " + interopScript("pydbf_write.py") + " " + shellQuote(source) +
                  " fp 'LNAME C(20); FIRST C(15); CITY C(20); AMOUNT N(8,2); ACTIVE L; BORN D; NOTES M'",
              "LNAME\tFIRST\tCITY\tAMOUNT\tACTIVE\tBORN\tNOTES\n"
              "-\tMüller\tJürgen\tKöln\t1234.50\tT\t19991231\tStraße 5\\r\\nzweiter Stock\n"
              "*\tGone\tX\tY\t1.00\tF\t20000101\tdeleted\n"
              "-\tNúñez\t\tSevilla\t\t\t\t\n"
              "-\tO'Hara, Jr\tSeán\t\t-3.25\tF\t20240229\t\n",
              &out, dir_));
    const std::string a = file("a.DBF");
    ASSERT_EQ(quillory({"new", a}).exitCode, 0);
    QuilloryResult r = quillory({"import-dbf", a, source, "--match",
                                 "LNAME=LNAME,First Name=first,City=CITY,Comment 1=AMOUNT,Comment 2=ACTIVE,"
                                 "Actual Date=BORN,MEMO=NOTES"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Import complete. Imported 3 records.\n");
    r = quillory({"dump", a, "--fields", "LNAME,FNAME,CITY,USER1,USER2,DATE,MEMO"});
    EXPECT_EQ(r.out,
              "LNAME,FNAME,CITY,USER1,USER2,DATE,MEMO\n"
              "Müller,Jürgen,Köln,1234.50,T,19991231,\"Straße 5\r\nzweiter Stock\"\n"
              "Núñez,,Sevilla,,,,\n"
              "\"O'Hara, Jr\",Seán,,-3.25,F,20240229,\n");

    // Without --match the fields of the same name go in, and the memo into MEMO.
    const std::string b = file("b.DBF");
    ASSERT_EQ(quillory({"new", b}).exitCode, 0);
    r = quillory({"import-dbf", b, source});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = quillory({"dump", b, "--fields", "LNAME,FNAME,CITY,MEMO"});
    EXPECT_EQ(r.out,
              "LNAME,FNAME,CITY,MEMO\n"
              "Müller,,Köln,\"Straße 5\r\nzweiter Stock\"\n"
              "Núñez,,Sevilla,\n"
              "\"O'Hara, Jr\",,,\n");
}

// A CSV written by another program: quoted commas, doubled quotes, accented UTF-8,
// short lines. Its doubled quotes tell RFC 4180, and every value lands where --match
// puts it, exactly as Python wrote it.
TEST_F(ImportInteropTest, ACsvFromAnotherProgramImports) {
    const std::string csv = file("people.csv");
    std::string out;
    ASSERT_TRUE(shell(kPython + " -c " +
                          shellQuote("import csv,sys\n"
                                     "w=csv.writer(open(sys.argv[1],'w',newline='',encoding='utf-8'))\n"
                                     "w.writerow(['Smith','John','Acme, Inc.','Boston'])\n"
                                     "w.writerow(['Müller','Jürgen','Der \"Laden\"','Köln'])\n"
                                     "w.writerow(['Short'])\n"
                                     "w.writerow(['Núñez','','','Sevilla'])\n") +
                          " " + shellQuote(csv),
                      "", &out, dir_));
    const std::string a = file("a.DBF");
    ASSERT_EQ(quillory({"new", a}).exitCode, 0);
    QuilloryResult r =
        quillory({"import-csv", a, csv, "--match", "Last Name=1,FNAME=2,Organization=3,City=4"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Import complete. Imported 4 records.\n");
    r = quillory({"dump", a, "--fields", "LNAME,FNAME,ORG,CITY"});
    EXPECT_EQ(r.out,
              "LNAME,FNAME,ORG,CITY\n"
              "Smith,John,\"Acme, Inc.\",Boston\n"
              "Müller,Jürgen,\"Der \"\"Laden\"\"\",Köln\n"
              "Short,,,\n"
              "Núñez,,,Sevilla\n");
}

// A contact export written by Python's csv module: a line of column names as address
// books write them, quoted commas, doubled quotes and line breaks, accented UTF-8. The
// quoting is told from the file, the names matched, and every value lands in place.
TEST_F(ImportInteropTest, AContactExportFromPythonImportsByItsColumnNames) {
    const std::string csv = file("contacts.csv");
    std::string out;
    ASSERT_TRUE(shell(kPython + " -c " +
                          shellQuote("import csv,sys\n"
                                     "w=csv.writer(open(sys.argv[1],'w',newline='',encoding='utf-8'))\n"
                                     "w.writerow(['First Name','Last Name','Company','Job Title','Business Street',"
                                     "'Business City','Business Postal Code','Home Street','Business Phone',"
                                     "'Mobile Phone','E-mail Address','Notes'])\n"
                                     "w.writerow(['Zoë','Müller','Acme, Inc.','Say \"hi\", ok','12 \"Main\" St',"
                                     "'Köln','50667','Home 1','+44 20 7946 0958','0170 1','z@x.de',"
                                     "'line one\\r\\nline \"two\", end'])\n"
                                     "w.writerow(['Núñez','','','','','Sevilla','','','','','',''])\n") +
                          " " + shellQuote(csv),
                      "", &out, dir_));
    const std::string a = file("a.DBF");
    ASSERT_EQ(quillory({"new", a}).exitCode, 0);
    QuilloryResult r = quillory({"import-csv", a, csv});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Import complete. Imported 2 records.\n");
    r = quillory({"dump", a, "--fields", "FNAME,LNAME,ORG,TITLE,STREET,CITY,ZIP,PHONE,PHONE2,EMAIL,MEMO"});
    EXPECT_EQ(r.out,
              "FNAME,LNAME,ORG,TITLE,STREET,CITY,ZIP,PHONE,PHONE2,EMAIL,MEMO\n"
              "Zoë,Müller,\"Acme, Inc.\",\"Say \"\"hi\"\", ok\",\"12 \"\"Main\"\" St\",Köln,50667,"
              "+44 20 7946 0958,0170 1,z@x.de,\"line one\r\nline \"\"two\"\", end\"\n"
              "Núñez,,,,,Sevilla,,,,,\n");
}

// export --csv, then import-csv into a new file: the same records, formula-like values
// and international phone numbers included; in the file they open in a spreadsheet as
// text.
TEST_F(ImportInteropTest, TheCsvExportImportsBackExactly) {
    AddressFileFixture f;
    f.add({{"LNAME", "Müller"},
           {"FNAME", "Zoë"},
           {"PREFIX", " Dr."},
           {"ORG", "Says \"hi\", twice"},
           {"STREET", "=HYPERLINK(\"http://a\",\"b\")"},
           {"PHONE", "+44 20 7946 0958"},
           {"PHONE2", "-1"},
           {"USER1", "'=kept as typed"},
           {"DATE", "19991231"},
           {"MEMO", "line one\r\nline two, \"quoted\""}});
    f.add({{"LNAME", "Núñez"}, {"CITY", "@home"}});
    f.close();
    const std::string a = f.path().toStdString(), csv = file("out.csv"), b = file("b.DBF");
    ASSERT_EQ(quillory({"export", a, csv, "--csv", "--yes"}).exitCode, 0);
    ASSERT_EQ(quillory({"new", b}).exitCode, 0);
    QuilloryResult r = quillory({"import-csv", b, csv});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Import complete. Imported 2 records.\n");
    const std::string fields = "PREFIX,FNAME,MIDDLE,LNAME,TITLE,ORG,STREET,STREET2,CITY,STATE,ZIP,COUNTRY,"
                               "PHONE,PHONE2,EMAIL,FAX,DATE,USER1,USER2,CODES,MEMO";
    EXPECT_EQ(quillory({"dump", b, "--fields", fields}).out, quillory({"dump", a, "--fields", fields}).out);

    std::string got;
    ASSERT_TRUE(shell(kPython + " " + ownScript("csv_read.py") + " " + shellQuote(csv) + " utf-8", "", &got, dir_));
    EXPECT_NE(got.find("\t'=HYPERLINK(\"http://a\",\"b\")\t"), std::string::npos) << got;
    EXPECT_NE(got.find("\t'+44 20 7946 0958\t'-1\t"), std::string::npos) << got;
    EXPECT_NE(got.find("\t''=kept as typed\t"), std::string::npos) << got;
    EXPECT_NE(got.find("\t'@home\t"), std::string::npos) << got;

    // --raw writes them as they are.
    ASSERT_EQ(quillory({"export", a, csv, "--csv", "--raw", "--yes"}).exitCode, 0);
    ASSERT_TRUE(shell(kPython + " " + ownScript("csv_read.py") + " " + shellQuote(csv) + " utf-8", "", &got, dir_));
    EXPECT_NE(got.find("\t=HYPERLINK(\"http://a\",\"b\")\t"), std::string::npos) << got;
}

// vCards written by Python's vobject import with every name, organisation, address,
// phone, e-mail and note in place; export --vcard reads back in vobject the same.
TEST_F(ImportInteropTest, VCardsGoBothWaysWithPythonsVobject) {
    const std::string cards = file("in.vcf");
    std::string out;
    ASSERT_TRUE(shell(kPython + " -c " +
                          shellQuote("import sys, vobject\n"
                                     "out = open(sys.argv[1], 'w', newline='', encoding='utf-8')\n"
                                     "def card(family, given, additional, prefix, org, title, adrs, tels, emails, note):\n"
                                     "    c = vobject.vCard()\n"
                                     "    c.add('n').value = vobject.vcard.Name(family=family, given=given, additional=additional, prefix=prefix)\n"
                                     "    c.add('fn').value = (given + ' ' + family).strip()\n"
                                     "    if org: c.add('org').value = org\n"
                                     "    if title: c.add('title').value = title\n"
                                     "    for t, street, city, region, code, country in adrs:\n"
                                     "        a = c.add('adr'); a.type_param = t\n"
                                     "        a.value = vobject.vcard.Address(street=street, city=city, region=region, code=code, country=country)\n"
                                     "    for t, v in tels:\n"
                                     "        x = c.add('tel'); x.type_param = t; x.value = v\n"
                                     "    for v in emails:\n"
                                     "        c.add('email').value = v\n"
                                     "    if note: c.add('note').value = note\n"
                                     "    out.write(c.serialize())\n"
                                     "card('Müller', 'Zoë', 'Quincy', 'Dr.', ['Acme, Inc.', 'Sales; North'], 'Head, Sales',\n"
                                     "     [('WORK', '12 Main St\\nSuite 5', 'Köln', 'NRW', '50667', 'Deutschland')],\n"
                                     "     [('WORK', '+49 221 1'), ('CELL', '+49 170 2'), ('FAX', '+49 221 3')], ['z@x.de'],\n"
                                     "     'A note; with, marks\\nand a second line that is long enough to be folded by the writer')\n"
                                     "card('Lee', 'Ann', '', '', [], '', [('HOME', '5 Home Ln', 'Troy', 'NY', '12180', '')],\n"
                                     "     [('HOME', '555')], ['ann@example.org'], '')\n") +
                          " " + shellQuote(cards),
                      "", &out, dir_));
    const std::string a = file("a.DBF");
    ASSERT_EQ(quillory({"new", a}).exitCode, 0);
    QuilloryResult r = quillory({"import-vcard", a, cards});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Import complete. Imported 2 records.\n");
    const std::string fields = "PREFIX,FNAME,MIDDLE,LNAME,TITLE,ORG,STREET,STREET2,CITY,STATE,ZIP,COUNTRY,"
                               "PHONE,PHONE2,FAX,EMAIL,MEMO";
    r = quillory({"dump", a, "--fields", fields});
    EXPECT_EQ(r.out, fields + "\n"
                     "Dr.,Zoë,Q,Müller,\"Head, Sales\",\"Acme, Inc., Sales; North\",12 Main St,Suite 5,Köln,NRW,"
                     "50667,Deutschland,+49 221 1,+49 170 2,+49 221 3,z@x.de,\"A note; with, marks\r\n"
                     "and a second line that is long enough to be folded by the writer\"\n"
                     ",Ann,,Lee,,,5 Home Ln,,Troy,NY,12180,,555,,,ann@example.org,\n");

    const std::string vcf = file("out.vcf");
    ASSERT_EQ(quillory({"export", a, vcf, "--vcard"}).exitCode, 0);
    std::string got;
    ASSERT_TRUE(shell(kPython + " " + ownScript("vcard_read.py") + " " + shellQuote(vcf), "", &got, dir_));
    EXPECT_EQ(got,
              "Müller\tZoë\tQ\tDr.\tZoë Q Müller\tAcme, Inc., Sales; North\tHead, Sales\t"
              "12 Main St\\nSuite 5|Köln|NRW|50667|Deutschland\t+49 221 1 / +49 170 2 / +49 221 3\tz@x.de\t"
              "A note; with, marks\\nand a second line that is long enough to be folded by the writer\n"
              "Lee\tAnn\t\t\tAnn Lee\t\t\t5 Home Ln|Troy|NY|12180|\t555\tann@example.org\t\n");
}

// Each kind of export reads back in the independent readers with every value equal:
// the CSV for spreadsheets in Python's csv module, the DBF in Python's dbf package and
// Perl's XBase module (MEMO as the copy's rule makes it: a text of 12 characters gains
// a blank), and the twenty-field text, which keeps quotes as stored, in Python's csv
// module for values without quotes.
TEST_F(ImportInteropTest, EveryExportReadsBack) {
    AddressFileFixture f;
    const std::vector<Record> quoted = {
        {{"LNAME", "Müller"},
         {"FNAME", "Zoë"},
         {"ORG", "Says \"hi\", twice"},
         {"CITY", "Köln"},
         {"MEMO", "line one\r\nline two, \"quoted\""}},
        {{"LNAME", "Adams"}, {"PREFIX", " Dr."}, {"DATE", "19991231"}, {"MEMO", "twelve chars"}},
        {{"LNAME", "Núñez"}, {"STREET", "Calle 5, 2º"}, {"USER2", "€ 5"}},
    };
    const std::vector<Record> plain = {
        {{"LNAME", "Müller"}, {"FNAME", "Zoë"}, {"ORG", "Acme, Inc."}, {"CITY", "Köln"}},
        {{"LNAME", "Adams"}, {"PREFIX", " Dr."}, {"DATE", "19991231"}},
    };
    for (const bool withQuotes : {true, false}) {
        SCOPED_TRACE(withQuotes ? "with quotes" : "plain");
        const std::vector<Record>& records = withQuotes ? quoted : plain;
        const std::string table = file(withQuotes ? "quoted.DBF" : "plain.DBF");
        {
            QString message;
            ASSERT_TRUE(
                AddressFile::CreateAddressFile(QString::fromStdString(table), FieldLengths(), &message));
            std::unique_ptr<xbase::Table> t;
            ASSERT_TRUE(AddressFile::OpenTableFile(QString::fromStdString(table), &t, &message));
            for (const Record& r : records) {
                ASSERT_TRUE(t->appendBlank().ok());
                for (auto it = r.begin(); it != r.end(); ++it) {
                    ASSERT_TRUE(
                        AddressFile::setText(*t, t->fieldIndex(it.key().toStdString()), it.value()).ok());
                }
            }
            ASSERT_TRUE(t->close().ok());
        }
        std::string expectedCsv = join(kCsvFields, '\t') + "\n";
        for (const Record& r : records) expectedCsv += rowLine("", kCsvFields, r);
        std::string got;
        const std::string csv = file("out.csv");
        ASSERT_EQ(quillory({"export", table, csv, "--csv", "--yes"}).exitCode, 0);
        ASSERT_TRUE(shell(kPython + " " + ownScript("csv_read.py") + " " + shellQuote(csv) + " utf-8", "",
                          &got, dir_));
        EXPECT_EQ(got, expectedCsv);

        std::string expectedDbf = join(kAllFields, '\t') + "\n";
        for (Record r : records) {
            if (r.contains("MEMO") && r["MEMO"].size() % 4 == 0) r["MEMO"] += " ";
            expectedDbf += rowLine("-", kAllFields, r);
        }
        const std::string dbf = file("out.dbf");
        ASSERT_EQ(quillory({"export", table, dbf, "--dbf", "--yes"}).exitCode, 0);
        ASSERT_TRUE(
            shell(kPython + " " + interopScript("pydbf_read.py") + " " + shellQuote(dbf), "", &got, dir_));
        EXPECT_EQ(got, expectedDbf);
        ASSERT_TRUE(shell("perl " + interopScript("xbase_read.pl") + " " + shellQuote(dbf), "", &got, dir_));
        EXPECT_EQ(got, expectedDbf);

        if (!withQuotes) {
            std::string expectedText;
            for (const Record& r : records) {
                expectedText +=
                    rowLine("", std::vector<std::string>(kCsvFields.begin(), kCsvFields.end() - 1), r);
            }
            const std::string text = file("out.txt");
            ASSERT_EQ(quillory({"export", table, text, "--text", "--yes"}).exitCode, 0);
            ASSERT_TRUE(shell(kPython + " " + ownScript("csv_read.py") + " " + shellQuote(text) + " cp1252",
                              "", &got, dir_));
            EXPECT_EQ(got, expectedText);
        }
    }
}

}  // namespace
