#pragma once

#include <optional>

#include "TBaseReport.h"

// The preview output: finished pages go into a page stream that the caller creates and
// owns, and later hands to the preview window. The pages are laid out for the device's
// metrics (the printer device's selected printer), so that the preview shows what
// printing would; setDeviceMetrics lays them out for a sheet of the caller's instead.
// Without either, the sheet is DeviceMetrics' default: Letter at 96 dots per inch.
class TReportFiler : public TBaseReport {
  public:
    explicit TReportFiler(ReportDevice* device = nullptr);

    // The stream the next job fills; it is emptied when the job starts.
    void setStream(PageStream* stream) { stream_ = stream; }
    PageStream* stream() const { return stream_; }
    // Lays the pages out for `metrics` instead of the device's.
    void setDeviceMetrics(std::optional<DeviceMetrics> metrics) { fixed_ = std::move(metrics); }

  protected:
    bool beginOutput(DeviceMetrics* metrics, QString* error) override;
    void outputPage(Page&& page) override;
    void endOutput(bool aborted) override;
    void statusNames(QString* device, QString* driver, QString* port) const override;

  private:
    PageStream* stream_ = nullptr;
    std::optional<DeviceMetrics> fixed_;
};
