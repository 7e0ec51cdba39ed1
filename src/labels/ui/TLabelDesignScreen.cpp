#include "TLabelDesignScreen.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "AppHome.h"
#include "IntelligentMail.h"
#include "LayoutMetrics.h"
#include "PlacedWindow.h"
#include "SettingKeys.h"
#include "Settings.h"
#include "StandardObjectDialogs.h"
#include "StockArt.h"
#include "TAddressDataSet.h"
#include "TChooseLabelLayout.h"
#include "TGGraphicControl.h"
#include "TGIMBarCode.h"
#include "TGPanelView.h"
#include "TGPostNetBarCode.h"
#include "Table.h"
#include "WindowMessages.h"

namespace {

using S = TLabelPanelState;

constexpr double kPostNetWidth = 2.85;  // inches a POSTNET barcode needs
constexpr int kMaxDescription = 50;
const QString kNewLabelMessage = QStringLiteral(
    "A new label has been created using the Avery 5160\rformat. To change to another label format, click on\r"
    "the Change Layout button.\r\rA Database Mailing Address object has already been \radded to the label.\r\r"
    "For additional assistance, click the Help button");
const QString kPostNetTooNarrow =
    QStringLiteral("This label is not wide enough for a \rpostnet barcode. At least 2.85 inches are needed");
const QString kIMbTooNarrow = QStringLiteral(
    "This label is not wide enough for an \rIntelligent Mail barcode. At least %1 inches are needed");

// The tools in the order of the bar, with their hints.
struct Tool {
    const char* hint;
    S state;
    char glyph;  // what its small icon shows
};
const Tool kTools[] = {
    {"Selection tool", S::psPointing, 'P'},
    {"Text tool", S::psLabel, 'A'},
    {"Multi-line text tool", S::psMultiLineLabel, 'M'},
    {"Counter tool", S::psCounterLabel, '#'},
    {"Symbol tool", S::psSymbolLabel, 'S'},
    {"Rectangle tool", S::psRectangle, 'R'},
    {"Ellipse tool", S::psEllipse, 'E'},
    {"Round Rectangle tool", S::psRoundRectangle, 'O'},
    {"Line Tool", S::psLine, 'L'},
    {"Clip Art Tool", S::psImage, 'I'},
    {"Postnet Barcode tool", S::psPostNetBarCode, 'B'},
    {"Intelligent Mail Barcode tool", S::psIMBarCode, 'T'},
    {"Database Field tool", S::psDataLabel, 'F'},
    {"Database Memo Field tool", S::psMultiLineDataLabel, 'N'},
    {"Database Mailing Address tool", S::psAddressLabel, 'D'},
};

// Small icons of our own drawing, one per tool.
QIcon toolIcon(char glyph) {
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 1.6));
    const QRectF box(4, 5, 16, 14);
    QFont font("Sans");
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    switch (glyph) {
        case 'P': {  // an arrow
            const QPointF arrow[] = {{7, 3}, {7, 19}, {11, 15}, {14, 21}, {16, 20}, {13, 14}, {18, 14}};
            p.setBrush(Qt::white);
            p.drawPolygon(arrow, 7);
            break;
        }
        case 'R': p.drawRect(box); break;
        case 'E': p.drawEllipse(box); break;
        case 'O': p.drawRoundedRect(box, 5, 5); break;
        case 'L': p.drawLine(QPointF(4, 20), QPointF(20, 4)); break;
        case 'B':  // tall and short bars
        case 'T':
            for (int i = 0; i < 8; ++i) {
                const double x = 3.5 + i * 2.4;
                const bool tall = glyph == 'B' ? (i % 3 != 1) : (i % 2 == 0);
                p.drawLine(QPointF(x, tall ? 5 : 11), QPointF(x, glyph == 'T' && i % 4 == 1 ? 15 : 19));
            }
            break;
        case 'I': {  // a picture: a frame with a hill
            p.drawRect(box);
            const QPointF hill[] = {{5, 18}, {10, 11}, {14, 15}, {16, 13}, {19, 18}};
            p.drawPolyline(hill, 5);
            break;
        }
        case 'D':  // address lines
            for (int i = 0; i < 3; ++i) p.drawLine(QPointF(4, 7 + i * 5), QPointF(i == 2 ? 14 : 20, 7 + i * 5));
            break;
        case 'M':
            for (int i = 0; i < 3; ++i) p.drawLine(QPointF(4, 7 + i * 5), QPointF(20, 7 + i * 5));
            p.drawText(QRectF(0, 0, 24, 24), Qt::AlignRight | Qt::AlignBottom, "a");
            break;
        default: p.drawText(QRectF(0, 0, 24, 24), Qt::AlignCenter, QString(QChar(glyph))); break;
    }
    if (glyph == 'F' || glyph == 'N') {  // a field: a text in a box
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(2, 3, 20, 18));
    }
    return QIcon(pm);
}

