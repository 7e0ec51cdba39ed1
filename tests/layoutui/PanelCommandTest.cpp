// The design panel's commands: the clipboard with its offsets, the popup menus with
// their enabled states and check marks, undo and redo, zoom, and a layout edited
// through the panel read back by the command line.

#include "PanelTestSupport.h"
#include "RunQuillory.h"
#include "TEnvelopePanel.h"
#include "TGFIMBarCode.h"
#include "TGLabelShapes.h"
#include "TGLineShape.h"
#include "TGLabelObjectFiler.h"

TEST_F(PanelViewTest, PasteLandsFifteenPixelsOffAndOnlyOncePerSecond) {
    TGGraphicControl* a = addBox(40, 40, 50, 20);
    view_->Select(a);
    QTest::keyClick(view_.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(DesignClipboard::FileName()));
    QTest::keyClick(view_.get(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(view_.get(), Qt::Key_V, Qt::ControlModifier);  // within a second: ignored
    ASSERT_EQ(panel_.ObjectCount(), 2);
    EXPECT_EQ(panel_.Object(1)->BoundsRect(), QRect(55, 55, 50, 20));
    // The pasted object is selected; a second paste a second later lands at the same place.
    EXPECT_EQ(view_->Handle().Selection(), std::vector<TGGraphicControl*>{panel_.Object(1)});
    QTest::qWait(1050);
    view_->Paste();
    ASSERT_EQ(panel_.ObjectCount(), 3);
    EXPECT_EQ(panel_.Object(2)->BoundsRect(), QRect(55, 55, 50, 20));

    // Cut takes the selection away; its paste comes back offset.
    view_->Select(panel_.Object(0));
    QTest::keyClick(view_.get(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(panel_.ObjectCount(), 2);
    QTest::qWait(1050);
    view_->Paste();
    EXPECT_EQ(panel_.Object(2)->BoundsRect(), QRect(55, 55, 50, 20));
}

TEST_F(PanelViewTest, ObjectsCopiedInOneDesignerPasteIntoAnother) {
    TGGraphicControl* a = addBox(40, 40, 50, 20);
    view_->Select(a);
    view_->CopySelection();
    // The file is gone (its panel was closed): the system clipboard still holds the copy.
    DesignClipboard::RemoveFile();
    TEnvelopePanel envelope;
    envelope.SetSize(600, 300);
    TGPanelView other(envelope);
    other.Paste();
    ASSERT_EQ(envelope.ObjectCount(), 1);
    EXPECT_STREQ(envelope.Object(0)->ClassName(), "TGLabelShapes");
    EXPECT_EQ(envelope.Object(0)->BoundsRect(), QRect(55, 55, 50, 20));
    // With neither, Paste is disabled and does nothing.
    QApplication::clipboard()->clear();
    EXPECT_FALSE(findItem(*view_->BuildPanelMenu(), "Paste")->isEnabled());
}

TEST_F(PanelViewTest, PanelMenuEnablesWhatTheSelectionAllows) {
    std::unique_ptr<QMenu> menu = view_->BuildPanelMenu();
    EXPECT_EQ(itemTexts(*menu),
              QStringList({"Undo", "Redo", "-", "Bring To Front", "Send To Back", "-", "Cut", "Copy", "Paste", "-",
                           "Delete", "-", "Align Left", "Align Right", "Align Tops", "Align Bottoms", "-",
                           "Center Vertically", "Center Horizontally", "Same Size", "-", "Lock All", "Unlock All",
                           "-", "Mark All Selectable", "Mark All Unselectable", "Select All", "-", "Font"}));
    for (const char* item : {"Undo", "Cut", "Delete", "Align Left", "Lock All", "Unlock All", "Font"})
        EXPECT_FALSE(findItem(*menu, item)->isEnabled()) << item;
    EXPECT_TRUE(findItem(*menu, "Select All")->isEnabled());

    // Only unselectable objects: Select All selects nothing.
    addBox(10, 10, 40, 20)->Unselectable = true;
    findItem(*view_->BuildPanelMenu(), "Select All")->trigger();
    EXPECT_EQ(view_->Handle().Count(), 0);
    findItem(*view_->BuildPanelMenu(), "Mark All Selectable")->trigger();
    findItem(*view_->BuildPanelMenu(), "Select All")->trigger();
    EXPECT_EQ(view_->Handle().Count(), 1);
    EXPECT_TRUE(findItem(*view_->BuildPanelMenu(), "Lock All")->isEnabled());
}

TEST_F(PanelViewTest, AlignmentSizeAndOrderCommands) {
    TGGraphicControl* a = addBox(40, 30, 50, 20);
    TGGraphicControl* b = addBox(100, 80, 70, 30);
    view_->SelectAll();
    struct Case {
        const char* item;
        QRect a, b;
    };
    const Case cases[] = {
        {"Align Left", {40, 30, 50, 20}, {40, 80, 70, 30}},
        {"Align Right", {120, 30, 50, 20}, {100, 80, 70, 30}},
        {"Align Tops", {40, 30, 50, 20}, {100, 30, 70, 30}},
        {"Align Bottoms", {40, 90, 50, 20}, {100, 80, 70, 30}},
        {"Center Vertically", {40, 140, 50, 20}, {100, 135, 70, 30}},
        {"Center Horizontally", {175, 30, 50, 20}, {165, 80, 70, 30}},
        {"Same Size", {40, 30, 50, 20}, {100, 80, 50, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        findItem(*view_->BuildPanelMenu(), c.item)->trigger();
        EXPECT_EQ(a->BoundsRect(), c.a);
        EXPECT_EQ(b->BoundsRect(), c.b);
        view_->Undo();
        a = panel_.Object(0);
        b = panel_.Object(1);
        view_->SelectAll();
    }
    view_->Select(a);
    findItem(*view_->BuildPanelMenu(), "Bring To Front")->trigger();
    EXPECT_EQ(panel_.Object(1), a);
    findItem(*view_->BuildPanelMenu(), "Send To Back")->trigger();
    EXPECT_EQ(panel_.Object(0), a);
    EXPECT_EQ(view_->Handle().Count(), 0);
}

TEST_F(PanelViewTest, ObjectMenusCarryTheirItemsAndCheckMarks) {
    auto* line = static_cast<TGLineShape*>(
        panel_.InsertObject(std::make_unique<TGLineShape>()));
    LayoutPen pen = line->Pen();
    pen.Width = 3;
    line->SetPen(pen);
    auto* round = static_cast<TGLabelShapes*>(panel_.InsertObject(std::make_unique<TGLabelShapes>()));
    round->Shape = stRoundRect;
    round->RoundPerc = 40;
    auto* fim = static_cast<TGFIMBarCode*>(panel_.InsertObject(std::make_unique<TGFIMBarCode>()));
    fim->SetFIMType(fimTypeB);
    TGGraphicControl* text = addText(10, 10, 60, 20);
    text->Locked = true;

    struct Case {
        TGGraphicControl* object;
        const char* checked;
        const char* unchecked;
    };
    const Case cases[] = {
        {line, "Line Thickness/3 Point", "Style/Vertical"},
        {line, "Style/Horizontal", "Line Thickness/1 Point"},
        {round, "Degree of Rounding/40 %", "Transparent"},
        {fim, "Set FIM to Type B", "Set FIM to Type A"},
        {text, "Locked", "Rotation/90 Degrees"},
        {text, "Alignment/Left", "Alignment/Center"},
        {text, "Transparent", "Alignment/Right"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.checked);
        std::unique_ptr<QMenu> menu = view_->BuildObjectMenu(c.object);
        QAction* on = findItem(*menu, c.checked);
        QAction* off = findItem(*menu, c.unchecked);
        ASSERT_TRUE(on && off);
        EXPECT_TRUE(on->isChecked());
        EXPECT_FALSE(off->isChecked());
    }
    EXPECT_EQ(findItem(*view_->BuildObjectMenu(text), "Font")->text(), "Font");
    // Plain rectangles offer no rounding.
    round->Shape = stRectangle;
    EXPECT_EQ(findItem(*view_->BuildObjectMenu(round), "Degree of Rounding"), nullptr);

    // Choosing items changes the object, once a step.
    findItem(*view_->BuildObjectMenu(fim), "Set FIM to Type C")->trigger();
    EXPECT_EQ(fim->FIMType(), fimTypeC);
    findItem(*view_->BuildObjectMenu(line), "Line Thickness/7 Point")->trigger();
    EXPECT_EQ(line->Pen().Width, 7);
    findItem(*view_->BuildObjectMenu(text), "Alignment/Center")->trigger();
    EXPECT_EQ(static_cast<TGPLabel*>(text)->Alignment(), taCenter);
    EXPECT_EQ(view_->UndoStack().count(), 3);
}

TEST_F(PanelViewTest, DialogItemsGoThroughTheObjectDialogs) {
    TGGraphicControl* text = addText(10, 10, 60, 20);
    findItem(*view_->BuildObjectMenu(text), "Text")->trigger();
    findItem(*view_->BuildObjectMenu(text), "Background Color")->trigger();
    ASSERT_EQ(dialogs_.calls.size(), 1u);
    EXPECT_EQ(dialogs_.calls[0].which, ObjectDialog::Text);
    auto* label = static_cast<TGPLabel*>(text);
    EXPECT_EQ(label->Caption(), "Hello, world of labels");
    EXPECT_EQ(label->BackColor(), clRed);
    EXPECT_FALSE(label->Transparent());
    EXPECT_EQ(view_->UndoStack().count(), 2);

    // Cancel changes nothing and leaves no undo step.
    dialogs_.answer = false;
    QSignalSpy changed(view_.get(), &TGPanelView::LabelChangedEvent);
    findItem(*view_->BuildObjectMenu(text), "3D Effects")->trigger();
    view_->SelectAll();
    findItem(*view_->BuildPanelMenu(), "Font")->trigger();
    EXPECT_EQ(dialogs_.fonts, 1);
    EXPECT_EQ(changed.size(), 0);
    EXPECT_EQ(view_->UndoStack().count(), 2);

    dialogs_.answer = true;
    findItem(*view_->BuildPanelMenu(), "Font")->trigger();
    EXPECT_EQ(label->Font().Name, "Courier New");
}

TEST_F(PanelViewTest, UndoAndRedoGiveBackTheLayoutByteForByte) {
    std::vector<QByteArray> states{saved()};
    auto step = [&](const std::function<void()>& change) {
        change();
        states.push_back(saved());
    };
    step([&] {
        arm(TLabelPanelState::psRectangle);
        drag({20, 20}, {120, 80});
        DisarmTool(panel_);
    });
    step([&] { drag({50, 50}, {90, 70}); });                  // move the new rectangle
    step([&] { drag({162, 102}, {190, 130}); });  // size it by its bottom-right handle
    step([&] { QTest::keyClick(view_.get(), Qt::Key_Down); });
    step([&] { findItem(*view_->BuildObjectMenu(panel_.Object(0)), "Transparent")->trigger(); });
    step([&] { view_->CopySelection(); view_->Paste(); });
    step([&] { view_->BringToFront(panel_.Object(0)); });
    step([&] { view_->LockAll(true); });
    step([&] { view_->SelectAll(); view_->DeleteSelection(); });
    ASSERT_EQ(view_->UndoStack().count(), int(states.size()) - 1);
    for (size_t i = 1; i < states.size(); ++i) ASSERT_NE(states[i], states[i - 1]) << i;

    QSignalSpy changed(view_.get(), &TGPanelView::LabelChangedEvent);
    for (size_t i = states.size() - 1; i-- > 0;) {
        QTest::keyClick(view_.get(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(saved(), states[i]) << "undo to " << i;
    }
    for (size_t i = 1; i < states.size(); ++i) {
        QTest::keyClick(view_.get(), i % 2 ? Qt::Key_Y : Qt::Key_Z,
                        i % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(saved(), states[i]) << "redo to " << i;
    }
    EXPECT_EQ(changed.size(), 2 * (int(states.size()) - 1));
}

TEST_F(PanelViewTest, ZoomKeepsStoredCoordinates) {
    addBox(21, 33, 57, 19);
    const QByteArray at100 = saved();
    for (float zoom : {0.5f, 1.5f, 0.5f, 1.0f}) {
        SCOPED_TRACE(zoom);
        view_->SetZoom(zoom);
        EXPECT_EQ(view_->size(), QSize(int(400 * zoom), int(300 * zoom)));
        EXPECT_EQ(saved(), at100);
    }
    EXPECT_EQ(view_->UndoStack().count(), 0);

    // A move at 150 % moves the stored position by the move ÷ 1.5.
    view_->SetZoom(1.5f);
    TGGraphicControl* o = panel_.Object(0);
    const QPoint inside = o->BoundsRect().center();
    drag(inside, inside + QPoint(30, 15));
    view_->SetZoom(1.0f);
    EXPECT_EQ(panel_.Object(0)->BoundsRect(), QRect(41, 43, 57, 19));
}

TEST_F(PanelViewTest, ALayoutEditedWithMouseAndKeysReadsBackFromTheCommandLine) {
    arm(TLabelPanelState::psLabel);
    drag({30, 40}, {150, 70});
    DisarmTool(panel_);
    view_->SetGridSize(gs8x8);
    view_->SetSnapToGrid(true);
    TGGraphicControl* o = panel_.Object(0);
    drag({40, 50}, {80, 70});  // frame 28 → snap(68) = 64: left 66; 38 → snap(58) = 56: top 58
    QTest::keyClick(view_.get(), Qt::Key_Right);  // one grid step: 74
    findItem(*view_->BuildObjectMenu(o), "Alignment/Right")->trigger();
    const QString file = QString::fromStdString(dir_.file("BIN00001.L"));
    ASSERT_TRUE(panel_.SaveToFile(file).ok());

    const QuilloryResult r = runQuillory({"layout-dump", file.toStdString()}, dir_, 30);
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    for (const char* line : {"object Special1: TGPLabel\n", "  Left = 74\n", "  Top = 58\n",
                             "  Alignment = taRightJustify\n", "  Caption = 'Hello, world of labels'\n"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line << r.out;
}
