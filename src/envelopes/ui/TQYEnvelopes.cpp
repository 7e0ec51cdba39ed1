#include "Icons.h"
#include "TQYEnvelopes.h"

#include <QCheckBox>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "AddressFile.h"
#include "EnvelopeDialogs.h"
#include "HelpLink.h"
#include "LayoutFile.h"
#include "LayoutMetrics.h"
#include "PrintKind.h"
#include "PrinterDevice.h"
#include "PrinterDialogs.h"
#include "RecordMoves.h"
#include "SavedCursor.h"
#include "SettingKeys.h"
#include "Settings.h"
#include "SystemTables.h"
#include "TAddressDataSet.h"
#include "TEnvelopeDesignScreen.h"
#include "TGDataPanel.h"
#include "TGOwner.h"
#include "TPreviewWindow.h"
#include "TPrintStatus.h"
#include "Table.h"
#include "WindowMessages.h"

// The chosen envelope drawn at 0.3 of its size with the current record.
class EnvelopeSample : public QWidget {
  public:
    EnvelopeSample(xbase::Table& addresses, QWidget* parent) : QWidget(parent), data_(&addresses) {
        setObjectName("Sample");
        data_.AddCalculatedFields();
    }
    void display(const QString& layoutFile, const Envelope::Size& size) {
        layout_.reset();
        owner_ = std::make_unique<TGOwner>();
        layout_ = std::make_unique<layout::LayoutFile>(owner_.get());
        layout_->BindForPrinting(&data_);
        const bool known = size.width > 0 && size.height > 0;
        if (known && !layoutFile.isEmpty()) (void)layout_->Load(layoutFile);
        const double perInch = logicalDpiX() * 0.3;
        size_ = known ? QSize(int(std::lround(size.width * perInch)), int(std::lround(size.height * perInch)))
                      : QSize();
        setFixedSize(size_.isEmpty() ? QSize(60, 30) : size_ + QSize(2, 2));
        if (layout_->PanelCount() > 0) {
            TGDataPanel& panel = layout_->Panel(0);
            panel.SetSize(int(std::lround(size.width * layout::kPixelsPerInch)),
                          int(std::lround(size.height * layout::kPixelsPerInch)));
            panel.SetZoom(layout::ScreenZoom(0.3f, logicalDpiX()));
        }
        refresh();
    }
    void refresh() {
        if (layout_ && layout_->PanelCount() > 0) layout_->Panel(0).RefreshData();
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.setPen(Qt::gray);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        if (layout_ && layout_->PanelCount() > 0 && !size_.isEmpty()) {
            p.translate(1, 1);
            layout_->Panel(0).Paint(p);
        }
    }

  private:
    TAddressDataSet data_;
    std::unique_ptr<TGOwner> owner_;
    std::unique_ptr<layout::LayoutFile> layout_;  // the objects go before their owner
    QSize size_;
};

