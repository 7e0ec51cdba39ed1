#include "TLabelEdit.h"

#include <QComboBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ButtonRow.h"
#include "WindowMessages.h"

using namespace LabelDefs;

TLabelEdit::TLabelEdit(const LabelStock& stock, QWidget* parent, const QString& caption)
    : QDialog(parent), stock_(stock) {
    setWindowTitle(caption);
    auto lengthEdit = [this](const char* name, double LabelStock::*member) {
        auto* edit = new QLineEdit;
        edit->setObjectName(name);
        edit->setAlignment(Qt::AlignRight);
        auto* validator = new QDoubleValidator(0, 9999, 3, edit);
        validator->setNotation(QDoubleValidator::StandardNotation);
        edit->setValidator(validator);
        edit->setMaximumWidth(90);
        lengths_.push_back({edit, member, stock_.*member});
        connect(edit, &QLineEdit::textEdited, this, [this, edit](const QString& text) {
            lengthOf(edit).value = millimetres() ? MillimetresToInches(locale().toDouble(text))
                                                 : locale().toDouble(text);
        });
        return edit;
    };
    HeightEdit = lengthEdit("HeightEdit", &LabelStock::height);
    WidthEdit = lengthEdit("WidthEdit", &LabelStock::width);
    LeftMarginEdit = lengthEdit("LeftMarginEdit", &LabelStock::leftMargin);
    TopMarginEdit = lengthEdit("TopMarginEdit", &LabelStock::topMargin);
    HorizPitchEdit = lengthEdit("HorizPitchEdit", &LabelStock::horizPitch);
    VertPitchEdit = lengthEdit("VertPitchEdit", &LabelStock::vertPitch);
    PaperWidthEdit = lengthEdit("PaperWidthEdit", &LabelStock::sheetWidth);
    PaperHeightEdit = lengthEdit("PaperHeightEdit", &LabelStock::sheetDepth);

    AcrossSpin = new QSpinBox;
    AcrossSpin->setObjectName("AcrossSpin");
    AcrossSpin->setRange(1, 10);
    AcrossSpin->setValue(std::clamp(stock_.across, 1, 10));
    DownSpin = new QSpinBox;
    DownSpin->setObjectName("DownSpin");
    DownSpin->setRange(1, 30);
    DownSpin->setValue(std::clamp(stock_.down, 1, 30));

    PaperList = new QComboBox;
    PaperList->setObjectName("PaperList");
    for (const PaperSize& p : PaperSizes()) PaperList->addItem(p.entry, QString(p.code));
    PaperList->setCurrentIndex(-1);  // none chosen: the stock's own paper code stays
    // Until one is chosen the list names the stock's own paper.
    QString paperShown = stock_.paperSize.trimmed();
    for (const PaperSize& p : PaperSizes())
        if (paperShown.compare(p.code, Qt::CaseInsensitive) == 0) paperShown = p.entry;
    PaperList->setPlaceholderText(paperShown);
    ShapeList = new QComboBox;
    ShapeList->setObjectName("ShapeList");
    for (const Shape& s : Shapes()) {
        ShapeList->addItem(s.entry, QString(s.code));
        if (stock_.shape.trimmed().compare(s.code, Qt::CaseInsensitive) == 0)
            ShapeList->setCurrentIndex(ShapeList->count() - 1);
    }

    UseInches = new QRadioButton("Use &Inches");
    UseInches->setObjectName("UseInches");
    UseMillimeters = new QRadioButton("Use &Millimeters");
    UseMillimeters->setObjectName("UseMillimeters");
    UseInches->setChecked(true);

    auto* label = new QGroupBox("Label");
    auto* labelForm = new QFormLayout(label);
    labelForm->addRow("Label &Height:", HeightEdit);
    labelForm->addRow("Label &Width:", WidthEdit);
    labelForm->addRow("# &across:", AcrossSpin);
    labelForm->addRow("# &down:", DownSpin);
    labelForm->addRow("&Shape:", ShapeList);
    auto* sheet = new QGroupBox("Sheet");
    auto* sheetForm = new QFormLayout(sheet);
    sheetForm->addRow("&Left Margin:", LeftMarginEdit);
    sheetForm->addRow("&Top Margin:", TopMarginEdit);
    sheetForm->addRow("Hori&zontal Pitch:", HorizPitchEdit);
    sheetForm->addRow("&Vertical Pitch:", VertPitchEdit);
    auto* paper = new QGroupBox("Paper");
    auto* paperForm = new QFormLayout(paper);
    paperForm->addRow("&Paper size:", PaperList);
    paperForm->addRow("Paper W&idth:", PaperWidthEdit);
    paperForm->addRow("Paper H&eight:", PaperHeightEdit);
    auto* units = new QHBoxLayout;
    units->addWidget(UseInches);
    units->addWidget(UseMillimeters);
    units->addStretch(1);

    auto* grid = new QGridLayout;
    grid->addWidget(label, 0, 0);
    grid->addWidget(sheet, 0, 1);
    grid->addWidget(paper, 1, 0, 1, 2);
    auto* top = new QVBoxLayout(this);
    top->addLayout(grid);
    top->addLayout(units);
    ButtonRow buttons(this, [this] { OkButtonClick(); }, nullptr);
    top->addLayout(buttons.layout);

    for (Length& l : lengths_) display(l);
    connect(UseMillimeters, &QRadioButton::toggled, this, &TLabelEdit::unitsChanged);
    connect(PaperList, qOverload<int>(&QComboBox::activated), this, &TLabelEdit::paperChosen);
    connect(WidthEdit, &QLineEdit::editingFinished, this, [this] { raisePitch(WidthEdit, HorizPitchEdit); });
    connect(HeightEdit, &QLineEdit::editingFinished, this, [this] { raisePitch(HeightEdit, VertPitchEdit); });
}

