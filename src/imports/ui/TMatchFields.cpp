#include "TMatchFields.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QSignalBlocker>
#include <algorithm>
#include <QCursor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ButtonRow.h"
#include "PlacedWindow.h"
#include "Settings.h"
#include "WindowPlacement.h"

TMatchFields::TMatchFields(const QString& caption, const QString& sampleCaption, QAbstractItemView* sample,
                           const FieldMatch& match, const QString& fileName, QWidget* parent)
    : QDialog(parent), SampleGrid(sample), match_(match) {
    setWindowTitle(caption);
    SampleLabel = new QLabel(sampleCaption, this);
    SampleLabel->setBuddy(SampleGrid);
    SampleGrid->setParent(this);
    SampleGrid->setObjectName("SampleGrid");
    SampleGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The fixed cells in silver.
    SampleGrid->setStyleSheet("QHeaderView::section { background-color: silver; }");
    const int rowHeight = fontMetrics().height() + 6;
    if (auto* table = qobject_cast<QTableView*>(SampleGrid)) {
        table->setWordWrap(false);
        table->verticalHeader()->setDefaultSectionSize(rowHeight);
    }

    auto* matchLabel = new QLabel(QStringLiteral("Field Ma&tch"), this);
    MatchGrid = new QTableWidget(match_.rowCount(), 2, this);
    matchLabel->setBuddy(MatchGrid);
    MatchGrid->setObjectName("MatchGrid");
    MatchGrid->setHorizontalHeaderLabels(
        {QStringLiteral("Quillory Field"), QStringLiteral("Import from Field (in %1)").arg(fileName)});
    MatchGrid->verticalHeader()->hide();
    MatchGrid->verticalHeader()->setDefaultSectionSize(rowHeight);
    MatchGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    MatchGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    MatchGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MatchGrid->horizontalHeader()->setStretchLastSection(true);
    MatchGrid->setStyleSheet("QHeaderView::section { background-color: silver; }");
    for (int row = 0; row < match_.rowCount(); ++row) {
        MatchGrid->setItem(row, 0, new QTableWidgetItem(match_.destinations()[size_t(row)].label));
        MatchGrid->setItem(row, 1, new QTableWidgetItem);
        auto* box = new QComboBox(MatchGrid);
        box->setObjectName(QStringLiteral("SourceBox%1").arg(row));
        box->setFocusPolicy(Qt::ClickFocus);  // Tab stays in the grid; the grid's keys stay its own
        box->addItem(QStringLiteral("(none)"), -1);
        for (int source : match_.offered(row)) box->addItem(match_.sources()[size_t(source)].name, source);
        connect(box, qOverload<int>(&QComboBox::activated), this, [this, row, box](int index) {
            match_.assign(row, box->itemData(index).toInt());
            MatchGrid->setCurrentCell(row, 0);
            refresh();
        });
        MatchGrid->setCellWidget(row, 1, box);
    }
    MatchGrid->resizeColumnToContents(0);
    MatchGrid->setColumnWidth(0, MatchGrid->columnWidth(0) + 24);
    MatchGrid->setCurrentCell(0, 0);

    SelectFieldButton = new QPushButton(QStringLiteral("&Select Field"), this);
    SelectFieldButton->setObjectName("SelectFieldButton");
    ClearCurrentButton = new QPushButton(QStringLiteral("&Clear Current"), this);
    ClearCurrentButton->setObjectName("ClearCurrentButton");
    ClearAllButton = new QPushButton(QStringLiteral("Clear &All"), this);
    ClearAllButton->setObjectName("ClearAllButton");
    ButtonRow buttons(this, nullptr, nullptr, Qt::Vertical);
    buttons.HelpButton->hide();
    OkButton = buttons.OkButton;
    OkButton->setText(QStringLiteral("&Ok"));
    CancelButton = buttons.CancelButton;
    CancelButton->setText(QStringLiteral("Ca&ncel"));
    for (QPushButton* b : {SelectFieldButton, ClearCurrentButton, ClearAllButton}) {
        b->setAutoDefault(false);
        buttons.addOwn(b);
    }
    buttons.layout->insertSpacing(3, 16);

    auto* lower = new QHBoxLayout;
    lower->addWidget(MatchGrid, 1);
    lower->addLayout(buttons.layout);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SampleLabel);
    layout->addWidget(SampleGrid, 2);
    layout->addWidget(matchLabel);
    layout->addLayout(lower, 3);

    connect(SelectFieldButton, &QPushButton::clicked, this, &TMatchFields::SelectFieldButtonClick);
    connect(ClearCurrentButton, &QPushButton::clicked, this, &TMatchFields::ClearCurrentButtonClick);
    connect(ClearAllButton, &QPushButton::clicked, this, &TMatchFields::ClearAllButtonClick);
    connect(MatchGrid, &QTableWidget::cellDoubleClicked, this, [this] { showFieldMenu(); });
    refresh();
    resize(640, 560);
}

void TMatchFields::refresh() {
    for (int row = 0; row < match_.rowCount(); ++row) {
        const int source = match_.sourceOf(row);
        MatchGrid->item(row, 1)->setText(source < 0 ? QString() : match_.sources()[size_t(source)].name);
        QComboBox* box = SourceBox(row);
        const QSignalBlocker quiet(box);
        box->setCurrentIndex(std::max(0, box->findData(source)));
    }
}

QComboBox* TMatchFields::SourceBox(int row) const {
    return qobject_cast<QComboBox*>(MatchGrid->cellWidget(row, 1));
}

void TMatchFields::keepPlacement(const QString& iniPath) {
    iniPath_ = iniPath;
    if (iniPath_.isEmpty()) return;
    const Settings settings(iniPath_);
    PlacedWindow::Restore(this, settings, objectName(), [this](const QRect& area) {
        const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        return WindowPlacement::CenterForm(size().boundedTo(area.size()), owner ? owner->geometry() : area);
    });
}

void TMatchFields::done(int result) {
    if (!iniPath_.isEmpty()) {
        Settings settings(iniPath_);
        PlacedWindow::Save(this, settings, objectName());
    }
    QDialog::done(result);
}

void TMatchFields::showFieldMenu() {
    const int row = MatchGrid->currentRow();
    if (row < 0) return;
    QMenu menu(this);
    menu.setObjectName("FieldMenu");
    const int current = match_.sourceOf(row);
    QAction* none = menu.addAction(QStringLiteral("(none)"));
    none->setCheckable(true);
    none->setChecked(current < 0);
    none->setData(-1);
    for (int source : match_.offered(row)) {
        QAction* a = menu.addAction(match_.sources()[size_t(source)].name);
        a->setCheckable(true);
        a->setChecked(source == current);
        a->setData(source);
    }
    QAction* chosen = menu.exec(QCursor::pos());
    if (!chosen) return;
    match_.assign(row, chosen->data().toInt());
    refresh();
}

void TMatchFields::SelectFieldButtonClick() { showFieldMenu(); }

void TMatchFields::ClearCurrentButtonClick() {
    match_.clearRow(MatchGrid->currentRow());
    refresh();
}

void TMatchFields::ClearAllButtonClick() {
    match_.clearAll();
    refresh();
}
