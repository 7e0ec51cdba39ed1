#include "TAddressSearch.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ButtonRow.h"
#include "Search.h"

TAddressSearch::TAddressSearch(xbase::Table& table, QString& currentOrderName, DialogServices services,
                               QWidget* parent)
    : QDialog(parent), table_(table), currentOrderName_(currentOrderName), services_(std::move(services)) {
    setObjectName("TAddressSearch");
    setWindowTitle("Search");

    SearchOrderCombo = new QComboBox;
    SearchOrderCombo->setObjectName("SearchOrderCombo");
    SearchOrderCombo->addItems(SortOrders::names());
    // The order ticked in the Sort menu: the one whose tag is current.
    const auto& orders = SortOrders::orders();
    for (int i = 0; i < int(orders.size()); ++i) {
        if (currentOrderName_.compare(QLatin1String(orders[size_t(i)].tag), Qt::CaseInsensitive) == 0) {
            SearchOrderCombo->setCurrentIndex(i);
        }
    }
    auto* orderLabel = new QLabel("Search &Order");
    orderLabel->setBuddy(SearchOrderCombo);

    SearchLabel = new QLabel;
    SearchLabel->setObjectName("SearchLabel");
    SearchEdit = new QLineEdit;
    SearchEdit->setObjectName("SearchEdit");
    SearchEdit->setMaxLength(Search::kMaxSearchText);
    SearchLabel->setBuddy(SearchEdit);

    ButtonRow buttons(
        this, [this] { OkButtonClick(); }, services_.helpFor(this));
    OkButton = buttons.OkButton;
    CancelButton = buttons.CancelButton;
    HelpButton = buttons.HelpButton;
    connect(SearchOrderCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &TAddressSearch::SearchOrderComboChange);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(orderLabel);
    layout->addWidget(SearchOrderCombo);
    layout->addSpacing(6);
    layout->addWidget(SearchLabel);
    layout->addWidget(SearchEdit);
    layout->addSpacing(6);
    layout->addLayout(buttons.layout);
    setMinimumWidth(340);
    SearchOrderComboChange();
}

void TAddressSearch::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    SearchOrderComboChange();
}

void TAddressSearch::SearchOrderComboChange() {
    SearchLabel->setText(Search::LabelText(SearchOrderCombo->currentText()));
    SearchEdit->setFocus();
}

void TAddressSearch::OkButtonClick() {
    const QString text = SearchEdit->text();
    if (!text.isEmpty()) {
        searched_ = true;
        found_ =
            Search::SearchOrder(table_, &currentOrderName_, SearchOrderCombo->currentText(), text, &choice_);
    }
    accept();
}
