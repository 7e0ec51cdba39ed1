#pragma once

#include <QPageLayout>
#include <QString>

#include "PdfPageWriter.h"
#include "TBaseReport.h"

// The PDF output: each finished page is written to a PDF file (PdfPageWriter.h) and
// then dropped, without a printer. The sheet is a page layout whose margins are the
// unprintable border, by default Letter without a border, at 1200 dots per inch, as
// the "PDF File" printer has them. The job's orientation, when set, turns the sheet.
// An aborted job writes no further page, and its file is removed when the job ends.
class TReportPdfWriter : public TBaseReport {
  public:
    static constexpr int kDefaultResolution = 1200;

    // `device`, when given, is marked busy while a job runs; the page is this output's.
    explicit TReportPdfWriter(ReportDevice* device = nullptr);

    // The settings of the output, read when execute() starts.
    void setFileName(const QString& path) { fileName_ = path; }
    const QString& fileName() const { return fileName_; }
    void setPageLayout(const QPageLayout& layout) { layout_ = layout; }
    const QPageLayout& pageLayout() const { return layout_; }
    void setResolution(int dpi) { resolution_ = dpi; }
    int resolution() const { return resolution_; }

    // Pages written in this job.
    int pagesPrinted() const { return pdf_.pagesWritten(); }

  protected:
    bool beginOutput(DeviceMetrics* metrics, QString* error) override;
    void outputPage(Page&& page) override;
    void endOutput(bool aborted) override;
    // "PDF File", "PDF" and the file name, as the "PDF File" printer names itself.
    void statusNames(QString* device, QString* driver, QString* port) const override;

  private:
    QString fileName_;
    QPageLayout layout_;
    int resolution_ = kDefaultResolution;
    PdfPageWriter pdf_;
};
