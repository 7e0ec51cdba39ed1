#pragma once

#include <QColor>
#include <QPushButton>

// A button that shows a colour as a swatch beside its text and opens the colour
// dialog when pressed; the chosen colour becomes its own and colorChanged follows.
class ColorButton : public QPushButton {
    Q_OBJECT

  public:
    explicit ColorButton(const QString& text, QWidget* parent = nullptr);

    QColor color() const { return color_; }
    void setColor(const QColor& color);

  signals:
    void colorChanged(const QColor& color);

  private:
    void choose();

    QColor color_ = Qt::black;
};
