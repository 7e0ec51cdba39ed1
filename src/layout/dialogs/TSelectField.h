#pragma once

#include <QDialog>
#include <vector>

#include "ObjectEdits.h"

class QListWidget;
class QPushButton;

// "Select Field": the fields a data or memo object may show, by their labels; the
// object's own field is preselected, else the first. A double-click chooses.
class TSelectField : public QDialog {
    Q_OBJECT

  public:
    TSelectField(std::vector<layout::OfferedField> fields, const QString& current, QWidget* parent = nullptr);
    // The chosen field; null when the list is empty or nothing is chosen.
    const layout::OfferedField* chosen() const;

    QListWidget* ListOfFields;
    QPushButton *OkButton, *CancelButton;

  private:
    std::vector<layout::OfferedField> fields_;
};
