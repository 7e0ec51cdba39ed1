#include "LabelPrint.h"

#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

#include "LayoutFile.h"
#include "Messages.h"
#include "Presort.h"
#include "SavedCursor.h"
#include "TBaseReport.h"
#include "Table.h"
#include "TableText.h"

namespace LabelPrint {

namespace {

// PRESORT.PSL as its lines (bytes in the address file's code page), without line ends.
bool readPresortList(const QString& path, std::vector<std::string>* lines, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = "Unable to open " + path;
        return false;
    }
    const QByteArray data = file.readAll();
    for (QByteArray line : data.split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        if (!line.isEmpty()) lines->push_back(line.toStdString());
    }
    return true;
}

// The presort walk: which group the loop prints, and the header label due next.
class PresortWalk {
  public:
    PresortWalk(xbase::Table& table, const std::vector<std::string>& list)
        : table_(table), list_(list), zip_(table.fieldIndex("ZIP")) {}

    bool ended() const { return ended_; }
    bool headerDue() const { return headerDue_; }
    const std::string& header() const { return header_; }
    void headerPrinted() { headerDue_ = false; }

    // Takes the next line of the list: a header goes back to the first record (so that
    // the loop goes on) and is printed next; a key moves to its first record in ZIP
    // order, or is skipped when no record has it any more. No line left ends the walk.
    void takeEntry() {
        while (next_ < list_.size()) {
            const std::string& line = list_[next_++];
            if (line.find("**") != std::string::npos) {
                (void)table_.goTop();
                header_ = line;
                headerDue_ = true;
                return;
            }
            (void)table_.seek(line);
            if (!table_.eof() && zip5() == line) {
                key_ = line;
                return;
            }
        }
        ended_ = true;
    }
    // After a record label: the next record, and the next entry when the group is done.
    void recordPrinted() {
        (void)table_.skip(1);
        if (table_.eof() || zip5() != key_) takeEntry();
    }

  private:
    std::string zip5() const { return zip_ < 0 ? std::string() : table_.getString(zip_).substr(0, 5); }

    xbase::Table& table_;
    const std::vector<std::string>& list_;
    int zip_;
    size_t next_ = 0;
    std::string key_;
    std::string header_;
    bool headerDue_ = false;
    bool ended_ = false;
};

}  // namespace

bool PositionSelection::any(int count) const {
    for (int i = 0; i < std::min(count, kMaxPositions); ++i)
        if (flags_[size_t(i)]) return true;
    return false;
}

bool PositionSelection::parse(const QString& list, int count) {
    std::vector<bool> flags(kMaxPositions, false);
    static const QRegularExpression item(QStringLiteral("^\\s*(\\d+)\\s*(?:-\\s*(\\d+)\\s*)?$"));
    for (const QString& part : list.split(',')) {
        const QRegularExpressionMatch m = item.match(part);
        if (!m.hasMatch()) return false;
        const int first = m.captured(1).toInt();
        const int last = m.captured(2).isEmpty() ? first : m.captured(2).toInt();
        if (first < 1 || last < first || last > count || last > kMaxPositions) return false;
        for (int p = first; p <= last; ++p) flags[size_t(p - 1)] = true;
    }
    flags_ = flags;
    return true;
}

Geometry Geometry::Of(const LabelStock& s) {
    Geometry g;
    g.height = s.height;
    g.width = s.width;
    g.across = s.across;
    g.down = s.down;
    g.topMargin = s.topMargin;
    g.leftMargin = s.leftMargin;
    g.horizPitch = s.horizPitch;
    g.vertPitch = s.vertPitch;
    g.midExtraX = s.midExtraX;
    g.midExtraY = s.midExtraY;
    return g;
}

QPointF Geometry::position(int b, int c) const {
    double x = leftMargin + b * horizPitch;
    double y = topMargin + c * vertPitch;
    if (b >= across / 2 && midExtraX > 0) x += midExtraX;
    if (c >= down / 2 && midExtraY > 0) y += midExtraY;
    return QPointF(x, y);
}

