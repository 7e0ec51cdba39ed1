#include "EnvelopeDialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ButtonRow.h"
#include "PrinterDevice.h"
#include "PrinterDialogs.h"

namespace {

// An envelope of `size` at `at`: the front with a stamp and address lines, or the back
// with its flap; `turn` 0 standing, 1 turned right, -1 turned left.
void drawEnvelope(QPainter& p, QRectF r, bool front, int turn) {
    p.save();
    p.translate(r.center());
    p.rotate(turn * 90);
    const QSizeF standing = turn == 0 ? r.size() : r.size().transposed();
    const QRectF e(-standing.width() / 2, -standing.height() / 2, standing.width(), standing.height());
    p.setBrush(QColor(250, 248, 240));
    p.setPen(QPen(QColor(60, 60, 60), 1.2));
    p.drawRect(e);
    if (front) {
        // Standing, the envelope's top edge is at its right: stamp at the top right corner.
        const QRectF stamp(e.right() - 12, e.top() + 3, 9, 11);
        p.setBrush(QColor(200, 60, 60));
        p.drawRect(stamp);
        p.setPen(QPen(QColor(90, 90, 90), 1.5));
        for (int i = 0; i < 3; ++i) {
            const double x = e.left() + e.width() * (0.3 + 0.15 * i);
            p.drawLine(QPointF(x, e.top() + e.height() * 0.35), QPointF(x, e.bottom() - e.height() * 0.2));
        }
    } else {
        // The flap along the top edge (the right side standing).
        const QPointF flap[] = {e.topRight(), QPointF(e.center().x() + e.width() * 0.1, e.center().y()),
                                e.bottomRight()};
        p.drawPolyline(flap, 3);
    }
    p.restore();
}

}  // namespace

FeedPicture::FeedPicture(QWidget* parent) : QWidget(parent) {
    setObjectName("FeedPicture");
    setMinimumSize(sizeHint());
}

void FeedPicture::setFeed(const Envelope::Feed& feed) {
    feed_ = feed;
    update();
}

void FeedPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // The tray: a wide open box with its guides, seen from above.
    const QRectF tray(10, 20, width() - 20, height() - 30);
    p.setPen(QPen(QColor(70, 70, 70), 2));
    p.setBrush(QColor(225, 228, 232));
    p.drawRoundedRect(tray, 6, 6);
    p.setPen(QPen(QColor(120, 120, 120), 1, Qt::DashLine));
    p.drawLine(QPointF(tray.left() + 8, tray.top()), QPointF(tray.right() - 8, tray.top()));
    p.setPen(QColor(70, 70, 70));
    p.drawText(QRectF(0, 0, width(), 18), Qt::AlignCenter, "into the printer");

    const bool landscape = feed_.orientation != 0;
    const QSizeF image = landscape ? QSizeF(tray.width() * 0.62, tray.height() * 0.5)
                                   : QSizeF(tray.width() * 0.28, tray.height() * 0.9);
    double x = tray.left() + 2;
    if (feed_.position == Envelope::Feed::Right) x = tray.right() - image.width() - 2;
    if (feed_.position == Envelope::Feed::Center) x = tray.left() + tray.width() / 2 - image.width() / 2;
    const int turn = !landscape ? 0 : feed_.clockwise ? -1 : 1;
    drawEnvelope(p, QRectF(QPointF(x, tray.top() + 2), image), !feed_.faceDown, turn);
}

