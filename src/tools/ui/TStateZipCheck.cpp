#include "TStateZipCheck.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "BrowseColumns.h"
#include "DuplicateCheck.h"
#include "EditableGridModel.h"
#include "RecordGrid.h"
#include "SystemTables.h"
#include "Table.h"
#include "WindowMessages.h"

namespace {

QPushButton* ownButton(const QString& caption, const char* name) {
    auto* b = new QPushButton(caption);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QLabel* wrapped(const QString& text) {
    auto* l = new QLabel(text);
    l->setWordWrap(true);
    return l;
}

// The state table's columns and their headings.
std::vector<BrowseColumns::Column> stateColumns() {
    using BrowseColumns::Kind;
    return {
        {"NAME", "State or Province", 20, true, Kind::Stored},
        {"STATE", "Abbreviation", 6, true, Kind::Stored},
        {"LOW_ZIP", "Starting Zip/Post", 10, true, Kind::Stored},
        {"HIGH_ZIP", "Ending Zip/Post", 10, true, Kind::Stored},
    };
}

}  // namespace

TStateZipCheck::TStateZipCheck(xbase::Table& table, const AppHome& home, QString globalTagId,
                               DialogServices services, QWidget* parent)
    : JobWindow(parent),
      table_(table),
      home_(home),
      globalTagId_(std::move(globalTagId)),
      services_(std::move(services)),
      indexPath_(StateZipCheck::IndexPath(QString::fromStdString(table.path()))) {
    setObjectName(QStringLiteral("TStateZipCheck"));
    setWindowTitle(QStringLiteral("Check State and Zip  Codes"));
    setStartsOnShow(false);
    setCancelQuestion(StateZipCheck::kCancelQuestion, QStringLiteral("Information"));
    setJob([this](JobProgress& progress) {
        return StateZipCheck::RunStateZipCheck(table_, *states_, options_, indexPath_, progress, &result_,
                                               &error_);
    });

    SetupPanel = new QWidget;
    auto* heading = new QLabel(QStringLiteral("Check For State/Province  & Zipcode/Postal Code Anomolies"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    BlanksBox =
        new QCheckBox(QStringLiteral("Include records with blank State/Province or Zip/Postcode entries?"));
    BlanksBox->setObjectName(QStringLiteral("BlanksBox"));
    PerformButton = ownButton(QStringLiteral("Perform Check Now"), "PerformButton");
    connect(PerformButton, &QPushButton::clicked, this, &TStateZipCheck::PerformButtonClick);
    auto* setup = new QVBoxLayout(SetupPanel);
    setup->setContentsMargins(0, 0, 0, 0);
    setup->addWidget(heading);
    setup->addWidget(wrapped(QStringLiteral(
        "A check will be performed by comparing the records in the file against the State/Province file, "
        "which "
        "contains a list of State/Zip Province/Postcode combinations. This file may be edited or added to by "
        "clicking the 'Edit State/Province File' button below.")));
    setup->addWidget(BlanksBox);
    auto* performRow = new QHBoxLayout;
    performRow->addStretch(1);
    performRow->addWidget(PerformButton);
    performRow->addStretch(1);
    setup->addLayout(performRow);

    ResultPanel = new QWidget;
    ResultPanel->setObjectName(QStringLiteral("ResultPanel"));
    EditButton = ownButton(QStringLiteral("&Edit"), "EditButton");
    SaveButton = ownButton(QStringLiteral("&Save"), "SaveButton");
    UndoButton = ownButton(QStringLiteral("&Cancel"), "UndoButton");
    TagButton = ownButton(QStringLiteral("&Tag"), "TagButton");
    TagAllButton = ownButton(QStringLiteral("Tag &All"), "TagAllButton");
    connect(EditButton, &QPushButton::clicked, this, &TStateZipCheck::EditButtonClick);
    connect(SaveButton, &QPushButton::clicked, this, &TStateZipCheck::SaveButtonClick);
    connect(UndoButton, &QPushButton::clicked, this, &TStateZipCheck::UndoButtonClick);
    connect(TagButton, &QPushButton::clicked, this, &TStateZipCheck::TagButtonClick);
    connect(TagAllButton, &QPushButton::clicked, this, &TStateZipCheck::TagAllButtonClick);
    ResultPanel->hide();

    StatePanel = new QWidget;
    StatePanel->setObjectName(QStringLiteral("StatePanel"));
    AddStateButton = ownButton(QStringLiteral("Add"), "AddStateButton");
    DeleteStateButton = ownButton(QStringLiteral("Delete"), "DeleteStateButton");
    SaveStateButton = ownButton(QStringLiteral("Save"), "SaveStateButton");
    UndoStateButton = ownButton(QStringLiteral("Undo"), "UndoStateButton");
    connect(AddStateButton, &QPushButton::clicked, this, &TStateZipCheck::AddStateButtonClick);
    connect(DeleteStateButton, &QPushButton::clicked, this, &TStateZipCheck::DeleteStateButtonClick);
    connect(SaveStateButton, &QPushButton::clicked, this, [this] {
        if (stateGrid_) stateGrid_->post();
    });
    connect(UndoStateButton, &QPushButton::clicked, this, [this] {
        if (stateModel_) stateModel_->cancel();
    });
    StatePanel->hide();

    EditStatesButton = ownButton(QStringLiteral("Edit State/Province File"), "EditStatesButton");
    connect(EditStatesButton, &QPushButton::clicked, this, &TStateZipCheck::EditStatesButtonClick);
    CloseButton = ownButton(QStringLiteral("Close"), "CloseButton");
    CloseButton->setDefault(true);
    connect(CloseButton, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    HelpButton = ownButton(QStringLiteral("Help"), "HelpButton");
    connect(HelpButton, &QPushButton::clicked, this, services_.helpFor(this));
    // Edit State/Province File at the left; Close, Cancel (only while the check runs)
    // and Help at the right.
    buttonRow()->insertWidget(0, EditStatesButton);
    buttonRow()->insertWidget(2, CloseButton);
    buttonRow()->insertWidget(4, HelpButton);
    delete buttonRow()->takeAt(buttonRow()->count() - 1);
    CancelButton->hide();

    FoundLabel = StatusLabel;
    StatusLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    StatusLabel->setMinimumSize(0, 0);
    body()->addWidget(SetupPanel);
    body()->addWidget(ResultPanel, 1);
    body()->addWidget(StatePanel, 1);
    setMinimumWidth(520);
}

TStateZipCheck::~TStateZipCheck() {
    closeStates();
    removeIndex();
    // The window's own buttons are laid out only in the state that shows them; one never
    // shown has no parent to take it.
    for (QPushButton* b : {PerformButton, EditButton, SaveButton, UndoButton, TagButton, TagAllButton, AddStateButton,
                           DeleteStateButton, SaveStateButton, UndoStateButton, EditStatesButton, CloseButton,
                           HelpButton})
        if (!b->parent()) delete b;
}

void TStateZipCheck::PerformButtonClick() {
    if (started()) return;
    QString message;
    if (!SystemTables::OpenCszTable(home_, &csz_, &message)) {
        WindowMessages().inform(message);
        return;
    }
    csz_->setDeleted(true);
    states_ = std::make_unique<StateZipCheck::StateTable>(*csz_);
    options_.blanks = BlanksBox->isChecked();
    SetupPanel->hide();
    EditStatesButton->hide();
    CancelButton->show();
    setGaugeShown(true);
    start();
}

void TStateZipCheck::jobEnded(JobResult result) {
    setGaugeShown(false);
    states_.reset();
    closeStates();
    CancelButton->hide();
    EditStatesButton->show();
    if (result == JobResult::Failed) {
        WindowMessages().error(error_);
        closeLater(false);
        return;
    }
    // A stopped check shows what it found so far.
    if (!table_.setOrder(result_.order).ok()) return;
    (void)table_.goTop();
    // The fields the check is about come right after the name.
    QStringList order = BrowseColumns::defaultOrder();
    order.move(order.indexOf(QStringLiteral("STATE")), 3);
    order.move(order.indexOf(QStringLiteral("ZIP")), 4);
    resultModel_ = new EditableGridModel(table_, order, globalTagId_, this);
    resultGrid_ = new RecordGrid(resultModel_);
    resultGrid_->setObjectName(QStringLiteral("ResultGrid"));
    connect(resultGrid_, &RecordGrid::tagCellDoubleClicked, this, &TStateZipCheck::TagButtonClick);
    showStatus(StateZipCheck::FoundText(result_.found));
    auto* actions = new QHBoxLayout;
    for (QPushButton* b : {EditButton, SaveButton, UndoButton, TagButton, TagAllButton})
        actions->addWidget(b);
    actions->addStretch(1);
    auto* layout = new QVBoxLayout(ResultPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(
        wrapped(QStringLiteral("These records have questionable state/zip or province/postcode combinations. "
                               "You may edit the contents "
                               "to make changes. When you are done, press the Close button.")));
    layout->addWidget(new QLabel(QStringLiteral("Click on field to begin editing")));
    layout->addWidget(resultGrid_, 1);
    layout->addLayout(actions);
    ResultPanel->show();
    resultGrid_->selectRecord(0);
    resize(std::max(width(), 760), std::max(height(), 480));
}

void TStateZipCheck::EditStatesButtonClick() {
    if (running()) return;
    if (csz_) {
        if (stateGrid_ && !stateGrid_->post()) return;
        closeStates();
        StatePanel->hide();
        if (shownBefore_) shownBefore_->show();
        EditStatesButton->setText(QStringLiteral("Edit State/Province File"));
        return;
    }
    openStates();
}

void TStateZipCheck::openStates() {
    QString message;
    if (!SystemTables::OpenCszTable(home_, &csz_, &message)) {
        csz_.reset();
        WindowMessages().inform(StateZipCheck::kNoStateTableMessage);
        return;
    }
    csz_->setDeleted(true);
    (void)csz_->goTop();
    stateModel_ = new EditableGridModel(*csz_, stateColumns(), this);
    stateGrid_ = new RecordGrid(stateModel_);
    stateGrid_->setObjectName(QStringLiteral("StateGrid"));
    delete StatePanel->layout();
    auto* actions = new QHBoxLayout;
    for (QPushButton* b : {AddStateButton, DeleteStateButton, SaveStateButton, UndoStateButton})
        actions->addWidget(b);
    actions->addStretch(1);
    auto* layout = new QVBoxLayout(StatePanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(
        new QLabel(QStringLiteral("Make changes to the State/Province file to best reflect your country")));
    layout->addWidget(new QLabel(QStringLiteral("Click on field to begin editing")));
    layout->addWidget(stateGrid_, 1);
    layout->addLayout(actions);
    shownBefore_ = ResultPanel->isVisible() ? ResultPanel : SetupPanel;
    shownBefore_->hide();
    StatePanel->show();
    EditStatesButton->setText(QStringLiteral("Stop Editing"));
    stateGrid_->selectRecord(0);
    resize(std::max(width(), 620), std::max(height(), 460));
}

void TStateZipCheck::closeStates() {
    if (stateGrid_) {
        stateGrid_->Grid->setModel(nullptr);
        stateGrid_->hide();
        stateGrid_->deleteLater();
        stateGrid_ = nullptr;
    }
    if (stateModel_) {
        QString error;
        if (stateModel_->editing() && !stateModel_->post(&error)) WindowMessages().error(error);
        delete stateModel_;
        stateModel_ = nullptr;
    }
    // The panel's texts go with the grid; its buttons stay for the next opening.
    if (QLayout* old = StatePanel->layout()) {
        while (QLayoutItem* item = old->takeAt(0)) {
            if (QWidget* w = item->widget(); w && qobject_cast<QLabel*>(w)) w->deleteLater();
            delete item;
        }
    }
    if (csz_) {
        (void)csz_->close();
        csz_.reset();
    }
}

void TStateZipCheck::AddStateButtonClick() {
    if (!csz_ || !stateGrid_ || !stateGrid_->post()) return;
    xbase::Status s = csz_->appendBlank();
    if (s.ok()) s = csz_->commit();
    if (!s.ok()) {
        WindowMessages().error(QString::fromStdString(s.message()));
        return;
    }
    const uint32_t added = csz_->recNo();
    stateModel_->reload();
    stateGrid_->selectRecord(added);
    stateGrid_->editCurrentCell();
}

void TStateZipCheck::DeleteStateButtonClick() {
    if (!csz_ || !stateGrid_ || stateGrid_->currentRecNo() == 0) return;
    const uint32_t recNo = stateGrid_->currentRecNo();
    if (stateModel_->editedRecNo() == recNo) stateModel_->cancel();
    if (!stateGrid_->post()) return;
    xbase::Status s = csz_->go(recNo);
    if (s.ok()) s = csz_->deleteRecord();
    if (!s.ok()) WindowMessages().error(QString::fromStdString(s.message()));
    stateGrid_->reload();
}

void TStateZipCheck::EditButtonClick() {
    if (resultGrid_) resultGrid_->editCurrentCell();
}

void TStateZipCheck::SaveButtonClick() {
    if (resultGrid_) resultGrid_->post();
}

void TStateZipCheck::UndoButtonClick() {
    if (resultModel_) resultModel_->cancel();
}

void TStateZipCheck::TagButtonClick() {
    if (resultGrid_) resultGrid_->toggleCurrentTag(globalTagId_);
}

void TStateZipCheck::TagAllButtonClick() {
    if (resultGrid_) resultGrid_->tagAll(table_, globalTagId_, StateZipCheck::kTagAllQuestion);
}

void TStateZipCheck::done(int result) {
    if (running()) return;
    if (!closed_) {
        closed_ = true;
        if (resultModel_ && resultModel_->editing()) {
            QString error;
            if (!resultModel_->post(&error)) WindowMessages().error(error);
        }
        closeStates();
        removeIndex();
    }
    JobWindow::done(result);
}

void TStateZipCheck::removeIndex() {
    if (resultModel_) {
        if (resultGrid_) resultGrid_->Grid->setModel(nullptr);
        delete resultModel_;
        resultModel_ = nullptr;
    }
    if (result_.order > 0) {
        DuplicateCheck::RemoveIndex(table_, result_.order, indexPath_);
        result_.order = 0;
    }
}
