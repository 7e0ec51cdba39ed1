#include "TAddressBrowse.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "BrowseColumns.h"
#include "BrowseModel.h"
#include "PlacedWindow.h"
#include "Settings.h"
#include "SystemTables.h"
#include "Table.h"
#include "WindowMessages.h"
#include "WindowPlacement.h"

namespace {

// The window's size without a stored placement, at 96 pixels per inch.
constexpr int kDefaultWidth = 760;
constexpr int kDefaultHeight = 420;

QPushButton* button(const QString& caption, const char* name, const QString& tip = QString()) {
    auto* b = new QPushButton(caption);
    b->setObjectName(name);
    b->setAutoDefault(false);
    if (!tip.isEmpty()) b->setToolTip(tip);
    return b;
}

int screenDpi(const QWidget* w) {
    const QScreen* s = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return s ? qRound(s->logicalDotsPerInch()) : 96;
}

}  // namespace

TAddressBrowse::TAddressBrowse(xbase::Table& table, const AppHome& home, const QString& globalTagId,
                               Callbacks callbacks, DialogServices services, QWidget* parent)
    : QDialog(parent),
      table_(table),
      home_(home),
      callbacks_(std::move(callbacks)),
      services_(std::move(services)),
      order_(BrowseColumns::ApplyFieldsList(SystemTables::readFieldsList(home))) {
    setObjectName("TAddressBrowse");
    setWindowTitle("Address Browse");
    setFont(QFont(QStringLiteral("Arial"), font().pointSize()));
    setSizeGripEnabled(true);

    model_ = new BrowseModel(table_, order_, globalTagId, this);
    BrowseGrid = new QTableView;
    BrowseGrid->setObjectName("BrowseGrid");
    BrowseGrid->setModel(model_);
    BrowseGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    BrowseGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    BrowseGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    BrowseGrid->setShowGrid(true);
    BrowseGrid->setWordWrap(false);
    BrowseGrid->horizontalHeader()->setSectionsMovable(true);
    BrowseGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    BrowseGrid->horizontalHeader()->setHighlightSections(false);
    // Rows of one height, so that a million of them scroll without being measured.
    QHeaderView* rows = BrowseGrid->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(BrowseGrid->fontMetrics().height() + 6);
    rows->setHighlightSections(true);
    // The selected row stays marked while the buttons have the focus.
    QPalette palette = BrowseGrid->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    BrowseGrid->setPalette(palette);
    setColumnWidths();

    FirstButton = button("|<", "FirstButton", "First record");
    PriorButton = button("<", "PriorButton", "Previous record");
    NextButton = button(">", "NextButton", "Next record");
    LastButton = button(">|", "LastButton", "Last record");
    TagButton = button("&Tag", "TagButton", "Tags the record, or untags it when it is tagged");
    OkButton = button("Ok", "OkButton");
    OkButton->setDefault(true);
    connect(FirstButton, &QPushButton::clicked, this, [this] { navigate(RecordEditing::Move::First); });
    connect(PriorButton, &QPushButton::clicked, this, [this] { navigate(RecordEditing::Move::Prior); });
    connect(NextButton, &QPushButton::clicked, this, [this] { navigate(RecordEditing::Move::Next); });
    connect(LastButton, &QPushButton::clicked, this, [this] { navigate(RecordEditing::Move::Last); });
    connect(TagButton, &QPushButton::clicked, this, &TAddressBrowse::TagButtonClick);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(BrowseGrid, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) TagButtonClick();
    });
    connect(BrowseGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { BrowseGridRowChanged(current.row()); });
    connect(model_, &QAbstractItemModel::modelReset, this,
            [this] { TagButton->setEnabled(model_->rowCount() > 0); });
    TagButton->setEnabled(model_->rowCount() > 0);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {FirstButton, PriorButton, NextButton, LastButton}) {
        b->setMaximumWidth(44);
        buttons->addWidget(b);
    }
    buttons->addSpacing(16);
    buttons->addWidget(TagButton);
    buttons->addStretch(1);
    buttons->addWidget(OkButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BrowseGrid, 1);
    layout->addLayout(buttons);

    selectTableRecord(0);
}

TAddressBrowse::~TAddressBrowse() = default;

void TAddressBrowse::setColumnWidths() {
    const QFontMetrics cells = BrowseGrid->fontMetrics();
    const QFontMetrics titles = BrowseGrid->horizontalHeader()->fontMetrics();
    for (int c = 0; c < model_->columnCount(); ++c) {
        const QString title = model_->headerData(c, Qt::Horizontal).toString();
        const int width = model_->widthChars(c) * cells.averageCharWidth() + 8;
        BrowseGrid->setColumnWidth(c, std::max(width, titles.horizontalAdvance(title) + 16));
    }
}

