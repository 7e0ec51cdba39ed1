#include "BuiltInReports.h"

#include <QDate>
#include <QLocale>
#include <QStringList>
#include <cmath>
#include <vector>

#include "AddressFile.h"
#include "LayoutMetrics.h"
#include "Messages.h"
#include "SavedCursor.h"
#include "TBaseReport.h"
#include "Table.h"
#include "TextWrap.h"

namespace BuiltInReports {

namespace {

QString leftTrimmed(const QString& s) {
    int i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    return s.mid(i);
}

QString middleWithDot(const QString& middle) {
    const QString m = leftTrimmed(middle);
    return m.isEmpty() ? m : m + ".";
}

struct Column {
    double width;
    const char* caption;
};

// The columns of each report; report 4's captions stand on three lines.
const std::vector<Column>& columnsOf(int report) {
    static const std::vector<Column> one{
        {1.75, "Name"}, {2.15, "Address"}, {2.0, "City/St/Zip"}, {1.5, "Phone"}};
    static const std::vector<Column> two{{2.0, "Name"}, {2.5, "Organization"}, {1.5, "Phone"}, {1.35, "Fax"}};
    static const std::vector<Column> three{
        {2.5, "Organization"}, {2.0, "Name"}, {1.5, "Phone"}, {1.35, "Fax"}};
    static const std::vector<Column> four{{0.5, ""}, {2.25, ""}, {3.0, ""}, {1.5, ""}};
    return report == 1 ? one : report == 2 ? two : report == 3 ? three : four;
}

const char* orderOf(int report) { return report == 3 ? "ORG" : "LNAME"; }

constexpr double kLeft = 1.0, kRightMargin = 0.5, kBottomMargin = 0.5, kTop = 0.5;
constexpr double kCellMargin = 0.02, kClipShort = 0.2;

Record readRecord(const xbase::Table& t) {
    auto f = [&t](const char* name) {
        const int i = t.fieldIndex(name);
        return i < 0 ? QString() : AddressFile::text(t, i);
    };
    Record r;
    r.lname = f("LNAME");
    r.fname = f("FNAME");
    r.middle = f("MIDDLE");
    r.prefix = f("PREFIX");
    r.title = f("TITLE");
    r.org = f("ORG");
    r.street = f("STREET");
    r.city = f("CITY");
    r.state = f("STATE");
    r.zip = f("ZIP");
    r.country = f("COUNTRY");
    r.phone = f("PHONE");
    r.fax = f("FAX");
    r.email = f("EMAIL");
    const QString date = f("DATE");  // YYYYMMDD as stored
    const QDate d = QDate::fromString(date, "yyyyMMdd");
    r.date = d.isValid() ? QLocale::system().toString(d, QLocale::ShortFormat) : QString();
    return r;
}

// The page as the listing draws it: header, captions, detail area, rows.
class Listing {
  public:
    Listing(TBaseReport& r, const Choice& choice)
        : r_(r), choice_(choice), columns_(columnsOf(choice.report)) {}

    double right() const { return r_.pageWidth() - kRightMargin; }
    double bottom() const { return r_.pageHeight() - kBottomMargin - 0.5; }
    double lineHeight() {
        r_.setFont("Arial", choice_.report == 4 ? 8 : 9);
        return r_.fontLineHeight();
    }
    bool linesLeft(int lines) { return y_ + lines * lineHeight() <= bottom() + 1e-9; }

    void header() {
        r_.setFont("Times New Roman", 14);
        r_.setBold(true);
        const double line = r_.fontLineHeight();
        r_.printXY(kLeft, kTop + r_.fontAscent(), choice_.title);
        const QString page = QString("Page %1").arg(r_.currentPage());
        r_.printXY(right() - r_.textWidth(page), kTop + r_.fontAscent(), page);
        const QString today = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
        r_.printXY(right() - r_.textWidth(today), kTop + line + r_.fontAscent(), today);
        r_.setFont("Arial", 9);
        r_.setBold(true);
        double y = kTop + (choice_.report == 4 ? 0.5 : 0.8);
        if (choice_.report == 4) {
            const char* lines[3][4] = {{"Name", "", "Title and Organization", ""},
                                       {"", "Street", "City/State/Zip", "Country"},
                                       {"", "Phone,Fax", "Email", "Date"}};
            for (const auto& captions : lines) {
                double x = kLeft;
                for (size_t c = 0; c < 4; ++c) {
                    r_.printXY(x + kCellMargin, y + r_.fontAscent(), captions[c]);
                    x += columns_[c].width;
                }
                y += r_.fontLineHeight();
            }
        } else {
            double x = kLeft;
            for (const Column& c : columns_) {
                r_.printXY(x + kCellMargin, y + r_.fontAscent(), c.caption);
                x += c.width;
            }
        }
        r_.setBold(false);
        r_.setItalic(false);
        const double top = kTop + 1.0;
        r_.setPen(Qt::black, Qt::SolidLine, 1);
        r_.line(kLeft, top, right(), top);
        r_.line(kLeft, bottom(), right(), bottom());
        y_ = top;
    }

