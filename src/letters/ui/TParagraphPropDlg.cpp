#include "TParagraphPropDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "LengthBox.h"
#include "WindowMessages.h"

namespace {

const std::pair<const char*, Qt::Alignment> kAlignments[] = {
    {"Left", Qt::AlignLeft}, {"Right", Qt::AlignRight}, {"Justified", Qt::AlignJustify}, {"Center", Qt::AlignHCenter}};

}  // namespace

TParagraphPropDlg::TParagraphPropDlg(const ParagraphFormat& shown, QWidget* parent)
    : QDialog(parent), format_(shown) {
    setObjectName("TParagraphPropDlg");
    setWindowTitle("Paragraph Properties");

    Alignment = new QComboBox;
    Alignment->setObjectName("Alignment");
    for (const auto& [name, align] : kAlignments) {
        Alignment->addItem(name, int(align));
        if (align == shown.alignment) Alignment->setCurrentIndex(Alignment->count() - 1);
    }
    Inch = new QRadioButton("&Inch");
    Cm = new QRadioButton("C&m");
    Inch->setChecked(true);
    auto* units = new QGroupBox("Units");
    auto* unitsLayout = new QHBoxLayout(units);
    unitsLayout->addWidget(Inch);
    unitsLayout->addWidget(Cm);
    unitsLayout->addStretch();

    FirstLine = new QComboBox;
    FirstLine->setObjectName("FirstLine");
    FirstLine->addItems({"Same as Left Indent", "Indented by"});
    FirstLine->setCurrentIndex(shown.firstIndent != shown.leftIndent ? 1 : 0);
    FirstIndent = LengthBox("FirstIndent");
    LeftIndent = LengthBox("LeftIndent");
    RightIndent = LengthBox("RightIndent");
    SpaceBefore = LengthBox("SpaceBefore");
    SpaceAfter = LengthBox("SpaceAfter");
    LineHeight = LengthBox("LineHeight");

    auto* indents = new QGroupBox("Indents");
    auto* indentForm = new QFormLayout(indents);
    indentForm->addRow("&Left Indent", LeftIndent);
    indentForm->addRow("&Right Indent", RightIndent);
    indentForm->addRow("First li&ne", FirstLine);
    indentForm->addRow("&First Indent", FirstIndent);
    auto* spacing = new QGroupBox("Spacing");
    auto* spacingForm = new QFormLayout(spacing);
    spacingForm->addRow("Space &before (pts)", SpaceBefore);
    spacingForm->addRow("Space &after (pts)", SpaceAfter);
    spacingForm->addRow("Line &Height (pts)", LineHeight);
    SpaceBefore->setText(LetterUnits::ShowPoints(shown.spaceBefore));
    SpaceAfter->setText(LetterUnits::ShowPoints(shown.spaceAfter));
    LineHeight->setText(LetterUnits::ShowPoints(shown.lineHeight));
    showIndents();
    sameAsLeft();

    // Each edit is taken as it is typed; text that is not a number leaves the value
    // as it was (and is refused on OK).
    auto indent = [this](QLineEdit* e, int* twips) {
        connect(e, &QLineEdit::textEdited, this, [this, twips](const QString& text) {
            LetterUnits::Parse(text, unit(), twips);
        });
    };
    indent(FirstIndent, &format_.firstIndent);
    indent(LeftIndent, &format_.leftIndent);
    indent(RightIndent, &format_.rightIndent);
    connect(LeftIndent, &QLineEdit::textEdited, this, &TParagraphPropDlg::sameAsLeft);
    for (auto [e, twips] : {std::pair{SpaceBefore, &format_.spaceBefore}, std::pair{SpaceAfter, &format_.spaceAfter},
                            std::pair{LineHeight, &format_.lineHeight}})
        connect(e, &QLineEdit::textEdited, this,
                [twips = twips](const QString& text) { LetterUnits::ParsePoints(text, twips); });
    connect(FirstLine, qOverload<int>(&QComboBox::currentIndexChanged), this, &TParagraphPropDlg::sameAsLeft);
    connect(Inch, &QRadioButton::toggled, this, &TParagraphPropDlg::showIndents);
    connect(Alignment, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this] { format_.alignment = Qt::Alignment(Alignment->currentData().toInt()); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText("&Ok");
    buttons->button(QDialogButtonBox::Cancel)->setText("&Cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &TParagraphPropDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* top = new QFormLayout;
    top->addRow("Ali&gnment", Alignment);
    auto* columns = new QHBoxLayout;
    columns->addWidget(indents);
    columns->addWidget(spacing);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(units);
    layout->addLayout(columns);
    layout->addWidget(buttons);
}

LetterUnits::Unit TParagraphPropDlg::unit() const {
    return Cm->isChecked() ? LetterUnits::Unit::Cm : LetterUnits::Unit::Inch;
}

void TParagraphPropDlg::showIndents() {
    const QString name = unit() == LetterUnits::Unit::Cm ? "centimeters" : "inches";
    FirstIndent->setText(LetterUnits::Show(format_.firstIndent, unit()));
    LeftIndent->setText(LetterUnits::Show(format_.leftIndent, unit()));
    RightIndent->setText(LetterUnits::Show(format_.rightIndent, unit()));
    LeftIndent->setToolTip("Specify left indent for the paragraph in " + name);
    RightIndent->setToolTip("Specify right indent for the paragraph in " + name);
    FirstIndent->setToolTip("Specify first line indent for the paragraph in " + name);
    sameAsLeft();
}

void TParagraphPropDlg::sameAsLeft() {
    const bool same = FirstLine->currentIndex() == 0;
    FirstIndent->setEnabled(!same);
    if (!same) return;
    FirstIndent->setText(LeftIndent->text());
    format_.firstIndent = format_.leftIndent;
}

void TParagraphPropDlg::accept() {
    // A box whose text is not a number keeps the dialog open on it.
    const bool points[] = {false, false, false, true, true, true};
    QLineEdit* boxes[] = {FirstIndent, LeftIndent, RightIndent, SpaceBefore, SpaceAfter, LineHeight};
    for (int i = 0; i < 6; ++i) {
        int ignored = 0;
        const bool ok = points[i] ? LetterUnits::ParsePoints(boxes[i]->text(), &ignored)
                                  : LetterUnits::Parse(boxes[i]->text(), unit(), &ignored);
        if (!ok) {
            WindowMessages().error("'" + boxes[i]->text() + "' is not a valid floating point value");
            boxes[i]->setFocus();
            boxes[i]->selectAll();
            return;
        }
    }
    QDialog::accept();
}
