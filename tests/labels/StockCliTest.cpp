// `quillory stock` as a script runs it, on a fixture catalogue and on the desktop's own
// catalogue when it is installed; and catalogue stock printed with `labels`, every
// label's text read back from the PDF where the template file's geometry puts it.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <random>

#include "AppHome.h"
#include "LabelDefinition.h"
#include "LabelTestSupport.h"
#include "RunQuillory.h"
#include "SystemTables.h"
#include "Table.h"

namespace {

const char* const kHeader = "maker,product,description,paper,width,height,across,down,left,top,hpitch,vpitch,source\n";
const QString kInstalled = QStringLiteral("/usr/share/libglabels-3.0/templates");

// The template files read here on their own, with regular expressions, so that the
// program's reader is checked against the files and not against itself.
struct FileTemplate {
    QString brand, part, size, equiv, body;
};

double inches(const QString& length) {
    static const QRegularExpression re(R"(^([-+0-9.eE]+)(pt|in|mm|cm)?$)");
    const auto m = re.match(length.trimmed());
    const double v = m.captured(1).toDouble();
    return m.captured(2) == "in" ? v : m.captured(2) == "mm" ? v / 25.4 : m.captured(2) == "cm" ? v / 2.54 : v / 72;
}

QString attribute(const QString& element, const char* name) {
    const QRegularExpression re(QString(R"re((?:^|\s)%1="([^"]*)")re").arg(name));
    return re.match(element).captured(1);
}

std::vector<FileTemplate> fileTemplates(const QString& folder) {
    std::vector<FileTemplate> list;
    static const QRegularExpression element(R"(<Template\b([^>]*?)(/>|>(.*?)</Template>))",
                                            QRegularExpression::DotMatchesEverythingOption);
    for (const QString& name : QDir(folder).entryList({"*-templates.xml"}, QDir::Files, QDir::Name)) {
        QFile f(folder + "/" + name);
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QString text = QString::fromUtf8(f.readAll());
        for (auto it = element.globalMatch(text); it.hasNext();) {
            const auto m = it.next();
            const QString head = m.captured(1);
            list.push_back({attribute(head, "brand"), attribute(head, "part"), attribute(head, "size"),
                            attribute(head, "equiv"), m.captured(3)});
        }
    }
    return list;
}

// The label and layout of a template with one of each.
struct FileGeometry {
    double width, height, x0, y0, dx, dy;
    int nx, ny;
};

bool geometryOf(const FileTemplate& t, FileGeometry* g) {
    static const QRegularExpression label(R"(<Label-(rectangle|round|ellipse)\b([^>]*)>)");
    static const QRegularExpression layout(R"(<Layout\b([^>]*)/>)");
    if (t.body.count("<Label-") != 1 || t.body.count("<Layout") != 1) return false;
    const auto l = label.match(t.body);
    const auto y = layout.match(t.body);
    if (!l.hasMatch() || !y.hasMatch()) return false;
    if (l.captured(1) == "round") {
        g->width = g->height = 2 * inches(attribute(l.captured(2), "radius"));
    } else {
        g->width = inches(attribute(l.captured(2), "width"));
        g->height = inches(attribute(l.captured(2), "height"));
    }
    const QString a = y.captured(1);
    g->nx = attribute(a, "nx").toInt();
    g->ny = attribute(a, "ny").toInt();
    g->x0 = inches(attribute(a, "x0"));
    g->y0 = inches(attribute(a, "y0"));
    g->dx = g->nx > 1 ? inches(attribute(a, "dx")) : g->width;
    g->dy = g->ny > 1 ? inches(attribute(a, "dy")) : g->height;
    return true;
}

// One CSV line into its values (quoted values may hold commas and doubled quotes).
QStringList csvValues(const QString& line) {
    QStringList values;
    QString value;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            value += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            values << value;
            value.clear();
        } else {
            value += c;
        }
    }
    return values << value;
}

std::vector<QStringList> csvRows(const std::string& out) {
    std::vector<QStringList> rows;
    const QStringList lines = QString::fromStdString(out).split('\n', Qt::SkipEmptyParts);
    for (int i = 1; i < lines.size(); ++i) rows.push_back(csvValues(lines[i]));
    return rows;
}

class StockCliTest : public ::testing::Test {
  protected:
    void TearDown() override { qunsetenv("QUILLORY_LABEL_TEMPLATES"); }
    TempDir home_;
};

}  // namespace

TEST_F(StockCliTest, ListsShippedAndCatalogueStockByMakerWordsAndSize) {
    qputenv("QUILLORY_LABEL_TEMPLATES", QUILLORY_TEST_DIR "/templates/user:" QUILLORY_TEST_DIR "/templates/system");
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const Case cases[] = {
        {{"--maker", "ALPHA"},
         std::string(kHeader) +
             "Alpha,A100B,Address Labels,LTR,2.625,1.000,3,10,0.156,0.500,2.781,1.000,catalogue\n"
             "Alpha,A100,Address Labels,LTR,2.625,1.000,3,10,0.156,0.500,2.781,1.000,catalogue\n"
             "Alpha,A100C,Address Labels,LTR,2.625,1.000,3,10,0.156,0.500,2.781,1.000,catalogue\n"
             "Alpha,R150,Round Labels,LTR,1.500,1.500,4,5,0.500,0.750,2.000,2.000,catalogue\n"},
        // The equivalents are found by the product they equal.
        {{"--search", "a100 address"},
         std::string(kHeader) +
             "Alpha,A100B,Address Labels,LTR,2.625,1.000,3,10,0.156,0.500,2.781,1.000,catalogue\n"
             "Alpha,A100,Address Labels,LTR,2.625,1.000,3,10,0.156,0.500,2.781,1.000,catalogue\n"
             "Alpha,A100C,Address Labels,LTR,2.625,1.000,3,10,0.156,0.500,2.781,1.000,catalogue\n"},
        {{"--search", "5160"},
         std::string(kHeader) + "Avery,5160,Address,LTR,2.625,1.000,3,10,0.188,0.500,2.750,1.000,shipped\n"},
        {{"--search", "40 x 25 mm"},
         std::string(kHeader) + "Beta,E40,Oval labels,USERP,1.575,0.984,2,4,0.394,0.472,1.772,1.181,catalogue\n"},
        {{"--search", "Shipping 4x2", "--maker", "delta"},
         std::string(kHeader) +
             "Delta,D1,Shipping labels 4 x 2,LTR,4.000,2.000,2,5,0.190,0.500,4.125,2.000,catalogue\n"},
        {{"--maker", "Nobody"}, kHeader},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"stock"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto r = runQuillory(args, home_);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, c.out) << c.args[1];
    }
    // The size search over both sources: shipped 2 x 4 stock and the catalogue's.
    const auto sized = runQuillory({"stock", "--search", "2x4"}, home_);
    EXPECT_NE(sized.out.find("\nAvery,5163,Shipping,LTR,4.000,2.000,2,5,"), std::string::npos) << sized.out;
    EXPECT_NE(sized.out.find("\nDelta,D1,"), std::string::npos) << sized.out;
    EXPECT_EQ(sized.out.find("Alpha"), std::string::npos) << sized.out;

