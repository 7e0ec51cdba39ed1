#include "TqYLetters.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ButtonRow.h"
#include "LetterPrint.h"
#include "LetterStore.h"
#include "PrintKind.h"
#include "PrinterDevice.h"
#include "TLetterPrint.h"
#include "PrinterDialogs.h"
#include "SavedCursor.h"
#include "TLetterDesign.h"
#include "TPreviewWindow.h"
#include "TPrintStatus.h"
#include "Table.h"
#include "WindowMessages.h"

TqYLetters::TqYLetters(LetterStore& store, xbase::Table& addresses, Settings* settings, bool filterSet,
                       QWidget* parent, PrinterDevice* device)
    : QDialog(parent), store_(store), addresses_(addresses), settings_(settings), device_(device) {
    setObjectName("TqYLetters");
    setWindowTitle("Print Letters");
    printerBefore_ = this->device().printerIndex();

    auto* select = new QGroupBox("Select &Letter");
    LetterList = new QTreeWidget;
    LetterList->setObjectName("LetterList");
    LetterList->setHeaderLabels({"Letter Description"});
    LetterList->setRootIsDecorated(false);
    LetterList->setMinimumWidth(320);
    ModifyButton = new QPushButton("&Modify");
    NewButton = new QPushButton("&New");
    DeleteButton = new QPushButton("&Delete");
    CloneButton = new QPushButton("&Clone");
    auto* letterButtons = new QVBoxLayout;
    for (QPushButton* b : {ModifyButton, NewButton, DeleteButton, CloneButton}) letterButtons->addWidget(b);
    letterButtons->addStretch();
    auto* selectLayout = new QHBoxLayout(select);
    selectLayout->addWidget(LetterList, 1);
    selectLayout->addLayout(letterButtons);
    ModifyButton->setObjectName("ModifyButton");
    NewButton->setObjectName("NewButton");
    DeleteButton->setObjectName("DeleteButton");
    CloneButton->setObjectName("CloneButton");

    auto* what = new QGroupBox("What to Print");
    AllRecords = new QRadioButton("&All records");
    FilterRecords = new QRadioButton("Records matching &filter");
    CurrentRecord = new QRadioButton("Only c&urrent record");
    StartFromCurrent = new QCheckBox("&Start from current record");
    CurrentRecord->setChecked(true);
    FilterRecords->setEnabled(filterSet);
    auto* whatLayout = new QVBoxLayout(what);
    for (QWidget* w : std::initializer_list<QWidget*>{AllRecords, FilterRecords, CurrentRecord, StartFromCurrent})
        whatLayout->addWidget(w);

    auto* printer = new QGroupBox("Printer");
    PrinterName = new QLabel(this->device().printerName());
    PrinterName->setObjectName("PrinterName");
    (new QVBoxLayout(printer))->addWidget(PrinterName);

    auto* copies = new QGroupBox("Copies");
    Copies = new QSpinBox;
    Copies->setObjectName("Copies");
    Copies->setRange(1, 999);
    Copies->setValue(1);
    auto* copiesLayout = new QHBoxLayout(copies);
    auto* copiesLabel = new QLabel("# cop&ies of each letter");
    copiesLabel->setBuddy(Copies);
    copiesLayout->addWidget(copiesLabel);
    copiesLayout->addWidget(Copies);

    auto* middle = new QHBoxLayout;
    auto* right = new QVBoxLayout;
    right->addWidget(printer);
    right->addWidget(copies);
    right->addStretch();
    middle->addWidget(what);
    middle->addLayout(right);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(select, 1);
    layout->addLayout(middle);
    ButtonRow row(this, [this] { accept(); }, nullptr);
    OkButton = row.OkButton;
    HelpButton = row.HelpButton;
    OkButton->setText("&Ok");
    HelpButton->setText("&Help");
    row.CancelButton->hide();  // "Ok" closes, as Escape does
    PrintButton = new QPushButton("&Print");
    PreviewButton = new QPushButton("Pre&view");
    PrinterSetupButton = new QPushButton("Prin&ter Setup");
    PrintButton->setObjectName("PrintButton");
    PreviewButton->setObjectName("PreviewButton");
    PrinterSetupButton->setObjectName("PrinterSetupButton");
    for (QPushButton* b : {PrintButton, PreviewButton, PrinterSetupButton}) row.addOwn(b);
    layout->addLayout(row.layout);

    connect(ModifyButton, &QPushButton::clicked, this, &TqYLetters::ModifyButtonClick);
    connect(NewButton, &QPushButton::clicked, this, &TqYLetters::NewButtonClick);
    connect(DeleteButton, &QPushButton::clicked, this, &TqYLetters::DeleteButtonClick);
    connect(CloneButton, &QPushButton::clicked, this, &TqYLetters::CloneButtonClick);
    connect(PrintButton, &QPushButton::clicked, this, &TqYLetters::PrintButtonClick);
    connect(PreviewButton, &QPushButton::clicked, this, &TqYLetters::PreviewButtonClick);
    connect(PrinterSetupButton, &QPushButton::clicked, this, &TqYLetters::PrinterSetupButtonClick);
    connect(LetterList, &QTreeWidget::itemDoubleClicked, this, [this] { ModifyButtonClick(); });

    fillList();
    SetLetterButtons();
}

