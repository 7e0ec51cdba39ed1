// Times the design panel with a crowded layout: a full repaint of a panel holding 500
// objects at 150 % zoom (the budget of one frame is 16 ms), against filling the same
// area alone; one step of dragging 100 selected objects (a mouse move and the repaint
// it asks for), against the same move with nothing selected; and the drop of the drag
// with its undo step, and an undo, on the 500 objects.
//
//   bench_designer [--objects 500] [--selected 100] [--rounds 50]
//
// Runs on any Qt platform; QT_QPA_PLATFORM=offscreen needs no display.

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <vector>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "TGDMultiLineAddressLabel.h"
#include "TGLabelPanel.h"
#include "TGLabelShapes.h"
#include "TGLineShape.h"
#include "TGOwner.h"
#include "TGPLabel.h"
#include "TGPanelView.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A label page 8 × 10.5 inches crowded with text, boxes, lines and address blocks.
void fill(TGLabelPanel& panel, TGOwner& owner, int count) {
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<TGGraphicControl> o;
        switch (i % 4) {
            case 0: {
                auto t = std::make_unique<TGPLabel>();
                t->SetCaption(QString("Object number %1").arg(i));
                o = std::move(t);
                break;
            }
            case 1: o = std::make_unique<TGLabelShapes>(); break;
            case 2: o = std::make_unique<TGLineShape>(); break;
            default: {
                auto a = std::make_unique<TGDMultiLineAddressLabel>();
                a->SetItems({"Ann Example", "12 Main Street", "Springfield IL 62701"});
                o = std::move(a);
            }
        }
        o->SetOwner(&owner);
        o->SetName(owner.UniqueName("Special", 1, 1000));
        TGGraphicControl* p = panel.InsertObject(std::move(o));
        p->SetBounds(8 + (i % 20) * 36, 8 + (i / 20) * 38, 120, 30);
    }
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void send(QWidget& w, QEvent::Type type, QPoint p, Qt::MouseButtons buttons, quint64 time) {
    QMouseEvent e(type, p, w.mapToGlobal(p), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                  buttons, Qt::NoModifier);
    e.setTimestamp(time);
    QApplication::sendEvent(&w, &e);
}

// Milliseconds per mouse move while dragging (the move and the repaint it asks for).
double dragStep(TGPanelView& view, QPoint from, int rounds) {
    QImage target(view.size(), QImage::Format_RGB32);
    send(view, QEvent::MouseButtonPress, from, Qt::LeftButton, 1000);
    const Clock::time_point start = Clock::now();
    for (int i = 1; i <= rounds; ++i) {
        send(view, QEvent::MouseMove, from + QPoint(i % 40, i % 30), Qt::LeftButton, 1000 + quint64(i));
        view.render(&target);
    }
    const double ms = msSince(start) / rounds;
    send(view, QEvent::MouseButtonRelease, from, Qt::LeftButton, 900000);
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    int objects = 500, selected = 100, rounds = 50;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--objects")) objects = std::stoi(argv[i + 1]);
        if (!std::strcmp(argv[i], "--selected")) selected = std::stoi(argv[i + 1]);
        if (!std::strcmp(argv[i], "--rounds")) rounds = std::stoi(argv[i + 1]);
    }
    QApplication app(argc, argv);

    TGOwner owner;
    TGLabelPanel panel(&owner);
    panel.SetSize(768, 1008);
    panel.ShowGrid = true;
    fill(panel, owner, objects);
    TGPanelView view(panel);
    view.SetZoom(1.5f);
    view.ResetUndo();
    view.show();
    QImage target(view.size(), QImage::Format_RGB32);

    // Full repaints: every object drawn afresh. The first paint loads the fonts and is
    // not counted; the median round is reported, as other programs share the machine.
    view.render(&target);
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const Clock::time_point round = Clock::now();
        view.PanelChanged();
        view.render(&target);
        times.push_back(msSince(round));
    }
    const double repaint = median(times);
    times.clear();
    for (int i = 0; i < rounds; ++i) {
        const Clock::time_point round = Clock::now();
        QPainter p(&target);
        p.fillRect(target.rect(), Qt::white);
        times.push_back(msSince(round));
    }
    const double fillOnly = median(times);
    std::printf("repaint, %d objects at 150 %%: %8.2f ms (fill alone %.2f ms; %.1fx; a frame is 16 ms)\n", objects,
                repaint, fillOnly, repaint / fillOnly);
    Clock::time_point start;

    // Dragging: the same moves with nothing selected (a rubber band) and with a
    // selection of `selected` objects.
    const double band = dragStep(view, QPoint(view.width() - 2, view.height() - 2), rounds);
    for (int i = 0; i < selected && i < panel.ObjectCount(); ++i) view.Select(panel.Object(i), true);
    const QPoint grip = panel.Object(1)->BoundsRect().center();
    const double drag = dragStep(view, grip, rounds);
    std::printf("drag step, %d selected:     %8.2f ms (rubber band %.2f ms; %.1fx)\n", selected, drag, band,
                drag / band);

    // Dropping the drag: the objects move and the undo step keeps the layout stream.
    send(view, QEvent::MouseButtonPress, grip, Qt::LeftButton, 2000000);
    send(view, QEvent::MouseMove, grip + QPoint(24, 16), Qt::LeftButton, 2000100);
    start = Clock::now();
    send(view, QEvent::MouseButtonRelease, grip + QPoint(24, 16), Qt::LeftButton, 2000500);
    const double drop = msSince(start);
    start = Clock::now();
    view.Undo();
    const double undo = msSince(start);
    std::printf("drop with undo step:       %8.2f ms; undo %.2f ms (%d objects, %lld bytes a step)\n", drop, undo,
                objects, static_cast<long long>(view.Snapshot().size()));
    return 0;
}
