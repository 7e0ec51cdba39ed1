#pragma once

#include <QDialog>
#include <functional>

#include "FieldMatch.h"

class QAbstractItemView;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QTableWidget;

// What the two matching windows share: a grid of sample data from the source, and the
// match grid, one row per address field ("Quillory Field") with the source field that
// feeds it ("Import from Field (in <file>)"), chosen in one step in the row's drop-down
// ("(none)" and the source fields that fit the row). "&Select Field" or a double click
// on a row opens the same choice as a menu at the mouse, the current one checked;
// choosing one puts it in the row and takes it out of any other. "&Clear Current"
// empties the row, "Clear &All" every row. "&Ok" keeps the changes, "Ca&ncel" drops
// them. The window keeps its placement in the settings, as the main window does.
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
    // The drop-down of a row, in the match grid's second column.
    QComboBox* SourceBox(int row) const;

    // Puts the window where it was last (by its object name, in the settings file at
    // `iniPath`), and keeps its placement there when it closes. Empty: not kept.
    void keepPlacement(const QString& iniPath);
    void done(int result) override;

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
    QString iniPath_;
};