    // A cell: text at the column's start, clipped 0.2 in before the end of `clip`.
    void cell(int column, const QString& text, double clip) {
        if (text.isEmpty()) return;
        double x = kLeft;
        for (int c = 0; c < column; ++c) x += columns_[size_t(c)].width;
        const ReportRect rect =
            r_.makeRect(x, y_, x + std::max(0.0, clip - kClipShort), y_ + r_.fontLineHeight());
        r_.textRect(rect, x + kCellMargin, y_, text);
    }

    void row(const Record& rec) {
        lineHeight();  // the rows' font
        switch (choice_.report) {
            case 1:
                cell(0, NameCell(rec), 1.75);
                cell(1, rec.street, 2.15);
                cell(2, CityStZipCell(rec), 2.0);
                cell(3, rec.phone, 1.5);
                break;
            case 2:
                cell(0, NameCell(rec), 2.0);
                cell(1, rec.org, 2.5);
                cell(2, rec.phone, 1.5);
                cell(3, rec.fax, 1.35);
                break;
            case 3:
                cell(0, rec.org, 2.5);
                cell(1, NameCell(rec), 2.0);
                cell(2, rec.phone, 1.5);
                cell(3, rec.fax, 1.35);
                break;
            default:
                if (!rec.lname.trimmed().isEmpty()) cell(0, LongName(rec), 2.75);
                cell(2, TitleAndOrg(rec), 4.5);
                y_ += r_.fontLineHeight();
                cell(1, rec.street, 2.25);
                cell(2, CityLine(rec), 3.0);
                cell(3, rec.country, 1.5);
                y_ += r_.fontLineHeight();
                cell(1, PhoneAndFax(rec), 2.25);
                cell(2, rec.email, 3.0);
                cell(3, rec.date, 1.5);
                break;
        }
        y_ += r_.fontLineHeight();
    }

    // A shaded line across the detail area (codes 5 %, memo 10 %), a new page first when full.
    void shadedLine(const QString& text, int percent) {
        if (!linesLeft(1)) {
            r_.newPage();
            header();
        }
        const double h = lineHeight();
        const int grey = 255 - 255 * percent / 100;
        r_.setPen(Qt::white, Qt::NoPen, 1);
        r_.setBrush(QColor(grey, grey, grey), Qt::SolidPattern);
        r_.rectangle(kLeft, y_, right(), y_ + h);
        r_.setBrush(Qt::white, Qt::NoBrush);
        r_.setPen(Qt::black, Qt::SolidLine, 1);
        const ReportRect rect = r_.makeRect(kLeft, y_, right(), y_ + h);
        r_.textRect(rect, kLeft + kCellMargin, y_, text);
        y_ += h;
    }

    // The memo broken into lines as wide as the detail area less a quarter inch, measured
    // in layout pixels as the designer's memo view wraps.
    QStringList memoLines(const QString& memo) {
        lineHeight();
        const int width = int((right() - kLeft - 0.25) * layout::kPixelsPerInch);
        QStringList lines = layout::WrapLines(layout::SplitLines(memo), width, [this](const QString& text) {
            return int(std::ceil(r_.textWidth(text) * layout::kPixelsPerInch));
        });
        if (lines.size() == 1 && lines.first().trimmed().isEmpty()) lines.clear();
        return lines;
    }

    void rule() {
        r_.setPen(QColor(192, 192, 192), Qt::SolidLine, 1);
        r_.line(kLeft, y_ + lineHeight() / 2, right(), y_ + lineHeight() / 2);
        r_.setPen(Qt::black, Qt::SolidLine, 1);
        y_ += lineHeight();
    }

