#include "TReportSetup.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "BuiltInReports.h"
#include "LayoutFile.h"
#include "PrinterDevice.h"
#include "PrinterDialogs.h"
#include "SavedCursor.h"
#include "SystemTables.h"
#include "TAddressDataSet.h"
#include "TGOwner.h"
#include "TPreviewWindow.h"
#include "TPrintStatus.h"
#include "TReportDesigner.h"
#include "Table.h"
#include "UserReport.h"
#include "WindowMessages.h"

namespace {

const char* const kBuiltIns[] = {"1. Name,Address,City,State,Zip,Phone", "2. Name,Organization,Phone,Fax",
                                 "3. Organization,Name,Phone,Fax ",
                                 "4. All major fields (takes several lines)"};

QPushButton* button(const char* text, const char* name) {
    auto* b = new QPushButton(text);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

TReportSetup::TReportSetup(xbase::Table& reports, xbase::Table& addresses, const AppHome& home,
                           bool filterSet, QWidget* parent, PrinterDevice* device)
    : QDialog(parent), reports_(reports), addresses_(addresses), home_(home), device_(device) {
    setWindowTitle("Print Report");
    setObjectName("TReportSetup");
    printerBefore_ = this->device().printerIndex();

    // "Built In Reports"
    BuiltInList = new QListWidget;
    BuiltInList->setObjectName("BuiltInList");
    for (const char* entry : kBuiltIns) BuiltInList->addItem(entry);
    BuiltInList->setCurrentRow(0);
    TitleEdit = new QLineEdit("Report 1");
    TitleEdit->setObjectName("TitleEdit");
    PrintMemo = new QCheckBox("Print &Memo");
    PrintMemo->setObjectName("PrintMemo");
    PrintCodes = new QCheckBox("Print C&odes");
    PrintCodes->setObjectName("PrintCodes");
    auto* builtIn = new QWidget;
    auto* builtInLayout = new QVBoxLayout(builtIn);
    auto* selectLabel = new QLabel("Sel&ect Report:");
    selectLabel->setBuddy(BuiltInList);
    builtInLayout->addWidget(selectLabel);
    builtInLayout->addWidget(BuiltInList, 1);
    auto* titleRow = new QHBoxLayout;
    auto* titleLabel = new QLabel("Report T&itle");
    titleLabel->setBuddy(TitleEdit);
    titleRow->addWidget(titleLabel);
    titleRow->addWidget(TitleEdit, 1);
    builtInLayout->addLayout(titleRow);
    auto* checks = new QHBoxLayout;
    checks->addWidget(PrintMemo);
    checks->addWidget(PrintCodes);
    checks->addStretch(1);
    builtInLayout->addLayout(checks);

    // "Report Designer"
    ReportList = new QTreeWidget;
    ReportList->setObjectName("ReportList");
    ReportList->setHeaderLabels({"Description"});
    ReportList->setRootIsDecorated(false);
    ModifyButton = button("&Modify", "ModifyButton");
    NewButton = button("&New", "NewButton");
    DeleteButton = button("&Delete", "DeleteButton");
    CloneButton = button("C&lone", "CloneButton");
    OnePerPage = new QCheckBox("One Record Per Pa&ge");
    OnePerPage->setObjectName("OnePerPage");
    auto* designer = new QWidget;
    auto* listButtons = new QVBoxLayout;
    for (QPushButton* b : {ModifyButton, NewButton, DeleteButton, CloneButton}) listButtons->addWidget(b);
    listButtons->addStretch(1);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(ReportList, 1);
    listRow->addLayout(listButtons);
    auto* designerLayout = new QVBoxLayout(designer);
    designerLayout->addLayout(listRow, 1);
    designerLayout->addWidget(OnePerPage);

    Pages = new QTabWidget;
    Pages->setObjectName("Pages");
    Pages->addTab(builtIn, "&Built In Reports");
    Pages->addTab(designer, "&Report Designer");

    WhatToPrint = new QGroupBox("What to Print");
    WhatToPrint->setObjectName("WhatToPrint");
    AllRecords = new QRadioButton("&All records");
    FilterRecords = new QRadioButton("Records matching &filter");
    CurrentRecord = new QRadioButton("Only &current record");
    StartFromCurrent = new QCheckBox("&Start from current record");
    AllRecords->setObjectName("AllRecords");
    FilterRecords->setObjectName("FilterRecords");
    CurrentRecord->setObjectName("CurrentRecord");
    StartFromCurrent->setObjectName("StartFromCurrent");
    // Without a user filter the whole file is the natural choice.
    FilterRecords->setEnabled(filterSet);
    (filterSet ? FilterRecords : AllRecords)->setChecked(true);
    auto* choices = new QVBoxLayout(WhatToPrint);
    for (QWidget* w :
         std::initializer_list<QWidget*>{AllRecords, FilterRecords, CurrentRecord, StartFromCurrent})
        choices->addWidget(w);

    auto* printerSetup = button("Printer Se&tup", "PrinterSetupButton");
    PreviewButton = button("Pre&view", "PreviewButton");
    PrintButton = button("&Print", "PrintButton");
    auto* ok = button("Ok", "OkButton");
    ok->setDefault(true);
    auto* side = new QVBoxLayout;
    side->addWidget(WhatToPrint);
    side->addStretch(1);
    for (QPushButton* b : {PrintButton, PreviewButton, printerSetup, ok}) side->addWidget(b);
    auto* top = new QHBoxLayout(this);
    top->addWidget(Pages, 1);
    top->addLayout(side);

    connect(BuiltInList, &QListWidget::currentRowChanged, this,
            [this](int row) { TitleEdit->setText(QString("Report %1").arg(row + 1)); });
    connect(Pages, &QTabWidget::currentChanged, this, &TReportSetup::SetButtons);
    connect(ReportList, &QTreeWidget::currentItemChanged, this, &TReportSetup::SetButtons);
    connect(ReportList, &QTreeWidget::itemActivated, this, &TReportSetup::ModifyButtonClick);
    connect(ModifyButton, &QPushButton::clicked, this, &TReportSetup::ModifyButtonClick);
    connect(NewButton, &QPushButton::clicked, this, &TReportSetup::NewButtonClick);
    connect(DeleteButton, &QPushButton::clicked, this, &TReportSetup::DeleteButtonClick);
    connect(CloneButton, &QPushButton::clicked, this, &TReportSetup::CloneButtonClick);
    connect(PrintButton, &QPushButton::clicked, this, [this] { runJob(false); });
    connect(PreviewButton, &QPushButton::clicked, this, [this] { runJob(true); });
    connect(printerSetup, &QPushButton::clicked, this, [this] {
        if (this->device().printers().isEmpty())
            WindowMessages().inform(QStringLiteral("There are no printers installed"));
        else
            PrinterDialogs::PrinterSetup(this, this->device());
    });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    fillList();
    resize(640, 400);
}

TReportSetup::~TReportSetup() {
    // The printer chosen in here holds only while the window is open.
    if (device().printerIndex() != printerBefore_) (void)device().setPrinterIndex(printerBefore_);
}

PrinterDevice& TReportSetup::device() const { return device_ ? *device_ : PrinterDevice::instance(); }

void TReportSetup::fillList(uint32_t select) {
    ReportList->clear();
    SystemTables::ForEachDefinition(reports_, [&] {
        auto* item = new QTreeWidgetItem(ReportList, {ReportDefinition::Read(reports_).description});
        item->setData(0, Qt::UserRole, reports_.recNo());
        if (reports_.recNo() == select || ReportList->topLevelItemCount() == 1)
            ReportList->setCurrentItem(item);
    });
    SetButtons();
}

uint32_t TReportSetup::currentRecNo() const {
    const QTreeWidgetItem* item = ReportList->currentItem();
    return item ? item->data(0, Qt::UserRole).toUInt() : 0;
}

ReportDefinition::Definition TReportSetup::current() const {
    const uint32_t recNo = currentRecNo();
    if (recNo == 0 || !reports_.go(recNo).ok() || reports_.eof()) return ReportDefinition::Definition();
    return ReportDefinition::Read(reports_);
}

void TReportSetup::SetButtons() {
    const bool report = currentRecNo() != 0;
    for (QWidget* w : std::initializer_list<QWidget*>{ModifyButton, DeleteButton, CloneButton, ReportList})
        w->setEnabled(report);
    // The built-in listings can always print; a user report only once one is chosen.
    const bool printable = Pages->currentIndex() == 0 || report;
    for (QWidget* w : std::initializer_list<QWidget*>{PrintButton, PreviewButton, WhatToPrint})
        w->setEnabled(printable);
}

void TReportSetup::ModifyButtonClick() {
    const uint32_t recNo = currentRecNo();
    if (recNo == 0) return;
    const ReportDefinition::Definition def = current();
    const QString file = def.binary.isEmpty() ? QString() : home_.existingFile("sysdata/" + def.binary);
    design(def, file, recNo);
}

void TReportSetup::NewButtonClick() { design(ReportDefinition::Definition(), QString(), 0); }

void TReportSetup::design(const ReportDefinition::Definition& def, const QString& layoutFile,
                          uint32_t recNo) {
    QString error;
    uint32_t stored = recNo;
    {
        TReportDesigner designer(def, layoutFile, recNo == 0, addresses_, home_, this);
        if (designer.exec() != QDialog::Accepted) return;
        if (!designer.Save(reports_, recNo, home_.sysDataDir(), &error)) {
            WindowMessages().error(error);
            return;
        }
        if (recNo == 0) stored = reports_.recNo();
    }
    fillList(stored);
}

void TReportSetup::DeleteButtonClick() {
    const uint32_t recNo = currentRecNo();
    if (recNo == 0) return;
    if (SystemTables::AskAndDeleteDefinition(WindowMessages(), reports_, recNo, current().description, home_))
        fillList();
}

void TReportSetup::CloneButtonClick() {
    const uint32_t recNo = currentRecNo();
    if (recNo == 0) return;
    const uint32_t clone = SystemTables::AskAndCloneDefinition(WindowMessages(), reports_, recNo,
                                                               current().description, home_, ".R");
    if (clone != 0) fillList(clone);
}

void TReportSetup::runJob(bool preview) {
    const bool builtIn = Pages->currentIndex() == 0;
    if (!builtIn && currentRecNo() == 0) return;
    const RecordChoice::Records records = AllRecords->isChecked()      ? RecordChoice::Records::All
                                          : FilterRecords->isChecked() ? RecordChoice::Records::Filter
                                                                       : RecordChoice::Records::Current;
    BuiltInReports::Choice listing;
    listing.report = BuiltInList->currentRow() + 1;
    listing.title = TitleEdit->text();
    listing.memo = PrintMemo->isChecked();
    listing.codes = PrintCodes->isChecked();
    listing.records = records;
    listing.startFromCurrent = StartFromCurrent->isChecked();
    UserReport::Choice user;
    user.records = records;
    user.startFromCurrent = listing.startFromCurrent;
    user.onePerPage = OnePerPage->isChecked();

    // A user report's bands, read before anything is printed.
    const ReportDefinition::Definition def = current();
    TGOwner owner;
    layout::LayoutFile layout(&owner);
    TAddressDataSet record(&addresses_);
    record.AddCalculatedFields();
    if (!builtIn) {
        const QString path = def.binary.isEmpty() ? QString() : home_.existingFile("sysdata/" + def.binary);
        QByteArray bytes;
        LayoutStatus read = layout::ReadLayoutFile(path, &bytes);
        if (read.ok()) read = layout.Read(bytes, layout::LayoutKind::Report);
        if (!read.ok()) {
            WindowMessages().error("The report \"" + def.description + "\" cannot be printed. " + def.binary +
                                   ": " + read.message());
            return;
        }
        layout.BindForPrinting(&record);
    }
    // The job puts the table's query, order and record back when it goes.
    std::unique_ptr<PrintJob> job;
    if (builtIn)
        job = std::make_unique<BuiltInReports::ListingJob>(addresses_, listing);
    else
        job = std::make_unique<UserReport::UserReportJob>(addresses_, layout, user);
    (void)device().setPage(job->pageRequest());

    TPrintStatus status(PrintKind::Reports, preview, this, device_);
    status.setJob(*job);
    if (!preview && !PrinterDialogs::PrintDialog(this, device(), status.report())) return;
    QString error;
    JobProgress quiet;
    if (job->select(quiet, WindowMessages(), &error) != JobResult::Done) {
        WindowMessages().inform(error);
        return;
    }
    status.exec();
    if (preview && !status.aborted()) {
        const PrintKindTexts& texts = printKindTexts(PrintKind::Reports);
        TPreviewWindow window(status.stream(), texts.previewCaption, texts.previewZoom, nullptr, this);
        window.exec();
    }
}
