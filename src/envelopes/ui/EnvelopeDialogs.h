#pragma once

#include <QDialog>
#include <QWidget>

#include "Envelope.h"

class PrinterDevice;
class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QRadioButton;

// The picture of the printer's feed: the tray and an envelope in it, front or back,
// standing or turned, at the position the feed says. Our own line drawing.
class FeedPicture : public QWidget {
  public:
    explicit FeedPicture(QWidget* parent = nullptr);
    void setFeed(const Envelope::Feed& feed);
    QSize sizeHint() const override { return {200, 130}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Envelope::Feed feed_;
};

// "Envelope Size": the envelope sizes, the incoming code preselected (the first entry
// for a code not in the list).
class TChooseEnvelopeLayout : public QDialog {
    Q_OBJECT

  public:
    explicit TChooseEnvelopeLayout(int code, QWidget* parent = nullptr);
    // The chosen code; the incoming one when nothing is selected.
    int code() const;

    QListWidget* SizeList;

  private:
    int incoming_;
};

// "Paper Feed Method": how envelopes go into the printer, with its picture.
class TEnvelopeFeed : public QDialog {
    Q_OBJECT

  public:
    explicit TEnvelopeFeed(const Envelope::Feed& feed, QWidget* parent = nullptr);
    Envelope::Feed feed() const;

    QRadioButton* LeftButton;
    QRadioButton* RightButton;
    QRadioButton* CenterButton;
    QRadioButton* PortraitButton;
    QRadioButton* LandscapeButton;
    QRadioButton* UpButton;
    QRadioButton* DownButton;
    QCheckBox* ClockwiseBox;
    FeedPicture* Picture;

  private:
    void changed();
};

// "Envelope Print": the printer as set up, the feed and its picture, a warning when the
// paper is not the envelope, and the printer's own correction of the placement.
class TEnvelopePrePrint : public QDialog {
    Q_OBJECT

  public:
    TEnvelopePrePrint(PrinterDevice& device, const Envelope::Size& size, const Envelope::Feed& feed,
                      QPointF calibration, QWidget* parent = nullptr);
    const Envelope::Feed& feed() const { return feed_; }
    QPointF calibration() const;

    QLabel* PrinterLabel;
    QLabel* SourceLabel;
    QLabel* PaperLabel;
    QLabel* OrientationLabel;
    QLabel* FeedLabel;
    QLabel* WarningLabel;
    FeedPicture* Picture;
    QDoubleSpinBox* OffsetX;
    QDoubleSpinBox* OffsetY;

  private:
    void refresh();

    PrinterDevice& device_;
    Envelope::Size size_;
    Envelope::Feed feed_;
};
