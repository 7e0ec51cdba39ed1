#pragma once

#include <QDialog>

class QPushButton;

// "About Quillory": the program's name, version and purpose.
class TAboutBox : public QDialog {
    Q_OBJECT

  public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QPushButton* OkButton;
};
