#include "TWPPageProp.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "LengthBox.h"
#include "WindowMessages.h"

LetterUnits::Unit TWPPageProp::lastUnit_ = LetterUnits::Unit::Inch;

TWPPageProp::TWPPageProp(const LetterPage& page, QWidget* parent) : QDialog(parent), page_(page) {
    setObjectName("TWPPageProp");
    setWindowTitle("Page Properties");

    Unit = new QComboBox;
    Unit->setObjectName("Unit");
    Unit->addItems({"Inch", "Cm", "Twips"});  // in the order of LetterUnits::Unit
    Unit->setCurrentIndex(int(lastUnit_));
    PaperWidth = LengthBox("PaperWidth");
    PaperHeight = LengthBox("PaperHeight");
    MarginTop = LengthBox("MarginTop");
    MarginBottom = LengthBox("MarginBottom");
    MarginLeft = LengthBox("MarginLeft");
    MarginRight = LengthBox("MarginRight");
    boxes_ = {{PaperWidth, &LetterPage::paperWidth},   {PaperHeight, &LetterPage::paperHeight},
              {MarginTop, &LetterPage::marginTop},     {MarginBottom, &LetterPage::marginBottom},
              {MarginLeft, &LetterPage::marginLeft},   {MarginRight, &LetterPage::marginRight}};

    auto* paper = new QGroupBox(" Paper Size ");
    auto* paperForm = new QFormLayout(paper);
    paperForm->addRow("&Width", PaperWidth);
    paperForm->addRow("&Height", PaperHeight);
    auto* margins = new QGroupBox(" Margins ");
    auto* marginForm = new QFormLayout(margins);
    marginForm->addRow("&Top", MarginTop);
    marginForm->addRow("&Bottom", MarginBottom);
    marginForm->addRow("&Left", MarginLeft);
    marginForm->addRow("&Right", MarginRight);
    auto* unitForm = new QFormLayout;
    unitForm->addRow("&Unit", Unit);
    showValues();

    for (const Box& b : boxes_) {
        int LetterPage::*twips = b.twips;
        connect(b.edit, &QLineEdit::textEdited, this,
                [this, twips](const QString& text) { LetterUnits::Parse(text, unit(), &(page_.*twips)); });
    }
    connect(Unit, qOverload<int>(&QComboBox::currentIndexChanged), this, &TWPPageProp::showValues);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText("&Ok");
    buttons->button(QDialogButtonBox::Cancel)->setText("&Cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &TWPPageProp::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* columns = new QHBoxLayout;
    columns->addWidget(paper, 0, Qt::AlignTop);
    columns->addWidget(margins);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(unitForm);
    layout->addLayout(columns);
    layout->addWidget(buttons);
}

LetterUnits::Unit TWPPageProp::unit() const { return LetterUnits::Unit(Unit->currentIndex()); }

void TWPPageProp::showValues() {
    for (const Box& b : boxes_) b.edit->setText(LetterUnits::Show(page_.*b.twips, unit()));
}

void TWPPageProp::accept() {
    for (const Box& b : boxes_) {
        int ignored = 0;
        if (!LetterUnits::Parse(b.edit->text(), unit(), &ignored)) {
            WindowMessages().error("'" + b.edit->text() + "' is not a valid floating point value");
            b.edit->setFocus();
            b.edit->selectAll();
            return;
        }
    }
    lastUnit_ = unit();
    QDialog::accept();
}
