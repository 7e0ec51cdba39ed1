#include "TSymbolSelector.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ButtonRow.h"
#include "FontAndColorDialogs.h"
#include "ObjectEdits.h"

using layout::kFirstSymbolCode;
using layout::kLastSymbolCode;

namespace {

constexpr int kCount = kLastSymbolCode - kFirstSymbolCode + 1;

}  // namespace

TSymbolSelector::TSymbolSelector(const LayoutFont& font, int code, QWidget* parent)
    : QDialog(parent), font_(font) {
    setObjectName("TSymbolSelector");
    setWindowTitle("Symbol Selector");
    SymbolList = new QTableWidget;
    SymbolList->setObjectName("SymbolList");
    SymbolList->horizontalHeader()->hide();
    SymbolList->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    SymbolList->verticalHeader()->hide();
    SymbolList->setSelectionMode(QAbstractItemView::SingleSelection);
    SymbolList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SymbolList->setTabKeyNavigation(false);
    Sample = new QLabel;
    Sample->setObjectName("Sample");
    Sample->setAlignment(Qt::AlignCenter);
    Sample->setFrameShape(QFrame::StyledPanel);
    Sample->setAutoFillBackground(true);
    QPalette white = Sample->palette();
    white.setColor(QPalette::Window, Qt::white);
    Sample->setPalette(white);
    Sample->setMinimumSize(120, 120);
    FontButton = new QPushButton;
    FontButton->setObjectName("FontButton");
    auto* fontLabel = new QLabel("&Font");
    fontLabel->setBuddy(FontButton);
    connect(FontButton, &QPushButton::clicked, this, &TSymbolSelector::FontButtonClick);
    connect(SymbolList, &QTableWidget::currentCellChanged, this, &TSymbolSelector::showSample);
    connect(SymbolList, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);

    ButtonRow buttons(this, nullptr, nullptr, Qt::Vertical);
    buttons.HelpButton->hide();
    buttons.setMnemonics();
    OkButton = buttons.OkButton;
    CancelButton = buttons.CancelButton;

    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(fontLabel);
    fontRow->addWidget(FontButton, 1);
    auto* left = new QVBoxLayout;
    left->addWidget(SymbolList, 1);
    left->addLayout(fontRow);
    auto* right = new QVBoxLayout;
    right->addWidget(Sample);
    right->addLayout(buttons.layout, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right);

    fillList();
    selectCode(code >= kFirstSymbolCode && code <= kLastSymbolCode ? code : kFirstSymbolCode);
    resize(620, 420);
}

int TSymbolSelector::code() const {
    const int columns = SymbolList->columnCount();
    const int index = SymbolList->currentRow() * columns + SymbolList->currentColumn();
    return std::clamp(index, 0, kCount - 1) + kFirstSymbolCode;
}

void TSymbolSelector::selectCode(int code) {
    const int index = std::clamp(code - kFirstSymbolCode, 0, kCount - 1);
    const int columns = SymbolList->columnCount();
    SymbolList->setCurrentCell(index / columns, index % columns);
    showSample();
}

void TSymbolSelector::setSymbolFont(const LayoutFont& font) {
    const int keep = code();
    font_ = font;
    fillList();
    selectCode(keep);
}

void TSymbolSelector::FontButtonClick() {
    LayoutFont f = font_;
    if (layoutdialogs::PickFont(f, this)) setSymbolFont(f);
}

// The grid in the font's name, style and colour, with as many columns as its size
// allows; the characters run along the rows.
void TSymbolSelector::fillList() {
    const QSignalBlocker block(SymbolList);
    const int columns = layout::SymbolListColumns(font_.Size());
    QFont listFont = layout::DialogFont(font_);
    // Large fonts are shown no larger than fits a cell of a reasonable grid.
    listFont.setPointSize(std::min(std::max(8, font_.Size()), 36));
    const QFontMetrics fm(listFont);
    const int cell = std::max(fm.height(), fm.horizontalAdvance(QLatin1Char('W'))) + 6;
    SymbolList->clear();
    SymbolList->setColumnCount(columns);
    SymbolList->setRowCount((kCount + columns - 1) / columns);
    for (int i = 0; i < kCount; ++i) {
        auto* item = new QTableWidgetItem(layout::SymbolCharacter(i + kFirstSymbolCode));
        item->setTextAlignment(Qt::AlignCenter);
        item->setFont(listFont);
        item->setForeground(layout::ToQColor(font_.Color));
        item->setToolTip(QString::number(i + kFirstSymbolCode));
        SymbolList->setItem(i / columns, i % columns, item);
    }
    for (int i = kCount; i < SymbolList->rowCount() * columns; ++i) {
        auto* empty = new QTableWidgetItem;
        empty->setFlags(Qt::NoItemFlags);
        SymbolList->setItem(i / columns, i % columns, empty);
    }
    SymbolList->horizontalHeader()->setDefaultSectionSize(cell);
    SymbolList->verticalHeader()->setDefaultSectionSize(cell);
    SymbolList->setMinimumWidth(cell * columns + 2 * SymbolList->frameWidth() + 24);
    FontButton->setText(layout::SymbolFontCaption(font_));
    Sample->setFont(layout::DialogFont(font_));
}

void TSymbolSelector::showSample() {
    QPalette p = Sample->palette();
    p.setColor(QPalette::WindowText, layout::ToQColor(font_.Color));
    Sample->setPalette(p);
    Sample->setText(layout::SymbolCharacter(code()));
}