    EXPECT_EQ(runQuillory({"stock", "extra"}, home_).exitCode, 2);
}

TEST_F(StockCliTest, InstalledCatalogueLists5160AndItsEquivalentsWithTheFilesGeometry) {
    if (!QFileInfo(kInstalled).isDir()) GTEST_SKIP() << "the label catalogue is not installed";
    const std::vector<FileTemplate> files = fileTemplates(kInstalled);
    QSet<QString> family{"5160"};
    FileGeometry g{};
    for (const FileTemplate& t : files) {
        if (t.brand != "Avery") continue;
        if (t.equiv == "5160") family << t.part;
        if (t.part == "5160") {
            ASSERT_TRUE(geometryOf(t, &g));
        }
    }
    ASSERT_GT(family.size(), 1);

    const auto r = runQuillory({"stock", "--search", "5160"}, home_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(r.out.rfind(kHeader, 0), 0u) << r.out;
    bool shipped = false;
    QSet<QString> listed;
    for (const QStringList& row : csvRows(r.out)) {
        ASSERT_EQ(row.size(), 13) << row.join(',').toStdString();
        if (row[12] == "shipped") {
            shipped = shipped || row.mid(0, 2) == QStringList({"Avery", "5160"});
            continue;
        }
        EXPECT_EQ(row[0], "Avery");
        listed << row[1];
        const double values[] = {g.width, g.height, double(g.nx), double(g.ny), g.x0, g.y0, g.dx, g.dy};
        for (int i = 0; i < 8; ++i) EXPECT_NEAR(row[4 + i].toDouble(), values[i], 0.0005) << row[1].toStdString() << i;
        EXPECT_EQ(row[3], "LTR");
    }
    EXPECT_TRUE(shipped) << r.out;
    EXPECT_EQ(listed, family);
}

TEST_F(StockCliTest, CatalogueStockPrintsEveryLabelWhereItsTemplateFileSays) {
    if (!QFileInfo(kInstalled).isDir()) GTEST_SKIP() << "the label catalogue is not installed";
    // Candidates: sheets of letter or A4 paper with one label shape and one layout that
    // the stock editor would accept, in file order.
    std::vector<std::pair<FileTemplate, FileGeometry>> candidates;
    for (const FileTemplate& t : fileTemplates(kInstalled)) {
        FileGeometry g{};
        if (!t.equiv.isEmpty() || (t.size != "US-Letter" && t.size != "A4") || !geometryOf(t, &g)) continue;
        if (g.nx < 1 || g.nx > 10 || g.ny < 1 || g.ny > 30 || g.width < 0.5 || g.height < 0.3) continue;
        if ((g.nx > 1 && g.dx < g.width) || (g.ny > 1 && g.dy < g.height)) continue;
        candidates.emplace_back(t, g);
    }
    ASSERT_GT(candidates.size(), 100u);
    std::mt19937 pick(34);
    const AppHome home(QString::fromStdString(home_.path()));
    QString error;
    ASSERT_TRUE(home.ensureExists(&error)) << error.toStdString();
    for (int round = 0; round < 5; ++round) {
        const auto& [t, g] = candidates[pick() % candidates.size()];
        const std::string name = (t.brand + " " + t.part).toStdString();
        SCOPED_TRACE(name);

        // The program's row for it, as `stock` lists it.
        const auto listed = runQuillory(
            {"stock", "--maker", t.brand.toStdString(), "--search", t.part.toStdString()}, home_);
        ASSERT_EQ(listed.exitCode, 0) << listed.err;
        QStringList row;
        for (const QStringList& r : csvRows(listed.out)) {
            if (r.size() == 13 && r[1] == t.part && r[12] == "catalogue") row = r;
        }
        ASSERT_FALSE(row.isEmpty()) << listed.out;

        // A definition of that stock, and a layout of one field at the label's corner.
        LabelDefinition def;
        def.description = QString("Catalogue %1").arg(round);
        def.binary = QString("BIN%1.L").arg(round + 1, 5, 10, QChar('0'));
        LabelStock& s = def.stock;
        s.paperSize = row[3];
        s.sheetWidth = row[3] == "A4" ? 8.27 : 8.5;
        s.sheetDepth = row[3] == "A4" ? 11.69 : 11.0;
        s.width = row[4].toDouble();
        s.height = row[5].toDouble();
        s.across = row[6].toInt();
        s.down = row[7].toInt();
        s.leftMargin = row[8].toDouble();
        s.topMargin = row[9].toDouble();
        s.horizPitch = row[10].toDouble();
        s.vertPitch = row[11].toDouble();
        {
            std::unique_ptr<xbase::Table> labels;
            ASSERT_TRUE(SystemTables::OpenLabelTable(home, &labels, &error)) << error.toStdString();
            ASSERT_TRUE(labels->appendBlank().ok());
            ASSERT_TRUE(LabelDefs::WriteDefinition(*labels, def, &error)) << error.toStdString();
            ASSERT_TRUE(labels->close().ok());
        }
        QFile layout(home.sysDataDir() + "/" + def.binary);
        ASSERT_TRUE(layout.open(QIODevice::WriteOnly));
        layout.write(handlayout::list(handlayout::fieldObject("Last Name", 0, 0)));
        layout.close();

        // A full sheet of records, R001, R002, ...
        const int count = g.nx * g.ny;
        std::vector<Person> people;
        for (int i = 1; i <= count; ++i) people.push_back({QString("R%1").arg(i, 3, 10, QChar('0')).toStdString(), "1"});
        const std::string table = home_.file("ADDR" + std::to_string(round) + ".DBF");
        {
            std::unique_ptr<xbase::Table> addresses;
            ASSERT_TRUE(makeAddressFile(table, people, &addresses));
            ASSERT_TRUE(addresses->close().ok());
        }
        const std::string pdf = home_.file("catalogue.pdf");
        const auto printed =
            runQuillory({"labels", table, "--label", def.description.toStdString(), "--pdf", pdf}, home_);
        ASSERT_EQ(printed.exitCode, 0) << printed.err;

        const QString html = QString::fromStdString(runCommand("pdftotext -raw -bbox " + shellQuote(pdf) + " -"));
        static const QRegularExpression word(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>(R\d+)</word>)re");
        int seen = 0;
        for (auto it = word.globalMatch(html); it.hasNext(); ++seen) {
            const auto m = it.next();
            const int i = m.captured(3).mid(1).toInt() - 1;
            const int b = i % g.nx, c = i / g.nx;
            EXPECT_NEAR(m.captured(1).toDouble() / 72, g.x0 + b * g.dx, 0.01) << m.captured(3).toStdString();
            EXPECT_NEAR(m.captured(2).toDouble() / 72, g.y0 + c * g.dy, 0.01) << m.captured(3).toStdString();
        }
        EXPECT_EQ(seen, count);
    }
}
