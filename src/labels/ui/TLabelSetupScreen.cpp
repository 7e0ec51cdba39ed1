#include "TLabelSetupScreen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "AddressFile.h"
#include "ButtonRow.h"
#include "JobWindow.h"
#include "LayoutFile.h"
#include "Presort.h"
#include "PrinterDevice.h"
#include "SavedCursor.h"
#include "SystemTables.h"
#include "TAddressDataSet.h"
#include "TGOwner.h"
#include "TPreviewWindow.h"
#include "TPrintStatus.h"
#include "TLabelDesignScreen.h"
#include "TSelectLabelPositions.h"
#include "Table.h"
#include "WindowMessages.h"
#include "FileSystem.h"

namespace {

constexpr int kMaxDescription = 50;

QString inches(double value) { return QString::number(value, 'f', 3); }

}  // namespace

TLabelSetupScreen::TLabelSetupScreen(xbase::Table& labels, xbase::Table& addresses, const AppHome& home,
                                     bool filterSet, QWidget* parent, PrinterDevice* device)
    : QDialog(parent), labels_(labels), addresses_(addresses), home_(home), device_(device) {
    setObjectName("TLabelSetupScreen");
    setWindowTitle("Print Labels");
    printerBefore_ = this->device().printerIndex();
    // A presort list from before belongs to another selection.
    QFile::remove(home_.existingFile(Presort::kFileName));

    auto* select = new QGroupBox("Label Definitions");
    LabelList = new QTreeWidget;
    LabelList->setObjectName("LabelList");
    LabelList->setHeaderLabels({"Description", "Sheet"});
    LabelList->setRootIsDecorated(false);
    LabelList->setMinimumWidth(420);
    LabelList->header()->resizeSection(0, 220);
    ModifyButton = new QPushButton("Modify");
    NewButton = new QPushButton("New");
    DeleteButton = new QPushButton("Delete");
    CloneButton = new QPushButton("Clone");
    ModifyButton->setObjectName("ModifyButton");
    NewButton->setObjectName("NewButton");
    DeleteButton->setObjectName("DeleteButton");
    CloneButton->setObjectName("CloneButton");
    connect(ModifyButton, &QPushButton::clicked, this, &TLabelSetupScreen::ModifyButtonClick);
    connect(NewButton, &QPushButton::clicked, this, &TLabelSetupScreen::NewButtonClick);
    auto* listButtons = new QVBoxLayout;
    for (QPushButton* b : {ModifyButton, NewButton, DeleteButton, CloneButton}) listButtons->addWidget(b);
    listButtons->addStretch();

    auto readOnly = [](const char* name) {
        auto* e = new QLineEdit;
        e->setObjectName(name);
        e->setReadOnly(true);
        e->setMaximumWidth(80);
        return e;
    };
    HeightEdit = readOnly("HeightEdit");
    WidthEdit = readOnly("WidthEdit");
    AcrossEdit = readOnly("AcrossEdit");
    DownEdit = readOnly("DownEdit");
    PaperEdit = readOnly("PaperEdit");
    PaperWidthEdit = readOnly("PaperWidthEdit");
    PaperHeightEdit = readOnly("PaperHeightEdit");
    auto* stock = new QFormLayout;
    stock->addRow("Label Height", HeightEdit);
    stock->addRow("Label Width", WidthEdit);
    stock->addRow("# Across", AcrossEdit);
    stock->addRow("# Down", DownEdit);
    stock->addRow("Paper Size", PaperEdit);
    stock->addRow("Paper Width", PaperWidthEdit);
    stock->addRow("Paper Height", PaperHeightEdit);

    auto* selectLayout = new QHBoxLayout(select);
    selectLayout->addWidget(LabelList, 1);
    selectLayout->addLayout(stock);
    selectLayout->addLayout(listButtons);

    WhatToPrint = new QGroupBox("What to Print");
    AllRecords = new QRadioButton("All records");
    FilterRecords = new QRadioButton("Records matching filter");
    CurrentRecord = new QRadioButton("Only current record");
    StartFromCurrent = new QCheckBox("Start from current record");
    Presort = new QCheckBox("Presort for Bulk Mail");
    AllRecords->setObjectName("AllRecords");
    FilterRecords->setObjectName("FilterRecords");
    CurrentRecord->setObjectName("CurrentRecord");
    StartFromCurrent->setObjectName("StartFromCurrent");
    Presort->setObjectName("Presort");
    auto* whatLayout = new QVBoxLayout(WhatToPrint);
    for (QWidget* w : std::initializer_list<QWidget*>{AllRecords, FilterRecords, CurrentRecord, StartFromCurrent,
                                                       Presort})
        whatLayout->addWidget(w);
    // Checked once they share their box, so that one choice excludes the others.
    FilterRecords->setChecked(true);
    if (!filterSet) {
        FilterRecords->setEnabled(false);
        AllRecords->setChecked(true);
    }

    PrinterBox = new QGroupBox("Printer");
    PrinterList = new QComboBox;
    PrinterList->setObjectName("PrinterList");
    PrinterList->addItems(this->device().printers());
    PrinterList->setCurrentIndex(this->device().printerIndex());
    auto* printerLayout = new QVBoxLayout(PrinterBox);
    printerLayout->addWidget(PrinterList);
    printerLayout->addStretch();

    auto* middle = new QHBoxLayout;
    middle->addWidget(WhatToPrint);
    middle->addWidget(PrinterBox, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(select, 1);
    layout->addLayout(middle);
    ButtonRow row(this, [this] { accept(); }, nullptr);
    OkButton = row.OkButton;
    HelpButton = row.HelpButton;
    row.CancelButton->hide();  // "Ok" closes, as Escape does
    PreviewButton = new QPushButton("Preview");
    PrintButton = new QPushButton("Print");
    PreviewButton->setObjectName("PreviewButton");
    PrintButton->setObjectName("PrintButton");
    row.addOwn(PreviewButton);
    row.addOwn(PrintButton);
    layout->addLayout(row.layout);

    connect(PrintButton, &QPushButton::clicked, this, &TLabelSetupScreen::PrintButtonClick);
    connect(PreviewButton, &QPushButton::clicked, this, &TLabelSetupScreen::PreviewButtonClick);
    connect(DeleteButton, &QPushButton::clicked, this, &TLabelSetupScreen::DeleteButtonClick);
    connect(CloneButton, &QPushButton::clicked, this, &TLabelSetupScreen::CloneButtonClick);
    connect(LabelList, &QTreeWidget::currentItemChanged, this, [this] { showDefinition(); });
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{AllRecords, FilterRecords, CurrentRecord,
                                                                       StartFromCurrent})
        connect(b, &QAbstractButton::clicked, this, [this] { selectionChanged(); });
    connect(PrinterList, &QComboBox::activated, this,
            [this](int index) { (void)this->device().setPrinterIndex(index); });

    fillList();
    selectionChanged();
}

