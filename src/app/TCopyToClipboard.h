#pragma once

#include <QDialog>

#include "RecordEditing.h"

class QCheckBox;
class QPushButton;

// "Copy Record To Clipboard": which parts of the record to copy.
class TCopyToClipboard : public QDialog {
    Q_OBJECT

  public:
    explicit TCopyToClipboard(QWidget* parent = nullptr);

    RecordEditing::ClipboardGroups groups() const;

    QCheckBox* NameBox;
    QCheckBox* AddressBox;
    QCheckBox* PhoneBox;
    QCheckBox* CodesBox;
    QCheckBox* CommentsBox;
    QPushButton* OkButton;
    QPushButton* CancelButton;
    QPushButton* HelpButton;
};