int pixels(double inches) { return int(std::lround(inches * layout::kPixelsPerInch)); }

}  // namespace

TLabelDesignScreen::TLabelDesignScreen(const LabelDefinition& definition, bool isNew, const QString& layoutFile,
                                       xbase::Table& addresses, const AppHome& home, QWidget* parent)
    : QDialog(parent), home_(home), addresses_(addresses), original_(definition), stock_(definition.stock),
      panel_(&owner_) {
    setWindowTitle("Label Design Screen");
    setObjectName("TLabelDesignScreen");
    data_ = std::make_unique<TAddressDataSet>(&addresses_);
    dialogs_ = std::make_unique<StandardObjectDialogs>();
    panel_.SetDataSet(data_.get());
    panel_.GridSize = gs4x4;
    panel_.DrawOutline = true;
    if (!layoutFile.isEmpty()) {
        const LayoutStatus loaded = panel_.LoadFromFile(layoutFile);
        if (!loaded.ok()) WindowMessages().error(loaded.message());
    }

    view_ = new TGPanelView(panel_);
    view_->setObjectName("PanelView");
    view_->setObjectDialogs(dialogs_.get());
    view_->setMouseTracking(true);
    view_->installEventFilter(this);
    scroll_ = new QScrollArea;
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setWidget(view_);

    buildTools();

    DescriptionEdit = new QLineEdit(definition.description.trimmed());
    DescriptionEdit->setObjectName("DescriptionEdit");
    DescriptionEdit->setMaxLength(60);
    LayoutLabel = new QLabel;
    LayoutLabel->setObjectName("LayoutLabel");
    PositionLabel = new QLabel;
    PositionLabel->setObjectName("PositionLabel");
    PositionLabel->setMinimumWidth(PositionLabel->fontMetrics().horizontalAdvance("Left: 00.00   Top: 00.00"));
    FontButton = new QPushButton;
    FontButton->setObjectName("FontButton");
    ChangeLayoutButton = new QPushButton("C&hange Layout");
    ChangeLayoutButton->setObjectName("ChangeLayoutButton");
    SaveButton = new QPushButton("&Save");
    SaveButton->setObjectName("SaveButton");
    CancelButton = new QPushButton("&Cancel");
    CancelButton->setObjectName("CancelButton");
    auto* help = new QPushButton("&Help");
    help->setEnabled(false);
    SaveButton->setAutoDefault(false);
    ChangeLayoutButton->setAutoDefault(false);
    CancelButton->setAutoDefault(false);
    FontButton->setAutoDefault(false);

    auto* fields = new QFormLayout;
    fields->addRow("&Description:", DescriptionEdit);
    fields->addRow("Layout:", LayoutLabel);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(FontButton);
    buttons->addStretch(1);
    buttons->addWidget(ChangeLayoutButton);
    buttons->addWidget(SaveButton);
    buttons->addWidget(CancelButton);
    buttons->addWidget(help);
    auto* status = new QHBoxLayout;
    status->addLayout(fields, 1);
    status->addWidget(PositionLabel);
    auto* top = new QVBoxLayout(this);
    top->addWidget(Tools);
    top->addWidget(ViewBar);
    top->addWidget(scroll_, 1);
    top->addLayout(status);
    top->addLayout(buttons);

    // The default font of new objects, from the "Label" settings.
    const Settings settings(Settings::GetIniFileName(home_));
    LayoutFont font = LayoutFont::Make(settings.value(setting::kLabelFontName),
                                       settings.value(setting::kLabelFontSize));
    font.set(fsBold, settings.value(setting::kLabelFontBold));
    font.set(fsItalic, settings.value(setting::kLabelFontItalic));
    panel_.Font = font;
    showFont();

    sizePanel();
    ShowArt->setEnabled(!stock_.art.trimmed().isEmpty());
    ShowArt->setChecked(ShowArt->isEnabled());
    showArt();
    showLayoutName();
    panel_.RefreshData();
    view_->ResetUndo();

    connect(view_, &TGPanelView::LabelChangedEvent, this, [this] {
        if (!busy_ && !view_->Busy()) changed();
    });
    connect(view_, &TGPanelView::DroppedObjectEvent, this, [this] {
        panel_.SetPanelState(S::psPointing);
        SelectionTool->setChecked(true);
    });
    connect(view_, &TGPanelView::PanelStateChanged, this, [this] { SelectionTool->setChecked(true); });
    connect(DescriptionEdit, &QLineEdit::textEdited, this, &TLabelDesignScreen::changed);
    connect(FontButton, &QPushButton::clicked, this, &TLabelDesignScreen::FontButtonClick);
    connect(ChangeLayoutButton, &QPushButton::clicked, this, &TLabelDesignScreen::ChangeLayoutButtonClick);
    connect(SaveButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    SaveButton->hide();

    PlacedWindow::Restore(this, settings, "TLabelDesignScreen", [](const QRect& area) {
        const QSize size(std::min(area.width(), 860), std::min(area.height(), 620));
        return QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size);
    });

    if (isNew) {
        // A new definition starts with an address block over the label, less a small border.
        panel_.SetPanelState(S::psAddressLabel);
        const float z = panel_.Zoom();
        const QRect shown(std::lround(5 * z), std::lround(5 * z), std::lround((pixels(stock_.width) - 15) * z),
                          std::lround((pixels(stock_.height) - 15) * z));
        view_->DropObject(shown);
        // The drop fits the block to its lines; here it keeps the whole label.
        if (panel_.ObjectCount() > 0)
            panel_.Object(panel_.ObjectCount() - 1)
                ->SetBounds(shown.left(), shown.top(), shown.width(), shown.height());
        view_->ResetUndo();
        panel_.SetPanelState(S::psPointing);
        SelectionTool->setChecked(true);
        WindowMessages().inform(kNewLabelMessage);
    }
}

