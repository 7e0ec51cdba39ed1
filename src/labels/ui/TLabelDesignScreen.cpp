#include "Icons.h"
#include "TLabelDesignScreen.h"

#include <QAction>
#include <QLabel>
#include <QSpinBox>
#include <QStyle>
#include <QToolBar>
#include <cmath>

#include "AppHome.h"
#include "IntelligentMail.h"
#include "LayoutMetrics.h"
#include "SettingKeys.h"
#include "Settings.h"
#include "StandardObjectDialogs.h"
#include "StockArt.h"
#include "TChooseLabelLayout.h"
#include "TGPanelView.h"
#include "TGPostNetBarCode.h"
#include "WindowMessages.h"

namespace {

using S = TLabelPanelState;

constexpr double kPostNetWidth = 2.85;  // inches a POSTNET barcode needs
const QString kNewLabelMessage = QStringLiteral(
    "A new label has been created using the Avery 5160\rformat. To change to another label format, click on\r"
    "the Change Layout button.\r\rA Database Mailing Address object has already been \radded to the label.\r\r"
    "For additional assistance, click the Help button");
const QString kPostNetTooNarrow =
    QStringLiteral("This label is not wide enough for a \rpostnet barcode. At least 2.85 inches are needed");
const QString kIMbTooNarrow = QStringLiteral(
    "This label is not wide enough for an \rIntelligent Mail barcode. At least %1 inches are needed");

TDesignScreen::Frame labelFrame() {
    TDesignScreen::Frame f;
    f.caption = "Label Design Screen";
    f.className = "TLabelDesignScreen";
    f.layoutButton = "C&hange Layout";
    f.saveQuestion = "The label has been changed. Save the changes?";
    f.zoomLow = 50;
    f.zoomHigh = 150;
    f.tools = {
        {"Selection tool", int(S::psPointing), 'P'},
        {"Text tool", int(S::psLabel), 'A'},
        {"Database Field tool", int(S::psDataLabel), 'F'},
        {"Database Memo Field tool", int(S::psMultiLineDataLabel), 'N'},
        {"Multi-line text tool", int(S::psMultiLineLabel), 'M'},
        {"Database Mailing Address tool", int(S::psAddressLabel), 'D'},
        {"Counter tool", int(S::psCounterLabel), '#'},
        {"Symbol tool", int(S::psSymbolLabel), 'S'},
        {"Line Tool", int(S::psLine), 'L'},
        {"Rectangle tool", int(S::psRectangle), 'R'},
        {"Ellipse tool", int(S::psEllipse), 'E'},
        {"Round Rectangle tool", int(S::psRoundRectangle), 'O'},
        {"Clip Art Tool", int(S::psImage), 'I'},
        {"Postnet Barcode tool", int(S::psPostNetBarCode), 'B'},
        {"Intelligent Mail Barcode tool", int(S::psIMBarCode), 'T'},
    };
    return f;
}

// The default font of new objects, from the "Label" settings.
LayoutFont settingsFont(const AppHome& home) {
    const Settings settings(Settings::GetIniFileName(home));
    LayoutFont font =
        LayoutFont::Make(settings.value(setting::kLabelFontName), settings.value(setting::kLabelFontSize));
    font.set(fsBold, settings.value(setting::kLabelFontBold));
    font.set(fsItalic, settings.value(setting::kLabelFontItalic));
    return font;
}

int pixels(double inches) { return int(std::lround(inches * layout::kPixelsPerInch)); }

}  // namespace

