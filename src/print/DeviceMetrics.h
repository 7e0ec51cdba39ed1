#pragma once

class QPageLayout;

// What a report needs to know of the device it draws for. Sizes and offsets are in
// inches; the offsets are the unprintable border on each side, so that the device's
// pixel (0, 0) lies at (offsetLeft, offsetTop) on the sheet.
struct DeviceMetrics {
    double pageWidth = 8.5;  // the physical sheet
    double pageHeight = 11.0;
    double offsetLeft = 0.0;
    double offsetTop = 0.0;
    double offsetRight = 0.0;
    double offsetBottom = 0.0;
    double dpiX = 96.0;
    double dpiY = 96.0;

    // The metrics of a device whose sheet is `layout` (in its orientation) and whose
    // pixel (0, 0) is the corner of the layout's paint rectangle: the margins are the
    // unprintable border.
    static DeviceMetrics fromPageLayout(const QPageLayout& layout, double dpiX, double dpiY);
};