TLabelSetupScreen::~TLabelSetupScreen() {
    // The printer chosen in here holds only while the window is open.
    if (device().printerIndex() != printerBefore_) (void)device().setPrinterIndex(printerBefore_);
}

PrinterDevice& TLabelSetupScreen::device() const { return device_ ? *device_ : PrinterDevice::instance(); }

void TLabelSetupScreen::fillList(uint32_t select) {
    LabelList->clear();
    SystemTables::ForEachDefinition(labels_, [&] {
        const LabelDefinition def = LabelDefs::ReadDefinition(labels_);
        auto* item = new QTreeWidgetItem(LabelList, QStringList{def.description.trimmed(),
                                                                 LabelDefs::SheetName(def.stock)});
        item->setData(0, Qt::UserRole, labels_.recNo());
        if (labels_.recNo() == select || LabelList->topLevelItemCount() == 1) LabelList->setCurrentItem(item);
    });
    showDefinition();
}

uint32_t TLabelSetupScreen::currentRecNo() const {
    const QTreeWidgetItem* item = LabelList->currentItem();
    return item ? item->data(0, Qt::UserRole).toUInt() : 0;
}

LabelDefinition TLabelSetupScreen::current() const {
    const uint32_t recNo = currentRecNo();
    if (recNo == 0 || !labels_.go(recNo).ok() || labels_.eof()) return LabelDefs::StandByDefinition();
    return LabelDefs::ReadDefinition(labels_);
}