TLabelDesignScreen::~TLabelDesignScreen() {
    Settings settings(Settings::GetIniFileName(home_));
    PlacedWindow::Save(this, settings, "TLabelDesignScreen");
    // The objects go before the data set they read.
    view_->ClearSelection();
    panel_.ClearObjects();
}

void TLabelDesignScreen::buildTools() {
    Tools = new QToolBar;
    Tools->setObjectName("Tools");
    Tools->setIconSize(QSize(24, 24));
    toolGroup_ = new QActionGroup(this);
    toolGroup_->setExclusive(true);
    for (const Tool& t : kTools) {
        QAction* a = Tools->addAction(toolIcon(t.glyph), t.hint);
        a->setToolTip(t.hint);
        a->setCheckable(true);
        a->setData(int(t.state));
        a->setObjectName(QString(t.hint).remove(' '));
        toolGroup_->addAction(a);
        if (t.state == S::psPointing) SelectionTool = a;
        if (t.state == S::psPostNetBarCode) PostNetTool = a;
        if (t.state == S::psIMBarCode) IMBarCodeTool = a;
    }
    SelectionTool->setChecked(true);
    connect(toolGroup_, &QActionGroup::triggered, this, &TLabelDesignScreen::toolChosen);

    // The second row: how the label is shown, and the record it shows.
    ViewBar = new QToolBar;
    ViewBar->setObjectName("ViewBar");

    auto toggle = [this](const char* text, QStyle::StandardPixmap icon, const char* name) {
        QAction* a = ViewBar->addAction(style()->standardIcon(icon), text);
        a->setToolTip(text);
        a->setCheckable(true);
        a->setObjectName(name);
        return a;
    };
    ShowGrid = toggle("Show grid", QStyle::SP_FileDialogListView, "ShowGrid");
    SnapToGrid = toggle("Snap to Grid", QStyle::SP_DialogApplyButton, "SnapToGrid");
    ShowArt = toggle("Show art", QStyle::SP_FileDialogContentsView, "ShowArt");
    FieldNames = toggle("Toggle display of field names or field values", QStyle::SP_FileDialogDetailedView,
                        "FieldNames");
    connect(ShowGrid, &QAction::toggled, this, [this](bool on) { view_->SetShowGrid(on); });
    connect(SnapToGrid, &QAction::toggled, this, [this](bool on) { view_->SetSnapToGrid(on); });
    connect(ShowArt, &QAction::toggled, this, &TLabelDesignScreen::showArt);
    connect(FieldNames, &QAction::toggled, this, [this](bool names) {
        panel_.SetDisplayDataValues(!names);
        panel_.RefreshData();
        view_->PanelChanged();
    });
    ViewBar->addSeparator();

    ZoomSpin = new QSpinBox;
    ZoomSpin->setObjectName("ZoomSpin");
    ZoomSpin->setRange(50, 150);
    ZoomSpin->setSingleStep(10);
    ZoomSpin->setValue(100);
    ZoomSpin->setSuffix("%");
    ZoomSpin->setToolTip("Zoom");
    ZoomSpin->setFocusPolicy(Qt::ClickFocus);
    ViewBar->addWidget(ZoomSpin);
    connect(ZoomSpin, qOverload<int>(&QSpinBox::valueChanged), this, [this](int percent) {
        busy_ = true;
        view_->SetZoom(layout::ScreenZoom(percent / 100.0f, logicalDpiX()));
        if (ShowArt->isChecked()) showArt();
        busy_ = false;
    });
    ViewBar->addSeparator();

    const std::pair<const char*, QStyle::StandardPixmap> moves[] = {
        {"First record", QStyle::SP_MediaSkipBackward},
        {"Previous record", QStyle::SP_MediaSeekBackward},
        {"Next record", QStyle::SP_MediaSeekForward},
        {"Last record", QStyle::SP_MediaSkipForward}};
    for (int i = 0; i < 4; ++i) {
        QAction* a = ViewBar->addAction(style()->standardIcon(moves[i].second), moves[i].first);
        a->setToolTip(moves[i].first);
        a->setObjectName(QString(moves[i].first).remove(' '));
        connect(a, &QAction::triggered, this, [this, i] { moveRecord(i); });
    }
}