bool TLabelEdit::millimetres() const { return UseMillimeters->isChecked(); }

TLabelEdit::Length& TLabelEdit::lengthOf(QLineEdit* edit) {
    for (Length& l : lengths_)
        if (l.edit == edit) return l;
    return lengths_.front();  // not reached: every box is a length
}

// Inches with up to three decimals, millimetres whole.
void TLabelEdit::display(Length& length) {
    const double shown = millimetres() ? InchesToMillimetres(length.value) : length.value;
    QString text = locale().toString(shown, 'f', millimetres() ? 0 : 3);
    if (!millimetres() && text.contains(locale().decimalPoint())) {
        while (text.endsWith('0')) text.chop(1);
        if (text.endsWith(locale().decimalPoint())) text.chop(1);
    }
    length.edit->setText(text);
}

void TLabelEdit::unitsChanged() {
    for (Length& l : lengths_) display(l);
}

void TLabelEdit::paperChosen(int index) {
    if (index < 0 || index >= int(PaperSizes().size())) return;
    const PaperSize& p = PaperSizes()[size_t(index)];
    if (p.widthInches <= 0) return;  // "Other": the sheet stays as typed
    Length& width = lengthOf(PaperWidthEdit);
    Length& height = lengthOf(PaperHeightEdit);
    width.value = millimetres() ? MillimetresToInches(p.widthMm) : p.widthInches;
    height.value = millimetres() ? MillimetresToInches(p.heightMm) : p.heightInches;
    display(width);
    display(height);
}

void TLabelEdit::raisePitch(QLineEdit* size, QLineEdit* pitch) {
    Length& s = lengthOf(size);
    Length& p = lengthOf(pitch);
    if (s.value > p.value) {
        p.value = s.value;
        display(p);
    }
}

void TLabelEdit::OkButtonClick() {
    LabelStock typed = stock_;
    for (const Length& l : lengths_) typed.*l.member = StoredLength(l.value);
    typed.across = AcrossSpin->value();
    typed.down = DownSpin->value();
    if (PaperList->currentIndex() >= 0) typed.paperSize = PaperList->currentData().toString();
    if (ShapeList->currentIndex() >= 0) typed.shape = ShapeList->currentData().toString();
    const QString problem = CheckStock(typed);
    if (!problem.isEmpty()) {
        WindowMessages().inform(problem);
        return;
    }
    stock_ = typed;
    accept();
}
