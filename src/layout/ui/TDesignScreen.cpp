#include "Icons.h"
#include "TDesignScreen.h"

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
#include <QVBoxLayout>
#include <cmath>

#include "AppHome.h"
#include "DesignTools.h"
#include "HelpLink.h"
#include "LayoutMetrics.h"
#include "ObjectDialogs.h"
#include "PlacedWindow.h"
#include "Settings.h"
#include "TAddressDataSet.h"
#include "TGDataPanel.h"
#include "TGGraphicControl.h"
#include "TGPanelView.h"
#include "RecordMoves.h"
#include "Table.h"
#include "WindowMessages.h"

namespace {

constexpr int kMaxDescription = 50;

}  // namespace

TDesignScreen::TDesignScreen(const Frame& frame,
                             const std::function<std::unique_ptr<TGDataPanel>(TGOwner*)>& makePanel,
                             std::unique_ptr<ObjectDialogs> dialogs, const QString& description,
                             const QString& layoutFile, xbase::Table& addresses, const AppHome& home,
                             QWidget* parent)
    : QDialog(parent), home_(home), addresses_(addresses), className_(frame.className),
      saveQuestion_(frame.saveQuestion),
      data_(std::make_unique<TAddressDataSet>(&addresses)), panel_(makePanel(&owner_)),
      dialogs_(std::move(dialogs)) {
    setWindowTitle(frame.caption);
    setObjectName(frame.className);
    data_->AddCalculatedFields();
    panel_->SetDataSet(data_.get());
    panel_->GridSize = gs4x4;
    panel_->DrawOutline = true;
    if (!layoutFile.isEmpty()) {
        const LayoutStatus loaded = panel_->LoadFromFile(layoutFile);
        if (!loaded.ok()) WindowMessages().error(loaded.message());
    }
    view_ = new TGPanelView(*panel_);
    view_->setObjectName("PanelView");
    view_->setObjectDialogs(dialogs_.get());
    view_->setMouseTracking(true);
    view_->installEventFilter(this);
    scroll_ = new QScrollArea;
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setWidget(view_);
    // Tab goes to the design area itself, not to the box around it.
    scroll_->setFocusPolicy(Qt::NoFocus);

    buildBars(frame);

    DescriptionEdit = new QLineEdit(description.trimmed());
    DescriptionEdit->setObjectName("DescriptionEdit");
    DescriptionEdit->setMaxLength(60);
    LayoutLabel = new QLabel;
    LayoutLabel->setObjectName("LayoutLabel");
    PositionLabel = new QLabel;
    PositionLabel->setObjectName("PositionLabel");
    PositionLabel->setMinimumWidth(PositionLabel->fontMetrics().horizontalAdvance("Left: 00.00   Top: 00.00"));
    FontButton = new QPushButton;
    FontButton->setObjectName("FontButton");
    ChangeLayoutButton = new QPushButton(frame.layoutButton);
    ChangeLayoutButton->setObjectName("ChangeLayoutButton");
    SaveButton = new QPushButton("&Save");
    SaveButton->setObjectName("SaveButton");
    CancelButton = new QPushButton("&Cancel");
    CancelButton->setObjectName("CancelButton");
    auto* help = new QPushButton("He&lp");
    help->setObjectName("HelpButton");
    connect(help, &QPushButton::clicked, this, [this] { HelpLink::showFor(this); });
    for (QPushButton* b : {SaveButton, ChangeLayoutButton, CancelButton, FontButton, help}) b->setAutoDefault(false);

    auto* fields = new QFormLayout;
    fields->addRow("&Description:", DescriptionEdit);
    fields->addRow("Layout:", LayoutLabel);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(FontButton);
    buttons->addStretch(1);
    for (QPushButton* b : {ChangeLayoutButton, SaveButton, CancelButton, help}) buttons->addWidget(b);
    auto* status = new QHBoxLayout;
    status->addLayout(fields, 1);
    status->addWidget(PositionLabel);
    auto* top = new QVBoxLayout(this);
    top->addWidget(Tools);
    top->addWidget(ViewBar);
    top->addWidget(scroll_, 1);
    top->addLayout(status);
    top->addLayout(buttons);

    connect(view_, &TGPanelView::LabelChangedEvent, this, [this] {
        if (!busy_ && !view_->Busy()) changed();
    });
    connect(view_, &TGPanelView::DroppedObjectEvent, this, [this] {
        setPanelState(0);
        SelectionTool->setChecked(true);
    });
    connect(view_, &TGPanelView::PanelStateChanged, this, [this] { SelectionTool->setChecked(true); });
    connect(DescriptionEdit, &QLineEdit::textEdited, this, &TDesignScreen::changed);
    connect(FontButton, &QPushButton::clicked, this, &TDesignScreen::FontButtonClick);
    connect(ChangeLayoutButton, &QPushButton::clicked, this, [this] { ChangeLayoutButtonClick(); });
    connect(SaveButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    SaveButton->hide();
    QWidget* order[] = {view_, DescriptionEdit, FontButton, ChangeLayoutButton, SaveButton, CancelButton};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

TDesignScreen::~TDesignScreen() {
    Settings settings(Settings::GetIniFileName(home_));
    PlacedWindow::Save(this, settings, className_);
    // The objects go before the data set they read.
    view_->ClearSelection();
    panel_->ClearObjects();
}

void TDesignScreen::opened() {
    const Settings settings(Settings::GetIniFileName(home_));
    PlacedWindow::Restore(this, settings, className_, [](const QRect& area) {
        const QSize size(std::min(area.width(), 900), std::min(area.height(), 640));
        return QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size);
    });
    showFont();
    panel_->RefreshData();
    view_->PanelChanged();
    view_->ResetUndo();
    openedDescription_ = DescriptionEdit->text();
    view_->setFocus(Qt::OtherFocusReason);
}

void TDesignScreen::buildBars(const Frame& frame) {
    Tools = new QToolBar;
    Tools->setObjectName("Tools");
    Tools->setIconSize(QSize(24, 24));
    toolGroup_ = new QActionGroup(this);
    toolGroup_->setExclusive(true);
    for (const Tool& t : frame.tools) {
        QAction* a = Tools->addAction(DesignToolIcon(t.glyph), t.hint);
        a->setToolTip(t.hint);
        a->setCheckable(true);
        a->setData(t.state);
        a->setObjectName(QString(t.hint).remove(' '));
        toolGroup_->addAction(a);
        if (t.state == 0) SelectionTool = a;
    }
    SelectionTool->setChecked(true);
    connect(toolGroup_, &QActionGroup::triggered, this, &TDesignScreen::toolChosen);

    // The second row: how the panel is shown, and the record it shows.
    ViewBar = new QToolBar;
    ViewBar->setObjectName("ViewBar");
    const ViewToggles toggles = AddViewToggles(ViewBar);
    ShowGrid = toggles.showGrid;
    SnapToGrid = toggles.snapToGrid;
    FieldNames = toggles.fieldNames;
    connect(ShowGrid, &QAction::toggled, this, [this](bool on) { view_->SetShowGrid(on); });
    connect(SnapToGrid, &QAction::toggled, this, [this](bool on) { view_->SetSnapToGrid(on); });
    connect(FieldNames, &QAction::toggled, this, [this](bool names) {
        panel_->SetDisplayDataValues(!names);
        panel_->RefreshData();
        view_->PanelChanged();
    });
    togglesEnd_ = ViewBar->addSeparator();

    ZoomSpin = new QSpinBox;
    ZoomSpin->setObjectName("ZoomSpin");
    ZoomSpin->setRange(frame.zoomLow, frame.zoomHigh);
    ZoomSpin->setSingleStep(10);
    ZoomSpin->setValue(100);
    ZoomSpin->setSuffix("%");
    ZoomSpin->setToolTip("Zoom");
    ZoomSpin->setFocusPolicy(Qt::ClickFocus);
    ViewBar->addWidget(ZoomSpin);
    connect(ZoomSpin, qOverload<int>(&QSpinBox::valueChanged), this, [this](int percent) {
        busy_ = true;
        view_->SetZoom(layout::ScreenZoom(percent / 100.0f, logicalDpiX()));
        busy_ = false;
    });
    ViewBar->addSeparator();

    const std::pair<const char*, Icons::Icon> moves[] = {
        {"First record", Icons::Icon::FirstRecord},
        {"Previous record", Icons::Icon::PreviousRecord},
        {"Next record", Icons::Icon::NextRecord},
        {"Last record", Icons::Icon::LastRecord}};
    for (int i = 0; i < 4; ++i) {
        QAction* a = ViewBar->addAction(Icons::get(moves[i].second), moves[i].first);
        a->setToolTip(moves[i].first);
        a->setObjectName(QString(moves[i].first).remove(' '));
        connect(a, &QAction::triggered, this, [this, i] { moveRecord(i); });
    }
}

QAction* TDesignScreen::addToggle(const QString& hint, const char* name, Icons::Icon icon) {
    auto* a = new QAction(Icons::get(icon), hint, ViewBar);
    a->setToolTip(hint);
    a->setCheckable(true);
    a->setObjectName(name);
    ViewBar->insertAction(togglesEnd_, a);
    return a;
}

QAction* TDesignScreen::toolAction(int state) const {
    for (QAction* a : toolGroup_->actions())
        if (a->data().toInt() == state) return a;
    return nullptr;
}

void TDesignScreen::toolChosen(QAction* tool) {
    const int state = tool->data().toInt();
    if (!toolAllowed(state)) {
        setPanelState(0);
        SelectionTool->setChecked(true);
        return;
    }
    view_->ClearSelection();
    setPanelState(state);
}

void TDesignScreen::ZoomStep(int steps) { ZoomSpin->setValue(ZoomSpin->value() + 10 * steps); }

QString TDesignScreen::description() const { return DescriptionEdit->text().left(kMaxDescription); }

void TDesignScreen::sizePanel(double widthInches, double heightInches) {
    const int width = int(std::lround(widthInches * layout::kPixelsPerInch));
    const int height = int(std::lround(heightInches * layout::kPixelsPerInch));
    busy_ = true;
    view_->SetZoom(layout::ScreenZoom(1.0f, logicalDpiX()));
    panel_->SetSize(int(std::lround(width * panel_->Zoom())), int(std::lround(height * panel_->Zoom())));
    view_->SetZoom(layout::ScreenZoom(ZoomSpin->value() / 100.0f, logicalDpiX()));
    view_->PanelChanged();
    busy_ = false;
}

void TDesignScreen::placeObject(int state, const QRect& stored) {
    setPanelState(state);
    const float z = panel_->Zoom();
    const QRect shown(int(std::lround(stored.left() * z)), int(std::lround(stored.top() * z)),
                      int(std::lround(stored.width() * z)), int(std::lround(stored.height() * z)));
    view_->DropObject(shown);
    // A drop fits some objects to their text; this one keeps the rectangle asked for.
    if (panel_->ObjectCount() > 0)
        panel_->Object(panel_->ObjectCount() - 1)->SetBounds(shown.left(), shown.top(), shown.width(), shown.height());
    setPanelState(0);
    SelectionTool->setChecked(true);
    view_->ResetUndo();
}

void TDesignScreen::changed() {
    if (busy_) return;
    SaveButton->show();
}

void TDesignScreen::definitionChanged() {
    definitionChanged_ = true;
    changed();
}

bool TDesignScreen::modified() const {
    return definitionChanged_ || !view_->UndoStack().isClean() || DescriptionEdit->text() != openedDescription_;
}

void TDesignScreen::reject() {
    if (modified()) {
        switch (WindowMessages().askYesNoCancel(saveQuestion_, QStringLiteral("Cancel"))) {
            case Messages::Answer::Yes: return accept();
            case Messages::Answer::No: break;
            case Messages::Answer::Cancel: return;
        }
    }
    QDialog::reject();
}

void TDesignScreen::showFont() { FontButton->setText(DefaultFontButtonText(panel_->Font)); }

void TDesignScreen::FontButtonClick() {
    LayoutFont font = panel_->Font;
    if (!dialogs_->chooseFont(font, this)) return;
    panel_->Font = font;
    showFont();
    fontChosen(font);
}

bool TDesignScreen::SaveLayout(const QString& fileName, QString* error) const {
    const LayoutStatus s = panel_->SaveToFile(fileName);
    if (!s.ok()) *error = s.message();
    return s.ok();
}

void TDesignScreen::moveRecord(int how) {
    RecordMoves::MoveRecord(addresses_, RecordMoves::Move(how));
    panel_->RefreshData();
    view_->PanelChanged();
}

void TDesignScreen::showPosition(QPoint panelPoint, bool overPanel) {
    QPoint at = panelPoint;
    if (view_->Handle().Count() > 0)
        at = view_->Handle().Selection().front()->BoundsRect().topLeft();
    else if (!overPanel)
        return;
    // Shown pixels back to inches on the panel, whatever the zoom.
    const double perInch = layout::kPixelsPerInch * panel_->Zoom();
    PositionLabel->setText(
        QString("Left: %1   Top: %2").arg(at.x() / perInch, 0, 'f', 2).arg(at.y() / perInch, 0, 'f', 2));
}

bool TDesignScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_) {
        if (event->type() == QEvent::MouseMove)
            showPosition(static_cast<QMouseEvent*>(event)->position().toPoint(), true);
        else if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::KeyRelease)
            showPosition(QPoint(), false);
    }
    return QDialog::eventFilter(watched, event);
}

