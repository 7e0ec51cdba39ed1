#include "TSelectLabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "ButtonRow.h"
#include "SavedCursor.h"
#include "StockSearch.h"
#include "Table.h"
#include "TableText.h"
#include "WindowMessages.h"

using namespace LabelDefs;

namespace {

QString inches(double v) { return QString::number(v, 'f', 3); }

const QString kAllMakers = QStringLiteral("All makers");

// The makers of the catalogue, each once (first spelling), in alphabetical order.
QStringList makersOf(const std::vector<CatalogueStock>& catalogue) {
    QStringList makers;
    for (const CatalogueStock& p : catalogue)
        if (!makers.contains(p.maker, Qt::CaseInsensitive)) makers << p.maker;
    std::sort(makers.begin(), makers.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return makers;
}

QLineEdit* readOnly(const char* name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setAlignment(Qt::AlignRight);
    edit->setMaximumWidth(80);
    return edit;
}

}  // namespace

TSelectLabel::TSelectLabel(xbase::Table& templates, const LabelStock& current, QWidget* parent)
    : TSelectLabel(templates, {}, current, parent) {}

TSelectLabel::TSelectLabel(xbase::Table& templates, std::vector<CatalogueStock> catalogue, const LabelStock& current,
                           QWidget* parent)
    : QDialog(parent), templates_(templates), catalogue_(std::move(catalogue)), catalogueMakers_(makersOf(catalogue_)) {
    setWindowTitle("Select Label Template");
    MakerList = new QComboBox;
    MakerList->setObjectName("MakerList");
    MakerList->addItems(MakerEntries());
    if (!catalogue_.empty()) {
        MakerList->addItem(kAllMakers);
        MakerList->addItems(catalogueMakers_);
    }
    ProductList = new QComboBox;
    ProductList->setObjectName("ProductList");
    ProductList->addItems(ProductEntries());
    EuropeanOnly = new QCheckBox("&European paper sizes only (A4, A5)");
    EuropeanOnly->setObjectName("EuropeanOnly");
    SearchEdit = new QLineEdit;
    SearchEdit->setObjectName("SearchEdit");
    SearchEdit->setPlaceholderText("Words of the description, e.g. 5160 or shipping 2x4");
    SearchEdit->setClearButtonEnabled(true);

    Grid = new QTableWidget(0, 2);
    Grid->setObjectName("Grid");
    Grid->setHorizontalHeaderLabels({"Description", "Source"});
    Grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    Grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    Grid->verticalHeader()->hide();
    Grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid->verticalHeader()->setDefaultSectionSize(Grid->fontMetrics().height() + 6);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->setMinimumSize(360, 240);

    HeightEdit = readOnly("HeightEdit");
    WidthEdit = readOnly("WidthEdit");
    AcrossEdit = readOnly("AcrossEdit");
    DownEdit = readOnly("DownEdit");
    PaperWidthEdit = readOnly("PaperWidthEdit");
    PaperHeightEdit = readOnly("PaperHeightEdit");

    auto* lists = new QFormLayout;
    lists->addRow("&Manufacturer / printer:", MakerList);
    lists->addRow("&Product type:", ProductList);
    lists->addRow(QString(), EuropeanOnly);
    auto* searchLabel = new QLabel("Sea&rch:");
    searchLabel->setBuddy(SearchEdit);
    auto* search = new QHBoxLayout;
    search->addWidget(searchLabel);
    search->addWidget(SearchEdit, 1);
    auto* values = new QFormLayout;
    values->addRow("Label height:", HeightEdit);
    values->addRow("Label width:", WidthEdit);
    values->addRow("# across:", AcrossEdit);
    values->addRow("# down:", DownEdit);
    values->addRow("Paper width:", PaperWidthEdit);
    values->addRow("Paper height:", PaperHeightEdit);
    auto* middle = new QHBoxLayout;
    middle->addWidget(Grid, 1);
    middle->addLayout(values);
    auto* top = new QVBoxLayout(this);
    top->addLayout(lists);
    top->addLayout(search);
    top->addLayout(middle, 1);
    ButtonRow buttons(this, [this] { OkButtonClick(); }, nullptr);
    OkButton = buttons.OkButton;
    top->addLayout(buttons.layout);

    // The catalogue in description order while the picker is open.
    templates_.setDeleted(true);
    (void)templates_.setOrder(templates_.tagArea("DESCRIPT") ? templates_.tagArea("DESCRIPT") : 1);

    // Stock taken from the shared catalogue (it has no printer class) starts on its maker.
    int maker = PreselectedMaker(current);
    if (current.printer.trimmed().isEmpty() && current.manufac.trimmed().toUpper() != "USER") {
        for (const CatalogueStock& p : catalogue_) {
            if (p.row.description == current.tplDescrip.trimmed()) {
                maker = MakerList->findText(p.maker, Qt::MatchFixedString);  // any case
                break;
            }
        }
    }
    MakerList->setCurrentIndex(maker);
    ProductList->setCurrentIndex(PreselectedProduct(current));
    filterChanged();
    Grid->clearSelection();
    Grid->setCurrentItem(nullptr);
    if (current.manufac.trimmed().toUpper() == "USER") {
        if (Grid->rowCount() > 0) Grid->selectRow(0);
    } else {
        for (int r = 0; r < Grid->rowCount(); ++r) {
            if (rows_[size_t(r)].def.description.trimmed() == current.tplDescrip.trimmed()) {
                Grid->selectRow(r);
                break;
            }
        }
    }
    rowChanged();

    connect(MakerList, qOverload<int>(&QComboBox::currentIndexChanged), this, &TSelectLabel::filterChanged);
    connect(ProductList, qOverload<int>(&QComboBox::currentIndexChanged), this, &TSelectLabel::filterChanged);
    connect(EuropeanOnly, &QCheckBox::toggled, this, &TSelectLabel::filterChanged);
    connect(SearchEdit, &QLineEdit::textChanged, this, &TSelectLabel::searchChanged);
    connect(Grid, &QTableWidget::itemSelectionChanged, this, &TSelectLabel::rowChanged);
    connect(Grid, &QTableWidget::cellDoubleClicked, this, [this] { OkButtonClick(); });
    resize(640, 460);
}

TSelectLabel::~TSelectLabel() { (void)templates_.query({}); }

QStringList TSelectLabel::shownDescriptions() const {
    QStringList list;
    for (int r = 0; r < Grid->rowCount(); ++r)
        if (!Grid->isRowHidden(r)) list << Grid->item(r, 0)->text();
    return list;
}

void TSelectLabel::filterChanged() {
    const int shippedEntries = int(MakerEntries().size());
    const int maker = MakerList->currentIndex();
    const bool allMakers = !catalogue_.empty() && maker == shippedEntries;
    const QString catalogueMaker = maker > shippedEntries ? MakerList->currentText() : QString();
    const int product = ProductList->currentIndex();
    const bool european = EuropeanOnly->isChecked();

    // The shipped rows: by the picker's query for a shipped entry (or none selected), for
    // "All makers" without a maker condition, for a catalogue maker only when the table
    // has that maker.
    QString makerText = MakerList->currentText();
    bool shipped = true;
    if (allMakers) {
        makerText.clear();
    } else if (!catalogueMaker.isEmpty()) {
        const QString upper = catalogueMaker.toUpper();
        shipped = upper == "AVERY" || upper == "NEBS" || upper == "COSTAR";
    }
    rows_.clear();
    if (shipped) {
        const QString filter = TemplateFilter(makerText, product, european);
        std::string raw;
        if (!TableText::encode(templates_.codePage(), filter, &raw).ok() || !templates_.query(raw).ok()) {
            WindowMessages().error("The template list cannot be narrowed by " + filter);
            return;
        }
        for (xbase::Status s = templates_.goTop(); s.ok() && !templates_.eof(); s = templates_.skip(1)) {
            const LabelDefinition def = ReadDefinition(templates_);
            rows_.push_back({def, def.description + ' ' + def.stock.manufac, false});
        }
    }

    // The catalogue's rows, by the same choices.
    if (allMakers || !catalogueMaker.isEmpty()) {
        const bool anyType = product < 0 || product >= int(ProductEntries().size()) - 1;  // "All"
        const QString type = anyType ? QString() : ProductEntries()[product].toUpper();
        for (const CatalogueStock& p : catalogue_) {
            if (!allMakers && p.maker.compare(catalogueMaker, Qt::CaseInsensitive) != 0) continue;
            if (!anyType && p.row.stock.prodType != type) continue;
            const QString paper = p.row.stock.paperSize.toUpper();
            if (european && !paper.contains("A4") && !paper.contains("A5")) continue;
            rows_.push_back({p.row, p.searchText(), true});
        }
        std::stable_sort(rows_.begin(), rows_.end(), [](const Row& a, const Row& b) {
            return a.def.description.trimmed().compare(b.def.description.trimmed(), Qt::CaseInsensitive) < 0;
        });
    }

    Grid->setRowCount(int(rows_.size()));
    for (size_t r = 0; r < rows_.size(); ++r) {
        Grid->setItem(int(r), 0, new QTableWidgetItem(rows_[r].def.description.trimmed()));
        Grid->setItem(int(r), 1, new QTableWidgetItem(rows_[r].catalogue ? "Catalogue" : "Shipped"));
    }
    searchChanged();
    if (Grid->rowCount() > 0) Grid->selectRow(0);
    rowChanged();
}

void TSelectLabel::searchChanged() {
    int firstShown = -1;
    const StockSearch search(SearchEdit->text());
    for (int r = 0; r < Grid->rowCount(); ++r) {
        const Row& row = rows_[size_t(r)];
        const bool shown = search.matches(row.searchText, row.def.stock.width, row.def.stock.height);
        Grid->setRowHidden(r, !shown);
        if (shown && firstShown < 0) firstShown = r;
    }
    const int current = Grid->currentRow();
    if (current < 0 || Grid->isRowHidden(current)) {
        Grid->clearSelection();
        if (firstShown >= 0) Grid->selectRow(firstShown);
    }
    rowChanged();
}

void TSelectLabel::rowChanged() {
    const QList<QTableWidgetItem*> selected = Grid->selectedItems();
    const int row = selected.isEmpty() ? -1 : selected.first()->row();
    const bool any = !shownDescriptions().isEmpty();
    Grid->setEnabled(any);
    OkButton->setEnabled(any && row >= 0);
    if (row < 0) {
        for (QLineEdit* e : {HeightEdit, WidthEdit, AcrossEdit, DownEdit, PaperWidthEdit, PaperHeightEdit})
            e->clear();
        return;
    }
    const LabelStock& s = rows_[size_t(row)].def.stock;
    HeightEdit->setText(inches(s.height));
    WidthEdit->setText(inches(s.width));
    AcrossEdit->setText(QString::number(s.across));
    DownEdit->setText(QString::number(s.down));
    PaperWidthEdit->setText(inches(s.sheetWidth));
    PaperHeightEdit->setText(inches(s.sheetDepth));
}

void TSelectLabel::OkButtonClick() {
    const QList<QTableWidgetItem*> selected = Grid->selectedItems();
    if (selected.isEmpty()) return;
    chosen_ = rows_[size_t(selected.first()->row())].def;
    chosen_.description = chosen_.description.trimmed();
    accept();
}
