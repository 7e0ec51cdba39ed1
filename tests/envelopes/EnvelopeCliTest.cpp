// The envelope commands run as a script would, on a definition made by another program:
// ENVELOPE.DBF written by Python's dbf package and a layout file whose bytes are written
// here by hand. The PDF is read back with poppler for each page's size and the address.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPointF>
#include <QRegularExpression>
#include <fstream>

#include "AddressFile.h"
#include "LabelTestSupport.h"
#include "RunQuillory.h"
#include "Table.h"
#include "TempDir.h"

namespace {

struct Word {
    QString text;
    double x, y;  // top-left, inches
};

class EnvelopeCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::unique_ptr<xbase::Table> t;
        ASSERT_TRUE(makeAddressFile(table(), {{"Smith", "62701"}, {"Jones", "10001"}, {"Brown", "60601"}}, &t));
        ASSERT_TRUE(t->close().ok());
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(home_.file("sysdata"))));
        // ENVELOPE.DBF by another program: an office envelope (#10) and one of a size
        // code that is no envelope.
        const std::string script =
            "import dbf,sys\n"
            "t = dbf.Table(sys.argv[1], 'DESCRIPT C(60); NUMBER N(5,0); BINARY C(12)', dbf_type='db3')\n"
            "t.open(mode=dbf.READ_WRITE)\n"
            "t.append(('Office', 20, 'BIN00001.E'))\n"
            "t.append(('Odd size', 1, 'BIN00001.E'))\n"
            "t.close()\n";
        int code = 0;
        const std::string out = runCommand("/usr/bin/python3 -c " + shellQuote(script) + " " +
                                               shellQuote(home_.file("sysdata/ENVELOPE.DBF")),
                                           &code);
        ASSERT_EQ(code, 0) << out;
        std::ofstream(home_.file("sysdata/BIN00001.E"), std::ios::binary)
            << handlayout::list(handlayout::fieldObject("Last Name", 0, 0)).toStdString();
    }

    std::string table() const { return home_.file("ADDR.DBF"); }
    std::string pdf() const { return home_.file("env.pdf"); }

    // The command printing `envelope` with `args` after the usual ones; its exit code,
    // with its output and messages in `output`.
    int run(const std::vector<std::string>& args, std::string* output, const std::string& envelope = "office") {
        std::vector<std::string> all{"envelopes", table(), "--envelope", envelope, "--pdf", pdf()};
        all.insert(all.end(), args.begin(), args.end());
        const QuilloryResult r = runQuillory(all, home_);
        *output = r.out + r.err;
        return r.exitCode;
    }

    // The first word of each page and the page's size, inches.
    struct Page {
        double width, height;
        Word first;
    };
    std::vector<Page> pages() {
        const QString html =
            QString::fromStdString(runCommand("pdftotext -raw -bbox " + shellQuote(pdf()) + " -"));
        static const QRegularExpression page("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">\\s*<word xMin=\"(-?[\\d.]+)\" "
                                             "yMin=\"(-?[\\d.]+)\" xMax=\"-?[\\d.]+\" yMax=\"-?[\\d.]+\">([^<]*)</word>");
        std::vector<Page> list;
        for (auto it = page.globalMatch(html); it.hasNext();) {
            const auto m = it.next();
            list.push_back({m.captured(1).toDouble() / 72, m.captured(2).toDouble() / 72,
                            {m.captured(5), m.captured(3).toDouble() / 72, m.captured(4).toDouble() / 72}});
        }
        return list;
    }

    TempDir home_;
};

}  // namespace

