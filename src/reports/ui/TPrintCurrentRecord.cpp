#include "TPrintCurrentRecord.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "PrintKind.h"
#include "PrinterDevice.h"
#include "PrinterDialogs.h"
#include "TPreviewWindow.h"
#include "TPrintStatus.h"
#include "Table.h"

namespace {
constexpr int kRowsPerColumn = 7;
}

TPrintCurrentRecord::TPrintCurrentRecord(xbase::Table& addresses, QWidget* parent, PrinterDevice* device)
    : QDialog(parent), addresses_(addresses), device_(device) {
    setObjectName(QStringLiteral("TPrintCurrentRecord"));
    setWindowTitle(QStringLiteral("Print Current Record"));

    auto* group = new QGroupBox(QStringLiteral("Fields to Print"), this);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(18);
    // Down the columns in print order, which is also the tab order.
    for (int i = 0; i < RecordSheet::kItemCount; ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(RecordSheet::Items()[size_t(i)].checkBox), group);
        box->setObjectName(QString::fromLatin1(RecordSheet::Items()[size_t(i)].field));
        box->setChecked(true);
        grid->addWidget(box, i % kRowsPerColumn, i / kRowsPerColumn);
        FieldBoxes[size_t(i)] = box;
    }
    auto* rule = new QFrame(group);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    AllBox = new QCheckBox(QStringLiteral("&All"), group);
    AllBox->setObjectName(QStringLiteral("AllBox"));
    AllBox->setChecked(true);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addLayout(grid);
    groupLayout->addWidget(rule);
    groupLayout->addWidget(AllBox);

    PrintButton = new QPushButton(QStringLiteral("&Print"), this);
    PreviewButton = new QPushButton(QStringLiteral("Pre&view"), this);
    PrinterSetupButton = new QPushButton(QStringLiteral("Printer &Setup"), this);
    CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    PrintButton->setDefault(true);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {PrintButton, PreviewButton, PrinterSetupButton}) buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(CancelButton);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(group, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(AllBox, &QCheckBox::clicked, this, &TPrintCurrentRecord::AllBoxClick);
    connect(PrintButton, &QPushButton::clicked, this, &TPrintCurrentRecord::PrintButtonClick);
    connect(PreviewButton, &QPushButton::clicked, this, &TPrintCurrentRecord::PreviewButtonClick);
    connect(PrinterSetupButton, &QPushButton::clicked, this, &TPrintCurrentRecord::PrinterSetupButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

PrinterDevice& TPrintCurrentRecord::device() const { return device_ ? *device_ : PrinterDevice::instance(); }

RecordSheet::Choice TPrintCurrentRecord::choice() const {
    RecordSheet::Choice c;
    for (size_t i = 0; i < FieldBoxes.size(); ++i) c.fields[i] = FieldBoxes[i]->isChecked();
    return c;
}

void TPrintCurrentRecord::AllBoxClick(bool checked) {
    for (QCheckBox* box : FieldBoxes) box->setChecked(checked);
}

void TPrintCurrentRecord::PrinterSetupButtonClick() { (void)PrinterDialogs::PrinterSetup(this, device()); }

void TPrintCurrentRecord::runJob(bool preview) {
    if (addresses_.eof() || addresses_.recNo() == 0) return;
    RecordSheet::SheetJob job(addresses_, choice());
    QString error;
    if (job.read(&error) != JobResult::Done) return;
    TPrintStatus status(PrintKind::Reports, preview, this, device_);
    status.setJob(job);
    status.report().Title = windowTitle();
    status.exec();
    if (preview && !status.aborted()) {
        const PrintKindTexts& texts = printKindTexts(PrintKind::Reports);
        TPreviewWindow window(status.stream(), texts.previewCaption, texts.previewZoom, nullptr, this);
        window.exec();
    }
}
