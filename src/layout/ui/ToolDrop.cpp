#include "ToolDrop.h"

#include "TEnvelopePanel.h"
#include "TGBaseLabel.h"
#include "TGCounterLabel.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGDMultiLineLabel.h"
#include "TGDateTimeLabel.h"
#include "TGFIMBarCode.h"
#include "TGIMBarCode.h"
#include "TGImage.h"
#include "TGLabelPanel.h"
#include "TGLabelShapes.h"
#include "TGLineShape.h"
#include "TGMultiLineLabel.h"
#include "TGPDLabel.h"
#include "TGPLabel.h"
#include "TGPageNumberLabel.h"
#include "TGPostNetBarCode.h"
#include "TGSymbolLabel.h"
#include "TReportPanel.h"
#include "Trpshapes.h"

namespace {

PanelTool toolOf(TLabelPanelState s) {
    using S = TLabelPanelState;
    switch (s) {
        case S::psPointing: return PanelTool::Pointing;
        case S::psLabel: return PanelTool::Label;
        case S::psCounterLabel: return PanelTool::CounterLabel;
        case S::psSymbolLabel: return PanelTool::SymbolLabel;
        case S::psDataLabel: return PanelTool::DataLabel;
        case S::psMultiLineLabel: return PanelTool::MultiLineLabel;
        case S::psMultiLineDataLabel: return PanelTool::MultiLineDataLabel;
        case S::psAddressLabel: return PanelTool::AddressLabel;
        case S::psRectangle: return PanelTool::Rectangle;
        case S::psEllipse: return PanelTool::Ellipse;
        case S::psRoundRectangle: return PanelTool::RoundRectangle;
        case S::psLine: return PanelTool::Line;
        case S::psImage: return PanelTool::Image;
        case S::psPostNetBarCode: return PanelTool::PostNetBarCode;
        case S::psIMBarCode: return PanelTool::IMBarCode;
        default: return PanelTool::Other;
    }
}

PanelTool toolOf(TEnvelopePanelState s) {
    using S = TEnvelopePanelState;
    switch (s) {
        case S::psPointing: return PanelTool::Pointing;
        case S::psLabel: return PanelTool::Label;
        case S::psDataLabel: return PanelTool::DataLabel;
        case S::psMultiLineLabel: return PanelTool::MultiLineLabel;
        case S::psAddressLabel: return PanelTool::AddressLabel;
        case S::psRectangle: return PanelTool::Rectangle;
        case S::psEllipse: return PanelTool::Ellipse;
        case S::psRoundRectangle: return PanelTool::RoundRectangle;
        case S::psLine: return PanelTool::Line;
        case S::psImage: return PanelTool::Image;
        case S::psPostNetBarCode: return PanelTool::PostNetBarCode;
        case S::psFIMBarCode: return PanelTool::FIMBarCode;
        case S::psIMBarCode: return PanelTool::IMBarCode;
        default: return PanelTool::Other;
    }
}

PanelTool toolOf(TReportPanelState s) {
    using S = TReportPanelState;
    switch (s) {
        case S::psPointing: return PanelTool::Pointing;
        case S::psLabel: return PanelTool::Label;
        case S::psDataLabel: return PanelTool::DataLabel;
        case S::psMultiLineDataLabel: return PanelTool::MultiLineDataLabel;
        case S::psLine: return PanelTool::Line;
        case S::psImage: return PanelTool::Image;
        case S::psDateTime: return PanelTool::DateTime;
        case S::psPageNumber: return PanelTool::PageNumber;
        case S::psSymbolLabel: return PanelTool::SymbolLabel;
        case S::psRectangle: return PanelTool::Rectangle;
        case S::psEllipse: return PanelTool::Ellipse;
        case S::psRoundRectangle: return PanelTool::RoundRectangle;
        default: return PanelTool::Other;
    }
}

// The rule of a report band, tested before anything is created; empty when the band
// takes the object.
QString bandRefusal(const TReportPanel& band, PanelTool tool) {
    const TRPanelKind kind = band.PAnelKind;
    if (tool == PanelTool::MultiLineDataLabel && kind != rpkMemo)
        return "This object may only be used in the memo band";
    if (tool == PanelTool::DataLabel && kind != rpkDetail)
        return "This object may only be used in the detail band";
    if ((tool == PanelTool::DateTime || tool == PanelTool::PageNumber) && kind != rpkHeader && kind != rpkFooter)
        return "This object may only be used in the header or footer bands";
    if (tool == PanelTool::Image && kind != rpkHeader) return "This object may only be used in the header band";
    return QString();
}

// The tool that makes objects like `object`, for the band rules.
PanelTool toolMaking(const TGGraphicControl& object) {
    if (dynamic_cast<const TGPDLabel*>(&object)) return PanelTool::DataLabel;
    if (dynamic_cast<const TGDMultiLineLabel*>(&object)) return PanelTool::MultiLineDataLabel;
    if (dynamic_cast<const TGDateTimeLabel*>(&object)) return PanelTool::DateTime;
    if (dynamic_cast<const TGPageNumberLabel*>(&object)) return PanelTool::PageNumber;
    if (dynamic_cast<const TGImage*>(&object)) return PanelTool::Image;
    return PanelTool::Other;
}

template <typename T>
std::unique_ptr<T> textObject(const TGBasePanel& panel) {
    auto o = std::make_unique<T>();
    o->SetFont(panel.Font);
    return o;
}

std::unique_ptr<TGGraphicControl> shape(bool report, TShapeType type) {
    std::unique_ptr<TGLabelShapes> s = report ? std::make_unique<Trpshapes>() : std::make_unique<TGLabelShapes>();
    s->Shape = type;
    return s;
}

}  // namespace

