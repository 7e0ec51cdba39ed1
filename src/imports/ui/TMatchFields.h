#pragma once

#include <QDialog>
#include <functional>

#include "FieldMatch.h"

class QAbstractItemView;
class QLabel;
class QMenu;
class QPushButton;
class QTableWidget;

// What the two matching windows share: a grid of sample data from the source, and the
// match grid, one row per address field ("Quillory Field") with the source field that
// feeds it ("Import from Field (in <file>)"). "&Select Field" or a double click on a
// row opens a menu of "(none)" and the source fields that fit the row, the current
// one checked; choosing one puts it in the row and takes it out of any other.
// "&Clear Current" empties the row, "Clear &All" every row. "Ok" keeps the changes,
// "Cancel" drops them.
class TMatchFields : public QDialog {
    Q_OBJECT

  public:
    // The matches as the window holds them.
    const FieldMatch& match() const { return match_; }

    QLabel* SampleLabel;
    QAbstractItemView* SampleGrid;
    QTableWidget* MatchGrid;
    QPushButton* SelectFieldButton;
    QPushButton* ClearCurrentButton;
    QPushButton* ClearAllButton;
    QPushButton* OkButton;
    QPushButton* CancelButton;

  public slots:
    void SelectFieldButtonClick();
    void ClearCurrentButtonClick();
    void ClearAllButtonClick();

  protected:
    TMatchFields(const QString& caption, const QString& sampleCaption, QAbstractItemView* sample,
                 const FieldMatch& match, const QString& fileName, QWidget* parent);

  private:
    // The menu of the current row, at the mouse.
    void showFieldMenu();
    void refresh();

    FieldMatch match_;
};