void TLabelDesignScreen::toolChosen(QAction* tool) {
    const auto state = S(tool->data().toInt());
    auto refuse = [this](const QString& message) {
        WindowMessages().inform(message);
        panel_.SetPanelState(S::psPointing);
        SelectionTool->setChecked(true);
    };
    if (state == S::psPostNetBarCode && labelWidthInches() < kPostNetWidth) return refuse(kPostNetTooNarrow);
    if (state == S::psIMBarCode && labelWidthInches() < layout::imb::kNeededWidth)
        return refuse(kIMbTooNarrow.arg(layout::imb::kNeededWidth, 0, 'f', 2));
    view_->ClearSelection();
    panel_.SetPanelState(state);
}

void TLabelDesignScreen::ZoomStep(int steps) { ZoomSpin->setValue(ZoomSpin->value() + 10 * steps); }

void TLabelDesignScreen::sizePanel() {
    const int percent = ZoomSpin->value();
    const int width = pixels(stock_.width), height = pixels(stock_.height);
    const QString code = stock_.shape.trimmed().toUpper();
    const TLabelShapeType shape = code == "EL" ? lsEllipse : code == "SR" ? lsRectangle : lsRoundRect;
    busy_ = true;
    view_->SetZoom(layout::ScreenZoom(1.0f, logicalDpiX()));
    panel_.Shape = shape;
    panel_.SetSize(std::lround(width * panel_.Zoom()), std::lround(height * panel_.Zoom()));
    view_->SetZoom(layout::ScreenZoom(percent / 100.0f, logicalDpiX()));
    view_->PanelChanged();
    busy_ = false;
}

void TLabelDesignScreen::showArt() {
    if (ShowArt->isChecked() && ShowArt->isEnabled()) {
        const QImage art = StockArt::Draw(stock_, QSize(std::lround(panel_.Width()), std::lround(panel_.Height())));
        panel_.Picture = art.isNull() ? LayoutPicture() : LayoutPicture::FromImage(art);
    } else {
        panel_.Picture = LayoutPicture();
    }
    view_->PanelChanged();
}

void TLabelDesignScreen::showLayoutName() {
    LayoutLabel->setText(stock_.manufac.trimmed().toUpper() == "USER" ? "User Defined Label Layout"
                                                                      : stock_.tplDescrip.trimmed());
}

void TLabelDesignScreen::showFont() {
    const LayoutFont& f = panel_.Font;
    QString caption = QString("Default Font: %1, %2 pt ").arg(f.Name).arg(f.Size());
    if (f.has(fsBold)) caption += ", bold";
    if (f.has(fsItalic)) caption += ", italic";
    FontButton->setText(caption);
}

void TLabelDesignScreen::FontButtonClick() {
    LayoutFont font = panel_.Font;
    if (!dialogs_->chooseFont(font, this)) return;
    panel_.Font = font;
    showFont();
    Settings settings(Settings::GetIniFileName(home_));
    QString error;
    if (!settings.write({{setting::kLabelFontName, font.Name},
                         {setting::kLabelFontSize, font.Size()},
                         {setting::kLabelFontBold, font.has(fsBold)},
                         {setting::kLabelFontItalic, font.has(fsItalic)}},
                        &error))
        WindowMessages().error(error);
}

