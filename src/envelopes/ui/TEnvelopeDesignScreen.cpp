#include "Icons.h"
#include "TEnvelopeDesignScreen.h"

#include <QAction>
#include <QLabel>
#include <QStyle>
#include <cmath>

#include "EnvelopeDialogs.h"
#include "LayoutMetrics.h"
#include "PrinterDevice.h"
#include "StandardObjectDialogs.h"
#include "TGPanelView.h"

namespace {

using S = TEnvelopePanelState;

TDesignScreen::Frame envelopeFrame() {
    TDesignScreen::Frame f;
    f.caption = "Envelope Design Screen";
    f.className = "TEnvelopeDesignScreen";
    f.layoutButton = "C&hange Size";
    f.saveQuestion = "The envelope has been changed. Save the changes?";
    f.zoomLow = 60;
    f.zoomHigh = 140;
    f.tools = {
        {"Selection tool", int(S::psPointing), 'P'},
        {"Text tool", int(S::psLabel), 'A'},
        {"Database Field tool", int(S::psDataLabel), 'F'},
        {"Multi-line text tool", int(S::psMultiLineLabel), 'M'},
        {"Database Mailing Address tool", int(S::psAddressLabel), 'D'},
        {"Line Tool", int(S::psLine), 'L'},
        {"Rectangle tool", int(S::psRectangle), 'R'},
        {"Ellipse tool", int(S::psEllipse), 'E'},
        {"Round Rectangle tool", int(S::psRoundRectangle), 'O'},
        {"Clip Art Tool", int(S::psImage), 'I'},
        {"Postnet Barcode tool", int(S::psPostNetBarCode), 'B'},
        {"Intelligent Mail Barcode tool", int(S::psIMBarCode), 'T'},
        {"FIM Barcode tool", int(S::psFIMBarCode), 'X'},
    };
    return f;
}

// Inches to layout pixels, the fraction dropped.
int pixels(double inches) { return int(inches * layout::kPixelsPerInch); }

}  // namespace

TEnvelopeDesignScreen::TEnvelopeDesignScreen(const Envelope::Definition& definition, const QString& layoutFile,
                                             xbase::Table& addresses, const AppHome& home, PrinterDevice& device,
                                             QWidget* parent)
    : TDesignScreen(
          envelopeFrame(), [](TGOwner* owner) { return std::make_unique<TEnvelopePanel>(owner); },
          std::make_unique<StandardObjectDialogs>(), definition.description, layoutFile, addresses, home, parent),
      definition_(definition) {
    ShowPrintableArea = addToggle("Show the current printer's unprintable areas as a red dotted line",
                                  "ShowPrintableArea", Icons::Icon::PrintableArea);
    ShowTemplate = addToggle("Show USPS Automation Template", "ShowTemplate", Icons::Icon::MailTemplate);
    connect(ShowPrintableArea, &QAction::toggled, this, [this](bool on) {
        Panel().ShowPrintableArea = on;
        View()->PanelChanged();
    });
    connect(ShowTemplate, &QAction::toggled, this, [this](bool on) {
        Panel().ShowTemplate = on;
        View()->PanelChanged();
    });
    // The printer's page as the designer opens, for the unprintable areas.
    const DeviceMetrics page = device.metrics();
    TEnvelopePanel& panel = Panel();
    panel.MarginLeft = pixels(page.offsetLeft);
    panel.MarginTop = pixels(page.offsetTop);
    panel.MarginRight = pixels(page.offsetRight);
    panel.MarginBottom = pixels(page.offsetBottom);
    panel.PageWidth = pixels(page.pageWidth);
    panel.PageHeight = pixels(page.pageHeight);
    sizeEnvelope();
    opened();
}

void TEnvelopeDesignScreen::setPanelState(int state) { Panel().SetPanelState(S(state)); }

void TEnvelopeDesignScreen::sizeEnvelope() {
    const Envelope::Size size = Envelope::SizeOf(definition_.code);
    LayoutLabel->setText(size.width > 0 ? QString(size.entry).trimmed()
                                        : QString("Size code %1 (not an envelope size)").arg(definition_.code));
    if (size.width > 0) sizePanel(size.width, size.height);
}

void TEnvelopeDesignScreen::ChangeLayoutButtonClick() {
    TChooseEnvelopeLayout choose(definition_.code, this);
    if (choose.exec() != QDialog::Accepted) return;
    TakeSize(choose.code());
}

void TEnvelopeDesignScreen::TakeSize(int code) {
    if (code == definition_.code) return;
    definition_.code = code;
    View()->ClearSelection();
    sizeEnvelope();
    Panel().KeepObjectsInside();
    View()->PanelChanged();
    definitionChanged();
}

Envelope::Definition TEnvelopeDesignScreen::definition() const {
    Envelope::Definition def = definition_;
    def.description = description();
    return def;
}
