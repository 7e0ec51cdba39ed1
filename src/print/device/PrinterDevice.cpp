#include "PrinterDevice.h"

#include "PageRequest.h"

#include <cups/cups.h>

#include <QPageSize>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>

namespace {

std::optional<QStringList>& testPrinterList() {
    static std::optional<QStringList> list;
    return list;
}

std::unique_ptr<PrinterDevice>& theDevice() {
    static std::unique_ptr<PrinterDevice> device;
    return device;
}

// The options the Qt CUPS engine passes with the job (name, value, name, value...).
const QPrintEngine::PrintEnginePropertyKey kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// Windows paper-source numbers for the media sources IPP names; others count from 256.
int ippBinCode(const QString& keyword, int position) {
    static const struct {
        const char* keyword;
        int code;
    } known[] = {{"top", 1},     {"upper", 1},        {"bottom", 2},        {"lower", 2},
                 {"middle", 3},  {"manual", 4},       {"envelope", 5},      {"auto", 7},
                 {"tractor", 8}, {"small-format", 9}, {"large-format", 10}, {"large-capacity", 11},
                 {"main", 15}};
    for (const auto& k : known)
        if (keyword == QLatin1String(k.keyword)) return k.code;
    if (keyword.startsWith("tray-")) {
        bool ok = false;
        const int n = keyword.mid(5).toInt(&ok);
        if (ok) return 256 + n;
    }
    return 512 + position;
}

QString sourceName(const QString& keyword) {
    if (keyword == "auto") return "Automatically Select";
    if (keyword == "manual") return "Manual Feed";
    QStringList words = keyword.split('-', Qt::SkipEmptyParts);
    for (QString& w : words) w[0] = w[0].toUpper();
    return words.join(' ');
}

// Papers "PDF File" offers, by Windows paper number.
const int kPdfPapers[] = {1, 5, 7, 9, 11, 13, 20, 27, 28, 34, 37, 8, 3};

bool matches(const QString& entry, const QString& name, bool substring) {
    return substring ? entry.contains(name, Qt::CaseInsensitive) : entry == name;
}

}  // namespace

// What CUPS tells of a printer beyond what Qt does.
struct PrinterDevice::CupsInfo {
    std::vector<QString> sourceKeywords;
    std::vector<Entry> sources;
    QString defaultSource;
    QString deviceUri;
    QString makeAndModel;

    explicit CupsInfo(const QString& printer) {
        const QByteArray name = printer.toUtf8();
        cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
        if (!dest) return;
        deviceUri = QString::fromUtf8(cupsGetOption("device-uri", dest->num_options, dest->options));
        makeAndModel =
            QString::fromUtf8(cupsGetOption("printer-make-and-model", dest->num_options, dest->options));
        if (cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
            if (ipp_attribute_t* a = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, info, "media-source")) {
                for (int i = 0; i < ippGetCount(a); ++i) {
                    const QString keyword = QString::fromUtf8(ippGetString(a, i, nullptr));
                    sourceKeywords.push_back(keyword);
                    sources.push_back({sourceName(keyword), ippBinCode(keyword, i)});
                }
            }
            if (ipp_attribute_t* d = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "media-source"))
                defaultSource = QString::fromUtf8(ippGetString(d, 0, nullptr));
            cupsFreeDestInfo(info);
        }
        cupsFreeDests(1, dest);
    }
};

const QString PrinterDevice::kPdfPrinter = QStringLiteral("PDF File");
const QString PrinterDevice::kNoDevMode =
    QStringLiteral("Invalid operation.  Device has no DevMode structure");

PrinterDevice& PrinterDevice::instance() {
    if (!theDevice()) {
        theDevice() = std::make_unique<PrinterDevice>();
    }
    return *theDevice();
}

void PrinterDevice::discard() { theDevice().reset(); }

namespace {

// The process's device for a report: each call goes to the device of that moment.
class ProcessDevice final : public ReportDevice {
  public:
    DeviceMetrics metrics() override { return PrinterDevice::instance().metrics(); }
    QPageLayout::Orientation orientation() const override { return PrinterDevice::instance().orientation(); }
    void setBusy(bool busy) override { PrinterDevice::instance().setBusy(busy); }
    bool busy() const override { return PrinterDevice::instance().busy(); }
    QString deviceName() const override { return PrinterDevice::instance().deviceName(); }
    QString driverName() const override { return PrinterDevice::instance().driverName(); }
    QString portName() const override { return PrinterDevice::instance().portName(); }
};

}  // namespace