QStringList TAddressBrowse::shownFields() const {
    QStringList names;
    const QHeaderView* header = BrowseGrid->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        names << model_->fieldName(header->logicalIndex(visual));
    }
    return names;
}

void TAddressBrowse::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!activated_) {
        activated_ = true;
        FormActivate();
    }
}

void TAddressBrowse::FormActivate() {
    restorePlacement();
    BrowseGrid->setFocus();
    const QModelIndex current = BrowseGrid->currentIndex();
    if (current.isValid()) BrowseGrid->scrollTo(current, QAbstractItemView::PositionAtCenter);
}

void TAddressBrowse::done(int result) {
    if (!closed_) {
        closed_ = true;
        // Neither a settings file nor a FIELDS.LST that cannot be written is worth a
        // message: only the placement or the column order is lost.
        if (activated_) savePlacement();
        (void)SystemTables::writeFieldsList(home_, BrowseColumns::FieldsListAfter(order_, shownFields()));
    }
    QDialog::done(result);
}

void TAddressBrowse::BrowseGridRowChanged(int row) {
    const uint32_t recNo = model_->recNoAt(row);
    if (recNo == 0 || (!table_.eof() && table_.recNo() == recNo)) return;
    if (!table_.go(recNo).ok()) return;
    if (callbacks_.recordMoved) callbacks_.recordMoved();
}

void TAddressBrowse::selectRow(int row) {
    if (row < 0 || row >= model_->rowCount()) return;
    const QModelIndex index = model_->index(row, std::max(0, BrowseGrid->currentIndex().column()));
    BrowseGrid->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    BrowseGrid->scrollTo(index);
}

void TAddressBrowse::selectTableRecord(int fallbackRow) {
    if (model_->rowCount() == 0) return;
    const int row = table_.eof() ? -1 : model_->rowOf(table_.recNo());
    selectRow(row >= 0 ? row : std::clamp(fallbackRow, 0, model_->rowCount() - 1));
}

void TAddressBrowse::navigate(RecordEditing::Move move) {
    const int rowCount = model_->rowCount();
    const int row = BrowseGrid->currentIndex().isValid() ? BrowseGrid->currentIndex().row() : -1;
    int target = -1;
    switch (move) {
        case RecordEditing::Move::First:
            target = 0;
            break;
        case RecordEditing::Move::Prior:
            target = row > 0 ? row - 1 : -1;
            break;
        case RecordEditing::Move::Next:
            target = row + 1 < rowCount ? row + 1 : -1;
            break;
        case RecordEditing::Move::Last:
            target = rowCount - 1;
            break;
    }
    if (target < 0 || target >= rowCount) {
        WindowMessages().beep();
        return;
    }
    selectRow(target);
}

void TAddressBrowse::TagButtonClick() {
    const QModelIndex current = BrowseGrid->currentIndex();
    if (!current.isValid() || !callbacks_.toggleTag) return;
    // The table is on the current row's record; make sure of it before writing.
    const uint32_t recNo = model_->recNoAt(current.row());
    if (recNo == 0) return;
    if ((table_.eof() || table_.recNo() != recNo) && !table_.go(recNo).ok()) return;
    const std::string query = table_.queryText();
    callbacks_.toggleTag();
    if (table_.queryText() != query) {
        // The main window dropped a filter that no longer matched anything: every row
        // may have changed.
        model_->reload();
    } else {
        model_->refreshRecord(recNo);
    }
    if (model_->recNoAt(BrowseGrid->currentIndex().row()) != recNo || !BrowseGrid->currentIndex().isValid()) {
        selectTableRecord(current.row());
    }
}

void TAddressBrowse::restorePlacement() {
    const Settings settings(Settings::GetIniFileName(home_));
    PlacedWindow::Restore(this, settings, QStringLiteral("TAddressBrowse"), [this](const QRect& area) {
        // Larger on screens of more pixels per inch, as the text is.
        const int dpi = screenDpi(this);
        const double scale = dpi > 96 ? dpi / 96.0 * 0.95 : 1.0;
        const QSize size(std::min(qRound(kDefaultWidth * scale), area.width()),
                         std::min(qRound(kDefaultHeight * scale), area.height()));
        const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        const QRect over = owner && !owner->isMaximized() ? owner->geometry() : area;
        return WindowPlacement::CenterForm(size, over);
    });
    savePlacement();
}

void TAddressBrowse::savePlacement() {
    Settings settings(Settings::GetIniFileName(home_));
    PlacedWindow::Save(this, settings, QStringLiteral("TAddressBrowse"));
}
