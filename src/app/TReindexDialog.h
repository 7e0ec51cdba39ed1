#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// What the two rebuild windows share: a text, a status line, a gauge and the buttons
// "Reindex", "Cancel" and "Help". "Reindex" hides Cancel and Help, shows the gauge and
// runs the rebuild, which reports through showStatus() and showGauge().
class TReindexDialog : public QDialog {
    Q_OBJECT

  public:
    QLabel* StatusLabel;
    QProgressBar* Gauge;
    QPushButton* ReindexButton;
    QPushButton* CancelButton;
    QPushButton* HelpButton;

  protected:
    TReindexDialog(const QString& objectName, const QString& caption, const QString& text, int helpTopic,
                   QWidget* parent);
    // The rebuild itself; true when it succeeded.
    virtual bool run() = 0;
    void showStatus(const QString& status);
    void showGauge(int percent);

  private:
    void ReindexButtonClick();
};
