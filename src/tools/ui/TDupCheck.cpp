#include "TDupCheck.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include "AddressFile.h"
#include "BrowseColumns.h"
#include "EditableGridModel.h"
#include "RecordGrid.h"
#include "Table.h"
#include "WindowMessages.h"

namespace {

QPushButton* ownButton(const QString& caption, const char* name) {
    auto* b = new QPushButton(caption);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

TDupCheck::TDupCheck(xbase::Table& table, QString indexPath, QString globalTagId, DialogServices services,
                     QWidget* parent)
    : JobWindow(parent),
      table_(table),
      indexPath_(std::move(indexPath)),
      globalTagId_(std::move(globalTagId)),
      services_(std::move(services)) {
    setObjectName(QStringLiteral("TDupCheck"));
    setWindowTitle(QStringLiteral("Check and Repair Duplicates"));
    setStartsOnShow(false);
    setCancelQuestion(DuplicateCheck::kCancelQuestion, QStringLiteral("Information"));
    setJob([this](JobProgress& progress) {
        return DuplicateCheck::RunDuplicateScan(table_, options_, indexPath_, progress, &result_, &error_);
    });

    SetupPanel = new QWidget;
    auto* group = new QGroupBox(QStringLiteral("What to check:"));
    LastFirstRadio = new QRadioButton(QStringLiteral("&Last + First"));
    LastFirstRadio->setObjectName(QStringLiteral("LastFirstRadio"));
    LastFirstInitialRadio = new QRadioButton(QStringLiteral("Last + &First Initial"));
    LastFirstInitialRadio->setObjectName(QStringLiteral("LastFirstInitialRadio"));
    StreetRadio = new QRadioButton(QStringLiteral("&Street Address"));
    StreetRadio->setObjectName(QStringLiteral("StreetRadio"));
    kinds_ = new QButtonGroup(this);
    kinds_->addButton(LastFirstRadio, int(DuplicateCheck::Kind::LastFirst));
    kinds_->addButton(LastFirstInitialRadio, int(DuplicateCheck::Kind::LastFirstInitial));
    kinds_->addButton(StreetRadio, int(DuplicateCheck::Kind::Street));
    LastFirstRadio->setChecked(true);
    auto* groupLayout = new QVBoxLayout(group);
    for (QRadioButton* r : {LastFirstRadio, LastFirstInitialRadio, StreetRadio}) groupLayout->addWidget(r);
    StreetLengthLabel = new QLabel(QStringLiteral("Check how many characters of street address (max 30)"));
    StreetLengthSpin = new QSpinBox;
    StreetLengthSpin->setObjectName(QStringLiteral("StreetLengthSpin"));
    StreetLengthSpin->setRange(1, DuplicateCheck::kMaxStreetLength);
    StreetLengthSpin->setValue(DuplicateCheck::kMaxStreetLength);
    StreetLengthLabel->setBuddy(StreetLengthSpin);
    auto* lengthRow = new QHBoxLayout;
    lengthRow->addWidget(StreetLengthLabel);
    lengthRow->addWidget(StreetLengthSpin);
    lengthRow->addStretch(1);
    groupLayout->addLayout(lengthRow);
    auto showLength = [this] {
        StreetLengthLabel->setVisible(StreetRadio->isChecked());
        StreetLengthSpin->setVisible(StreetRadio->isChecked());
    };
    connect(StreetRadio, &QRadioButton::toggled, this, showLength);
    showLength();
    auto* setupLayout = new QVBoxLayout(SetupPanel);
    setupLayout->setContentsMargins(0, 0, 0, 0);
    setupLayout->addWidget(group);

    GridPanel = new QWidget;
    GridPanel->setObjectName(QStringLiteral("GridPanel"));
    DeleteButton = ownButton(QStringLiteral("&Delete"), "DeleteButton");
    SaveButton = ownButton(QStringLiteral("S&ave"), "SaveButton");
    UndoButton = ownButton(QStringLiteral("&Undo"), "UndoButton");
    TagButton = ownButton(QStringLiteral("&Tag"), "TagButton");
    TagAllButton = ownButton(QStringLiteral("Tag &All"), "TagAllButton");
    connect(DeleteButton, &QPushButton::clicked, this, &TDupCheck::DeleteButtonClick);
    connect(SaveButton, &QPushButton::clicked, this, &TDupCheck::SaveButtonClick);
    connect(UndoButton, &QPushButton::clicked, this, &TDupCheck::UndoButtonClick);
    connect(TagButton, &QPushButton::clicked, this, &TDupCheck::TagButtonClick);
    connect(TagAllButton, &QPushButton::clicked, this, &TDupCheck::TagAllButtonClick);
    GridPanel->hide();

    PerformButton = ownButton(QStringLiteral("&Perform Duplicate Check Now"), "PerformButton");
    PerformButton->setDefault(true);
    connect(PerformButton, &QPushButton::clicked, this, &TDupCheck::PerformButtonClick);
    OkButton = ownButton(QStringLiteral("Ok"), "OkButton");
    connect(OkButton, &QPushButton::clicked, this, &TDupCheck::OkButtonClick);
    HelpButton = ownButton(QStringLiteral("Help"), "HelpButton");
    connect(HelpButton, &QPushButton::clicked, this, services_.helpFor(this));
    // Perform at the left; Ok, Cancel (only while the scan runs) and Help at the right.
    buttonRow()->insertWidget(0, PerformButton);
    buttonRow()->insertWidget(2, OkButton);
    buttonRow()->insertWidget(4, HelpButton);
    delete buttonRow()->takeAt(buttonRow()->count() - 1);
    CancelButton->hide();

    FoundLabel = StatusLabel;
    StatusLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    StatusLabel->setMinimumSize(0, 0);
    body()->addWidget(SetupPanel);
    body()->addWidget(GridPanel, 1);
    setMinimumWidth(460);
}

TDupCheck::~TDupCheck() {
    removeIndex();
    // The window's own buttons are laid out only in the state that shows them; one never
    // shown has no parent to take it.
    for (QPushButton* b : {PerformButton, DeleteButton, SaveButton, UndoButton, TagButton, TagAllButton, OkButton,
                           HelpButton})
        if (!b->parent()) delete b;
}

void TDupCheck::PerformButtonClick() {
    if (started()) return;
    options_.kind = DuplicateCheck::Kind(kinds_->checkedId());
    options_.streetLength = StreetLengthSpin->value();
    SetupPanel->hide();
    PerformButton->hide();
    HelpButton->hide();
    OkButton->hide();
    CancelButton->show();
    setGaugeShown(true);
    start();
}

void TDupCheck::jobEnded(JobResult result) {
    setGaugeShown(false);
    if (result == JobResult::Failed) WindowMessages().error(error_);
    // A stopped scan shows what it found so far.
    if (result_.matches > 0 && result_.order > 0) showResults();
    CancelButton->hide();
    HelpButton->show();
    OkButton->show();
    OkButton->setFocus();
    showStatus(DuplicateCheck::FoundText(result_.matches));
}

void TDupCheck::showResults() {
    QStringList order = BrowseColumns::defaultOrder();
    if (kinds_->checkedId() == int(DuplicateCheck::Kind::Street))
        order.move(order.indexOf(QStringLiteral("STREET")), 1);
    if (!table_.setOrder(result_.order).ok()) return;
    (void)table_.goTop();
    model_ = new EditableGridModel(table_, order, globalTagId_, this);
    grid_ = new RecordGrid(model_);
    grid_->setObjectName(QStringLiteral("DuplicateGrid"));
    connect(grid_, &RecordGrid::tagCellDoubleClicked, this, &TDupCheck::TagButtonClick);

    auto* hint = new QLabel(QStringLiteral("Click on field to begin editing"));
    auto* actions = new QHBoxLayout;
    for (QPushButton* b : {DeleteButton, SaveButton, UndoButton, TagButton, TagAllButton})
        actions->addWidget(b);
    actions->addStretch(1);
    auto* layout = new QVBoxLayout(GridPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(hint);
    layout->addWidget(grid_, 1);
    layout->addLayout(actions);
    GridPanel->show();
    grid_->selectRecord(0);
    resize(std::max(width(), 760), std::max(height(), 460));
}

void TDupCheck::OkButtonClick() {
    if (running()) return;
    if (grid_ && !grid_->post()) return;
    accept();
}

void TDupCheck::DeleteButtonClick() {
    if (!grid_ || grid_->currentRecNo() == 0) return;
    if (!WindowMessages().ask(DuplicateCheck::kDeleteQuestion, QStringLiteral("Information"))) return;
    // An edit of the record goes with it; one of another record is written first.
    const uint32_t recNo = grid_->currentRecNo();
    if (model_->editedRecNo() == recNo) model_->cancel();
    if (!grid_->post()) return;
    const bool hidden = table_.hidesDeleted();
    table_.setDeleted(false);
    xbase::Status s = table_.go(recNo);
    if (s.ok()) s = AddressFile::DeleteRecord(table_);
    table_.setDeleted(hidden);
    if (!s.ok()) WindowMessages().error(QString::fromStdString(s.message()));
    grid_->reload();
}

void TDupCheck::SaveButtonClick() {
    if (grid_) grid_->post();
}

void TDupCheck::UndoButtonClick() {
    if (model_) model_->cancel();
}

void TDupCheck::TagButtonClick() {
    if (grid_) grid_->toggleCurrentTag(globalTagId_);
}

void TDupCheck::TagAllButtonClick() {
    if (grid_) grid_->tagAll(table_, globalTagId_, DuplicateCheck::kTagAllQuestion);
}

void TDupCheck::done(int result) {
    if (running()) return;
    if (!closed_) {
        closed_ = true;
        if (model_ && model_->editing()) {
            QString error;
            if (!model_->post(&error)) WindowMessages().error(error);
        }
        removeIndex();
    }
    JobWindow::done(result);
}

void TDupCheck::removeIndex() {
    if (model_) {
        // The grid reads through the index: it goes first.
        if (grid_) grid_->Grid->setModel(nullptr);
        delete model_;
        model_ = nullptr;
    }
    if (result_.order > 0) {
        DuplicateCheck::RemoveIndex(table_, result_.order, indexPath_);
        result_.order = 0;
    }
}
