#include "TBaseReport.h"

#include <QFontMetricsF>
#include <cmath>

const QString TBaseReport::kNotPrinting =
    QStringLiteral("Invalid method call.  ReportPrinter is not printing.");

namespace {

// The office fonts that layouts and reports name print in their metric-compatible
// Liberation faces, which the program installs, so that the widths measured for columns
// and clipping are those of the printed text on every machine (fontconfig alone may
// pick another face for "Times").
QString printFamily(const QString& name) {
    static const std::pair<const char*, const char*> faces[] = {
        {"Arial", "Liberation Sans"},           {"Helvetica", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"}, {"Times", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},     {"Courier", "Liberation Mono"}};
    for (const auto& [office, liberation] : faces)
        if (name.compare(QLatin1String(office), Qt::CaseInsensitive) == 0) return QString::fromLatin1(liberation);
    return name;
}

}  // namespace

TBaseReport::TBaseReport(ReportDevice* device) : device_(device) {
    font_ = QFont(printFamily(QStringLiteral("Arial")));
    font_.setPointSizeF(10);
    setMetrics(DeviceMetrics());
}

TBaseReport::~TBaseReport() = default;

bool TBaseReport::refuse() {
    if (state_ == State::Running) return false;
    error_ = kNotPrinting;
    return true;
}

bool TBaseReport::setOrientation(std::optional<QPageLayout::Orientation> orientation) {
    if (state_ == State::Running) {
        error_ = ReportDevice::kAlreadyPrinting;
        return false;
    }
    orientation_ = orientation;
    return true;
}

void TBaseReport::setMetrics(const DeviceMetrics& metrics) {
    metrics_ = metrics;
    measure_ = std::make_unique<QImage>(1, 1, QImage::Format_RGB32);
    measure_->setDotsPerMeterX(int(std::lround(metrics.dpiX / 0.0254)));
    measure_->setDotsPerMeterY(int(std::lround(metrics.dpiY / 0.0254)));
    fontChanged();
}

// ---- the job ----

bool TBaseReport::execute() {
    if (state_ == State::Running) {
        error_ = ReportDevice::kAlreadyPrinting;
        return false;
    }
    error_.clear();
    aborted_ = false;
    stopped_ = false;
    page_ = 0;
    DeviceMetrics metrics = metrics_;
    if (!beginOutput(&metrics, &error_)) {
        state_ = State::Finished;
        aborted_ = true;
        return false;
    }
    setMetrics(metrics);
    state_ = State::Running;
    if (device_) device_->setBusy(true);
    setFont(QStringLiteral("Arial"), 10);
    pen_ = PenSpec();
    brush_ = BrushSpec();
    clearClipArea();
    page_ = 1;
    startPage();
    if (OnBeforePrint) OnBeforePrint(*this);
    if (OnPrintHeader) OnPrintHeader(*this);
    if (OnPrint || !OnPrintPage) {
        if (OnPrint) OnPrint(*this);
    } else {
        while (!aborted_ && OnPrintPage(*this)) {
            if (!aborted_) newPage();
        }
    }
    if (OnAfterPrint) OnAfterPrint(*this);
    if (!aborted_) finishPage();
    endOutput(aborted_);
    if (device_) device_->setBusy(false);
    state_ = State::Finished;
    return !aborted_;
}

void TBaseReport::abort() { aborted_ = true; }

void TBaseReport::startPage() {
    current_ = Page();
    current_.number = page_;
    current_.size = QSizeF(metrics_.pageWidth, metrics_.pageHeight);
    home();
    nextTab_ = 0;
}

void TBaseReport::finishPage() {
    if (OnPrintFooter) OnPrintFooter(*this);
    if (page_ >= FirstPage && page_ <= LastPage) outputPage(std::move(current_));
    current_ = Page();
}

bool TBaseReport::newPage() {
    if (refuse()) return false;
    finishPage();
    ++page_;
    startPage();
    if (OnNewPage) OnNewPage(*this);
    if (OnPrintHeader) OnPrintHeader(*this);
    return true;
}

QString TBaseReport::statusLine() const {
    StatusContext c;
    c.page = page_;
    c.firstPage = FirstPage;
    c.lastPage = LastPage;
    c.statusText = StatusText;
    statusNames(&c.device, &c.driver, &c.port);
    return FormatStatus(StatusFormat, c);
}

void TBaseReport::setProgress(JobProgress* progress, OnHalt onHalt) {
    progress_ = progress;
    onHalt_ = onHalt;
}

void TBaseReport::updateStatus() {
    if (!progress_) return;
    progress_->status(statusLine());
    if (progress_->keepGoing() || cancelled()) return;
    if (onHalt_ == OnHalt::Stop) {
        stop();
    } else {
        abort();
    }
}

// ---- units ----

double TBaseReport::toSheetX(double x) const { return (x / UnitsFactor + OriginX) * ScaleX / 100.0; }
double TBaseReport::toSheetY(double y) const { return (y / UnitsFactor + OriginY) * ScaleY / 100.0; }
double TBaseReport::toInchesX(double length) const { return length / UnitsFactor * ScaleX / 100.0; }
double TBaseReport::toInchesY(double length) const { return length / UnitsFactor * ScaleY / 100.0; }
double TBaseReport::fromInchesX(double inches) const { return inches * 100.0 / ScaleX * UnitsFactor; }
double TBaseReport::fromInchesY(double inches) const { return inches * 100.0 / ScaleY * UnitsFactor; }

QRectF TBaseReport::sheetRect(double x1, double y1, double x2, double y2) const {
    return QRectF(sheet(x1, y1), sheet(x2, y2)).normalized();
}

double TBaseReport::pageWidth() const { return fromInchesX(metrics_.pageWidth); }
double TBaseReport::pageHeight() const { return fromInchesY(metrics_.pageHeight); }

int TBaseReport::xToDevice(double x) const {
    return int(std::lround((toSheetX(x) - metrics_.offsetLeft) * metrics_.dpiX));
}

int TBaseReport::yToDevice(double y) const {
    return int(std::lround((toSheetY(y) - metrics_.offsetTop) * metrics_.dpiY));
}

// ---- font ----

void TBaseReport::fontChanged() { fontMetrics_.reset(); }

const QFontMetricsF& TBaseReport::fontMetrics() {
    if (!fontMetrics_) fontMetrics_ = std::make_unique<QFontMetricsF>(font_, measure_.get());
    return *fontMetrics_;
}

bool TBaseReport::setFont(const QString& name, double points) {
    if (refuse()) return false;
    font_ = QFont(printFamily(name));
    font_.setPointSizeF(points > 0 ? points : 10);
    fontColor_ = Qt::black;
    rotation_ = 0;
    fontChanged();
    return true;
}

bool TBaseReport::setBold(bool on) {
    if (refuse()) return false;
    font_.setBold(on);
    fontChanged();
    return true;
}

bool TBaseReport::setItalic(bool on) {
    if (refuse()) return false;
    font_.setItalic(on);
    fontChanged();
    return true;
}

bool TBaseReport::setUnderline(bool on) {
    if (refuse()) return false;
    font_.setUnderline(on);
    fontChanged();
    return true;
}

bool TBaseReport::setStrikeOut(bool on) {
    if (refuse()) return false;
    font_.setStrikeOut(on);
    fontChanged();
    return true;
}

bool TBaseReport::setFontColor(const QColor& color) {
    if (refuse()) return false;
    fontColor_ = color;
    return true;
}

bool TBaseReport::setFontRotation(int degrees) {
    if (refuse()) return false;
    rotation_ = ((degrees % 360) + 360) % 360;
    return true;
}

double TBaseReport::textWidth(const QString& text) {
    const double pixels = std::max(1.0, fontMetrics().horizontalAdvance(text));
    return fromInchesX(pixels / metrics_.dpiX);
}

double TBaseReport::fontLineHeight() { return fromInchesY(fontMetrics().lineSpacing() / metrics_.dpiY); }

double TBaseReport::fontAscent() { return fromInchesY(fontMetrics().ascent() / metrics_.dpiY); }

double TBaseReport::fontHeight() { return fromInchesY(fontMetrics().height() / metrics_.dpiY); }

bool TBaseReport::setClipArea(double x1, double y1, double x2, double y2) {
    if (refuse()) return false;
    clipUnits_ = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
    clipSheet_ = sheetRect(x1, y1, x2, y2);
    return true;
}

void TBaseReport::clearClipArea() {
    clipUnits_ = QRectF();
    clipSheet_ = QRectF();
}

// ---- drawing ----

ReportRect TBaseReport::makeRect(double x1, double y1, double x2, double y2) const {
    ReportRect r;
    r.inches = sheetRect(x1, y1, x2, y2);
    r.device = QRect(QPoint(xToDevice(std::min(x1, x2)), yToDevice(std::min(y1, y2))),
                     QPoint(xToDevice(std::max(x1, x2)), yToDevice(std::max(y1, y2))));
    return r;
}

DrawOp& TBaseReport::add(DrawOp::Kind kind) {
    current_.ops.emplace_back();
    DrawOp& op = current_.ops.back();
    op.kind = kind;
    op.area = clipSheet_;
    return op;
}

void TBaseReport::addText(const QPointF& baseline, const QString& text, const QRectF& clip) {
    DrawOp& op = add(DrawOp::Kind::Text);
    op.p1 = baseline;
    op.text = text;
    op.rect = clip;
    op.font = font_;
    op.color = fontColor_;
    op.rotation = rotation_;
}

bool TBaseReport::textRect(const ReportRect& rect, double x, double y, const QString& text) {
    if (refuse()) return false;
    // (x, y) is the top of the text; the stream holds its baseline, which lies one
    // ascent further along the text's "down" direction.
    const double ascent = fontMetrics().ascent();
    const double radians = rotation_ * M_PI / 180.0;
    const QPointF top = sheet(x, y);
    const QPointF baseline(top.x() + ascent * std::sin(radians) / metrics_.dpiX,
                           top.y() + ascent * std::cos(radians) / metrics_.dpiY);
    addText(baseline, text, rect.inches);
    return true;
}

bool TBaseReport::printXY(double x, double y, const QString& text) {
    if (refuse()) return false;
    addText(sheet(x, y), text, QRectF());
    cursorX_ = x + textWidth(text);
    cursorY_ = y;
    return true;
}

bool TBaseReport::setPen(const QColor& color, Qt::PenStyle style, int width, PenSpec::Mode mode) {
    if (refuse()) return false;
    int dots = width;
    if (width < 0) dots = std::max(1, int(std::lround(-width * metrics_.dpiX / 100.0)));
    if (dots < 1) dots = 1;
    pen_.color = color;
    pen_.style = style;
    pen_.width = dots / metrics_.dpiX;
    pen_.mode = mode;
    return true;
}

bool TBaseReport::setBrush(const QColor& color, Qt::BrushStyle style) {
    if (refuse()) return false;
    brush_.color = color;
    brush_.style = style;
    return true;
}

bool TBaseReport::rectangle(double x1, double y1, double x2, double y2) {
    if (refuse()) return false;
    DrawOp& op = add(DrawOp::Kind::Rect);
    op.rect = sheetRect(x1, y1, x2, y2);
    op.pen = pen_;
    op.brush = brush_;
    return true;
}

bool TBaseReport::roundRect(double x1, double y1, double x2, double y2, double cornerWidth,
                            double cornerHeight) {
    if (refuse()) return false;
    DrawOp& op = add(DrawOp::Kind::RoundRect);
    op.rect = sheetRect(x1, y1, x2, y2);
    op.corner = QSizeF(toInchesX(cornerWidth), toInchesY(cornerHeight));
    op.pen = pen_;
    op.brush = brush_;
    return true;
}

bool TBaseReport::ellipse(double x1, double y1, double x2, double y2) {
    if (refuse()) return false;
    DrawOp& op = add(DrawOp::Kind::Ellipse);
    op.rect = sheetRect(x1, y1, x2, y2);
    op.pen = pen_;
    op.brush = brush_;
    return true;
}

bool TBaseReport::line(double x1, double y1, double x2, double y2) {
    if (refuse()) return false;
    DrawOp& op = add(DrawOp::Kind::Line);
    op.p1 = sheet(x1, y1);
    op.p2 = sheet(x2, y2);
    op.pen = pen_;
    penAt_ = QPointF(x2, y2);
    return true;
}

bool TBaseReport::moveTo(double x, double y) {
    if (refuse()) return false;
    penAt_ = QPointF(x, y);
    return true;
}

bool TBaseReport::lineTo(double x, double y) { return line(penAt_.x(), penAt_.y(), x, y); }

bool TBaseReport::stretchDraw(const ReportRect& rect, const QImage& image) {
    if (refuse()) return false;
    DrawOp& op = add(DrawOp::Kind::Image);
    op.rect = rect.inches;
    op.image = image;
    return true;
}

bool TBaseReport::playMetafile(const ReportRect& rect, const QByteArray& wmf) {
    if (refuse()) return false;
    DrawOp& op = add(DrawOp::Kind::Metafile);
    op.rect = rect.inches;
    op.data = wmf;
    return true;
}

// ---- cursor, lines and tabs ----

void TBaseReport::gotoXY(double x, double y) {
    cursorX_ = x;
    cursorY_ = y;
}

void TBaseReport::home() {
    cursorX_ = MarginLeft;
    cursorY_ = MarginTop + fontAscent();
    nextTab_ = 0;
}

void TBaseReport::newLine() {
    cursorX_ = MarginLeft;
    cursorY_ += fontLineHeight();
    nextTab_ = 0;
}

double TBaseReport::lineTop() { return cursorY_ - fontAscent(); }

double TBaseReport::lineBottom() { return lineTop() + fontLineHeight(); }

bool TBaseReport::print(const QString& text) { return printXY(cursorX_, cursorY_, text); }

bool TBaseReport::println(const QString& text) {
    if (!print(text)) return false;
    newLine();
    return true;
}

void TBaseReport::clearTabs() {
    tabs_.clear();
    nextTab_ = 0;
}

void TBaseReport::setTab(double position, TabJustify justify, double width, int margin, int shade) {
    tabs_.push_back({position, justify, width, margin, shade});
}

bool TBaseReport::printTab(const QString& text) {
    if (refuse()) return false;
    if (nextTab_ >= tabs_.size()) return print(text);
    // A stop without a position starts where the previous one ended (the cursor).
    const double left = tabs_[nextTab_].position < 0 ? cursorX_ : tabs_[nextTab_].position;
    const Tab& tab = tabs_[nextTab_++];
    const double top = lineTop(), height = fontLineHeight();
    if (tab.shade > 0) {
        const int level = 255 - int(std::lround(255 * std::min(tab.shade, 100) / 100.0));
        DrawOp& op = add(DrawOp::Kind::Rect);
        op.rect = sheetRect(left, top, left + tab.width, top + height);
        op.pen.style = Qt::NoPen;
        op.brush = BrushSpec{QColor(level, level, level), Qt::SolidPattern};
    }
    const double inner = tab.width * tab.margin / 100.0;
    double x = left + inner;
    if (tab.justify != TabJustify::Left && !text.isEmpty()) {
        const double room = tab.width - 2 * inner - textWidth(text);
        x += tab.justify == TabJustify::Right ? room : room / 2;
    }
    if (!text.isEmpty())
        addText(sheet(x, cursorY_), text,
                sheetRect(left + inner, top, left + tab.width - inner, top + height));
    cursorX_ = left + tab.width;
    return true;
}
