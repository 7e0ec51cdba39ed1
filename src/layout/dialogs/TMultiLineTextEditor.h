#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;
struct LayoutFont;

// "Multi-line Text Editor": the lines of a fixed multi-line object in one memo, shown
// in the object's font; it holds at most layout::kMultiLineTextLimit characters.
class TMultiLineTextEditor : public QDialog {
    Q_OBJECT

  public:
    TMultiLineTextEditor(const QString& text, const LayoutFont& font, QWidget* parent = nullptr);
    QString text() const;

    QPlainTextEdit* Memo;
    QPushButton *OkButton, *CancelButton;

  private:
    void keepWithinLimit();
};