TChooseEnvelopeLayout::TChooseEnvelopeLayout(int code, QWidget* parent) : QDialog(parent), incoming_(code) {
    setWindowTitle("Envelope Size");
    SizeList = new QListWidget;
    SizeList->setObjectName("SizeList");
    int row = 0;
    for (size_t i = 0; i < Envelope::Sizes().size(); ++i) {
        SizeList->addItem(Envelope::Sizes()[i].entry);
        if (Envelope::Sizes()[i].code == code) row = int(i);
    }
    SizeList->setCurrentRow(row);
    auto* top = new QVBoxLayout(this);
    top->addWidget(SizeList);
    ButtonRow buttons(this, nullptr, nullptr);
    top->addLayout(buttons.layout);
    connect(SizeList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    resize(360, 380);
}

int TChooseEnvelopeLayout::code() const {
    const int row = SizeList->currentRow();
    return row < 0 ? incoming_ : Envelope::Sizes()[size_t(row)].code;
}

TEnvelopeFeed::TEnvelopeFeed(const Envelope::Feed& feed, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Paper Feed Method");
    auto radio = [](const char* text, const char* name) {
        auto* b = new QRadioButton(text);
        b->setObjectName(name);
        return b;
    };
    LeftButton = radio("&Left", "LeftButton");
    RightButton = radio("&Right", "RightButton");
    CenterButton = radio("&Center", "CenterButton");
    PortraitButton = radio("&Portrait", "PortraitButton");
    LandscapeButton = radio("&Landscape", "LandscapeButton");
    UpButton = radio("&Up", "UpButton");
    DownButton = radio("&Down", "DownButton");
    ClockwiseBox = new QCheckBox("Clock&wise Rotation");
    ClockwiseBox->setObjectName("ClockwiseBox");
    Picture = new FeedPicture;

    auto group = [](const char* title, std::initializer_list<QWidget*> items) {
        auto* box = new QGroupBox(title);
        auto* layout = new QVBoxLayout(box);
        auto* buttons = new QButtonGroup(box);
        for (QWidget* w : items) {
            layout->addWidget(w);
            if (auto* b = qobject_cast<QRadioButton*>(w)) buttons->addButton(b);
        }
        layout->addStretch(1);
        return box;
    };
    auto* intro = new QLabel("Please indicate how you normally feed envelopes into your printer:");
    auto* note = new QLabel(
        "(note: there are many printers and many ways to feed envelopes - this may take some experimenting)");
    note->setWordWrap(true);
    auto* groups = new QHBoxLayout;
    groups->addWidget(group("Position", {LeftButton, RightButton, CenterButton}));
    groups->addWidget(group("Orientation", {PortraitButton, LandscapeButton, ClockwiseBox}));
    groups->addWidget(group("Facing", {UpButton, DownButton}));
    auto* top = new QVBoxLayout(this);
    top->addWidget(intro);
    top->addWidget(note);
    top->addWidget(Picture, 1);
    top->addLayout(groups);
    ButtonRow buttons(this, nullptr, nullptr);
    top->addLayout(buttons.layout);

    (feed.position == Envelope::Feed::Left    ? LeftButton
     : feed.position == Envelope::Feed::Right ? RightButton
                                              : CenterButton)
        ->setChecked(true);
    (feed.orientation == 0 ? PortraitButton : LandscapeButton)->setChecked(true);
    (feed.faceDown ? DownButton : UpButton)->setChecked(true);
    ClockwiseBox->setChecked(feed.clockwise);
    for (QRadioButton* b : {LeftButton, RightButton, CenterButton, PortraitButton, LandscapeButton, UpButton, DownButton})
        connect(b, &QRadioButton::toggled, this, &TEnvelopeFeed::changed);
    connect(ClockwiseBox, &QCheckBox::toggled, this, &TEnvelopeFeed::changed);
    changed();
}

Envelope::Feed TEnvelopeFeed::feed() const {
    Envelope::Feed f;
    f.position = LeftButton->isChecked()    ? Envelope::Feed::Left
                 : RightButton->isChecked() ? Envelope::Feed::Right
                                            : Envelope::Feed::Center;
    f.orientation = PortraitButton->isChecked() ? 0 : 1;
    f.faceDown = DownButton->isChecked();
    f.clockwise = f.orientation == 1 && ClockwiseBox->isChecked();
    return f;
}

void TEnvelopeFeed::changed() {
    // Turning clockwise is a choice of landscape feeds only.
    ClockwiseBox->setVisible(LandscapeButton->isChecked());
    Picture->setFeed(feed());
}

TEnvelopePrePrint::TEnvelopePrePrint(PrinterDevice& device, const Envelope::Size& size, const Envelope::Feed& feed,
                                     QPointF calibration, QWidget* parent)
    : QDialog(parent), device_(device), size_(size), feed_(feed) {
    setWindowTitle("Envelope Print");
    auto label = [](const char* name) {
        auto* l = new QLabel;
        l->setObjectName(name);
        return l;
    };
    PrinterLabel = label("PrinterLabel");
    SourceLabel = label("SourceLabel");
    PaperLabel = label("PaperLabel");
    OrientationLabel = label("OrientationLabel");
    FeedLabel = label("FeedLabel");
    WarningLabel = label("WarningLabel");
    WarningLabel->setWordWrap(true);
    WarningLabel->setStyleSheet("color: #b00000; font-weight: bold");
    Picture = new FeedPicture;
    auto offset = [](const char* name, double value) {
        auto* box = new QDoubleSpinBox;
        box->setObjectName(name);
        box->setRange(-1, 1);
        box->setDecimals(3);
        box->setSingleStep(0.01);
        box->setSuffix(" in");
        box->setValue(value);
        return box;
    };
    OffsetX = offset("OffsetX", calibration.x());
    OffsetY = offset("OffsetY", calibration.y());

    auto* setup = new QFormLayout;
    setup->addRow("Printer:", PrinterLabel);
    setup->addRow("Source:", SourceLabel);
    setup->addRow("Paper:", PaperLabel);
    setup->addRow("Orientation:", OrientationLabel);
    auto* correction = new QHBoxLayout;
    correction->addWidget(new QLabel("Move right"));
    correction->addWidget(OffsetX);
    correction->addWidget(new QLabel("down"));
    correction->addWidget(OffsetY);
    correction->addStretch(1);
    setup->addRow("Printer correction:", correction);
    auto* feedRow = new QHBoxLayout;
    feedRow->addWidget(Picture, 1);
    feedRow->addWidget(FeedLabel);
    auto* top = new QVBoxLayout(this);
    top->addLayout(setup);
    top->addLayout(feedRow);
    top->addWidget(WarningLabel);
    ButtonRow buttons(this, nullptr, nullptr);
    auto* printerSetup = new QPushButton("Printer &Setup");
    printerSetup->setObjectName("PrinterSetupButton");
    auto* feedMethod = new QPushButton("Paper &Feed Method");
    feedMethod->setObjectName("FeedMethodButton");
    buttons.addOwn(printerSetup);
    buttons.addOwn(feedMethod);
    top->addLayout(buttons.layout);
    connect(printerSetup, &QPushButton::clicked, this, [this] {
        PrinterDialogs::PrinterSetup(this, device_);
        refresh();
    });
    connect(feedMethod, &QPushButton::clicked, this, [this] {
        TEnvelopeFeed dialog(feed_, this);
        if (dialog.exec() != QDialog::Accepted) return;
        feed_ = dialog.feed();
        (void)device_.setOrientation(feed_.orientation == 0 ? QPageLayout::Portrait : QPageLayout::Landscape);
        refresh();
    });
    refresh();
}

QPointF TEnvelopePrePrint::calibration() const { return QPointF(OffsetX->value(), OffsetY->value()); }

void TEnvelopePrePrint::refresh() {
    PrinterLabel->setText(device_.printerName());
    const int source = device_.paperSourceIndex();
    const auto sources = device_.paperSources();
    SourceLabel->setText(source >= 0 && source < int(sources.size()) ? sources[size_t(source)].name : QString());
    const int paper = device_.paperIndex();
    const auto papers = device_.papers();
    PaperLabel->setText(paper >= 0 && paper < int(papers.size()) ? papers[size_t(paper)].name : QString());
    OrientationLabel->setText(device_.orientation() == QPageLayout::Portrait ? "Portrait" : "Landscape");
    FeedLabel->setText(feed_.Description().replace("\r\n", "\n"));
    Picture->setFeed(feed_);
    const DeviceMetrics page = device_.metrics();
    const bool differs = Envelope::PaperDiffers(page.pageWidth, page.pageHeight, size_.width, size_.height);
    WarningLabel->setText(differs ? QString(Envelope::kPaperWarning).replace("\r\n", "\n") : QString());
    WarningLabel->setVisible(differs);
}