void TLabelDesignScreen::changed() {
    if (busy_) return;
    SaveButton->show();
}

void TLabelDesignScreen::ChangeLayoutButtonClick() {
    LabelStock stock = stock_;
    if (!ChangeLabelStock(home_, &stock, this)) return;
    TakeStock(stock);
}

void TLabelDesignScreen::TakeStock(const LabelStock& stock) {
    const bool artWasShown = ShowArt->isChecked();
    stock_ = stock;
    view_->ClearSelection();
    sizePanel();
    ShowArt->setEnabled(!stock_.art.trimmed().isEmpty());
    ShowArt->setChecked(ShowArt->isEnabled() && (artWasShown || stock_.manufac.trimmed().toUpper() != "USER"));
    showArt();
    panel_.KeepObjectsInside();
    showLayoutName();
    // A label narrower than a POSTNET barcode loses its first one.
    if (stock_.width < kPostNetWidth) {
        for (int i = 0; i < panel_.ObjectCount(); ++i) {
            if (dynamic_cast<TGPostNetBarCode*>(panel_.Object(i))) {
                WindowMessages().inform("Warning: " + kPostNetTooNarrow);
                view_->DeleteObject(panel_.Object(i));
                break;
            }
        }
    }
    view_->PanelChanged();
    SaveButton->show();
}

LabelDefinition TLabelDesignScreen::definition() const {
    LabelDefinition def = original_;
    def.description = DescriptionEdit->text().left(kMaxDescription);
    def.stock = stock_;
    return def;
}

bool TLabelDesignScreen::SaveLayout(const QString& fileName, QString* error) const {
    const LayoutStatus s = const_cast<TGLabelPanel&>(panel_).SaveToFile(fileName);
    if (!s.ok()) *error = s.message();
    return s.ok();
}

void TLabelDesignScreen::moveRecord(int how) {
    switch (how) {
        case 0: (void)addresses_.goTop(); break;
        case 1: (void)addresses_.skip(-1); break;
        case 2: (void)addresses_.skip(1); break;
        default: (void)addresses_.goBottom(); break;
    }
    if (addresses_.eof()) (void)addresses_.goBottom();
    if (addresses_.bof()) (void)addresses_.goTop();
    panel_.RefreshData();
    view_->PanelChanged();
}

void TLabelDesignScreen::showPosition(QPoint panelPoint, bool overPanel) {
    QPoint at = panelPoint;
    if (view_->Handle().Count() > 0)
        at = view_->Handle().Selection().front()->BoundsRect().topLeft();
    else if (!overPanel)
        return;
    // Shown pixels back to inches on the label, whatever the zoom.
    const double perInch = layout::kPixelsPerInch * panel_.Zoom();
    PositionLabel->setText(
        QString("Left: %1   Top: %2").arg(at.x() / perInch, 0, 'f', 2).arg(at.y() / perInch, 0, 'f', 2));
}

bool TLabelDesignScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_) {
        if (event->type() == QEvent::MouseMove)
            showPosition(static_cast<QMouseEvent*>(event)->position().toPoint(), true);
        else if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::KeyRelease)
            showPosition(QPoint(), false);
    }
    return QDialog::eventFilter(watched, event);
}

void TLabelDesignScreen::keyPressEvent(QKeyEvent* event) {
    if (DescriptionEdit->hasFocus()) return QDialog::keyPressEvent(event);
    QScrollBar* bar = scroll_->verticalScrollBar();
    switch (event->key()) {
        case Qt::Key_PageUp: bar->triggerAction(QAbstractSlider::SliderSingleStepSub); return;
        case Qt::Key_PageDown: bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); return;
        case Qt::Key_Home: bar->setValue(bar->minimum()); return;
        case Qt::Key_End: bar->setValue(bar->maximum()); return;
        case Qt::Key_Escape: return QDialog::keyPressEvent(event);
        default: break;
    }
    if (event->modifiers() & Qt::KeypadModifier && (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Minus))
        return;  // zoom on release
    QApplication::sendEvent(view_, event);
}

void TLabelDesignScreen::keyReleaseEvent(QKeyEvent* event) {
    if (!DescriptionEdit->hasFocus() && (event->modifiers() & Qt::KeypadModifier)) {
        if (event->key() == Qt::Key_Plus) return ZoomStep(1);
        if (event->key() == Qt::Key_Minus) return ZoomStep(-1);
    }
    QDialog::keyReleaseEvent(event);
}
