// A small window that hosts one design panel the way a designer does, for looking at
// the panel by eye: a label at 150 % with the grid, a few objects, two of them
// selected and, with --menu, an object's popup menu open.
//
//   layoutui_host [--menu]

#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>

#include "TGDMultiLineAddressLabel.h"
#include "TGLabelPanel.h"
#include "TGLabelShapes.h"
#include "TGLineShape.h"
#include "TGOwner.h"
#include "TGPLabel.h"
#include "TGPanelView.h"
#include "TGPostNetBarCode.h"

namespace {

template <typename T>
T* place(TGLabelPanel& panel, TGOwner& owner, QRect bounds) {
    auto o = std::make_unique<T>();
    o->SetOwner(&owner);
    o->SetName(owner.UniqueName("Special", 1, 1000));
    T* p = static_cast<T*>(panel.InsertObject(std::move(o)));
    p->SetBounds(bounds.left(), bounds.top(), bounds.width(), bounds.height());
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool withMenu = app.arguments().contains("--menu");

    TGOwner owner;
    TGLabelPanel panel(&owner);
    panel.SetSize(336, 192);  // 3.5 × 2 inches
    panel.ShowGrid = true;
    panel.SnapToGrid = true;
    panel.DrawOutline = true;
    auto* title = place<TGPLabel>(panel, owner, {18, 10, 200, 24});
    title->SetCaption("Spring Newsletter");
    LayoutFont big = LayoutFont::Make("Arial", 14);
    big.set(fsBold, true);
    title->SetFont(big);
    title->FitToText();
    auto* address = place<TGDMultiLineAddressLabel>(panel, owner, {18, 50, 220, 70});
    address->SetItems({"Ann Example", "12 Main Street", "Springfield IL 62701"});
    place<TGLineShape>(panel, owner, {18, 40, 300, 2});
    auto* box = place<TGLabelShapes>(panel, owner, {250, 50, 66, 66});
    box->Shape = stRoundRect;
    place<TGPostNetBarCode>(panel, owner, {18, 150, 270, 16});

    QMainWindow window;
    window.setWindowTitle("Label layout");
    auto* scroll = new QScrollArea;
    scroll->setBackgroundRole(QPalette::Dark);
    auto* view = new TGPanelView(panel);
    view->SetZoom(1.5f);
    view->ResetUndo();
    scroll->setWidget(view);
    scroll->setAlignment(Qt::AlignCenter);
    window.setCentralWidget(scroll);
    window.statusBar()->showMessage("Zoom 150 %   Grid 4 × 4, snapping");
    window.resize(640, 440);
    window.show();

    view->Select(panel.Object(0));
    view->Select(panel.Object(3), true);
    if (withMenu) {
        QTimer::singleShot(400, [view, &panel] {
            QMenu* menu = view->BuildObjectMenu(panel.Object(3)).release();
            const QRect r = panel.Object(3)->BoundsRect();
            menu->popup(view->mapToGlobal(r.center()));
        });
    }
    return app.exec();
}