TLabelDesignScreen::TLabelDesignScreen(const LabelDefinition& definition, bool isNew, const QString& layoutFile,
                                       xbase::Table& addresses, const AppHome& home, QWidget* parent)
    : TDesignScreen(
          labelFrame(), [](TGOwner* owner) { return std::make_unique<TGLabelPanel>(owner); },
          std::make_unique<StandardObjectDialogs>(), definition.description, layoutFile, addresses, home, parent),
      original_(definition), stock_(definition.stock) {
    PostNetTool = toolAction(int(S::psPostNetBarCode));
    IMBarCodeTool = toolAction(int(S::psIMBarCode));
    ShowArt = addToggle("Show art", "ShowArt", Icons::Icon::ShowArt);
    connect(ShowArt, &QAction::toggled, this, &TLabelDesignScreen::showArt);
    Panel().Font = settingsFont(home);

    sizeLabel();
    ShowArt->setEnabled(!stock_.art.trimmed().isEmpty());
    ShowArt->setChecked(ShowArt->isEnabled());
    showArt();
    showLayoutName();
    connect(ZoomSpin, qOverload<int>(&QSpinBox::valueChanged), this, [this] {
        if (ShowArt->isChecked()) showArt();
    });
    opened();

    if (isNew) {
        // A new definition starts with an address block over the label, less a small border.
        placeObject(int(S::psAddressLabel), QRect(5, 5, pixels(stock_.width) - 15, pixels(stock_.height) - 15));
        WindowMessages().inform(kNewLabelMessage);
    }
}

void TLabelDesignScreen::setPanelState(int state) { Panel().SetPanelState(S(state)); }

bool TLabelDesignScreen::toolAllowed(int state) {
    if (state == int(S::psPostNetBarCode) && stock_.width < kPostNetWidth) {
        WindowMessages().inform(kPostNetTooNarrow);
        return false;
    }
    if (state == int(S::psIMBarCode) && stock_.width < layout::imb::kNeededWidth) {
        WindowMessages().inform(kIMbTooNarrow.arg(layout::imb::kNeededWidth, 0, 'f', 2));
        return false;
    }
    return true;
}

void TLabelDesignScreen::fontChosen(const LayoutFont& font) {
    Settings settings(Settings::GetIniFileName(home()));
    QString error;
    if (!settings.write({{setting::kLabelFontName, font.Name},
                         {setting::kLabelFontSize, font.Size()},
                         {setting::kLabelFontBold, font.has(fsBold)},
                         {setting::kLabelFontItalic, font.has(fsItalic)}},
                        &error))
        WindowMessages().error(error);
}

void TLabelDesignScreen::sizeLabel() {
    const QString code = stock_.shape.trimmed().toUpper();
    Panel().Shape = code == "EL" ? lsEllipse : code == "SR" ? lsRectangle : lsRoundRect;
    sizePanel(stock_.width, stock_.height);
}

void TLabelDesignScreen::showArt() {
    if (ShowArt->isChecked() && ShowArt->isEnabled()) {
        const QImage art = StockArt::Draw(stock_, QSize(Panel().Width(), Panel().Height()));
        Panel().Picture = art.isNull() ? LayoutPicture() : LayoutPicture::FromImage(art);
    } else {
        Panel().Picture = LayoutPicture();
    }
    View()->PanelChanged();
}

void TLabelDesignScreen::showLayoutName() {
    LayoutLabel->setText(stock_.manufac.trimmed().toUpper() == "USER" ? "User Defined Label Layout"
                                                                      : stock_.tplDescrip.trimmed());
}

void TLabelDesignScreen::ChangeLayoutButtonClick() {
    LabelStock stock = stock_;
    if (!ChangeLabelStock(home(), &stock, this)) return;
    TakeStock(stock);
}

void TLabelDesignScreen::TakeStock(const LabelStock& stock) {
    const bool artWasShown = ShowArt->isChecked();
    stock_ = stock;
    View()->ClearSelection();
    sizeLabel();
    ShowArt->setEnabled(!stock_.art.trimmed().isEmpty());
    ShowArt->setChecked(ShowArt->isEnabled() && (artWasShown || stock_.manufac.trimmed().toUpper() != "USER"));
    showArt();
    Panel().KeepObjectsInside();
    showLayoutName();
    // A label narrower than a POSTNET barcode loses its first one.
    if (stock_.width < kPostNetWidth) {
        for (int i = 0; i < Panel().ObjectCount(); ++i) {
            if (dynamic_cast<TGPostNetBarCode*>(Panel().Object(i))) {
                WindowMessages().inform("Warning: " + kPostNetTooNarrow);
                View()->DeleteObject(Panel().Object(i));
                break;
            }
        }
    }
    View()->PanelChanged();
    definitionChanged();
}

LabelDefinition TLabelDesignScreen::definition() const {
    LabelDefinition def = original_;
    def.description = description();
    def.stock = stock_;
    return def;
}
