#include "TChooseLabelLayout.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>
#include <memory>

#include "AppHome.h"
#include "ButtonRow.h"
#include "SystemTables.h"
#include "TLabelEdit.h"
#include "TSelectLabel.h"
#include "Table.h"
#include "WindowMessages.h"

TChooseLabelLayout::TChooseLabelLayout(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Label Layout");
    FromTemplates = new QRadioButton("&Select layout from a list of templates");
    FromTemplates->setObjectName("FromTemplates");
    Manually = new QRadioButton("&Enter the layout values manually (user defined layout)");
    Manually->setObjectName("Manually");
    FromTemplates->setChecked(true);
    auto* group = new QGroupBox;
    auto* options = new QVBoxLayout(group);
    options->addWidget(FromTemplates);
    options->addWidget(Manually);
    auto* top = new QVBoxLayout(this);
    top->addWidget(group);
    ButtonRow buttons(this, [this] { done(Manually->isChecked() ? Manual : Template); }, nullptr);
    top->addLayout(buttons.layout);
}

bool ChangeLabelStock(const AppHome& home, LabelStock* stock, QWidget* parent) {
    TChooseLabelLayout choose(parent);
    const int how = choose.exec();
    if (how == TChooseLabelLayout::Manual) {
        TLabelEdit edit(*stock, parent);
        if (edit.exec() != QDialog::Accepted) return false;
        LabelDefs::TakeManualStock(stock, edit.stock());
        return true;
    }
    if (how != TChooseLabelLayout::Template) return false;
    std::unique_ptr<xbase::Table> templates;
    QString message;
    if (!SystemTables::OpenLabelStockTable(home, &templates, &message)) {
        WindowMessages().error(message);
        return false;
    }
    TSelectLabel pick(*templates, LabelCatalogue::Load(home), *stock, parent);
    if (pick.exec() != QDialog::Accepted) return false;
    LabelDefs::TakeTemplate(stock, pick.chosen());
    return true;
}
