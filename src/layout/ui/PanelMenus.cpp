// The popup menus of the design panel: the panel's own and each object's, built afresh
// whenever one opens so that enabled states and check marks show the layout as it is.
#include <QColor>
#include <QMenu>

#include "DesignClipboard.h"
#include "LayoutColors.h"
#include "TGBaseLabel.h"
#include "TGBasePanel.h"
#include "TGCounterLabel.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGDMultiLineLabel.h"
#include "TGDateTimeLabel.h"
#include "TGFIMBarCode.h"
#include "TGImage.h"
#include "TGLabelShapes.h"
#include "TGLineShape.h"
#include "TGMultiLineLabel.h"
#include "TGPDLabel.h"
#include "TGPLabel.h"
#include "TGPanelView.h"
#include "TGSymbolLabel.h"
#include "ToolDrop.h"

namespace {

// Adds an item that runs `run`; `checked` given: a check item.
template <typename F>
QAction* item(QMenu* menu, const QString& text, F run, bool enabled = true) {
    QAction* a = menu->addAction(text);
    a->setEnabled(enabled);
    QObject::connect(a, &QAction::triggered, menu, run);
    return a;
}

template <typename F>
QAction* check(QMenu* menu, const QString& text, bool checked, F run) {
    QAction* a = item(menu, text, run);
    a->setCheckable(true);
    a->setChecked(checked);
    return a;
}

}  // namespace

std::unique_ptr<QMenu> TGPanelView::BuildPanelMenu() {
    auto menu = std::make_unique<QMenu>(this);
    QMenu* m = menu.get();
    const bool any = handle_.Count() > 0;
    const bool objects = panel_.ObjectCount() > 0;

    QAction* undo = item(m, tr("Undo"), [this] { Undo(); }, undo_.canUndo());
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = item(m, tr("Redo"), [this] { Redo(); }, undo_.canRedo());
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    m->addSeparator();
    item(m, tr("Bring To Front"), [this] { BringSelectionToFront(); }, any);
    item(m, tr("Send To Back"), [this] { SendSelectionToBack(); }, any);
    m->addSeparator();
    item(m, tr("Cut"), [this] { CutSelection(); }, any)->setShortcut(QKeySequence::Cut);
    item(m, tr("Copy"), [this] { CopySelection(); }, any)->setShortcut(QKeySequence::Copy);
    item(m, tr("Paste"), [this] { Paste(); }, DesignClipboard::HasObjects())->setShortcut(QKeySequence::Paste);
    m->addSeparator();
    item(m, tr("Delete"), [this] { DeleteSelection(); }, any)->setShortcut(QKeySequence(Qt::Key_Delete));
    m->addSeparator();
    item(m, tr("Align Left"), [this] { AlignSelection(Align::Left); }, any);
    item(m, tr("Align Right"), [this] { AlignSelection(Align::Right); }, any);
    item(m, tr("Align Tops"), [this] { AlignSelection(Align::Tops); }, any);
    item(m, tr("Align Bottoms"), [this] { AlignSelection(Align::Bottoms); }, any);
    m->addSeparator();
    item(m, tr("Center Vertically"), [this] { CenterSelection(true); }, any);
    item(m, tr("Center Horizontally"), [this] { CenterSelection(false); }, any);
    item(m, tr("Same Size"), [this] { MakeSameSize(); }, handle_.Count() > 1);
    m->addSeparator();
    item(m, tr("Lock All"), [this] { LockAll(true); }, objects);
    item(m, tr("Unlock All"), [this] { LockAll(false); }, objects);
    m->addSeparator();
    item(m, tr("Mark All Selectable"), [this] { MarkAllSelectable(true); });
    item(m, tr("Mark All Unselectable"), [this] { MarkAllSelectable(false); });
    item(m, tr("Select All"), [this] { SelectAll(); })->setShortcut(QKeySequence::SelectAll);
    m->addSeparator();
    item(m, tr("Font"), [this] { ChooseFontForSelection(); }, any && dialogs_);
    return menu;
}

