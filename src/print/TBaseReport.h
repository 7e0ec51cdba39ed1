#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "DeviceMetrics.h"
#include "JobProgress.h"
#include "PageStream.h"
#include "ReportDevice.h"
#include "StatusFormat.h"

class QFontMetricsF;

// A rectangle made by makeRect: the device pixels and the inches it came from.
struct ReportRect {
    QRect device;
    QRectF inches;
};

// A print job that draws in inches. The job's handlers (OnPrint and the others) draw
// through the operations below while execute() runs; what they draw becomes pages of
// drawing operations (PageStream.h) that the output takes over as each page ends:
// TReportPrinter plays them to the printer, TReportFiler keeps them for the preview,
// TReportPdfWriter writes them to a PDF file.
//
// A job is idle, then running (inside execute), then finished. Drawing outside a
// running job is refused with kNotPrinting, and execute() or a change of the device
// while one runs with ReportDevice::kAlreadyPrinting; a refused call returns false,
// draws nothing and leaves the message in lastError().
//
// Positions are in Units from the sheet's top-left corner (inches, UnitsFactor 1.0,
// in every job of this program). On the device a position x lands on pixel
// round(((x / UnitsFactor + OriginX) * ScaleX / 100 - unprintable offset) * dpi).
class TBaseReport {
  public:
    enum class State { Idle, Running, Finished };
    enum class TUnits { Inch, MM, CM, Point, User };
    enum class TabJustify { Left, Center, Right };
    static const QString kNotPrinting;

    // `device` is the device the job is for, borrowed; null: the job has none (the
    // output alone decides the page, and no device is marked busy).
    explicit TBaseReport(ReportDevice* device = nullptr);
    virtual ~TBaseReport();
    TBaseReport(const TBaseReport&) = delete;
    TBaseReport& operator=(const TBaseReport&) = delete;

    // The job's settings, read when execute() starts.
    TUnits Units = TUnits::Inch;
    double UnitsFactor = 1.0;  // units per inch
    double MarginLeft = 0.5;
    double MarginRight = 0.5;
    double MarginTop = 0.5;
    double MarginBottom = 0.5;
    double ScaleX = 100;
    double ScaleY = 100;
    double OriginX = 0;  // inches
    double OriginY = 0;
    QString Title;  // the document name the spooler shows
    int FirstPage = 1;
    int LastPage = 9999;
    int Copies = 1;
    QString StatusFormat;
    QStringList StatusText;

    std::function<void(TBaseReport&)> OnBeforePrint;
    std::function<void(TBaseReport&)> OnPrint;
    std::function<void(TBaseReport&)> OnAfterPrint;
    std::function<bool(TBaseReport&)> OnPrintPage;  // returns whether more pages follow
    std::function<void(TBaseReport&)> OnNewPage;
    std::function<void(TBaseReport&)> OnPrintHeader;
    std::function<void(TBaseReport&)> OnPrintFooter;

    // Orientation of the job's pages; unset: the printer's own.
    bool setOrientation(std::optional<QPageLayout::Orientation> orientation);
    std::optional<QPageLayout::Orientation> orientation() const { return orientation_; }

    // Runs the job: OnBeforePrint; then OnPrint once when it is set or OnPrintPage is
    // not, otherwise OnPrintPage page after page until it returns false or the job is
    // aborted; then OnAfterPrint. False when the job could not start or was aborted.
    bool execute();
    State state() const { return state_; }
    bool printing() const { return state_ == State::Running; }

    // The job's runner: updateStatus() shows the status line through progress.status()
    // and then asks progress.keepGoing(); a false answer aborts the job (Abort) or ends
    // it early keeping what it made (Stop). Null: nobody watches the job.
    enum class OnHalt { Abort, Stop };
    void setProgress(JobProgress* progress, OnHalt onHalt = OnHalt::Abort);

    // Marks the job aborted; the job's loop sees it at its next check.
    virtual void abort();
    bool aborted() const { return aborted_; }
    // The preview's Stop: the job's loop ends early, but what it made is kept.
    void stop() { stopped_ = true; }
    bool stopped() const { return stopped_; }
    // What the job's loop tests before each item.
    bool cancelled() const { return aborted_ || stopped_; }

    const QString& lastError() const { return error_; }
    // The device the job is for; null when it has none.
    ReportDevice* reportDevice() const { return device_; }

    // Pages. A page outside FirstPage..LastPage is drawn but not output.
    bool newPage();
    int currentPage() const { return page_; }
    // Shows StatusFormat, formatted, through the job's progress, and asks the progress
    // whether the job is to go on (see setProgress). Print loops call it per item.
    void updateStatus();
    QString statusLine() const;

    // The device: resolution, the sheet and its unprintable border.
    const DeviceMetrics& metrics() const { return metrics_; }
    double xDPI() const { return metrics_.dpiX; }
    double yDPI() const { return metrics_.dpiY; }
    double pageWidth() const;  // in units
    double pageHeight() const;
    int xToDevice(double x) const;
    int yToDevice(double y) const;