void PrintLoop(TBaseReport& report, xbase::Table& table, layout::LayoutFile& layout, const Geometry& g,
               const Choice& choice, const std::vector<std::string>* presortList, Counts* counts) {
    Counts n;
    const int across = g.across, down = g.down;
    // A sheet without a selected position would never take a label.
    if (across < 1 || down < 1 || !choice.positions.any(across * down)) {
        if (counts) *counts = n;
        return;
    }
    std::unique_ptr<PresortWalk> walk;
    if (presortList) {
        walk = std::make_unique<PresortWalk>(table, *presortList);
        walk->takeEntry();
    }
    const int copies = walk ? 1 : std::clamp(choice.copies, 1, 99);
    layout.SetPrintArea(g.width, g.height);
    int b = -1, c = 0;  // before the first position of the first sheet
    int copy = 0;
    while (!table.eof() && !(walk && walk->ended()) && !report.cancelled()) {
        if (++b >= across) {
            b = 0;
            if (++c >= down) {
                report.newPage();
                c = 0;
            }
        }
        if (!choice.positions.selected(b + c * across)) continue;
        const QPointF at = g.position(b, c);
        if (walk && walk->headerDue()) {
            report.setFont(kHeaderFont, kHeaderPoints);
            const ReportRect clip =
                report.makeRect(at.x(), at.y(), at.x() + g.horizPitch, at.y() + g.vertPitch);
            report.textRect(clip, at.x() + 0.15, at.y() + g.vertPitch / 3,
                            TableText::decode(table.codePage(), walk->header()));
            walk->headerPrinted();
            ++n.headers;
            walk->takeEntry();
        } else {
            if (!layout.PrintRecord(report, at.x(), at.y()) &&
                (n.cutAddresses.empty() || n.cutAddresses.back() != table.recNo()))
                n.cutAddresses.push_back(table.recNo());
            ++n.labels;
            if (++copy >= copies) {
                copy = 0;
                if (walk) {
                    walk->recordPrinted();
                } else {
                    (void)table.skip(1);
                }
            }
        }
        report.updateStatus();
    }
    if (counts) *counts = n;
}

JobResult PrepareJob(xbase::Table& table, Choice& choice, const QString& presortPath, JobProgress& progress,
                     Messages& messages, std::vector<std::string>* list, QString* error) {
    if (!SelectRecords(table, choice, kDeleted, messages)) {
        *error = "Unable to select the records";
        return JobResult::Failed;
    }
    if (!choice.presort) return JobResult::Done;
    if (!choice.presortDone) {
        const JobResult sorted = Presort::RunPresort(table, presortPath, progress, error);
        if (sorted != JobResult::Done) return sorted;
        choice.presortDone = true;
    }
    table.setExact(false);
    const int zipOrder = table.tagArea("ZIP");
    if (zipOrder == 0 || !table.setOrder(zipOrder).ok()) {
        *error = "The address file has no ZIP tag";
        return JobResult::Failed;
    }
    messages.inform(kPresortOrder);
    return readPresortList(presortPath, list, error) ? JobResult::Done : JobResult::Failed;
}

LabelJob::LabelJob(xbase::Table& table, layout::LayoutFile& layout, const Geometry& geometry, const Paper& paper,
                   const Choice& choice, const QString& presortPath)
    : table_(table),
      layout_(layout),
      geometry_(geometry),
      paper_(paper),
      choice_(choice),
      presortPath_(presortPath) {}

JobResult LabelJob::select(JobProgress& progress, Messages& messages, QString* error) {
    saveCursor(table_);
    presortList_.clear();
    return PrepareJob(table_, choice_, presortPath_, progress, messages, &presortList_, error);
}

void LabelJob::printPages(TBaseReport& report) {
    PrintLoop(report, table_, layout_, geometry_, choice_, choice_.presort ? &presortList_ : nullptr, &counts_);
}

QString LabelJob::counts() const {
    QString text = Counted(counts_.labels, "label", "labels");
    if (choice_.presort) text += " and " + Counted(counts_.headers, "header", "headers");
    return text;
}

QString LabelJob::notice() const { return layout::CutAddressNotice(counts_.cutAddresses); }

JobResult PrintLabels(xbase::Table& table, layout::LayoutFile& layout, const Geometry& geometry, Choice& choice,
                      const QString& presortPath, TBaseReport& report, JobProgress& progress,
                      Messages& messages, QString* error, Counts* counts) {
    LabelJob job(table, layout, geometry, Paper(), choice, presortPath);
    const JobResult result = RunPrintJob(job, report, progress, messages, error);
    choice.presortDone = job.choice().presortDone;
    if (counts) *counts = job.printed();
    return result;
}

Paper Paper::Of(const LabelStock& stock) {
    Paper p;
    p.landscape = stock.landscape();
    p.width = p.landscape ? stock.sheetDepth : stock.sheetWidth;
    p.height = p.landscape ? stock.sheetWidth : stock.sheetDepth;
    const QString code = stock.paperSize.trimmed().toUpper();
    if (code == "LTR" || code == "LTRL") {
        p.code = 1;
    } else if (code == "A4" || code == "A4L") {
        p.code = 9;
    } else if (code == "A5") {
        p.code = 11;
    } else {
        p.code = 0;
    }
    return p;
}

PageRequest Paper::request() const {
    PageRequest r;
    r.paper = true;
    r.code = code;
    r.width = width;
    r.height = height;
    r.orient = true;
    r.landscape = landscape;
    r.confirm = true;
    return r;
}

bool PaperMatches(const Paper& paper, double pageWidth, double pageHeight) {
    return paper.request().matches(pageWidth, pageHeight);
}

QString PaperQuestion(const Paper& paper) {
    return "Unable to confirm that the paper size was set to\r\n\r\n" + QString::number(paper.width, 'f', 2) +
           "\" by " + QString::number(paper.height, 'f', 2) +
           "\"\r\n\r\n(you may have the wrong printer selected)\r\n\r\nWould you like to try printing anyways?";
}

}  // namespace LabelPrint
