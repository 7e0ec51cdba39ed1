#pragma once

#include <QDialog>
#include <vector>

#include "LabelCatalogue.h"
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
// further by the words and size typed in the search box. Ok gives the chosen row.
//
// Beside the shipped rows it shows the desktop's shared catalogue (LabelCatalogue). The
// maker list then goes on after the shipped maker/printer entries with "All makers" and
// each catalogue maker. A shipped entry shows shipped rows only; "All makers" shows every
// row of both; a catalogue maker shows its catalogue rows and, when the shipped table has
// that maker too, the shipped rows of that maker. Catalogue rows show under "All" and
// under the product type their kinds map to; European paper and the search narrow both.
class TSelectLabel : public QDialog {
    Q_OBJECT

  public:
    // `templates` is LBLTPL.DBF, opened by the caller; its query and order are the
    // picker's while it is open. `current` preselects the lists and the row.
    TSelectLabel(xbase::Table& templates, const LabelStock& current, QWidget* parent = nullptr);
    // The same with the shared catalogue's products beside the table's rows.
    TSelectLabel(xbase::Table& templates, std::vector<CatalogueStock> catalogue, const LabelStock& current,
                 QWidget* parent = nullptr);
    ~TSelectLabel() override;

    // The row chosen with Ok (its DESCRIPT, or the catalogue row's name, in `description`).
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

    // One row of the grid.
    struct Row {
        LabelDefinition def;
        QString searchText;  // what the search's words are looked for in
        bool catalogue;
    };

    xbase::Table& templates_;
    const std::vector<CatalogueStock> catalogue_;
    QStringList catalogueMakers_;  // as the list shows them, after "All makers"
    std::vector<Row> rows_;        // the rows the lists let through, by description
    LabelDefinition chosen_;
};
