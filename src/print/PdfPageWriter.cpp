#include "PdfPageWriter.h"

#include <QFile>
#include <QPdfWriter>

#include "PagePainter.h"

PdfPageWriter::PdfPageWriter() = default;

PdfPageWriter::~PdfPageWriter() { end(false); }

bool PdfPageWriter::begin(const QString& path, const QPageLayout& layout, int dpi, const QString& title) {
    Q_ASSERT(!active());
    pages_ = 0;
    if (dpi <= 0 || !layout.isValid()) return false;
    path_ = path;
    writer_ = std::make_unique<QPdfWriter>(path);
    writer_->setResolution(dpi);
    writer_->setTitle(title);
    // The painter opens the file; a file that cannot be written fails here.
    if (!writer_->setPageLayout(layout) || !painter_.begin(writer_.get())) {
        writer_.reset();
        return false;
    }
    metrics_ = DeviceMetrics::fromPageLayout(writer_->pageLayout(), dpi, dpi);
    return true;
}

void PdfPageWriter::write(const Page& page) {
    Q_ASSERT(active());
    if (pages_ > 0) writer_->newPage();
    PagePainter(painter_, metrics_).play(page);
    ++pages_;
}

void PdfPageWriter::end(bool discard) {
    if (!writer_) return;
    if (painter_.isActive()) painter_.end();
    writer_.reset();
    if (discard) QFile::remove(path_);
}
