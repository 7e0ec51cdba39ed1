#include "TAsciiMatch.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTableWidget>

namespace {

QTableWidget* sampleGrid(const AsciiSample& sample, bool header) {
    const std::vector<QStringList> rows = sample.rows(header);
    auto* grid = new QTableWidget(int(rows.size()), sample.fieldCount);
    QStringList captions;
    for (const SourceField& f : sample.sources(header)) captions << f.name;
    grid->setHorizontalHeaderLabels(captions);
    for (int row = 0; row < int(rows.size()); ++row) {
        const QStringList& fields = rows[size_t(row)];
        for (int col = 0; col < sample.fieldCount; ++col) {
            grid->setItem(row, col, new QTableWidgetItem(fields.value(col)));
        }
    }
    const QFontMetrics metrics(grid->font());
    const int least = metrics.horizontalAdvance(QStringLiteral("Field 12")) + 8;
    const int most = 2 * grid->logicalDpiX();
    for (int col = 0; col < sample.fieldCount; ++col) {
        const int wide = metrics.horizontalAdvance(QString(sample.widths[size_t(col)], QLatin1Char('W')));
        grid->setColumnWidth(col, std::min(most, std::max(least, wide)));
    }
    return grid;
}

}  // namespace

TAsciiMatch::TAsciiMatch(const AsciiSample& sample, bool header, const FieldMatch& match, QWidget* parent)
    : TMatchFields(QStringLiteral("ASCII File Import Match Fields"), QStringLiteral("Sample ASCII &Fields"),
                   sampleGrid(sample, header), match, QFileInfo(sample.path).fileName(), parent) {
    setObjectName("TAsciiMatch");
}
