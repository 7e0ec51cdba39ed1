#include "TRTFPreviewForm.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QTextDocument>
#include <QVBoxLayout>
#include <tuple>
#include <vector>

#include "LetterLayout.h"
#include "LetterMerge.h"
#include "LetterPage.h"
#include "LetterText.h"
#include "LetterZoom.h"
#include "PagePainter.h"
#include "PlacedWindow.h"
#include "TFilePreview.h"
#include "TReportFiler.h"
#include "Table.h"
#include "WindowMessages.h"
#include "WindowPlacement.h"

namespace {

constexpr int kScreenDpi = 96;

}  // namespace

TRTFPreviewForm::TRTFPreviewForm(const QTextDocument& letter, xbase::Table& addresses, Settings* settings,
                                 QWidget* parent)
    : QDialog(parent), template_(LetterText::Copy(letter)), addresses_(addresses), settings_(settings) {
    setObjectName("TRTFPreviewForm");
    setWindowTitle("Preview Letters");
    PagePanel = new QLabel;
    PagePanel->setObjectName("PagePanel");
    PagePanel->setCursor(TFilePreview::MagnifierCursor());
    PagePanel->installEventFilter(this);
    ScrollBox = new QScrollArea;
    ScrollBox->setBackgroundRole(QPalette::Dark);
    ScrollBox->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    ScrollBox->setWidget(PagePanel);

    // Tool buttons, as wide as their captions: the bar fits a small screen.
    auto button = [this](const char* text, const char* name, void (TRTFPreviewForm::*slot)()) {
        auto* b = new QToolButton;
        b->setText(text);
        b->setObjectName(name);
        connect(b, &QToolButton::clicked, this, slot);
        return b;
    };
    FirstButton = button("&First", "FirstButton", &TRTFPreviewForm::FirstRecord);
    PrevButton = button("Pre&vious", "PrevButton", &TRTFPreviewForm::PreviousRecord);
    NextButton = button("Ne&xt", "NextButton", &TRTFPreviewForm::NextRecord);
    LastButton = button("&Last", "LastButton", &TRTFPreviewForm::LastRecord);
    FirstButton->setToolTip("First record");
    PrevButton->setToolTip("Previous record");
    NextButton->setToolTip("Next record");
    LastButton->setToolTip("Last record");
    PrevPageButton = button("&Previous", "PrevPageButton", &TRTFPreviewForm::PreviousPage);
    NextPageButton = button("&Next", "NextPageButton", &TRTFPreviewForm::NextPage);
    PrevPageButton->setToolTip("Previous page");
    NextPageButton->setToolTip("Next page");
    ZoomInButton = button("&In", "ZoomInButton", &TRTFPreviewForm::ZoomIn);
    ZoomOutButton = button("O&ut", "ZoomOutButton", &TRTFPreviewForm::ZoomOut);
    ZoomInButton->setToolTip("Zoom in");
    ZoomOutButton->setToolTip("Zoom out");
    PageWidthButton = button("Page &Width", "PageWidthButton", &TRTFPreviewForm::PageWidth);
    WholePageButton = button("W&hole Page", "WholePageButton", &TRTFPreviewForm::WholePage);
    OkButton = new QPushButton("&Ok");
    OkButton->setObjectName("OkButton");
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    // The buttons in groups, each behind its name, on two rows so that the window
    // fits a small screen: the records and the pages of the letter, then the zoom.
    auto* bar = new QHBoxLayout;
    auto* zoomBar = new QHBoxLayout;
    const std::tuple<QHBoxLayout*, const char*, std::vector<QToolButton*>> groups[] = {
        {bar, "Record:", {FirstButton, PrevButton, NextButton, LastButton}},
        {bar, "Page:", {PrevPageButton, NextPageButton}},
        {zoomBar, "Zoom:", {ZoomInButton, ZoomOutButton, PageWidthButton, WholePageButton}},
    };
    for (const auto& [row, name, buttons] : groups) {
        if (row->count() > 0) row->addSpacing(12);
        row->addWidget(new QLabel(name));
        for (QToolButton* b : buttons) row->addWidget(b);
    }
    bar->addStretch();
    bar->addWidget(OkButton);
    zoomBar->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addLayout(zoomBar);
    layout->addWidget(ScrollBox, 1);
    resize(900, 700);

    merge();
    PageWidth();
}

TRTFPreviewForm::~TRTFPreviewForm() = default;

void TRTFPreviewForm::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        if (settings_) {
            PlacedWindow::Restore(this, *settings_, QStringLiteral("TRTFPreviewForm"), [this](const QRect& area) {
                return WindowPlacement::CenterForm(size().boundedTo(area.size()), area);
            });
            // The page-width zoom of the window's restored size.
            layout()->activate();
            PageWidth();
        }
    }
    QDialog::showEvent(event);
}