void TDesignScreen::keyPressEvent(QKeyEvent* event) {
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
    if ((event->modifiers() & Qt::KeypadModifier) && (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Minus))
        return;  // zoom on release
    // A key the view left ignored comes back up here (Qt hands an ignored key to the
    // parents): it, and a key that is on its way to the view, must not go down again, or
    // the event would go round for ever. Only a key from elsewhere (a tool button, the
    // zoom box) is handed to the view, once; what the view leaves goes to the dialog.
    QWidget* focus = QApplication::focusWidget();
    const bool fromView = focus && (focus == view_ || view_->isAncestorOf(focus));
    if (forwarding_ || fromView) {
        if (forwarding_) return event->ignore();
        return QDialog::keyPressEvent(event);
    }
    forwarding_ = true;
    event->accept();
    QApplication::sendEvent(view_, event);
    forwarding_ = false;
    if (!event->isAccepted()) QDialog::keyPressEvent(event);
}

void TDesignScreen::keyReleaseEvent(QKeyEvent* event) {
    if (!DescriptionEdit->hasFocus() && (event->modifiers() & Qt::KeypadModifier)) {
        if (event->key() == Qt::Key_Plus) return ZoomStep(1);
        if (event->key() == Qt::Key_Minus) return ZoomStep(-1);
    }
    QDialog::keyReleaseEvent(event);
}