TqYLetters::~TqYLetters() { restorePrinter(); }

void TqYLetters::done(int result) {
    restorePrinter();
    QDialog::done(result);
}

void TqYLetters::restorePrinter() {
    // The printer chosen in here holds only while the dialog is open.
    if (device().printerIndex() != printerBefore_) (void)device().setPrinterIndex(printerBefore_);
}

PrinterDevice& TqYLetters::device() const { return device_ ? *device_ : PrinterDevice::instance(); }

void TqYLetters::fillList(uint32_t select) {
    LetterList->clear();
    for (const LetterStore::Entry& e : store_.letters()) {
        auto* item = new QTreeWidgetItem(LetterList, QStringList{e.description});
        item->setData(0, Qt::UserRole, e.recNo);
        if (e.recNo == select || LetterList->topLevelItemCount() == 1) LetterList->setCurrentItem(item);
    }
}

uint32_t TqYLetters::currentLetter() const {
    const QTreeWidgetItem* item = LetterList->currentItem();
    return item ? item->data(0, Qt::UserRole).toUInt() : 0;
}

void TqYLetters::SetLetterButtons() {
    const bool any = LetterList->topLevelItemCount() > 0;
    for (QWidget* w : std::initializer_list<QWidget*>{ModifyButton, CloneButton, PrintButton, PreviewButton,
                                                      DeleteButton, LetterList})
        w->setEnabled(any);
}

void TqYLetters::edit(uint32_t recNo) {
    TLetterDesign design(settings_, &addresses_, this);
    design.setHome(store_.home());
    QString error;
    if (recNo != 0) {
        design.Description->setText(LetterList->currentItem()->text(0));
        if (!store_.LoadRichText(recNo, design.document(), &error)) {
            WindowMessages().error(error);
            return;
        }
    } else {
        design.Description->setText("{untitled}");
    }
    design.setNewLetter(recNo == 0);
    if (design.exec() != QDialog::Accepted) return;
    uint32_t stored = 0;
    if (!store_.SaveRichText(recNo, design.Description->text(), *design.document(), &error, &stored)) {
        WindowMessages().error(error);
        return;
    }
    fillList(stored);
}

void TqYLetters::ModifyButtonClick() {
    if (const uint32_t recNo = currentLetter()) edit(recNo);
    SetLetterButtons();
}

void TqYLetters::NewButtonClick() {
    edit(0);
    SetLetterButtons();
}

void TqYLetters::DeleteButtonClick() {
    const uint32_t recNo = currentLetter();
    if (!recNo) return;
    const QString text = LetterList->currentItem()->text(0);
    if (!WindowMessages().ask("Delete \"" + text + "\"?", "DELETE", Messages::Preset::No)) return;
    QString error;
    if (!store_.Delete(recNo, &error)) WindowMessages().error(error);
    fillList();
    SetLetterButtons();
}

void TqYLetters::CloneButtonClick() {
    const uint32_t recNo = currentLetter();
    if (!recNo) return;
    const QString text = LetterList->currentItem()->text(0);
    if (!WindowMessages().ask("Clone \"" + text + "\"?", "CLONE", Messages::Preset::No)) return;
    QString error;
    uint32_t stored = 0;
    if (!store_.Clone(recNo, &error, &stored)) WindowMessages().error(error);
    fillList(stored);
    SetLetterButtons();
}

void TqYLetters::PrintButtonClick() {
    const uint32_t recNo = currentLetter();
    QTextDocument letter;
    QString error;
    if (!recNo || !store_.LoadRichText(recNo, &letter, &error)) return;

    LetterPrint::Choice choice;
    choice.records = AllRecords->isChecked()      ? LetterPrint::Records::All
                     : FilterRecords->isChecked() ? LetterPrint::Records::Filter
                                                  : LetterPrint::Records::Current;
    choice.startFromCurrent = StartFromCurrent->isChecked();
    choice.copies = Copies->value();
    // The job puts the table's query and record back when it goes.
    LetterPrint::LetterJob job(addresses_, letter, choice);
    TLetterPrint status(job, this, device_);
    if (!PrinterDialogs::PrintDialog(this, device(), status.report())) return;
    JobProgress quiet;
    if (job.select(quiet, WindowMessages(), &error) != JobResult::Done) return;
    status.exec();
}

void TqYLetters::PreviewButtonClick() {
    const uint32_t recNo = currentLetter();
    QTextDocument letter;
    QString error;
    if (!recNo || !store_.LoadRichText(recNo, &letter, &error)) return;
    TLetterDesign::Preview(letter, addresses_, settings_, this, device_);
}

void TqYLetters::PrinterSetupButtonClick() {
    if (device().printers().isEmpty()) {
        WindowMessages().inform(QStringLiteral("There are no printers installed"));
        return;
    }
    PrinterDialogs::PrinterSetup(this, device());
    PrinterName->setText(device().printerName());
}