namespace {

// The items every kind of text and shape shares, as small builders.
template <typename Set>
void alignmentMenu(QMenu* m, TAlignment current, Set set) {
    QMenu* sub = m->addMenu(QObject::tr("Alignment"));
    const std::pair<const char*, TAlignment> items[] = {
        {"Left", taLeftJustify}, {"Center", taCenter}, {"Right", taRightJustify}};
    for (const auto& [text, a] : items) {
        const TAlignment value = a;
        check(sub, QObject::tr(text), current == value, [set, value] { set(value); });
    }
}

template <typename Set>
void thicknessMenu(QMenu* m, int current, Set set) {
    QMenu* sub = m->addMenu(QObject::tr("Line Thickness"));
    for (int n = 1; n <= 10; ++n) check(sub, QObject::tr("%1 Point").arg(n), current == n, [set, n] { set(n); });
}

}  // namespace

std::unique_ptr<QMenu> TGPanelView::BuildObjectMenu(TGGraphicControl* o) {
    auto menu = std::make_unique<QMenu>(this);
    QMenu* m = menu.get();
    auto changed = [this](const QString& what) {
        return [this, what] { NotifyChanged(what); };
    };
    auto edit = [this, o](ObjectDialog d) { return [this, o, d] { EditObject(o, d); }; };
    auto colour = [this](TColor current, auto apply) {
        return [this, current, apply] {
            QColor c = layout::ToQColor(current);
            if (!dialogs_ || !dialogs_->chooseColor(c, this)) return;
            apply(layout::FromQColor(c));
            NotifyChanged(tr("Color"));
        };
    };

    // Common to every object.
    item(m, tr("Bring To Front"), [this, o] { BringToFront(o); });
    item(m, tr("Send To Back"), [this, o] { SendToBack(o); });
    item(m, tr("Cut"), [this, o] { CutObject(o); });
    item(m, tr("Copy"), [this, o] { CopyObject(o); });
    item(m, tr("Delete"), [this, o] { DeleteObject(o); });
    item(m, tr("Clone"), [this, o] { CloneObject(o); });
    m->addSeparator();
    check(m, tr("Locked"), o->Locked, [this, o] {
        o->Locked = !o->Locked;
        NotifyChanged(tr("Locked"));
    });
    item(m, tr("Unselectable"), [this, o] {
        o->Unselectable = true;
        handle_.Remove(o);
        update();
        NotifyChanged(tr("Unselectable"));
    });
    m->addSeparator();
    item(m, tr("Center Vertically"), [this, o] { CenterObject(o, true); });
    item(m, tr("Center Horizontally"), [this, o] { CenterObject(o, false); });

    if (auto* label = dynamic_cast<TGBaseLabel*>(o)) {
        const bool symbol = dynamic_cast<TGSymbolLabel*>(o) != nullptr;
        m->addSeparator();
        if (!symbol) {
            item(m, tr("Font"), [this, label] {
                LayoutFont font = label->Font();
                if (!dialogs_ || !dialogs_->chooseFont(font, this)) return;
                label->SetFont(font);
                if (dynamic_cast<TGPLabel*>(label)) label->FitToText();
                NotifyChanged(tr("Font"));
            });
        }
        item(m, tr("3D Effects"), edit(ObjectDialog::TextEffects));
        if (!symbol)
            alignmentMenu(m, label->Alignment(), [this, label](TAlignment a) {
                label->SetAlignment(a);
                NotifyChanged(tr("Alignment"));
            });
        item(m, tr("Background Color"), colour(label->BackColor(), [label](TColor c) {
                 label->SetBackColor(c);
                 label->SetTransparent(false);
             }));
        check(m, tr("Transparent"), label->Transparent(), [label, done = changed(tr("Transparent"))] {
            label->SetTransparent(!label->Transparent());
            done();
        });
        const bool rotates = dynamic_cast<TGPLabel*>(o) || dynamic_cast<TGCounterLabel*>(o);
        if (dynamic_cast<TGPLabel*>(o)) {
            m->addSeparator();
            item(m, tr("Text"), edit(ObjectDialog::Text));
        } else if (dynamic_cast<TGCounterLabel*>(o)) {
            m->addSeparator();
            item(m, tr("Counter Settings"), edit(ObjectDialog::Counter));
        } else if (symbol) {
            m->addSeparator();
            item(m, tr("Symbol Selector"), edit(ObjectDialog::Symbol));
        } else if (dynamic_cast<TGPDLabel*>(o)) {
            m->addSeparator();
            item(m, tr("Field"), edit(ObjectDialog::Field));
        } else if (auto* dt = dynamic_cast<TGDateTimeLabel*>(o)) {
            m->addSeparator();
            QMenu* date = m->addMenu(tr("Date Format"));
            const std::pair<const char*, TGDateFormat> dates[] = {
                {"No Date", dtfDateNone}, {"Windows Short Date", dtfDateShort}, {"Windows Long Date", dtfDateLong}};
            for (const auto& [text, f] : dates) {
                const TGDateFormat value = f;
                check(date, tr(text), dt->DateFormat == value, [this, dt, value] {
                    dt->DateFormat = value;
                    dt->FitToText();
                    NotifyChanged(tr("Date Format"));
                });
            }
            QMenu* time = m->addMenu(tr("Time Format"));
            const std::pair<const char*, TGTimeFormat> times[] = {
                {"No Time", dtfTimeNone}, {"Windows Short Time", dtfTimeShort}, {"Windows Long Time", dtfTimeLong}};
            for (const auto& [text, f] : times) {
                const TGTimeFormat value = f;
                check(time, tr(text), dt->TimeFormat == value, [this, dt, value] {
                    dt->TimeFormat = value;
                    dt->FitToText();
                    NotifyChanged(tr("Time Format"));
                });
            }
        }
        if (rotates) {
            m->addSeparator();
            QMenu* rotation = m->addMenu(tr("Rotation"));
            const std::pair<const char*, int> angles[] = {
                {"No Rotation", 0}, {"90 Degrees", 90}, {"180 Degrees", 180}, {"270 Degrees", 270}};
            for (const auto& [text, a] : angles) {
                const int angle = a;
                check(rotation, tr(text), label->Angle() == angle, [this, label, angle] {
                    label->SetAngle(angle);
                    NotifyChanged(tr("Rotation"));
                });
            }
        }
    } else if (auto* multi = dynamic_cast<TGMultiLineBaseLabel*>(o)) {
        m->addSeparator();
        item(m, tr("Font"), [this, multi] {
            LayoutFont font = multi->Font();
            if (!dialogs_ || !dialogs_->chooseFont(font, this)) return;
            multi->ApplyFont(font);
            NotifyChanged(tr("Font"));
        });
        alignmentMenu(m, multi->Alignment(), [this, multi](TAlignment a) {
            multi->SetAlignment(a);
            NotifyChanged(tr("Alignment"));
        });
        auto addWordWrap = [this, m, multi] {
            check(m, tr("Word Wrap"), multi->WordWrap(), [this, multi] {
                multi->SetWordWrap(!multi->WordWrap());
                NotifyChanged(tr("Word Wrap"));
            });
        };
        if (dynamic_cast<TGMultiLineLabel*>(o)) {
            m->addSeparator();
            item(m, tr("Text"), edit(ObjectDialog::MultiLineText));
            addWordWrap();
        } else if (dynamic_cast<TGDMultiLineLabel*>(o)) {
            m->addSeparator();
            item(m, tr("Memo Field"), edit(ObjectDialog::MemoField));
            addWordWrap();
        } else if (dynamic_cast<TGDMultiLineAddressLabel*>(o)) {
            m->addSeparator();
            item(m, tr("Address Layout"), edit(ObjectDialog::AddressLayout));
        }
    } else if (auto* fim = dynamic_cast<TGFIMBarCode*>(o)) {
        m->addSeparator();
        const std::pair<const char*, TFIMBarCodeType> types[] = {
            {"Set FIM to Type A", fimTypeA}, {"Set FIM to Type B", fimTypeB}, {"Set FIM to Type C", fimTypeC}};
        for (const auto& [text, t] : types) {
            const TFIMBarCodeType value = t;
            check(m, tr(text), fim->FIMType() == value, [this, fim, value] {
                fim->SetFIMType(value);
                NotifyChanged(tr("FIM Type"));
            });
        }
    } else if (auto* line = dynamic_cast<TGLineShape*>(o)) {
        m->addSeparator();
        QMenu* style = m->addMenu(tr("Style"));
        const std::pair<const char*, TLineStyle> styles[] = {{"Horizontal", stHorizontal},
                                                             {"Vertical", stVertical},
                                                             {"Angled Sloping Up", stAngleSlopingUp},
                                                             {"Angled Sloping Down", stAngleSlopingDown}};
        for (const auto& [text, s] : styles) {
            const TLineStyle value = s;
            check(style, tr(text), line->LineStyle() == value, [this, line, value] {
                line->SetLineStyle(value);
                NotifyChanged(tr("Line Style"));
            });
        }
        item(m, tr("Color"), colour(line->Pen().Color, [line](TColor c) {
                 LayoutPen pen = line->Pen();
                 pen.Color = c;
                 line->SetPen(pen);
             }));
        thicknessMenu(m, line->Pen().Width, [this, line](int n) {
            LayoutPen pen = line->Pen();
            pen.Width = n;
            line->SetPen(pen);
            NotifyChanged(tr("Line Thickness"));
        });
        m->addSeparator();
        item(m, tr("Stretch To Edges"), [this, line] {
            line->StretchToEdges();
            NotifyChanged(tr("Stretch To Edges"));
        });
    } else if (auto* shape = dynamic_cast<TGLabelShapes*>(o)) {
        m->addSeparator();
        item(m, tr("Background Color"), colour(shape->Brush().Color, [shape](TColor c) {
                 LayoutBrush brush = shape->Brush();
                 brush.Color = c;
                 shape->SetBrush(brush);
                 shape->SetTransparent(false);
             }));
        item(m, tr("Line Color"), colour(shape->Pen().Color, [shape](TColor c) {
                 LayoutPen pen = shape->Pen();
                 pen.Color = c;
                 shape->SetPen(pen);
             }));
        thicknessMenu(m, shape->Pen().Width, [this, shape](int n) {
            LayoutPen pen = shape->Pen();
            pen.Width = n;
            shape->SetPen(pen);
            NotifyChanged(tr("Line Thickness"));
        });
        m->addSeparator();
        check(m, tr("Transparent"), shape->Transparent(), [this, shape] {
            shape->SetTransparent(!shape->Transparent());
            NotifyChanged(tr("Transparent"));
        });
        if (shape->Shape == stRoundRect || shape->Shape == stRoundSquare) {
            m->addSeparator();
            QMenu* rounding = m->addMenu(tr("Degree of Rounding"));
            for (int perc = 20; perc <= 80; perc += 10)
                check(rounding, tr("%1 %").arg(perc), shape->RoundPerc == perc, [this, shape, perc] {
                    shape->RoundPerc = perc;
                    NotifyChanged(tr("Degree of Rounding"));
                });
        }
    } else if (auto* image = dynamic_cast<TGImage*>(o)) {
        m->addSeparator();
        item(m, tr("Load Image From Disk"), edit(ObjectDialog::LoadImage));
        m->addSeparator();
        check(m, tr("Stretch to Fit"), image->Stretch(), [this, image] {
            image->SetStretch(!image->Stretch());
            NotifyChanged(tr("Stretch to Fit"));
        });
        check(m, tr("AutoSize"), image->AutoSize(), [this, image] {
            image->SetAutoSize(!image->AutoSize());
            NotifyChanged(tr("AutoSize"));
        });
    }
    return menu;
}
