#include "TSelectLabelPositions.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ButtonRow.h"
#include "PrinterDevice.h"
#include "WindowMessages.h"

namespace {

constexpr int kInset = 10;      // the sheet's corner, in pixels from the picture's
constexpr double kScale = 0.2;  // of the screen's pixels per inch

}  // namespace

LabelSheetPicture::LabelSheetPicture(const LabelPrint::Geometry& geometry, const LabelStock& stock,
                                     LabelPrint::PositionSelection* positions, QWidget* parent)
    : QWidget(parent),
      geometry_(geometry),
      sheetWidth_(stock.sheetWidth),
      sheetDepth_(stock.sheetDepth),
      positions_(positions) {
    setObjectName("SheetPicture");
    setCursor(Qt::PointingHandCursor);
    // The panel is as large as a Letter sheet and grows for a wider or taller one.
    setMinimumSize(sizeHint());
}

int LabelSheetPicture::pixels(double inches) const { return int(inches * kScale * logicalDpiX()); }

QSize LabelSheetPicture::sizeHint() const {
    return QSize(pixels(std::max(8.5, sheetWidth_)) + 2 * kInset, pixels(std::max(11.0, sheetDepth_)) + 2 * kInset);
}

QRect LabelSheetPicture::positionRect(int b, int c) const {
    const QPointF at = geometry_.position(b, c);
    return QRect(kInset + pixels(at.x()), kInset + pixels(at.y()), pixels(geometry_.width),
                 pixels(geometry_.height));
}

void LabelSheetPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(QRect(kInset, kInset, pixels(sheetWidth_), pixels(sheetDepth_)), palette().base());
    p.setPen(palette().text().color());
    p.drawRect(QRect(kInset, kInset, pixels(sheetWidth_), pixels(sheetDepth_)));
    for (int c = 0; c < geometry_.down; ++c) {
        for (int b = 0; b < geometry_.across; ++b) {
            const bool on = positions_->selected(b + c * geometry_.across);
            p.setBrush(on ? QColor(Qt::red) : QColor(Qt::white));
            p.setPen(Qt::black);
            p.drawRect(positionRect(b, c));
        }
    }
}

void LabelSheetPicture::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    for (int c = 0; c < geometry_.down; ++c) {
        for (int b = 0; b < geometry_.across; ++b) {
            if (!positionRect(b, c).contains(event->position().toPoint())) continue;
            const int index = b + c * geometry_.across;
            positions_->set(index, !positions_->selected(index));
            update();
            emit changed();
            return;
        }
    }
}

TSelectSpecificLabels::TSelectSpecificLabels(const LabelStock& stock, LabelPrint::Choice* choice,
                                             PrinterDevice& device, QWidget* parent)
    : QDialog(parent),
      choice_(choice),
      positions_(choice->positions),
      positionCount_(stock.across * stock.down),
      device_(device) {
    setObjectName("TSelectSpecificLabels");
    setWindowTitle("Labels Print");

    SheetCaption = new QLabel(" Select Labels To Print");
    SheetPicture = new LabelSheetPicture(LabelPrint::Geometry::Of(stock), stock, &positions_);
    AllButton = new QPushButton("&All");
    NoneButton = new QPushButton("&None");
    AllButton->setObjectName("AllButton");
    NoneButton->setObjectName("NoneButton");
    AllButton->setAutoDefault(false);
    NoneButton->setAutoDefault(false);

    CopiesLabel = new QLabel("Number of each label to print");
    Copies = new QSpinBox;
    Copies->setObjectName("Copies");
    Copies->setRange(1, 99);
    Copies->setValue(std::clamp(choice->copies, 1, 99));
    CopiesLabel->setBuddy(Copies);
    // Under presort every record prints once.
    CopiesLabel->setVisible(!choice->presort);
    Copies->setVisible(!choice->presort);

    PrinterList = new QComboBox;
    PrinterList->setObjectName("PrinterList");
    PrinterList->addItems(device.printers());
    PrinterList->setCurrentIndex(device.printerIndex());
    auto* printerLabel = new QLabel("Printer");
    printerLabel->setBuddy(PrinterList);

    auto* side = new QVBoxLayout;
    side->addWidget(AllButton);
    side->addWidget(NoneButton);
    side->addSpacing(12);
    side->addWidget(CopiesLabel);
    side->addWidget(Copies);
    side->addSpacing(12);
    side->addWidget(printerLabel);
    side->addWidget(PrinterList);
    side->addStretch();
    ButtonRow row(this, [this] { OkButtonClick(); }, nullptr, Qt::Vertical);
    OkButton = row.OkButton;
    CancelButton = row.CancelButton;
    row.HelpButton->hide();
    side->addLayout(row.layout);

    auto* sheet = new QVBoxLayout;
    sheet->addWidget(SheetCaption);
    sheet->addWidget(SheetPicture, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(sheet, 1);
    layout->addLayout(side);

    connect(AllButton, &QPushButton::clicked, this, [this] {
        positions_.setAll(true);
        SheetPicture->update();
    });
    connect(NoneButton, &QPushButton::clicked, this, [this] {
        positions_.setAll(false);
        SheetPicture->update();
    });
}

void TSelectSpecificLabels::OkButtonClick() {
    if (!positions_.any(positionCount_)) {
        WindowMessages().inform(LabelPrint::kNoPosition);
        return;
    }
    choice_->copies = std::max(1, Copies->value());
    choice_->positions = positions_;
    if (PrinterList->currentIndex() != device_.printerIndex()) (void)device_.setPrinterIndex(PrinterList->currentIndex());
    accept();
}