void TRTFPreviewForm::done(int result) {
    if (settings_) PlacedWindow::Save(this, *settings_, QStringLiteral("TRTFPreviewForm"));
    QDialog::done(result);
}

double TRTFPreviewForm::pageWidthInches() const {
    return double(LetterPage::Of(*template_).paperWidth) / LetterPage::kTwipsPerInch;
}

double TRTFPreviewForm::pageHeightInches() const {
    return double(LetterPage::Of(*template_).paperHeight) / LetterPage::kTwipsPerInch;
}

void TRTFPreviewForm::merge() {
    // A fresh copy of the template for the current record, laid out as the printer
    // would, into pages kept for drawing at any zoom.
    const std::unique_ptr<QTextDocument> merged = LetterText::Copy(*template_);
    if (!addresses_.eof()) LetterMerge::ReplaceTokens(merged.get(), LetterMerge::Address::FromRecord(addresses_));
    const LetterLayout layout(*merged);
    DeviceMetrics metrics;
    metrics.pageWidth = pageWidthInches();
    metrics.pageHeight = pageHeightInches();
    TReportFiler filer;
    filer.setDeviceMetrics(metrics);
    filer.setStream(&stream_);
    filer.OnPrint = [&](TBaseReport& r) {
        for (int page = 0; page < layout.pageCount(); ++page) {
            if (page > 0) r.newPage();
            layout.drawPage(page, r);
        }
    };
    if (!filer.execute()) WindowMessages().error("There was an error drawing the preview");
    page_ = 0;
    setWindowTitle("Preview Letters Page 1");
    draw();
}

void TRTFPreviewForm::draw() {
    const double dpi = kScreenDpi * zoom_ / 100.0;
    QImage image(std::max(1, int(pageWidthInches() * dpi)), std::max(1, int(pageHeightInches() * dpi)),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    if (page_ < pageCount()) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        DeviceMetrics metrics;
        metrics.pageWidth = pageWidthInches();
        metrics.pageHeight = pageHeightInches();
        metrics.dpiX = metrics.dpiY = dpi;
        PagePainter(painter, metrics).play(stream_.pages[size_t(page_)]);
    }
    PagePanel->setPixmap(QPixmap::fromImage(image));
    PagePanel->resize(image.size());
}

void TRTFPreviewForm::setZoom(int percent) {
    zoom_ = std::clamp(percent, 1, 1000);
    draw();
}

void TRTFPreviewForm::ZoomIn() { setZoom(LetterZoom::In(zoom_)); }
void TRTFPreviewForm::ZoomOut() { setZoom(LetterZoom::Out(zoom_)); }

void TRTFPreviewForm::PageWidth() {
    // A page as wide as the view is taller than it: leave room for the vertical
    // scroll bar that it brings, or a horizontal one comes too.
    int width = ScrollBox->viewport()->width();
    if (!ScrollBox->verticalScrollBar()->isVisible())
        width -= ScrollBox->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, ScrollBox);
    setZoom(LetterZoom::Fit(width, int(pageWidthInches() * kScreenDpi)));
}

void TRTFPreviewForm::WholePage() {
    setZoom(LetterZoom::Fit(ScrollBox->viewport()->height(), int(pageHeightInches() * kScreenDpi)));
}

void TRTFPreviewForm::NextPage() {
    if (page_ + 1 >= pageCount()) return;
    ++page_;
    setWindowTitle("Preview Letters Page " + QString::number(page_ + 1));
    draw();
}

void TRTFPreviewForm::PreviousPage() {
    if (page_ == 0) return;
    --page_;
    setWindowTitle("Preview Letters Page " + QString::number(page_ + 1));
    draw();
}

void TRTFPreviewForm::FirstRecord() {
    (void)addresses_.goTop();
    merge();
}

void TRTFPreviewForm::PreviousRecord() {
    if (!addresses_.skip(-1).ok() || addresses_.bof()) (void)addresses_.goTop();
    merge();
}

void TRTFPreviewForm::NextRecord() {
    if (!addresses_.skip(1).ok() || addresses_.eof()) (void)addresses_.goBottom();
    merge();
}

void TRTFPreviewForm::LastRecord() {
    (void)addresses_.goBottom();
    merge();
}

bool TRTFPreviewForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == PagePanel && event->type() == QEvent::MouseButtonPress) {
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            ZoomIn();
        } else {
            ZoomOut();
        }
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        QScrollBar* bar = ScrollBox->verticalScrollBar();
        if (key == Qt::Key_Down) bar->setValue(bar->value() + bar->singleStep());
        if (key == Qt::Key_Up) bar->setValue(bar->value() - bar->singleStep());
    }
    return QDialog::eventFilter(watched, event);
}