TEST_F(EnvelopeCliTest, DefinitionFromAnotherProgramPrintsWhereTheFeedPutsIt) {
    std::string output;
    // On its own paper the page is the envelope and the design sits at its corner.
    ASSERT_EQ(run({}, &output), 0) << output;
    EXPECT_NE(output.find("Envelope Print Completed! 3 envelopes"), std::string::npos) << output;
    std::vector<Page> own = pages();
    ASSERT_EQ(own.size(), 3u);
    EXPECT_NEAR(own[0].width, 9.5, 0.01);
    EXPECT_NEAR(own[0].height, 4.125, 0.01);
    EXPECT_EQ(own[0].first.text, "Smith");
    EXPECT_EQ(own[2].first.text, "Brown");
    const QPointF inset(own[0].first.x, own[0].first.y);  // where the field's text starts in the design

    struct Case {
        const char* feed;
        double pageWidth, pageHeight;  // Letter as the feed turns it
        double x, y;                   // the envelope's corner
    };
    const Case cases[] = {
        {"center,landscape,up", 11, 8.5, 1.5, 2.1875},
        {"left,landscape,up", 11, 8.5, 1.5, 0},
        {"left,landscape,down", 11, 8.5, 1.5, 4.375},
        {"right,landscape,up,cw", 11, 8.5, 0, 4.375},
        {"center,portrait,up", 8.5, 11, 0, 0},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(run({"--paper", "Letter", "--feed", c.feed, "--recno", "2"}, &output), 0) << output;
        const std::vector<Page> got = pages();
        ASSERT_EQ(got.size(), 1u) << c.feed;
        EXPECT_NEAR(got[0].width, c.pageWidth, 0.01) << c.feed;
        EXPECT_NEAR(got[0].height, c.pageHeight, 0.01) << c.feed;
        EXPECT_EQ(got[0].first.text, "Jones") << c.feed;
        EXPECT_NEAR(got[0].first.x - inset.x(), c.x, 0.01) << c.feed;
        EXPECT_NEAR(got[0].first.y - inset.y(), c.y, 0.01) << c.feed;
    }
    // A printer's own correction moves everything by it.
    ASSERT_EQ(run({"--paper", "Letter", "--feed", "center,landscape,up", "--recno", "2", "--offset", "0.1,-0.05"},
                  &output),
              0)
        << output;
    const std::vector<Page> moved = pages();
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_NEAR(moved[0].first.x - inset.x(), 1.6, 0.01);
    EXPECT_NEAR(moved[0].first.y - inset.y(), 2.1375, 0.01);

    // envelope-defs lists both definitions.
    const QuilloryResult defs = runQuillory({"envelope-defs"}, home_);
    ASSERT_EQ(defs.exitCode, 0) << defs.err;
    output = defs.out;
    EXPECT_NE(output.find("Office\t20\tEnvelope #10 4 1/8 x 9 1/2 inches\tBIN00001.E"), std::string::npos) << output;
    EXPECT_NE(output.find("Odd size\t1\t(unknown size)"), std::string::npos) << output;
}

TEST_F(EnvelopeCliTest, AnAddressThatDoesNotFitItsBlockIsToldAndTheJobStillSucceeds) {
    // Jones gets a six-line address; the others have two lines (name, ZIP).
    {
        std::unique_ptr<xbase::Table> t;
        QString message;
        ASSERT_TRUE(AddressFile::OpenTableFile(QString::fromStdString(table()), &t, &message));
        ASSERT_TRUE(t->go(2).ok());
        for (const auto& [field, value] : std::vector<std::pair<const char*, std::string>>{
                 {"FNAME", "Ann"}, {"TITLE", "Director"}, {"ORG", "Acme Ltd"}, {"STREET", "12 Elm St"},
                 {"STREET2", "Suite 400"}, {"CITY", "Dover"}, {"STATE", "DE"}})
            ASSERT_TRUE(t->replace(t->fieldIndex(field), value).ok());
        ASSERT_TRUE(t->commit().ok());
        ASSERT_TRUE(t->close().ok());
    }
    struct Case {
        int height;  // of the block, pixels
        const char* told;
    };
    const Case cases[] = {
        // Four lines of Arial 10, as a block fitted to a four-line record was.
        {60, "quillory: 1 address did not fit its address block and was cut (record 2)"},
        // Seven lines: as a block is dropped now.
        {105, nullptr},
    };
    for (const Case& c : cases) {
        std::ofstream(home_.file("sysdata/BIN00001.E"), std::ios::binary)
            << handlayout::list(handlayout::addressObject(20, 20, 300, c.height)).toStdString();
        const QuilloryResult r =
            runQuillory({"envelopes", table(), "--envelope", "office", "--pdf", pdf(), "--all"}, home_);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_NE(r.out.find("Envelope Print Completed! 3 envelopes"), std::string::npos) << r.out;
        if (c.told) {
            EXPECT_NE(r.err.find(c.told), std::string::npos) << r.err;
        } else {
            EXPECT_EQ(r.err.find("did not fit"), std::string::npos) << r.err;
        }
        // The PDF holds the whole city line whenever nothing was told.
        const std::string text = runCommand("pdftotext " + shellQuote(pdf()) + " -");
        EXPECT_EQ(text.find("Dover") != std::string::npos, c.told == nullptr) << text;
    }
}

TEST_F(EnvelopeCliTest, BadInputIsRefusedAndNothingIsWritten) {
    struct Case {
        const char* envelope;
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {"Nope", {}, "There is no envelope definition \"Nope\""},
        {"Odd size", {}, "not an envelope size"},
        {"office", {"--paper", "Quarto-ish"}, "Unknown paper \"Quarto-ish\""},
        {"office", {"--feed", "middle,landscape,up"}, "--feed takes"},
        {"office", {"--offset", "3,0"}, "--offset takes"},
    };
    for (const Case& c : cases) {
        std::string output;
        EXPECT_EQ(run(c.args, &output, c.envelope), 1) << output;
        EXPECT_NE(output.find(c.message), std::string::npos) << output;
        EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf())));
    }
    // The layout file gone.
    QFile::remove(QString::fromStdString(home_.file("sysdata/BIN00001.E")));
    std::string output;
    EXPECT_EQ(run({}, &output), 1);
    EXPECT_NE(output.find("Envelope definition file has been removed from the sysdata directory"), std::string::npos)
        << output;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf())));
}