void TLabelSetupScreen::showDefinition() {
    const LabelStock s = current().stock;
    HeightEdit->setText(inches(s.height));
    WidthEdit->setText(inches(s.width));
    AcrossEdit->setText(QString::number(s.across));
    DownEdit->setText(QString::number(s.down));
    PaperEdit->setText(s.paperSize.trimmed());
    PaperWidthEdit->setText(inches(s.sheetWidth));
    PaperHeightEdit->setText(inches(s.sheetDepth));
    setButtons();
}

void TLabelSetupScreen::setButtons() {
    const bool on = currentRecNo() != 0;
    for (QWidget* w : std::initializer_list<QWidget*>{PrintButton, PreviewButton, ModifyButton, DeleteButton, CloneButton,
                                                       LabelList, WhatToPrint, PrinterBox})
        w->setEnabled(on);
}

void TLabelSetupScreen::selectionChanged() {
    // Only the current record is never presorted.
    if (CurrentRecord->isChecked()) Presort->setChecked(false);
    Presort->setEnabled(!CurrentRecord->isChecked());
    choice_.presortDone = false;
}

void TLabelSetupScreen::PrintButtonClick() { runJob(false); }
void TLabelSetupScreen::PreviewButtonClick() { runJob(true); }

void TLabelSetupScreen::runJob(bool preview) {
    const LabelDefinition def = current();
    if (currentRecNo() == 0) return;
    choice_.records = AllRecords->isChecked()      ? LabelPrint::Records::All
                      : FilterRecords->isChecked() ? LabelPrint::Records::Filter
                                                   : LabelPrint::Records::Current;
    choice_.startFromCurrent = StartFromCurrent->isChecked();
    choice_.presort = Presort->isChecked();
    const LabelStock& stock = def.stock;
    if (stock.across < 1 || stock.down < 1 || !LabelDefs::CheckStock(stock).isEmpty()) {
        WindowMessages().error(LabelDefs::CheckStock(stock).isEmpty()
                                   ? QString("The label stock of \"%1\" has no labels").arg(def.description.trimmed())
                                   : LabelDefs::CheckStock(stock));
        return;
    }
    TSelectSpecificLabels positions(stock, &choice_, device(), this);
    if (positions.exec() != QDialog::Accepted) return;
    PrinterList->setCurrentIndex(device().printerIndex());

    const QString path = def.binary.isEmpty() ? QString() : home_.existingFile("sysdata/" + def.binary);
    if (path.isEmpty() || !QFile::exists(path)) {
        WindowMessages().error(LabelDefs::kFileRemoved);
        return;
    }
    TAddressDataSet record(&addresses_);
    record.AddCalculatedFields();
    TGOwner owner;
    layout::LayoutFile layout(&owner);
    layout.BindForPrinting(&record);
    if (const LayoutStatus loaded = layout.Load(path); !loaded.ok()) {
        WindowMessages().error(def.binary + ": " + loaded.message());
        return;
    }

    // The job keeps the table's query, order and record and puts them back when it goes.
    const LabelPrint::Paper paper = LabelPrint::Paper::Of(stock);
    LabelPrint::LabelJob job(addresses_, layout, LabelPrint::Geometry::Of(stock), paper, choice_,
                             home_.existingFile(Presort::kFileName));
    QString error;
    JobResult prepared;
    if (choice_.presort && !choice_.presortDone) {
        JobWindow sorting(this);
        sorting.setWindowTitle("Presort");
        sorting.setCancelQuestion("Cancel PRESORT?", "CANCEL");
        sorting.setJob([&](JobProgress& progress) { return job.select(progress, WindowMessages(), &error); });
        sorting.exec();
        prepared = sorting.jobResult();
    } else {
        JobProgress quiet;
        prepared = job.select(quiet, WindowMessages(), &error);
    }
    choice_.presortDone = job.choice().presortDone;
    if (prepared != JobResult::Done) {
        if (prepared == JobResult::Failed && !error.isEmpty()) WindowMessages().error(error);
        return;
    }
    if (!device().setPage(job.pageRequest()) &&
        !WindowMessages().ask(LabelPrint::PaperQuestion(paper), "Confirm", Messages::Preset::Yes))
        return;

    TPrintStatus status(PrintKind::Labels, preview, this, device_);
    status.setJob(job);
    status.exec();
    if (preview && !status.aborted()) {
        const PrintKindTexts& texts = printKindTexts(PrintKind::Labels);
        TPreviewWindow window(status.stream(), texts.previewCaption, texts.previewZoom, nullptr, this);
        window.exec();
    }
}

