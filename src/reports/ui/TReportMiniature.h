#pragma once

#include <QWidget>

#include "TReportSettings.h"

// The small page of the report settings dialog, 20 pixels to the inch: the page in grey,
// the part inside the margins in white, and the bands in use stacked from the top margin
// (the footer on the bottom margin), each filled with its shading and drawn with its
// borders. A click on a band names that band; a click elsewhere on the page names the
// page.
class TReportMiniature : public QWidget {
    Q_OBJECT

  public:
    explicit TReportMiniature(QWidget* parent = nullptr);

    void SetSettings(const TReportSettings& settings);

    // What a click at `p` (widget pixels) names: -1 nothing, 0 the page, 1 + a
    // TReportSettings::Band for a band.
    int PartAt(QPoint p) const;
    // The rectangle of a band (TReportSettings::Band) on the widget; empty when it is not
    // in use.
    QRect BandRect(int band) const;
    QRect PageRect() const;

    // A length in layout pixels on the miniature.
    static int Mini(int pixels);
    // The band's shade colour mixed with white by its shade percent (100: the colour).
    static QColor ShadeOf(const TReportBandFrame& frame);

  signals:
    // 0 the page, 1 + band for a band.
    void partClicked(int part);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    TReportSettings settings_;
};