PanelTool ArmedTool(const TGBasePanel& panel) {
    if (auto p = dynamic_cast<const TGLabelPanel*>(&panel)) return toolOf(p->PanelState());
    if (auto p = dynamic_cast<const TEnvelopePanel*>(&panel)) return toolOf(p->PanelState());
    if (auto p = dynamic_cast<const TReportPanel*>(&panel)) return toolOf(p->PanelState());
    return PanelTool::Pointing;
}

void DisarmTool(TGBasePanel& panel) {
    if (auto p = dynamic_cast<TGLabelPanel*>(&panel)) p->SetPanelState(TLabelPanelState::psPointing);
    if (auto p = dynamic_cast<TEnvelopePanel*>(&panel)) p->SetPanelState(TEnvelopePanelState::psPointing);
    if (auto p = dynamic_cast<TReportPanel*>(&panel)) p->SetPanelState(TReportPanelState::psPointing);
    panel.Pointing = true;
}

ToolDrop PrepareDrop(const TGBasePanel& panel) {
    ToolDrop d;
    const PanelTool tool = ArmedTool(panel);
    const auto* band = dynamic_cast<const TReportPanel*>(&panel);
    if (band) {
        d.refusal = bandRefusal(*band, tool);
        if (!d.refusal.isEmpty()) return d;
    }
    auto withDialog = [&d](ObjectDialog dialog) {
        d.opensDialog = true;
        d.dialog = dialog;
    };
    switch (tool) {
        case PanelTool::Label: {
            auto o = textObject<TGPLabel>(panel);
            o->SetCaption("<text>");
            d.object = std::move(o);
            withDialog(ObjectDialog::Text);
            d.fit = true;
            break;
        }
        case PanelTool::CounterLabel: {
            auto o = textObject<TGCounterLabel>(panel);
            o->SetStartingnumber(1000);
            o->TextBefore.clear();
            o->TextAfter.clear();
            o->ComposeText();
            d.object = std::move(o);
            d.fit = true;
            break;
        }
        case PanelTool::SymbolLabel:
            d.object = std::make_unique<TGSymbolLabel>();
            withDialog(ObjectDialog::Symbol);
            d.fit = band != nullptr;
            break;
        case PanelTool::DataLabel: {
            auto o = textObject<TGPDLabel>(panel);
            o->DataFieldName = "<field>";
            d.object = std::move(o);
            withDialog(ObjectDialog::Field);
            d.refresh = d.fit = true;
            break;
        }
        case PanelTool::MultiLineLabel:
            d.object = textObject<TGMultiLineLabel>(panel);
            withDialog(ObjectDialog::MultiLineText);
            d.fit = true;
            break;
        case PanelTool::MultiLineDataLabel: {
            auto o = textObject<TGDMultiLineLabel>(panel);
            o->DataFieldName = "Memo";
            o->DataFieldDescript = "MEMO";
            d.object = std::move(o);
            d.refresh = true;
            break;
        }
        case PanelTool::AddressLabel:
            d.object = textObject<TGDMultiLineAddressLabel>(panel);
            d.refresh = d.fit = true;
            break;
        case PanelTool::Rectangle: d.object = shape(band, stRectangle); break;
        case PanelTool::Ellipse: d.object = shape(band, stEllipse); break;
        case PanelTool::RoundRectangle: d.object = shape(band, stRoundRect); break;
        case PanelTool::Line: {
            auto o = std::make_unique<TGLineShape>();
            o->SetLineStyle(band ? stHorizontal : stVertical);
            d.object = std::move(o);
            break;
        }
        case PanelTool::Image: d.object = std::make_unique<TGImage>(); break;
        case PanelTool::PostNetBarCode: {
            auto o = std::make_unique<TGPostNetBarCode>();
            o->ZipCodeField = "ZIP";
            o->AddressField = "STREET";
            d.object = std::move(o);
            d.refresh = true;
            break;
        }
        case PanelTool::FIMBarCode: d.object = std::make_unique<TGFIMBarCode>(); break;
        case PanelTool::IMBarCode: {
            auto o = std::make_unique<TGIMBarCode>();
            o->ZipCodeField = "ZIP";
            o->AddressField = "STREET";
            d.object = std::move(o);
            withDialog(ObjectDialog::IntelligentMail);
            d.refresh = true;
            d.atLeastOwnSize = true;
            break;
        }
        case PanelTool::DateTime:
            d.object = textObject<TGDateTimeLabel>(panel);
            d.fit = true;
            break;
        case PanelTool::PageNumber:
            d.object = textObject<TGPageNumberLabel>(panel);
            d.fit = true;
            break;
        case PanelTool::Pointing:
        case PanelTool::Other: break;
    }
    return d;
}

QRect DropRect(const QRect& drawn) {
    QRect r = drawn;
    if (r.width() < 25) r.setWidth(50);
    if (r.height() < 15) r.setHeight(15);
    return r;
}

void FitObject(TGGraphicControl& object) {
    if (auto s = dynamic_cast<TGSymbolLabel*>(&object)) {
        s->SizeToCharacter();
    } else if (auto l = dynamic_cast<TGBaseLabel*>(&object)) {
        l->FitToText();
    } else if (auto m = dynamic_cast<TGMultiLineBaseLabel*>(&object)) {
        m->FitToText();
    }
}

QString BandRefusal(const TGBasePanel& panel, const TGGraphicControl& object) {
    const auto* band = dynamic_cast<const TReportPanel*>(&panel);
    return band ? bandRefusal(*band, toolMaking(object)) : QString();
}
