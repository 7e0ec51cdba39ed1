#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>

#include "AppHome.h"
#include "DialogServices.h"
#include "RecordEditing.h"

class BrowseModel;
class QPushButton;
class QTableView;

namespace xbase {
class Table;
}

// "Address Browse": the main window's records as a read-only grid, one row per record
// visible under the current query, in the current order. The columns are the browse
// fields in the order of sysdata/FIELDS.LST, read when the window is made; the user
// may drag them, and the order is written back to FIELDS.LST when the window closes.
//
// The grid and the main window share the table's cursor: moving in the grid (clicks,
// keys, the navigation buttons) moves the table to the row's record and tells the main
// window (recordMoved). "&Tag" and a double click toggle the tag of that record through
// the main window (toggleTag). The placement is restored on the first showing and saved
// on closing, as "TAddressBrowse_Placement" in the settings.
//
// The window borrows the table, which must outlive it; while it is open only it and the
// callbacks change the table.
class TAddressBrowse : public QDialog {
    Q_OBJECT

  public:
    struct Callbacks {
        std::function<void()> recordMoved;  // the table is on another record: show it
        std::function<void()> toggleTag;    // ToggleTag on the table's current record
    };

    TAddressBrowse(xbase::Table& table, const AppHome& home, const QString& globalTagId, Callbacks callbacks,
                   DialogServices services = {}, QWidget* parent = nullptr);
    ~TAddressBrowse() override;

    BrowseModel* model() const { return model_; }
    // The columns' field names in the order the grid shows them now.
    QStringList shownFields() const;
    // The field order of every browse field, as FIELDS.LST gave it.
    const QStringList& fieldOrder() const { return order_; }

    QTableView* BrowseGrid;
    QPushButton* FirstButton;
    QPushButton* PriorButton;
    QPushButton* NextButton;
    QPushButton* LastButton;
    QPushButton* TagButton;
    QPushButton* OkButton;

  public slots:
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormActivate();
    void BrowseGridRowChanged(int row);
    void TagButtonClick();
    void navigate(RecordEditing::Move move);
    // Makes `row` the grid's current row (the table follows).
    void selectRow(int row);
    void selectTableRecord(int fallbackRow);
    void setColumnWidths();
    void restorePlacement();
    void savePlacement();

    xbase::Table& table_;
    AppHome home_;
    Callbacks callbacks_;
    DialogServices services_;
    QStringList order_;
    BrowseModel* model_ = nullptr;
    bool activated_ = false;
    bool closed_ = false;
};
