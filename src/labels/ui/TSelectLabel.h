#pragma once

#include <QDialog>
#include <vector>

#include "LabelDefinition.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;
namespace xbase {
class Table;
}

// "Select Label Template": the stock catalogue LBLTPL.DBF narrowed by maker and printer,
// product type and European paper (a query on the table, rebuilt on every change), and
// further by the words typed in the search box. Ok gives the chosen row.
class TSelectLabel : public QDialog {
    Q_OBJECT

  public:
    // `templates` is LBLTPL.DBF, opened by the caller; its query and order are the
    // picker's while it is open. `current` preselects the lists and the row.
    TSelectLabel(xbase::Table& templates, const LabelStock& current, QWidget* parent = nullptr);
    ~TSelectLabel() override;

    // The row chosen with Ok (its DESCRIPT in `description`).
    const LabelDefinition& chosen() const { return chosen_; }
    // The rows the grid shows, in description order.
    QStringList shownDescriptions() const;

    QComboBox* MakerList;
    QComboBox* ProductList;
    QCheckBox* EuropeanOnly;
    QLineEdit* SearchEdit;
    QTableWidget* Grid;
    QLineEdit* HeightEdit;
    QLineEdit* WidthEdit;
    QLineEdit* AcrossEdit;
    QLineEdit* DownEdit;
    QLineEdit* PaperWidthEdit;
    QLineEdit* PaperHeightEdit;
    QPushButton* OkButton;

  private:
    void filterChanged();
    void searchChanged();
    void rowChanged();
    void OkButtonClick();

    xbase::Table& templates_;
    std::vector<LabelDefinition> rows_;  // the rows of the current query
    LabelDefinition chosen_;
};