ReportDevice* PrinterDevice::forReport(PrinterDevice* device) {
    static ProcessDevice process;
    return device ? static_cast<ReportDevice*>(device) : &process;
}

void PrinterDevice::setPrinterListForTesting(std::optional<QStringList> names) {
    testPrinterList() = std::move(names);
    discard();
}

PrinterDevice::PrinterDevice() {
    index_ = -1;
    open();
}

PrinterDevice::~PrinterDevice() = default;

QStringList PrinterDevice::printers() const {
    if (testPrinterList()) return *testPrinterList();
    QStringList names = QPrinterInfo::availablePrinterNames();
    names.append(kPdfPrinter);
    return names;
}

// The name taken when the printer was opened: asking the system for its list again
// costs a connection to the print server, and status lines ask for every item.
QString PrinterDevice::printerName() const { return index_ >= 0 ? name_ : QString(); }

bool PrinterDevice::refuseSetup() {
    if (!busy_) return false;
    error_ = kAlreadyPrinting;
    return true;
}

bool PrinterDevice::setPrinterIndex(int index) {
    if (refuseSetup()) return false;
    if (index < -1) return true;
    if (index >= printers().size()) {
        error_ = QStringLiteral("Printer index out of range");
        return false;
    }
    index_ = index;
    open();
    return true;
}

// Opens the selected printer (the default one for index -1) and reads its settings.
void PrinterDevice::open() {
    printer_.reset();
    cups_.reset();
    const QStringList names = printers();
    if (index_ < 0) {
        index_ = names.indexOf(QPrinterInfo::defaultPrinterName());
        if (index_ < 0 && !names.isEmpty()) index_ = 0;
    }
    name_.clear();
    if (index_ < 0) return;
    const QString name = names[index_];
    name_ = name;
    if (name == kPdfPrinter) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setPageSize(QPageSize(QPageSize::Letter));
    } else {
        const QPrinterInfo info = QPrinterInfo::printerInfo(name);
        if (info.isNull()) return;
        printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        cups_ = std::make_unique<CupsInfo>(name);
    }
    printer_->setFullPage(false);
    const QPageSize size = printer_->pageLayout().pageSize();
    paperCode_ = size.windowsId();
    customWidth_ = customHeight_ = 0;
    orientation_ = printer_->pageLayout().orientation();
    copies_ = 1;
    sourceKeyword_.clear();
    bin_ = 7;  // automatic selection
    if (cups_) {
        for (size_t i = 0; i < cups_->sourceKeywords.size(); ++i) {
            if (cups_->sourceKeywords[i] != cups_->defaultSource) continue;
            sourceKeyword_ = cups_->defaultSource;
            bin_ = cups_->sources[i].code;
        }
    }
    apply();
}

QPrinter* PrinterDevice::printer() {
    if (!printer_) open();
    return printer_.get();
}

void PrinterDevice::setPdfFileName(const QString& path) {
    pdfFileName_ = path;
    if (printer_ && isPdf()) printer_->setOutputFileName(path);
}

// Puts the device settings onto the printer. The origin of drawing is the printable
// area's corner, so the margins are the printer's own unprintable border.
void PrinterDevice::apply() {
    if (!printer_) return;
    QPageSize size = paperCode_ == 0 && customWidth_ > 0 && customHeight_ > 0
                         ? QPageSize(QSizeF(customWidth_ / 10.0, customHeight_ / 10.0), QPageSize::Millimeter,
                                     QStringLiteral("Custom"), QPageSize::ExactMatch)
                         : QPageSize(QPageSize::id(paperCode_));
    if (!size.isValid()) size = QPageSize(QPageSize::Letter);
    printer_->setPageSize(size);
    printer_->setPageOrientation(orientation_);
    printer_->setPageMargins(printer_->pageLayout().minimumMargins(), printer_->pageLayout().units());
    printer_->setCopyCount(copies_);
    if (isPdf()) {
        printer_->setOutputFileName(pdfFileName_);
    } else if (!sourceKeyword_.isEmpty()) {
        printer_->printEngine()->setProperty(kCupsOptions,
                                             QStringList{QStringLiteral("media-source"), sourceKeyword_});
    }
}

std::vector<PrinterDevice::Entry> PrinterDevice::paperSources() const {
    if (cups_ && !cups_->sources.empty()) return cups_->sources;
    if (!printer_) return {};
    return {{QStringLiteral("Automatically Select"), 7}};
}

