#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "DesignClipboard.h"
#include "ObjectDialogs.h"
#include "ScriptedMessages.h"
#include "TGBaseLabel.h"
#include "TGGraphicControl.h"
#include "TGLabelPanel.h"
#include "TGLabelShapes.h"
#include "TGOwner.h"
#include "TGPDLabel.h"
#include "TGPanelView.h"
#include "TGPLabel.h"
#include "TempDir.h"
#include "ToolDrop.h"

// The object dialogs as a test scripts them: every call is recorded with the object's
// bounds at that moment; a confirmed Text dialog sets a caption, a confirmed
// field chooser binds City, a confirmed font or colour dialog gives Courier 14 or red.
class ScriptedDialogs : public ObjectDialogs {
  public:
    struct Call {
        ObjectDialog which;
        QRect bounds;
    };
    std::vector<Call> calls;
    int fonts = 0, colors = 0;
    bool answer = true;

    bool edit(ObjectDialog which, TGGraphicControl& object, QWidget*) override {
        calls.push_back({which, object.BoundsRect()});
        if (!answer) return false;
        if (which == ObjectDialog::Text)
            if (auto* l = dynamic_cast<TGBaseLabel*>(&object)) l->SetCaption("Hello, world of labels");
        if (which == ObjectDialog::Field)
            if (auto* d = dynamic_cast<TGPDLabel*>(&object)) {
                d->DataFieldName = "CITY";
                d->DataFieldDescript = "City";
            }
        return true;
    }
    bool chooseFont(LayoutFont& font, QWidget*) override {
        ++fonts;
        if (answer) font = LayoutFont::Make("Courier New", 14);
        return answer;
    }
    bool chooseColor(QColor& color, QWidget*) override {
        ++colors;
        if (answer) color = Qt::red;
        return answer;
    }
};

// A shown panel view over a 400 × 300 label panel, with scripted dialogs and messages,
// and the designers' clipboard in a folder of its own.
class PanelViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DesignClipboard::SetFileName(QString::fromStdString(dir_.file("Clipbrd.tmp")));
        QApplication::clipboard()->clear();
        panel_.SetSize(400, 300);
        view_ = std::make_unique<TGPanelView>(panel_);
        view_->setObjectDialogs(&dialogs_);
        view_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view_.get()));
    }

    // An object at the given bounds, on the panel and in the undo history's start.
    // Boxes keep their size; text measures itself when it paints.
    TGGraphicControl* addBox(int left, int top, int width, int height) {
        return add(std::make_unique<TGLabelShapes>(), left, top, width, height);
    }
    TGGraphicControl* addText(int left, int top, int width, int height) {
        return add(std::make_unique<TGPLabel>(), left, top, width, height);
    }
    TGGraphicControl* add(std::unique_ptr<TGGraphicControl> o, int left, int top, int width, int height) {
        o->SetOwner(&owner_);
        o->SetName(owner_.UniqueName("Special", 1, 1000));
        TGGraphicControl* p = panel_.InsertObject(std::move(o));
        p->SetBounds(left, top, width, height);
        view_->ResetUndo();
        return p;
    }

    // A press, a move and a release well apart in time (a drag, not a click).
    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::mousePress(view_.get(), Qt::LeftButton, mods, from);
        QTest::mouseMove(view_.get(), (from + to) / 2);
        QTest::mouseMove(view_.get(), to);
        QTest::mouseRelease(view_.get(), Qt::LeftButton, mods, to, 300);
    }

    // The layout stream as a saved layout file holds it.
    QByteArray saved() {
        const QString file = QString::fromStdString(dir_.file("saved.L"));
        EXPECT_TRUE(panel_.SaveToFile(file).ok());
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

    void arm(TLabelPanelState state) { panel_.SetPanelState(state); }

    TempDir dir_;
    TGOwner owner_;
    TGLabelPanel panel_{&owner_};
    ScriptedDialogs dialogs_;
    ScriptedMessages messages_;
    std::unique_ptr<TGPanelView> view_;
};

// Runs `handle` on the next popup menu once it is up (it must close or trigger it).
inline void onNextMenu(std::function<void(QMenu*)> handle) {
    auto* timer = new QTimer;
    auto* waited = new int(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, handle] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu || ++*waited > 300) {
            timer->stop();
            timer->deleteLater();
            delete waited;
            if (menu)
                handle(menu);
            else
                ADD_FAILURE() << "no menu came";
        }
    });
    timer->start();
}

// The texts of a menu's items, separators as "-".
inline QStringList itemTexts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* a : menu.actions()) texts << (a->isSeparator() ? QString("-") : a->text());
    return texts;
}

// The item named `path` ("Alignment/Center" for a sub-menu's item).
inline QAction* findItem(const QMenu& menu, const QString& path) {
    const QStringList parts = path.split('/');
    const QMenu* m = &menu;
    for (int i = 0; i < parts.size(); ++i) {
        QAction* found = nullptr;
        for (QAction* a : m->actions())
            if (a->text() == parts[i]) found = a;
        if (!found) return nullptr;
        if (i + 1 == parts.size()) return found;
        if (!found->menu()) return nullptr;
        m = found->menu();
    }
    return nullptr;
}