    // Font. setFont also resets the colour to black, every style and the rotation.
    bool setFont(const QString& name, double points);
    bool setBold(bool on);
    bool setItalic(bool on);
    bool setUnderline(bool on);
    bool setStrikeOut(bool on);
    bool setFontColor(const QColor& color);
    bool setFontRotation(int degrees);  // taken modulo 360
    const QFont& font() const { return font_; }
    QColor fontColor() const { return fontColor_; }
    int fontRotation() const { return rotation_; }
    // In units: the string's width (at least one device pixel), the line height, the
    // ascent and the height of the characters (ascent and descent) of the current font.
    double textWidth(const QString& text);
    double fontLineHeight();
    double fontAscent();
    double fontHeight();

    // The area that everything drawn from now on is clipped to, on top of each
    // operation's own clip: one label or envelope, so that nothing of it reaches its
    // neighbour or the sheet beyond. clearClipArea() lets drawing reach the whole sheet
    // again. clipArea() is in units as given; null when there is none.
    bool setClipArea(double x1, double y1, double x2, double y2);
    void clearClipArea();
    QRectF clipArea() const { return clipUnits_; }

    // Text and shapes.
    ReportRect makeRect(double x1, double y1, double x2, double y2) const;
    // Draws `text` with its top-left corner at (x, y), clipped to `rect`.
    bool textRect(const ReportRect& rect, double x, double y, const QString& text);
    // Draws `text` with its baseline starting at (x, y).
    bool printXY(double x, double y, const QString& text);
    // Pen width in device dots; a negative width is hundredths of an inch (at least
    // one dot).
    bool setPen(const QColor& color, Qt::PenStyle style, int width, PenSpec::Mode mode = PenSpec::Mode::Copy);
    bool setBrush(const QColor& color, Qt::BrushStyle style);
    const PenSpec& pen() const { return pen_; }
    bool rectangle(double x1, double y1, double x2, double y2);
    bool roundRect(double x1, double y1, double x2, double y2, double cornerWidth, double cornerHeight);
    bool ellipse(double x1, double y1, double x2, double y2);
    bool line(double x1, double y1, double x2, double y2);
    bool moveTo(double x, double y);
    bool lineTo(double x, double y);
    bool stretchDraw(const ReportRect& rect, const QImage& image);
    bool playMetafile(const ReportRect& rect, const QByteArray& wmf);

    // The cursor for reports that flow: (cursorX, cursorY) is the baseline of the
    // current line; home() puts it on the first line inside the margins.
    double cursorX() const { return cursorX_; }
    double cursorY() const { return cursorY_; }
    void gotoXY(double x, double y);
    void home();
    void newLine();
    double lineTop();
    double lineBottom();
    bool print(const QString& text);
    bool println(const QString& text);

    // Tab stops of a row. `position` is from the sheet's left edge; a negative one
    // starts the stop where the previous one ends. `margin` is the inner margin on each
    // side in percent of the width, `shade` the grey fill in percent (0 none).
    void clearTabs();
    void setTab(double position, TabJustify justify, double width, int margin, int shade);
    // Prints `text` in the next tab stop of the row, advancing the cursor past it.
    bool printTab(const QString& text);

  protected:
    // Starts the output and fills `metrics` for the job; false with `error` set when it
    // cannot start.
    virtual bool beginOutput(DeviceMetrics* metrics, QString* error) = 0;
    // A finished page within the page range.
    virtual void outputPage(Page&& page) = 0;
    virtual void endOutput(bool aborted) = 0;
    // %D, %R, %T of the status line.
    virtual void statusNames(QString* device, QString* driver, QString* port) const = 0;

    void setMetrics(const DeviceMetrics& metrics);

  private:
    bool refuse();
    double toSheetX(double x) const;
    double toSheetY(double y) const;
    double toInchesX(double length) const;
    double toInchesY(double length) const;
    double fromInchesX(double inches) const;
    double fromInchesY(double inches) const;
    QPointF sheet(double x, double y) const { return QPointF(toSheetX(x), toSheetY(y)); }
    QRectF sheetRect(double x1, double y1, double x2, double y2) const;
    const QFontMetricsF& fontMetrics();
    void fontChanged();
    void startPage();
    void finishPage();
    DrawOp& add(DrawOp::Kind kind);
    void addText(const QPointF& baseline, const QString& text, const QRectF& clip);

    ReportDevice* device_;
    JobProgress* progress_ = nullptr;
    OnHalt onHalt_ = OnHalt::Abort;
    State state_ = State::Idle;
    bool aborted_ = false;
    bool stopped_ = false;
    QString error_;
    std::optional<QPageLayout::Orientation> orientation_;
    DeviceMetrics metrics_;
    int page_ = 0;
    Page current_;

    QFont font_;
    QColor fontColor_ = Qt::black;
    int rotation_ = 0;
    std::unique_ptr<QImage> measure_;  // a device of the output's resolution
    std::unique_ptr<QFontMetricsF> fontMetrics_;
    PenSpec pen_;
    BrushSpec brush_;
    QRectF clipUnits_;  // the clip area in units
    QRectF clipSheet_;  // the same on the sheet, as the page stream holds it
    QPointF penAt_;

    double cursorX_ = 0;
    double cursorY_ = 0;
    struct Tab {
        double position;
        TabJustify justify;
        double width;
        int margin;
        int shade;
    };
    std::vector<Tab> tabs_;
    size_t nextTab_ = 0;
};
