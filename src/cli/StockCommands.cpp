// stock: the label stocks the program knows, the shipped table LBLTPL.DBF and the
// desktop's shared catalogue, as CSV.

#include <QString>
#include <memory>
#include <ostream>

#include "AppHome.h"
#include "Cli.h"
#include "Commands.h"
#include "LabelCatalogue.h"
#include "LabelDefinition.h"
#include "StockSearch.h"
#include "SystemTables.h"
#include "Table.h"

namespace cli {

namespace {

// One stock as the command lists it.
struct Listed {
    QString maker, product, description, searchText;
    LabelStock stock;
    const char* source;
};

// A shipped row named "Avery 5160  Address": maker, product number and description
// (the maker as MANUFAC gives it when the name does not start with it).
Listed shippedRow(const LabelDefinition& row) {
    Listed l;
    const QString name = row.description.trimmed();
    const int gap = name.indexOf("  ");
    const QString head = gap < 0 ? name : name.left(gap).trimmed();
    l.description = gap < 0 ? QString() : name.mid(gap).trimmed();
    const QString maker = row.stock.manufac.trimmed();
    const int blank = head.indexOf(' ');
    if (blank > 0 && head.left(blank).compare(maker, Qt::CaseInsensitive) == 0) {
        l.maker = head.left(blank);
        l.product = head.mid(blank + 1).trimmed();
    } else {
        l.maker = maker;
        l.product = head;
    }
    l.searchText = name + ' ' + maker;
    l.stock = row.stock;
    l.source = "shipped";
    return l;
}

void writeRow(std::ostream& out, const Listed& l) {
    const auto inches = [](double v) { return QString::number(v, 'f', 3).toStdString(); };
    const LabelStock& s = l.stock;
    for (const QString& text : {l.maker, l.product, l.description, s.paperSize.trimmed()}) {
        writeCsvValue(out, text.toStdString());
        out << ',';
    }
    out << inches(s.width) << ',' << inches(s.height) << ',' << s.across << ',' << s.down << ','
        << inches(s.leftMargin) << ',' << inches(s.topMargin) << ',' << inches(s.horizPitch) << ','
        << inches(s.vertPitch) << ',' << l.source << '\n';
}

}  // namespace

int stockCommand(const Invocation& in) {
    const AppHome home(QString::fromStdString(in.home));
    const StockSearch search(QString::fromStdString(in.args.value("--search")));
    const QString maker = QString::fromStdString(in.args.value("--maker")).trimmed();
    std::vector<Listed> list;
    {
        std::unique_ptr<xbase::Table> table;
        QString message;
        if (!SystemTables::OpenLabelStockTable(home, &table, &message)) return fail(in, message);
        table->setDeleted(true);
        if (const int tag = table->tagArea("DESCRIPT"); tag > 0) (void)table->setOrder(tag);
        for (xbase::Status s = table->goTop(); s.ok() && !table->eof(); s = table->skip(1))
            list.push_back(shippedRow(LabelDefs::ReadDefinition(*table)));
    }
    for (const CatalogueStock& p : LabelCatalogue::Load(home))
        list.push_back({p.maker, p.part, p.description, p.searchText(), p.row.stock, "catalogue"});

    in.out << "maker,product,description,paper,width,height,across,down,left,top,hpitch,vpitch,source\n";
    for (const Listed& l : list) {
        if (!maker.isEmpty() && l.maker.compare(maker, Qt::CaseInsensitive) != 0) continue;
        if (search.matches(l.searchText, l.stock.width, l.stock.height)) writeRow(in.out, l);
    }
    return kOk;
}

}  // namespace cli
