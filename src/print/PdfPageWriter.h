#pragma once

#include <QPageLayout>
#include <QPainter>
#include <QString>
#include <memory>

#include "DeviceMetrics.h"
#include "PageStream.h"

class QPdfWriter;

// Writes pages of the stream into a PDF file through QPdfWriter, each page as soon as
// it is given, so that a document of any length keeps one page in memory. The sheet is
// a page layout whose margins act as a printer's unprintable border: the pages are
// drawn for metrics() (PagePainter.h), with the device's pixel (0, 0) at the corner of
// the layout's paint rectangle.
//
// The file is created by begin() and is a complete document once end() returns; the
// destructor ends a document that is still open.
class PdfPageWriter {
  public:
    PdfPageWriter();
    ~PdfPageWriter();
    PdfPageWriter(const PdfPageWriter&) = delete;
    PdfPageWriter& operator=(const PdfPageWriter&) = delete;

    // Starts the document `path` on sheets of `layout`, drawn at `dpi` dots per inch,
    // with `title` as its title. False when the file cannot be written or the layout or
    // resolution is not valid; nothing is open then. REQUIRES: !active().
    bool begin(const QString& path, const QPageLayout& layout, int dpi, const QString& title);
    bool active() const { return painter_.isActive(); }
    // The device the pages are drawn for; valid from begin() on.
    const DeviceMetrics& metrics() const { return metrics_; }

    // Adds `page` as the document's next page. REQUIRES: active().
    void write(const Page& page);
    int pagesWritten() const { return pages_; }

    // Ends the document; with `discard` the file is removed. Nothing happens when no
    // document is open.
    void end(bool discard);

  private:
    std::unique_ptr<QPdfWriter> writer_;
    QPainter painter_;
    QString path_;
    DeviceMetrics metrics_;
    int pages_ = 0;
};
