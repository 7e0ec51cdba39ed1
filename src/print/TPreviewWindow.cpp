#include "TPreviewWindow.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <cmath>

#include "HelpLink.h"
#include "PlacedWindow.h"
#include "Settings.h"
#include "TFilePreview.h"
#include "WindowPlacement.h"

namespace {

constexpr double kZoomStep = 1.25;

QPushButton* button(const QString& name, const QString& text, QWidget* parent, QHBoxLayout* row) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    row->addWidget(b);
    return b;
}

}  // namespace

TPreviewWindow::TPreviewWindow(std::shared_ptr<const PageStream> stream, const QString& caption,
                               PreviewZoom zoom, Settings* settings, QWidget* parent)
    : QDialog(parent), caption_(caption), initialZoom_(zoom), settings_(settings) {
    setObjectName(QStringLiteral("TPreviewWindow"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    auto* row = new QHBoxLayout;
    FirstButton = button(QStringLiteral("FirstButton"), QStringLiteral("|<"), this, row);
    PrevButton = button(QStringLiteral("PrevButton"), QStringLiteral("<"), this, row);
    NextButton = button(QStringLiteral("NextButton"), QStringLiteral(">"), this, row);
    LastButton = button(QStringLiteral("LastButton"), QStringLiteral(">|"), this, row);
    ZoomInButton = button(QStringLiteral("ZoomInButton"), QStringLiteral("Zoom In"), this, row);
    ZoomOutButton = button(QStringLiteral("ZoomOutButton"), QStringLiteral("Zoom Out"), this, row);
    PageWidthButton = button(QStringLiteral("PageWidthButton"), QStringLiteral("Page Width"), this, row);
    WholePageButton = button(QStringLiteral("WholePageButton"), QStringLiteral("Whole Page"), this, row);
    Zoom100Button = button(QStringLiteral("Zoom100Button"), QStringLiteral("100%"), this, row);
    row->addStretch();
    OkButton = button(QStringLiteral("OkButton"), QStringLiteral("Ok"), this, row);
    HelpButton = button(QStringLiteral("HelpButton"), QStringLiteral("Help"), this, row);
    FirstButton->setToolTip(QStringLiteral("First page"));
    PrevButton->setToolTip(QStringLiteral("Previous page"));
    NextButton->setToolTip(QStringLiteral("Next page"));
    LastButton->setToolTip(QStringLiteral("Last page"));

    FilePreview = new TFilePreview;
    FilePreview->setStream(std::move(stream));
    ScrollBox = new QScrollArea(this);
    ScrollBox->setObjectName(QStringLiteral("ScrollBox"));
    ScrollBox->setWidget(FilePreview);
    ScrollBox->setAlignment(Qt::AlignCenter);
    ScrollBox->setBackgroundRole(QPalette::Dark);
    ScrollBox->setFocusPolicy(Qt::NoFocus);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(ScrollBox, 1);

    const bool paging = FilePreview->pageCount() >= 2;
    for (QPushButton* b : {FirstButton, PrevButton, NextButton, LastButton}) b->setVisible(paging);

    connect(FirstButton, &QPushButton::clicked, this, &TPreviewWindow::FirstButtonClick);
    connect(PrevButton, &QPushButton::clicked, this, &TPreviewWindow::PrevButtonClick);
    connect(NextButton, &QPushButton::clicked, this, &TPreviewWindow::NextButtonClick);
    connect(LastButton, &QPushButton::clicked, this, &TPreviewWindow::LastButtonClick);
    connect(ZoomInButton, &QPushButton::clicked, this, &TPreviewWindow::ZoomInButtonClick);
    connect(ZoomOutButton, &QPushButton::clicked, this, &TPreviewWindow::ZoomOutButtonClick);
    connect(PageWidthButton, &QPushButton::clicked, this, &TPreviewWindow::PageWidthButtonClick);
    connect(WholePageButton, &QPushButton::clicked, this, &TPreviewWindow::WholePageButtonClick);
    connect(Zoom100Button, &QPushButton::clicked, this, &TPreviewWindow::Zoom100ButtonClick);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(HelpButton, &QPushButton::clicked, this, [this] {
        if (onHelp) {
            onHelp();
        } else {
            HelpLink::showFor(this);
        }
    });
    connect(FilePreview, &TFilePreview::zoomInClicked, this, &TPreviewWindow::ZoomInButtonClick);
    connect(FilePreview, &TFilePreview::zoomOutClicked, this, &TPreviewWindow::ZoomOutButtonClick);

    resize(800, 640);
    updateCaption();
}

int TPreviewWindow::pageIndex() const { return FilePreview->pageIndex(); }
int TPreviewWindow::pageCount() const { return FilePreview->pageCount(); }
double TPreviewWindow::zoom() const { return FilePreview->zoom(); }

void TPreviewWindow::setZoom(double percent) {
    FilePreview->setZoom(percent);
    updateCaption();
}

void TPreviewWindow::updateCaption() {
    setWindowTitle(QStringLiteral("Preview Page %1 of %2 ( %3% )")
                       .arg(pageIndex() + 1)
                       .arg(pageCount())
                       .arg(std::lround(zoom())));
}

void TPreviewWindow::goToPage(int index) {
    FilePreview->setPageIndex(index);
    updateCaption();
}

void TPreviewWindow::FirstButtonClick() { goToPage(0); }
void TPreviewWindow::PrevButtonClick() { goToPage(pageIndex() - 1); }
void TPreviewWindow::NextButtonClick() { goToPage(pageIndex() + 1); }
void TPreviewWindow::LastButtonClick() { goToPage(pageCount() - 1); }
void TPreviewWindow::ZoomInButtonClick() { setZoom(zoom() * kZoomStep); }
void TPreviewWindow::ZoomOutButtonClick() { setZoom(zoom() / kZoomStep); }
void TPreviewWindow::Zoom100ButtonClick() { setZoom(100); }

void TPreviewWindow::PageWidthButtonClick() {
    const double room = ScrollBox->viewport()->width() - 24;
    setZoom(room / (FilePreview->pageSize().width() * FilePreview->screenDpiX()) * 100);
}

void TPreviewWindow::WholePageButtonClick() {
    const QSize room = ScrollBox->viewport()->size() - QSize(24, 24);
    const QSizeF page = FilePreview->pageSize();
    setZoom(std::min(room.width() / (page.width() * FilePreview->screenDpiX()),
                     room.height() / (page.height() * FilePreview->screenDpiY())) *
            100);
}

void TPreviewWindow::keyPressEvent(QKeyEvent* event) {
    QScrollBar* bar = ScrollBox->verticalScrollBar();
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        const int step = event->key() == Qt::Key_Up ? -bar->singleStep() : bar->singleStep();
        bar->setValue(std::clamp(bar->value() + step, bar->minimum(), bar->maximum()));
        return;
    }
    QDialog::keyPressEvent(event);
}

void TPreviewWindow::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        if (settings_) {
            PlacedWindow::Restore(
                this, *settings_, QStringLiteral("TPreviewWindow"),
                [this](const QRect& area) { return WindowPlacement::CenterForm(size(), area); });
        }
    }
    QDialog::showEvent(event);
    if (!property("zoomed").toBool()) {
        setProperty("zoomed", true);
        // The page-width and whole-page zooms need the viewport's final size.
        QMetaObject::invokeMethod(
            this,
            [this] {
                switch (initialZoom_) {
                    case PreviewZoom::PageWidth:
                        PageWidthButtonClick();
                        break;
                    case PreviewZoom::WholePage:
                        WholePageButtonClick();
                        break;
                    case PreviewZoom::Percent100:
                        Zoom100ButtonClick();
                        break;
                }
            },
            Qt::QueuedConnection);
    }
}

void TPreviewWindow::done(int result) {
    if (settings_) PlacedWindow::Save(this, *settings_, QStringLiteral("TPreviewWindow"));
    QDialog::done(result);
}
