#include "RecordSheet.h"

#include <QDate>
#include <QHash>
#include <QLocale>

#include "AddressFile.h"
#include "RecordEditing.h"
#include "ReportJob.h"
#include "TBaseReport.h"
#include "Table.h"

namespace RecordSheet {

namespace {

// The sheet's page: one-inch margins, the first column for the captions and the second
// for the values, both from the left margin.
constexpr double kMargin = 1.0;
constexpr double kHeaderTop = 0.5;
constexpr double kCaptionWidth = 1.25;
constexpr double kValueWidth = 5.25;
const char* const kFont = "Times";
constexpr double kPoints = 10;

double rightEdge(TBaseReport& r) { return r.pageWidth() - r.MarginRight; }
double bottomEdge(TBaseReport& r) { return r.pageHeight() - r.MarginBottom; }

// The sheet's font; setFont turns every style off.
void sheetFont(TBaseReport& r, bool italic) {
    r.setFont(kFont, kPoints);
    r.setItalic(italic);
}

// "Page n" and today's date right-aligned above the top margin, then the rules at the
// top and bottom of the printable area; the cursor on the first line inside.
void header(TBaseReport& r, bool italic) {
    sheetFont(r, false);
    const QString page = QStringLiteral("Page %1").arg(r.currentPage());
    const QString today = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    const double baseline = kHeaderTop + r.fontAscent();
    r.printXY(rightEdge(r) - r.textWidth(page), baseline, page);
    r.printXY(rightEdge(r) - r.textWidth(today), baseline + r.fontLineHeight(), today);
    r.setPen(Qt::black, Qt::SolidLine, 1);
    r.line(r.MarginLeft, r.MarginTop, rightEdge(r), r.MarginTop);
    r.line(r.MarginLeft, bottomEdge(r), rightEdge(r), bottomEdge(r));
    sheetFont(r, italic);
    r.home();
}

bool lineFits(TBaseReport& r) { return r.lineBottom() <= bottomEdge(r) + 1e-9; }

void breakParagraph(QStringView para, double width, const std::function<double(QStringView)>& widthOf,
                    QStringList* lines) {
    if (para.isEmpty()) {
        *lines << QString();
        return;
    }
    const qsizetype n = para.size();
    qsizetype i = 0, lineStart = 0, lineEnd = 0;
    double lineWidth = 0, blanksBefore = 0;
    bool hasWord = false;
    while (i < n) {
        // A word and the blanks after it; a paragraph's indentation goes with its first word.
        const qsizetype wordStart = i;
        if (i == 0)
            while (i < n && para[i] == ' ') ++i;
        while (i < n && para[i] != ' ') ++i;
        const qsizetype wordEnd = i;
        while (i < n && para[i] == ' ') ++i;
        const double w = widthOf(para.sliced(wordStart, wordEnd - wordStart));
        if (hasWord && lineWidth + blanksBefore + w <= width) {
            lineWidth += blanksBefore + w;
            lineEnd = wordEnd;
        } else {
            if (hasWord) *lines << para.sliced(lineStart, lineEnd - lineStart).toString();
            lineStart = wordStart;
            lineEnd = wordEnd;
            lineWidth = w;
            if (w > width) {
                // Between characters (never inside a surrogate pair), at least one a line;
                // what is left of the word begins the next line.
                lineWidth = 0;
                for (qsizetype c = wordStart; c < wordEnd;) {
                    const qsizetype len =
                        c + 1 < wordEnd && para[c].isHighSurrogate() && para[c + 1].isLowSurrogate() ? 2 : 1;
                    const double cw = widthOf(para.sliced(c, len));
                    if (c > lineStart && lineWidth + cw > width) {
                        *lines << para.sliced(lineStart, c - lineStart).toString();
                        lineStart = c;
                        lineWidth = 0;
                    }
                    lineWidth += cw;
                    c += len;
                }
            }
            hasWord = true;
        }
        blanksBefore = i > wordEnd ? widthOf(para.sliced(wordEnd, i - wordEnd)) : 0;
    }
    *lines << para.sliced(lineStart, lineEnd - lineStart).toString();
}

}  // namespace

const std::array<Item, kItemCount>& Items() {
    static const std::array<Item, kItemCount> items{{
        {"Prefix", "Prefix", "PREFIX"},
        {"Last", "Last", "LNAME"},
        {"First", "First", "FNAME"},
        {"Middle", "Middle", "MIDDLE"},
        {"Title", "Title", "TITLE"},
        {"Organization", "Organization", "ORG"},
        {"Address 1", "Address 1", "STREET"},
        {"Address 2", "Address 2", "STREET2"},
        {"City", "City", "CITY"},
        {"State/Province", "State", "STATE"},
        {"Zip/Postal Code", "Zip/Postal", "ZIP"},
        {"Country", "Country", "COUNTRY"},
        {"Phone 1", "Phone 1", "PHONE"},
        {"Phone 2", "Phone 2", "PHONE2"},
        {"Fax", "Fax", "FAX"},
        {"E-mail", "E-Mail", "EMAIL"},
        {"Comment 1", "Comment 1", "USER1"},
        {"Comment 2", "Comment 2", "USER2"},
        {"Codes", "Codes", "CODES"},
        {"Date", "Date", "DisplayDate"},
        {"Memo", "", "MEMO"},
    }};
    return items;
}

bool ChooseFields(const QStringList& names, Choice* choice, QString* unknown) {
    Choice chosen;
    chosen.fields.fill(false);
    for (const QString& name : names) {
        const QString wanted = name.trimmed().toUpper();
        int found = -1;
        for (int i = 0; i < kItemCount; ++i) {
            const QLatin1String field(Items()[size_t(i)].field);
            if (field == wanted || (field == QLatin1String("DisplayDate") && wanted == QLatin1String("DATE")))
                found = i;
        }
        if (found < 0) {
            *unknown = name;
            return false;
        }
        chosen.fields[size_t(found)] = true;
    }
    *choice = chosen;
    return true;
}

Sheet ReadSheet(const xbase::Table& table, const Choice& choice) {
    auto value = [&table](const char* field) {
        const int i = table.fieldIndex(field);
        return i < 0 ? QString() : AddressFile::text(table, i);
    };
    Sheet sheet;
    for (int i = 0; i < kMemoItem; ++i) {
        if (!choice.fields[size_t(i)]) continue;
        const Item& item = Items()[size_t(i)];
        const QString text = QLatin1String(item.field) == QLatin1String("DisplayDate")
                                 ? RecordEditing::FormatStoredDate(value("DATE"))
                                 : value(item.field);
        sheet.lines.emplace_back(QString::fromLatin1(item.caption), text);
    }
    sheet.memo = choice.fields[kMemoItem];
    if (sheet.memo) sheet.memoText = value("MEMO");
    return sheet;
}

void DrawSheet(TBaseReport& r, const Sheet& sheet) {
    r.MarginLeft = r.MarginRight = r.MarginTop = r.MarginBottom = kMargin;
    header(r, false);
    r.clearTabs();
    r.setTab(r.MarginLeft, TBaseReport::TabJustify::Left, kCaptionWidth, 0, 0);
    r.setTab(-1, TBaseReport::TabJustify::Left, kValueWidth, 0, 0);
    for (const auto& [caption, value] : sheet.lines) {
        if (r.cancelled()) return;
        r.setBold(true);
        r.printTab(caption);
        r.setBold(false);
        r.printTab(value);
        r.newLine();
        r.updateStatus();
    }
    r.newLine();
    if (!sheet.memo || r.cancelled()) return;

    // An empty line across the width with a rule under it, then the memo.
    const double width = rightEdge(r) - r.MarginLeft;
    r.setPen(Qt::black, Qt::SolidLine, 1);
    r.line(r.MarginLeft, r.lineBottom(), rightEdge(r), r.lineBottom());
    r.newLine();
    r.setItalic(true);
    const QStringList lines =
        MemoLines(sheet.memoText, width, [&r](QStringView piece) { return r.textWidth(piece.toString()); });
    bool pageHasMemo = false;
    for (const QString& line : lines) {
        if (r.cancelled()) return;
        // A page takes at least one line, however small it is.
        if (!lineFits(r) && pageHasMemo) {
            r.updateStatus();
            if (r.cancelled()) return;
            r.newPage();
            header(r, true);
        }
        const ReportRect clip = r.makeRect(r.MarginLeft, r.lineTop(), rightEdge(r), r.lineBottom());
        r.textRect(clip, r.MarginLeft, r.lineTop(), line);
        r.newLine();
        pageHasMemo = true;
    }
    r.updateStatus();
}

JobResult SheetJob::select(JobProgress&, Messages&, QString* error) { return read(error); }

JobResult SheetJob::read(QString* error) {
    if (table_.eof() || table_.recNo() == 0) {
        *error = QStringLiteral("There is no current record to print");
        return JobResult::Failed;
    }
    // Read before the job: the sheet draws from these values, never from the table.
    sheet_ = ReadSheet(table_, choice_);
    recNo_ = table_.recNo();
    return JobResult::Done;
}

QString SheetJob::counts() const { return "record " + QString::number(recNo_); }

JobResult PrintSheet(xbase::Table& table, const Choice& choice, TBaseReport& report, JobProgress& progress,
                     QString* error) {
    SheetJob job(table, choice);
    if (const JobResult read = job.read(error); read != JobResult::Done) return read;
    return RunReportJob(report, progress, [&job](TBaseReport& r) { job.printPages(r); }, error);
}

QStringList MemoLines(const QString& text, double width, const std::function<double(QStringView)>& measure) {
    QStringList lines;
    // Each distinct word once: the keys point into `text`, which outlives the cache.
    QHash<QStringView, double> widths;
    const std::function<double(QStringView)> widthOf = [&](QStringView piece) {
        const auto it = widths.constFind(piece);
        if (it != widths.cend()) return *it;
        const double w = measure(piece);
        widths.insert(piece, w);
        return w;
    };
    const QStringView all(text);
    const qsizetype n = all.size();
    for (qsizetype p = 0; p < n;) {
        qsizetype e = p;
        while (e < n && all[e] != '\n' && all[e] != '\r') ++e;
        breakParagraph(all.sliced(p, e - p), width, widthOf, &lines);
        if (e >= n) break;
        p = e + (all[e] == '\r' && e + 1 < n && all[e + 1] == '\n' ? 2 : 1);
        if (p == n) break;  // a final line break starts no line
    }
    // Blank lines at the end would only push the memo onto a page of its own.
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) lines.removeLast();
    return lines;
}

}  // namespace RecordSheet