  private:
    TBaseReport& r_;
    const Choice& choice_;
    const std::vector<Column>& columns_;
    double y_ = 0;
};

}  // namespace

QString NameCell(const Record& r) {
    return leftTrimmed(r.lname) + ", " + leftTrimmed(r.fname) + " " + middleWithDot(r.middle);
}

QString CityStZipCell(const Record& r) {
    QString text;
    if (!r.city.isEmpty()) text += r.city + ", ";
    if (!r.state.isEmpty()) text += r.state + "  ";
    if (!r.zip.isEmpty()) text += r.zip + " ";
    return text;
}

QString LongName(const Record& r) {
    QString text = leftTrimmed(r.lname) + ", ";
    if (!r.prefix.isEmpty() || !r.fname.isEmpty()) text += r.prefix + " ";
    if (!leftTrimmed(r.fname).isEmpty()) text += leftTrimmed(r.fname) + " ";
    return text + middleWithDot(r.middle);
}

QString TitleAndOrg(const Record& r) {
    if (r.org.isEmpty()) return QString();
    return r.title.isEmpty() ? r.org : r.title + ", " + r.org;
}

QString CityLine(const Record& r) {
    QString text = r.city;
    if (!r.state.isEmpty()) text += ", " + r.state;
    if (!r.zip.isEmpty()) text += ", " + r.zip;
    return text;
}

QString PhoneAndFax(const Record& r) {
    QString text;
    if (!r.phone.isEmpty()) text += "Ph: " + r.phone + "  ";
    if (!r.fax.isEmpty()) text += "Fax: " + r.fax + "  ";
    return text;
}

bool SelectRecords(xbase::Table& table, const Choice& choice, Messages& messages, QString* error) {
    if (choice.report < 1 || choice.report > 4) {
        *error = QString("There is no built-in report %1").arg(choice.report);
        return false;
    }
    RecordChoice records = choice;
    if (records.start == 0 && !table.eof()) records.start = table.recNo();
    const int order = table.tagArea(orderOf(choice.report));
    if (order == 0 || !table.setOrder(order).ok()) {
        *error = QString("The address file has no %1 order").arg(orderOf(choice.report));
        return false;
    }
    const Selection selection = ::SelectRecords(table, records, kDeleted, messages);
    if (!selection) {
        *error = selection.error;
        return false;
    }
    // Names and organisations that sort before "0" (blank ones) are left out.
    if (selection.fromFirst && choice.report <= 3) {
        table.setSoftSeek(true);  // put back by the caller's saved cursor
        (void)table.seek("0");
    }
    if (table.eof()) {
        *error = "There are no records to print";
        return false;
    }
    return true;
}

void PrintRows(TBaseReport& r, xbase::Table& table, const Choice& choice, int* printed) {
    Listing listing(r, choice);
    listing.header();
    const int rowLines = choice.report == 4 ? 3 : 1;
    const int memoField = table.fieldIndex("MEMO"), codesField = table.fieldIndex("CODES");
    while (!table.eof() && !r.cancelled()) {
        if (!listing.linesLeft(rowLines)) {
            r.newPage();
            listing.header();
        }
        listing.row(readRecord(table));
        if (choice.codes && codesField >= 0) {
            const QString codes = AddressFile::text(table, codesField).trimmed();
            if (!codes.isEmpty()) listing.shadedLine("Codes: " + codes, 5);
        }
        if (choice.memo && memoField >= 0)
            for (const QString& line : listing.memoLines(AddressFile::text(table, memoField)))
                listing.shadedLine(line, 10);
        if (choice.report == 4 && listing.linesLeft(4)) listing.rule();
        if (printed) ++*printed;
        r.updateStatus();
        if (!table.skip(1).ok()) break;
    }
}

JobResult ListingJob::select(JobProgress&, Messages& messages, QString* error) {
    saveCursor(table_);
    return SelectRecords(table_, choice_, messages, error) ? JobResult::Done : JobResult::Failed;
}

void ListingJob::setUp(TBaseReport& report) { report.Title = choice_.title; }

void ListingJob::printPages(TBaseReport& report) { PrintRows(report, table_, choice_, &rows_); }

QString ListingJob::counts() const { return Counted(rows_, "record", "records"); }

JobResult PrintBuiltIn(xbase::Table& table, const Choice& choice, TBaseReport& report, JobProgress& progress,
                       Messages& messages, QString* error, int* rows) {
    ListingJob job(table, choice);
    const JobResult result = RunPrintJob(job, report, progress, messages, error);
    if (rows) *rows = job.rows();
    return result;
}

}  // namespace BuiltInReports