void TLabelSetupScreen::ModifyButtonClick() {
    const uint32_t recNo = currentRecNo();
    if (recNo == 0) return;
    LabelDefinition def = current();
    QString file = def.binary.isEmpty() ? QString() : home_.existingFile("sysdata/" + def.binary);
    if (file.isEmpty() || !QFile::exists(file)) {
        // The layout file is gone: the designer starts empty and saves under a new name.
        file.clear();
        def.binary = LabelDefs::NextLayoutFileName(home_.sysDataDir());
    }
    design(def, false, file, recNo);
}

void TLabelSetupScreen::NewButtonClick() {
    LabelDefinition def = LabelDefs::NewDefinition();
    def.binary = LabelDefs::NextLayoutFileName(home_.sysDataDir());
    design(def, true, QString(), 0);
}

void TLabelSetupScreen::design(const LabelDefinition& def, bool isNew, const QString& layoutFile, uint32_t recNo) {
    if (def.binary.isEmpty()) {
        WindowMessages().error("Unable to write a layout file in " + home_.sysDataDir());
        return;
    }
    TLabelDesignScreen designer(def, isNew, layoutFile, addresses_, home_, this);
    if (designer.exec() != QDialog::Accepted) return;
    const LabelDefinition edited = designer.definition();
    const QString path = home_.sysDataDir() + "/" + edited.binary;
    QString error;
    const uint32_t stored =
        designer.SaveLayout(path, &error)
            ? SystemTables::StoreDefinition(
                  labels_, isNew ? 0 : recNo,
                  [&edited](xbase::Table& t, QString* e) { return LabelDefs::WriteDefinition(t, edited, e); }, path,
                  &error)
            : 0;
    if (stored == 0) {
        WindowMessages().error(error);
        return;
    }
    fillList(stored);
}

void TLabelSetupScreen::DeleteButtonClick() {
    const uint32_t recNo = currentRecNo();
    if (recNo == 0) return;
    if (SystemTables::AskAndDeleteDefinition(WindowMessages(), labels_, recNo, current().description.trimmed(),
                                             home_))
        fillList();
}

void TLabelSetupScreen::CloneButtonClick() {
    const uint32_t recNo = currentRecNo();
    if (recNo == 0) return;
    LabelDefinition def = current();
    if (!WindowMessages().ask("Clone \"" + def.description.trimmed() + "\"?", "CLONE", Messages::Preset::No))
        return;
    const QString from = def.binary.isEmpty() ? QString() : home_.existingFile("sysdata/" + def.binary);
    if (from.isEmpty() || !QFile::exists(from)) {
        WindowMessages().error(LabelDefs::kFileRemoved);
        return;
    }
    const QString name = LabelDefs::NextLayoutFileName(home_.sysDataDir());
    const xbase::NewFileMode mode(QFile::encodeName(home_.sysDataDir() + "/" + name).toStdString());
    if (name.isEmpty() || !QFile::copy(from, home_.sysDataDir() + "/" + name)) {
        WindowMessages().error("Unable to write a layout file in " + home_.sysDataDir());
        return;
    }
    mode.written();
    def.description = ("Clone of :" + def.description.trimmed()).left(kMaxDescription);
    def.binary = name;
    QString error;
    if (!labels_.appendBlank().ok() || !LabelDefs::WriteDefinition(labels_, def, &error) ||
        !labels_.commit().ok()) {
        QFile::remove(home_.sysDataDir() + "/" + name);
        WindowMessages().error(error.isEmpty() ? "Unable to add the definition to LABEL.DBF" : error);
        return;
    }
    fillList(labels_.recNo());
}