int PrinterDevice::paperSourceIndex() const {
    const std::vector<Entry> list = paperSources();
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].code == bin_) return int(i);
    return -1;
}

bool PrinterDevice::selectPaperSource(const QString& name, bool substring) {
    if (refuseSetup()) return false;
    if (!printer()) {
        error_ = kNoDevMode;
        return false;
    }
    const std::vector<Entry> list = paperSources();
    for (size_t i = 0; i < list.size(); ++i) {
        if (!matches(list[i].name, name, substring)) continue;
        bin_ = list[i].code;
        sourceKeyword_ = cups_ && i < cups_->sourceKeywords.size() ? cups_->sourceKeywords[i] : QString();
        apply();
        return true;
    }
    return false;
}

std::vector<PrinterDevice::Entry> PrinterDevice::papers() const {
    std::vector<Entry> list;
    if (!printer_) return list;
    if (isPdf()) {
        for (int code : kPdfPapers) {
            const QPageSize size(QPageSize::id(code));
            list.push_back({size.name(), code});
        }
        return list;
    }
    for (const QPageSize& size : QPrinterInfo::printerInfo(printerName()).supportedPageSizes())
        list.push_back({size.name(), size.windowsId()});
    return list;
}

int PrinterDevice::paperIndex() const {
    const std::vector<Entry> list = papers();
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].code == paperCode_ && paperCode_ != 0) return int(i);
    return -1;
}

bool PrinterDevice::selectPaper(const QString& name, bool substring) {
    if (refuseSetup()) return false;
    if (!printer()) {
        error_ = kNoDevMode;
        return false;
    }
    for (const Entry& e : papers()) {
        if (!matches(e.name, name, substring)) continue;
        paperCode_ = e.code;
        apply();
        return true;
    }
    return false;
}

bool PrinterDevice::setOrientation(QPageLayout::Orientation orientation) {
    if (refuseSetup()) return false;
    if (!printer()) {
        error_ = kNoDevMode;
        return false;
    }
    orientation_ = orientation;
    apply();
    return true;
}

bool PrinterDevice::setPaperSize(int code, double width, double height) {
    if (refuseSetup()) return false;
    if (!printer()) {
        error_ = kNoDevMode;
        return false;
    }
    paperCode_ = code;
    if (code == 0) {
        customWidth_ = int(std::lround(width * 254));
        customHeight_ = int(std::lround(height * 254));
    }
    apply();
    return true;
}

bool PrinterDevice::setPage(const PageRequest& request) {
    if (!request.paper) return true;
    // A driver of that family takes no paper size from us, so the size is never sure.
    const bool unsure = request.confirm && driverName().toUpper().contains("HPFDJ");
    if (request.code != 0) {
        (void)setPaperSize(request.code);
    } else if (!unsure) {
        (void)setPaperSize(0, request.width, request.height);
    }
    if (request.orient) (void)setOrientation(request.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (!request.confirm) return true;
    const DeviceMetrics page = metrics();
    return !unsure && request.matches(page.pageWidth, page.pageHeight);
}

bool PrinterDevice::setCopies(int copies) {
    if (refuseSetup()) return false;
    copies_ = std::max(1, copies);
    apply();
    return true;
}

DeviceMetrics PrinterDevice::metrics() {
    QPrinter* p = printer();
    if (!p) return DeviceMetrics();
    return DeviceMetrics::fromPageLayout(p->pageLayout(), p->logicalDpiX(), p->logicalDpiY());
}

QString PrinterDevice::driverName() const {
    if (isPdf()) return QStringLiteral("PDF");
    return cups_ && !cups_->makeAndModel.isEmpty() ? cups_->makeAndModel : QStringLiteral("CUPS");
}

QString PrinterDevice::portName() const {
    if (isPdf()) return pdfFileName_;
    return cups_ && !cups_->deviceUri.isEmpty() ? cups_->deviceUri : printerName();
}

void PrinterDevice::settingsChanged() {
    if (!printer_) return;
    const QPageLayout layout = printer_->pageLayout();
    paperCode_ = layout.pageSize().windowsId();
    if (paperCode_ == 0) {
        const QSizeF mm = layout.pageSize().size(QPageSize::Millimeter);
        customWidth_ = int(std::lround(mm.width() * 10));
        customHeight_ = int(std::lround(mm.height() * 10));
    }
    orientation_ = layout.orientation();
    copies_ = printer_->copyCount();
    apply();
}
