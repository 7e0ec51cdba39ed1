#pragma once

#include <QWidget>
#include <cstdint>

class EditableGridModel;
class QPushButton;
class QString;
namespace xbase {
class Table;
}
class QTableView;

// An editable grid of records with its navigator (first, prior, next, last), as the
// tool windows show their results and the state table. The grid's current row is the
// table's current record. Typing into a cell edits the record (EditableGridModel);
// moving to another row posts that edit first, as a data grid does, and stays on the
// edited row when the write fails (the message is shown).
class RecordGrid : public QWidget {
    Q_OBJECT

  public:
    RecordGrid(EditableGridModel* model, QWidget* parent = nullptr);

    EditableGridModel* model() const { return model_; }
    // The record of the current row; 0 when there is none.
    uint32_t currentRecNo() const;
    // Makes the row of `recNo` current (the first row when it is not in the grid).
    void selectRecord(uint32_t recNo);
    // Counts and reads the rows again, staying on the current record where it can.
    void reload();
    // Posts the edit in progress; false (message shown) when it cannot be written.
    bool post();
    // Starts editing the current cell (the first editable one of the row when the
    // current cell cannot be edited).
    void editCurrentCell();
    // Flips the current record's "Tagged" mark for `tagId` (a failure is shown).
    void toggleCurrentTag(const QString& tagId);
    // Asks `question`; on Yes posts the edit in progress, tags every record of `table`
    // in the tagging window and reads the rows again.
    void tagAll(xbase::Table& table, const QString& tagId, const QString& question);

    QTableView* Grid;
    QPushButton* FirstButton;
    QPushButton* PriorButton;
    QPushButton* NextButton;
    QPushButton* LastButton;

  signals:
    // A double click on the "Tagged" column.
    void tagCellDoubleClicked();
    // The current row changed: the table stands on currentRecNo().
    void recordMoved();

  protected:
    // Return and Enter end the typing in a cell; they never reach the window's default
    // button.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void rowChanged(int row, int previous);
    void goRow(int row);

    EditableGridModel* model_;
    bool moving_ = false;
};
