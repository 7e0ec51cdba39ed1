#pragma once

// The drawing tools a designer arms on its panel: one tool-state enumeration per panel
// kind. psPointing is the selection tool; every other state names the object that a drop
// on the panel creates (a shape state the shape, psLine a line, ...). Tool states live
// only while a designer runs and are never stored.

// The tools of a label (TGLabelPanel).
enum class TLabelPanelState {
    psPointing,
    psLabel,
    psCounterLabel,
    psSymbolLabel,
    psDataLabel,
    psMultiLineLabel,
    psMultiLineDataLabel,
    psAddressLabel,
    psRectangle,
    psEllipse,
    psRoundRectangle,
    psLine,
    psImage,
    psPostNetBarCode,
    psIMBarCode  // the Intelligent Mail barcode
};

// The tools of an envelope (TEnvelopePanel).
enum class TEnvelopePanelState {
    psPointing,
    psLabel,
    psDataLabel,
    psMultiLineLabel,
    psAddressLabel,
    psRectangle,
    psEllipse,
    psRoundRectangle,
    psLine,
    psImage,
    psPostNetBarCode,
    psFIMBarCode,
    psIMBarCode
};

// The tools of a report band (TReportPanel).
enum class TReportPanelState {
    psPointing,
    psLabel,
    psDataLabel,
    psMultiLineDataLabel,
    psLine,
    psImage,
    psDateTime,
    psPageNumber,
    psSymbolLabel,
    psRectangle,
    psEllipse,
    psRoundRectangle
};
