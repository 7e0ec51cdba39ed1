#pragma once

#include <QWidget>

// The inch ruler above a report band: a tick every sixteenth of an inch, longer ticks at
// the half inch and full ticks with the inch number at every inch. `StartInch` is the
// inch shown at the left edge (the band's scroll position).
class THRuler : public QWidget {
    Q_OBJECT

  public:
    explicit THRuler(QWidget* parent = nullptr);

    double StartInch() const { return startInch_; }
    void SetStartInch(double inch);
    // Screen pixels per inch (the ticks' spacing is this ÷ 16, truncated).
    void SetPixelsPerInch(int ppi);
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);

    QSize sizeHint() const override { return QSize(768, 33); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    double startInch_ = 0.0;
    int ppi_ = 96;
    QColor color_ = Qt::yellow;
};