TQYEnvelopes::TQYEnvelopes(xbase::Table& envelopes, xbase::Table& addresses, const AppHome& home, bool filterSet,
                           QWidget* parent, PrinterDevice* device)
    : QDialog(parent), envelopes_(envelopes), addresses_(addresses), home_(home), device_(device) {
    setWindowTitle("Print Envelope");
    printerBefore_ = this->device().printerIndex();
    EnvelopeList = new QTreeWidget;
    EnvelopeList->setObjectName("EnvelopeList");
    EnvelopeList->setHeaderLabels({"Description", "Size"});
    EnvelopeList->setRootIsDecorated(false);
    EnvelopeList->setColumnWidth(0, 220);
    auto button = [this](const char* text, const char* name) {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    ModifyButton = button("&Modify", "ModifyButton");
    NewButton = button("&New", "NewButton");
    DeleteButton = button("&Delete", "DeleteButton");
    CloneButton = button("C&lone", "CloneButton");
    Sample = new EnvelopeSample(addresses_, this);

    auto* whatToPrint = new QGroupBox("What to Print");
    AllRecords = new QRadioButton("&All records");
    FilterRecords = new QRadioButton("Records matching &filter");
    CurrentRecord = new QRadioButton("&Only current record");
    StartFromCurrent = new QCheckBox("&Start from current record");
    AllRecords->setObjectName("AllRecords");
    FilterRecords->setObjectName("FilterRecords");
    CurrentRecord->setObjectName("CurrentRecord");
    StartFromCurrent->setObjectName("StartFromCurrent");
    CurrentRecord->setChecked(true);
    FilterRecords->setEnabled(filterSet);
    auto* choices = new QVBoxLayout(whatToPrint);
    for (QWidget* w : std::initializer_list<QWidget*>{AllRecords, FilterRecords, CurrentRecord, StartFromCurrent})
        choices->addWidget(w);

    auto readOnly = [](const char* name) {
        auto* e = new QLineEdit;
        e->setObjectName(name);
        e->setReadOnly(true);
        return e;
    };
    FirstEdit = readOnly("FirstEdit");
    LastEdit = readOnly("LastEdit");
    OrgEdit = readOnly("OrgEdit");
    CityEdit = readOnly("CityEdit");
    auto* record = new QGroupBox("Current Record");
    auto* recordForm = new QFormLayout(record);
    recordForm->addRow("First:", FirstEdit);
    recordForm->addRow("Last:", LastEdit);
    recordForm->addRow("Org:", OrgEdit);
    recordForm->addRow("City:", CityEdit);
    auto* moves = new QHBoxLayout;
    const std::pair<const char*, Icons::Icon> icons[] = {
        {"First record", Icons::Icon::FirstRecord}, {"Previous record", Icons::Icon::PreviousRecord},
        {"Next record", Icons::Icon::NextRecord},   {"Last record", Icons::Icon::LastRecord}};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QPushButton(Icons::get(icons[i].second), QString());
        b->setToolTip(icons[i].first);
        b->setAutoDefault(false);
        moves->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, i] { moveRecord(i); });
    }
    recordForm->addRow(moves);

    auto* printerSetup = button("Printer Se&tup", "PrinterSetupButton");
    PreviewButton = button("Pre&view", "PreviewButton");
    PrintButton = button("&Print", "PrintButton");
    auto* ok = button("Ok", "OkButton");
    ok->setDefault(true);
    auto* help = button("Help", "HelpButton");
    connect(help, &QPushButton::clicked, this, [this] { HelpLink::showFor(this); });

    auto* listButtons = new QVBoxLayout;
    for (QPushButton* b : {ModifyButton, NewButton, DeleteButton, CloneButton}) listButtons->addWidget(b);
    listButtons->addStretch(1);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(EnvelopeList, 1);
    listRow->addLayout(listButtons);
    auto* options = new QHBoxLayout;
    options->addWidget(whatToPrint);
    options->addWidget(record);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(printerSetup);
    bottom->addStretch(1);
    for (QPushButton* b : {PreviewButton, PrintButton, ok, help}) bottom->addWidget(b);
    auto* top = new QVBoxLayout(this);
    top->addLayout(listRow, 1);
    top->addWidget(Sample, 0, Qt::AlignHCenter);
    top->addLayout(options);
    top->addLayout(bottom);

    connect(EnvelopeList, &QTreeWidget::currentItemChanged, this, &TQYEnvelopes::showDefinition);
    connect(ModifyButton, &QPushButton::clicked, this, &TQYEnvelopes::ModifyButtonClick);
    connect(NewButton, &QPushButton::clicked, this, &TQYEnvelopes::NewButtonClick);
    connect(DeleteButton, &QPushButton::clicked, this, &TQYEnvelopes::DeleteButtonClick);
    connect(CloneButton, &QPushButton::clicked, this, &TQYEnvelopes::CloneButtonClick);
    connect(PrintButton, &QPushButton::clicked, this, [this] { runJob(false); });
    connect(PreviewButton, &QPushButton::clicked, this, [this] { runJob(true); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(printerSetup, &QPushButton::clicked, this, [this] {
        if (PrinterDialogs::PrinterSetup(this, this->device()))
            savePrinterChoice(Envelope::Feed::Load(Settings(Settings::GetIniFileName(home_))));
    });
    loadPrinterChoice();
    fillList();
    showRecord();
    resize(620, 560);
}

TQYEnvelopes::~TQYEnvelopes() {
    // The printer chosen in here holds only while the window is open.
    if (device().printerIndex() != printerBefore_) (void)device().setPrinterIndex(printerBefore_);
}

PrinterDevice& TQYEnvelopes::device() const { return device_ ? *device_ : PrinterDevice::instance(); }

void TQYEnvelopes::fillList(uint32_t select) {
    EnvelopeList->clear();
    SystemTables::ForEachDefinition(envelopes_, [&] {
        const Envelope::Definition def = Envelope::ReadDefinition(envelopes_);
        const Envelope::Size size = Envelope::SizeOf(def.code);
        auto* item = new QTreeWidgetItem(EnvelopeList, {def.description.trimmed(),
                                                        size.width > 0 ? QString(size.entry).trimmed()
                                                                       : QString("Code %1").arg(def.code)});
        item->setData(0, Qt::UserRole, envelopes_.recNo());
        if (envelopes_.recNo() == select || EnvelopeList->topLevelItemCount() == 1)
            EnvelopeList->setCurrentItem(item);
    });
    showDefinition();
}

uint32_t TQYEnvelopes::currentRecNo() const {
    const QTreeWidgetItem* item = EnvelopeList->currentItem();
    return item ? item->data(0, Qt::UserRole).toUInt() : 0;
}

Envelope::Definition TQYEnvelopes::current() const {
    const uint32_t recNo = currentRecNo();
    if (recNo == 0 || !envelopes_.go(recNo).ok() || envelopes_.eof()) return Envelope::Definition();
    return Envelope::ReadDefinition(envelopes_);
}

void TQYEnvelopes::showDefinition() {
    const Envelope::Definition def = current();
    const QString file = def.binary.isEmpty() ? QString() : home_.existingFile("sysdata/" + def.binary);
    Sample->display(file, Envelope::SizeOf(def.code));
    const bool on = currentRecNo() != 0;
    for (QWidget* w : std::initializer_list<QWidget*>{PrintButton, PreviewButton, ModifyButton, DeleteButton,
                                                       CloneButton, EnvelopeList})
        w->setEnabled(on);
}

void TQYEnvelopes::showRecord() {
    auto field = [this](const char* name) {
        const int f = addresses_.fieldIndex(name);
        return f < 0 || addresses_.eof() ? QString() : AddressFile::text(addresses_, f);
    };
    FirstEdit->setText(field("FNAME"));
    LastEdit->setText(field("LNAME"));
    OrgEdit->setText(field("ORG"));
    CityEdit->setText(field("CITY"));
    Sample->refresh();
}

void TQYEnvelopes::moveRecord(int how) {
    RecordMoves::MoveRecord(addresses_, RecordMoves::Move(how));
    showRecord();
}

void TQYEnvelopes::ModifyButtonClick() {
    const uint32_t recNo = currentRecNo();
    if (recNo == 0) return;
    Envelope::Definition def = current();
    QString file = def.binary.isEmpty() ? QString() : home_.existingFile("sysdata/" + def.binary);
    if (file.isEmpty() || !QFile::exists(file)) {
        // The layout file is gone: the designer starts empty and saves under a new name.
        file.clear();
        def.binary = SystemTables::NextBinaryName(home_.sysDataDir(), ".E");
    }
    design(def, file, recNo);
}

void TQYEnvelopes::NewButtonClick() {
    TChooseEnvelopeLayout choose(current().code, this);
    if (choose.exec() != QDialog::Accepted) return;
    Envelope::Definition def;
    def.description = Envelope::kNewEnvelope;
    def.code = choose.code();
    def.binary = SystemTables::NextBinaryName(home_.sysDataDir(), ".E");
    design(def, QString(), 0);
}

void TQYEnvelopes::design(const Envelope::Definition& def, const QString& layoutFile, uint32_t recNo) {
    if (def.binary.isEmpty()) {
        WindowMessages().error("Unable to write a layout file in " + home_.sysDataDir());
        return;
    }
    TEnvelopeDesignScreen designer(def, layoutFile, addresses_, home_, device(), this);
    if (designer.exec() != QDialog::Accepted) return;
    const Envelope::Definition edited = designer.definition();
    const QString path = home_.sysDataDir() + "/" + edited.binary;
    QString error;
    const uint32_t stored =
        designer.SaveLayout(path, &error)
            ? SystemTables::StoreDefinition(
                  envelopes_, recNo,
                  [&edited](xbase::Table& t, QString* e) { return Envelope::WriteDefinition(t, edited, e); }, path,
                  &error)
            : 0;
    if (stored == 0) {
        WindowMessages().error(error);
        return;
    }
    fillList(stored);
}

void TQYEnvelopes::DeleteButtonClick() {
    const uint32_t recNo = currentRecNo();
    if (recNo == 0) return;
    if (SystemTables::AskAndDeleteDefinition(WindowMessages(), envelopes_, recNo, current().description.trimmed(),
                                             home_))
        fillList();
}

void TQYEnvelopes::CloneButtonClick() {
    const uint32_t recNo = currentRecNo();
    if (recNo == 0) return;
    const uint32_t clone = SystemTables::AskAndCloneDefinition(WindowMessages(), envelopes_, recNo,
                                                               current().description.trimmed(), home_, ".E");
    if (clone != 0) fillList(clone);
}

void TQYEnvelopes::loadPrinterChoice() {
    const Settings settings(Settings::GetIniFileName(home_));
    PrinterDevice& d = device();
    // Only the part of a stored name before " ON " counts, found anywhere in a listed name.
    QString printer = settings.value(setting::kEnvelopePrinter);
    const int on = printer.toUpper().indexOf(" ON ");
    if (on >= 0) printer = printer.left(on);
    if (!printer.trimmed().isEmpty()) {
        const QStringList list = d.printers();
        for (int i = 0; i < list.size(); ++i) {
            if (list[i].contains(printer.trimmed(), Qt::CaseInsensitive)) {
                (void)d.setPrinterIndex(i);
                break;
            }
        }
    }
    const QString bin = settings.value(setting::kEnvelopeBin), paper = settings.value(setting::kEnvelopePaper);
    if (!bin.isEmpty()) (void)d.selectPaperSource(bin, true);
    if (!paper.isEmpty()) (void)d.selectPaper(paper, true);
    (void)d.setOrientation(settings.value(setting::kEnvelopePrinterOrientation, d.orientation() ==
                                                                                     QPageLayout::Landscape)
                               ? QPageLayout::Landscape
                               : QPageLayout::Portrait);
}

void TQYEnvelopes::savePrinterChoice(const Envelope::Feed& feed) {
    Settings settings(Settings::GetIniFileName(home_));
    PrinterDevice& d = device();
    const int source = d.paperSourceIndex(), paper = d.paperIndex();
    const auto sources = d.paperSources();
    const auto papers = d.papers();
    QString error;
    if (!feed.Save(settings, &error) ||
        !settings.write({{setting::kEnvelopePrinter, d.printerName()},
                         {setting::kEnvelopeBin,
                          source >= 0 && source < int(sources.size()) ? sources[size_t(source)].name : QString()},
                         {setting::kEnvelopePaper,
                          paper >= 0 && paper < int(papers.size()) ? papers[size_t(paper)].name : QString()},
                         {setting::kEnvelopePrinterOrientation, d.orientation() == QPageLayout::Landscape ? 1 : 0}},
                        &error))
        WindowMessages().error(error);
}

void TQYEnvelopes::runJob(bool preview) {
    if (currentRecNo() == 0) return;
    const Envelope::Definition def = current();
    const Envelope::Size size = Envelope::SizeOf(def.code);
    if (size.width <= 0 || size.height <= 0) {
        WindowMessages().error(QString("The envelope \"%1\" has the size code %2, which is not an envelope size")
                                   .arg(def.description.trimmed())
                                   .arg(def.code));
        return;
    }
    loadPrinterChoice();
    const QString path = def.binary.isEmpty() ? QString() : home_.existingFile("sysdata/" + def.binary);
    if (path.isEmpty() || !QFile::exists(path)) {
        WindowMessages().error(Envelope::kFileRemoved);
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
    Settings settings(Settings::GetIniFileName(home_));
    Envelope::Feed feed = Envelope::Feed::Load(settings);
    PrinterDevice& printer = device();
    (void)printer.setPaperSize(def.code);
    (void)printer.setOrientation(feed.orientation == 0 ? QPageLayout::Portrait : QPageLayout::Landscape);
    TEnvelopePrePrint prePrint(printer, size, feed, Envelope::LoadCalibration(settings, printer.printerName()),
                               this);
    if (prePrint.exec() != QDialog::Accepted) return;
    feed = prePrint.feed();
    savePrinterChoice(feed);
    QString error;
    if (!Envelope::SaveCalibration(settings, printer.printerName(), prePrint.calibration(), &error))
        WindowMessages().error(error);

    EnvelopePrint::Choice choice;
    choice.records = AllRecords->isChecked()      ? EnvelopePrint::Records::All
                     : FilterRecords->isChecked() ? EnvelopePrint::Records::Filter
                                                  : EnvelopePrint::Records::Current;
    choice.startFromCurrent = StartFromCurrent->isChecked();
    choice.preview = preview;
    choice.calibration = prePrint.calibration();
    // The job puts the table's query, order and record back when it goes.
    EnvelopePrint::EnvelopeJob job(addresses_, layout, size, feed, choice);
    JobProgress quiet;
    if (job.select(quiet, WindowMessages(), &error) != JobResult::Done) {
        WindowMessages().inform(error);
        return;
    }
    TPrintStatus status(PrintKind::Envelopes, preview, this, device_);
    status.setJob(job);
    status.exec();
    if (preview && !status.aborted()) {
        const PrintKindTexts& texts = printKindTexts(PrintKind::Envelopes);
        TPreviewWindow window(status.stream(), texts.previewCaption, texts.previewZoom, nullptr, this);
        window.exec();
    }
}
