// The design panel driven with the mouse and the keyboard as a user drives it: tool
// drops, the report bands' refusals, the rubber band, dragging and sizing with and
// without the grid, arrow keys, locked objects and the keys of the panel.

#include "PanelTestSupport.h"
#include "TReportPanel.h"
#include "TEnvelopePanel.h"
#include "TGIMBarCode.h"
#include "LayoutMetrics.h"
#include <cmath>

namespace {

struct DropCase {
    TLabelPanelState tool;
    const char* className;
    std::vector<ObjectDialog> dialogs;
};

}  // namespace

TEST_F(PanelViewTest, EachLabelToolDropsItsObjectWithItsDialog) {
    const DropCase cases[] = {
        {TLabelPanelState::psLabel, "TGPLabel", {ObjectDialog::Text}},
        {TLabelPanelState::psCounterLabel, "TGCounterLabel", {}},
        {TLabelPanelState::psSymbolLabel, "TGSymbolLabel", {ObjectDialog::Symbol}},
        {TLabelPanelState::psDataLabel, "TGPDLabel", {ObjectDialog::Field}},
        {TLabelPanelState::psMultiLineLabel, "TGMultiLineLabel", {ObjectDialog::MultiLineText}},
        {TLabelPanelState::psMultiLineDataLabel, "TGDMultiLineLabel", {}},
        {TLabelPanelState::psAddressLabel, "TGDMultiLineAddressLabel", {}},
        {TLabelPanelState::psRectangle, "TGLabelShapes", {}},
        {TLabelPanelState::psEllipse, "TGLabelShapes", {}},
        {TLabelPanelState::psRoundRectangle, "TGLabelShapes", {}},
        {TLabelPanelState::psLine, "TGLineShape", {}},
        {TLabelPanelState::psImage, "TGImage", {}},
        {TLabelPanelState::psPostNetBarCode, "TGPostNetBarCode", {}},
    };
    QSignalSpy dropped(view_.get(), &TGPanelView::DroppedObjectEvent);
    QSignalSpy changed(view_.get(), &TGPanelView::LabelChangedEvent);
    int n = 0;
    for (const DropCase& c : cases) {
        SCOPED_TRACE(c.className);
        dialogs_.calls.clear();
        arm(c.tool);
        drag({20, 30}, {120, 70});
        ASSERT_EQ(panel_.ObjectCount(), ++n);
        const TGGraphicControl* o = panel_.Object(n - 1);
        EXPECT_STREQ(o->ClassName(), c.className);
        EXPECT_EQ(o->Name(), QString("Special%1").arg(n));
        EXPECT_EQ(o->Left(), 20);
        EXPECT_EQ(o->Top(), 30);
        ASSERT_EQ(dialogs_.calls.size(), c.dialogs.size());
        for (size_t i = 0; i < c.dialogs.size(); ++i) EXPECT_EQ(dialogs_.calls[i].which, c.dialogs[i]);
        ASSERT_EQ(dropped.size(), n);
        EXPECT_EQ(dropped.last().at(0).toRect(), QRect(20, 30, 100, 40));
        // The tool stays armed for the next drop.
        EXPECT_FALSE(panel_.Pointing);
    }
    EXPECT_EQ(changed.size(), n);
    EXPECT_EQ(view_->UndoStack().count(), n);  // one step per drop
}

TEST_F(PanelViewTest, AClickWithTheTextToolMakesTheSmallestTextThenFitsIt) {
    arm(TLabelPanelState::psLabel);
    QTest::mouseClick(view_.get(), Qt::LeftButton, Qt::NoModifier, {40, 50});
    ASSERT_EQ(panel_.ObjectCount(), 1);
    ASSERT_EQ(dialogs_.calls.size(), 1u);
    EXPECT_EQ(dialogs_.calls[0].bounds, QRect(40, 50, 50, 15));
    auto* label = static_cast<TGPLabel*>(panel_.Object(0));
    EXPECT_EQ(label->Caption(), "Hello, world of labels");
    EXPECT_GT(label->Width(), 50);  // fitted to its text
}

TEST_F(PanelViewTest, ReportBandsRefuseObjectsOfOtherBandsWithABeep) {
    struct Case {
        TRPanelKind band;
        TReportPanelState tool;
        const char* message;  // empty: taken
    };
    const Case cases[] = {
        {rpkDetail, TReportPanelState::psMultiLineDataLabel, "This object may only be used in the memo band"},
        {rpkMemo, TReportPanelState::psMultiLineDataLabel, ""},
        {rpkHeader, TReportPanelState::psDataLabel, "This object may only be used in the detail band"},
        {rpkDetail, TReportPanelState::psDataLabel, ""},
        {rpkDetail, TReportPanelState::psDateTime, "This object may only be used in the header or footer bands"},
        {rpkMemo, TReportPanelState::psPageNumber, "This object may only be used in the header or footer bands"},
        {rpkFooter, TReportPanelState::psDateTime, ""},
        {rpkFooter, TReportPanelState::psImage, "This object may only be used in the header band"},
        {rpkHeader, TReportPanelState::psImage, ""},
        {rpkDetail, TReportPanelState::psLine, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        TReportPanel band(&owner_);
        band.SetSize(600, 80);
        band.PAnelKind = c.band;
        band.SetPanelState(c.tool);
        TGPanelView view(band);
        view.show();
        QSignalSpy dropped(&view, &TGPanelView::DroppedObjectEvent);
        messages_.requests.clear();
        messages_.beeps = 0;
        QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, {10, 10});
        EXPECT_EQ(dropped.size(), 1);  // raised also after a refusal
        if (*c.message) {
            EXPECT_EQ(band.ObjectCount(), 0);
            EXPECT_EQ(messages_.beeps, 1);
            ASSERT_EQ(messages_.requests.size(), 1u);
            EXPECT_EQ(messages_.requests[0].text, c.message);
        } else {
            EXPECT_EQ(band.ObjectCount(), 1);
            EXPECT_TRUE(messages_.requests.empty());
        }
    }
}

TEST_F(PanelViewTest, ReportBandsDrawTheirOwnShapes) {
    TReportPanel band(&owner_);
    band.SetSize(600, 80);
    band.SetPanelState(TReportPanelState::psRectangle);
    TGPanelView view(band);
    view.show();
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, {10, 10});
    ASSERT_EQ(band.ObjectCount(), 1);
    EXPECT_STREQ(band.Object(0)->ClassName(), "Trpshapes");
}

TEST_F(PanelViewTest, RubberBandSelectsWhatItTouchesAndShiftTakesItOutAgain) {
    TGGraphicControl* a = addBox(50, 50, 40, 20);  // covers 50..89 × 50..69
    TGGraphicControl* b = addBox(200, 200, 40, 20);
    // A band that only touches a's bottom-right corner pixel.
    drag({150, 120}, {89, 69});
    EXPECT_EQ(view_->Handle().Selection(), std::vector<TGGraphicControl*>{a});
    drag({150, 120}, {89, 69}, Qt::ShiftModifier);
    EXPECT_EQ(view_->Handle().Count(), 0);
    drag({10, 10}, {300, 300});
    EXPECT_EQ(view_->Handle().Count(), 2);
    // A click on the empty panel clears the selection.
    QTest::mouseClick(view_.get(), Qt::LeftButton, Qt::NoModifier, {350, 20});
    EXPECT_EQ(view_->Handle().Count(), 0);
    (void)b;
}

TEST_F(PanelViewTest, DraggingMovesBySnappedSteps) {
    struct Case {
        bool snap;
        TGridSize grid;
        QPoint expected;
    };
    // Frame left 28 + 37 = 65 snaps to 64 on both grids: the object lands at 66,
    // 2 past a multiple; top 28 + 21 = 49 snaps to 48.
    const Case cases[] = {{false, gs4x4, {67, 51}}, {true, gs4x4, {66, 50}}, {true, gs8x8, {66, 50}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.grid * 10 + c.snap);
        view_->ClearSelection();  // the selection holds the objects about to go
        panel_.ClearObjects();
        view_->SetGridSize(c.grid);
        view_->SetSnapToGrid(c.snap);
        TGGraphicControl* o = addBox(30, 30, 50, 20);
        drag({40, 40}, {77, 61});
        EXPECT_EQ(o->BoundsRect().topLeft(), c.expected);
        EXPECT_EQ(o->Width(), 50);
        if (c.snap) {
            EXPECT_EQ(o->Left() % (c.grid == gs8x8 ? 8 : 4), 2);
        }
    }
    // Grid 8 with a move that does not start on the grid.
    view_->ClearSelection();
    panel_.ClearObjects();
    TGGraphicControl* o = addBox(30, 30, 50, 20);
    drag({40, 40}, {100, 40});
    EXPECT_EQ(o->Left() % 8, 2);
}

TEST_F(PanelViewTest, AQuickPressReleaseIsAClickAndTheFrameStopsAtThePanelEdge) {
    TGGraphicControl* o = addBox(30, 30, 50, 20);
    QTest::mousePress(view_.get(), Qt::LeftButton, Qt::NoModifier, {40, 40});
    QTest::mouseMove(view_.get(), {90, 90});
    QTest::mouseRelease(view_.get(), Qt::LeftButton, Qt::NoModifier, {90, 90}, 50);
    EXPECT_EQ(o->BoundsRect(), QRect(30, 30, 50, 20));
    EXPECT_EQ(view_->UndoStack().count(), 0);

    // The pointer leaves the panel at the bottom right: the move stops at its edge.
    drag({40, 40}, {900, 900});
    EXPECT_EQ(o->BoundsRect().topLeft(), QPoint(30 + 400 - 40, 30 + 300 - 40));
}

TEST_F(PanelViewTest, ALockedObjectStaysPutButStaysSelected) {
    TGGraphicControl* a = addBox(30, 30, 50, 20);
    TGGraphicControl* b = addBox(30, 100, 50, 20);
    b->Locked = true;
    view_->SelectAll();
    drag({40, 40}, {60, 50});
    EXPECT_EQ(a->BoundsRect().topLeft(), QPoint(50, 40));
    EXPECT_EQ(b->BoundsRect().topLeft(), QPoint(30, 100));
    EXPECT_EQ(view_->Handle().Count(), 2);
}

TEST_F(PanelViewTest, EachHandleSizesItsEdges) {
    // The object at 100,100 60 × 40 has its frame at 98,98 65 × 45. Edges that follow
    // the pointer's right or bottom come one pixel short, as the frame's arithmetic has it.
    struct Case {
        const char* handle;
        QPoint press;
        QPoint by;
        QRect expected;
    };
    const Case cases[] = {
        {"top-left", {99, 99}, {-10, -10}, {90, 90, 70, 50}},
        {"top-right", {162, 99}, {10, -10}, {100, 90, 69, 50}},
        {"bottom-left", {99, 142}, {-10, 10}, {90, 100, 70, 49}},
        {"bottom-right", {162, 142}, {10, 10}, {100, 100, 69, 49}},
        {"top", {130, 99}, {0, -10}, {100, 90, 60, 50}},
        {"left", {99, 120}, {-10, 0}, {90, 100, 70, 40}},
        {"bottom", {130, 142}, {0, 10}, {100, 100, 60, 49}},
        {"right", {162, 120}, {10, 0}, {100, 100, 69, 40}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.handle);
        panel_.ClearObjects();
        view_->ClearSelection();
        TGGraphicControl* o = addBox(100, 100, 60, 40);
        view_->Select(o);
        drag(c.press, c.press + c.by);
        EXPECT_EQ(o->BoundsRect(), c.expected);
    }
}

TEST_F(PanelViewTest, SizingDownToNothingKeepsAPixel) {
    TGGraphicControl* o = addBox(100, 100, 60, 40);
    view_->Select(o);
    drag({162, 142}, {50, 50});
    // The frame stops at 5 × 5; the object is never sized away.
    EXPECT_EQ(o->Width(), 1);
    EXPECT_EQ(o->Height(), 1);
    EXPECT_EQ(view_->Handle().Frame().size(), QSize(6, 6));
}

TEST_F(PanelViewTest, ArrowKeysMoveAndShiftArrowsSize) {
    struct Case {
        bool snap;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int width;
        QRect expected;
    };
    const Case cases[] = {
        {false, Qt::Key_Right, Qt::NoModifier, 50, {101, 100, 50, 20}},
        {false, Qt::Key_Up, Qt::NoModifier, 50, {100, 99, 50, 20}},
        {true, Qt::Key_Left, Qt::NoModifier, 50, {92, 100, 50, 20}},
        {true, Qt::Key_Down, Qt::NoModifier, 50, {100, 108, 50, 20}},
        {false, Qt::Key_Right, Qt::ShiftModifier, 50, {100, 100, 51, 20}},
        {true, Qt::Key_Left, Qt::ShiftModifier, 50, {100, 100, 42, 20}},
        {false, Qt::Key_Left, Qt::ShiftModifier, 10, {100, 100, 9, 20}},
        {false, Qt::Key_Left, Qt::ShiftModifier, 9, {100, 100, 9, 20}},  // 10 inside: no smaller
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.key << " " << c.width);
        panel_.ClearObjects();
        view_->SetGridSize(gs8x8);
        view_->SetSnapToGrid(c.snap);
        TGGraphicControl* o = addBox(100, 100, c.width, 20);
        view_->Select(o);
        view_->setFocus();
        QTest::keyClick(view_.get(), c.key, c.mods);
        EXPECT_EQ(o->BoundsRect(), c.expected);
    }
}

TEST_F(PanelViewTest, ABurstOfArrowKeysIsOneUndoStep) {
    TGGraphicControl* o = addBox(100, 100, 50, 20);
    const QByteArray before = saved();
    view_->Select(o);
    for (int i = 0; i < 5; ++i) QTest::keyClick(view_.get(), Qt::Key_Right);
    EXPECT_EQ(panel_.Object(0)->Left(), 105);
    EXPECT_EQ(view_->UndoStack().count(), 1);
    QTest::keyClick(view_.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(saved(), before);
}

TEST_F(PanelViewTest, KeysOfThePanel) {
    TGGraphicControl* a = addBox(30, 30, 50, 20);
    addBox(30, 100, 50, 20);
    view_->setFocus();
    QTest::keyClick(view_.get(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(view_->Handle().Count(), 2);
    view_->Select(a);
    QTest::keyClick(view_.get(), Qt::Key_Delete);
    EXPECT_EQ(panel_.ObjectCount(), 1);

    // Escape drops a rubber band being drawn and then the armed tool.
    arm(TLabelPanelState::psRectangle);
    QSignalSpy disarmed(view_.get(), &TGPanelView::PanelStateChanged);
    QTest::mousePress(view_.get(), Qt::LeftButton, Qt::NoModifier, {200, 200});
    QTest::mouseMove(view_.get(), {250, 250});
    QTest::keyClick(view_.get(), Qt::Key_Escape);
    QTest::mouseRelease(view_.get(), Qt::LeftButton, Qt::NoModifier, {250, 250}, 300);
    EXPECT_EQ(panel_.ObjectCount(), 1);
    EXPECT_FALSE(panel_.Pointing);
    QTest::keyClick(view_.get(), Qt::Key_Escape);
    EXPECT_TRUE(panel_.Pointing);
    EXPECT_EQ(panel_.PanelState(), TLabelPanelState::psPointing);
    EXPECT_EQ(disarmed.size(), 1);

    // The menu key opens the selected object's popup.
    view_->Select(panel_.Object(0));
    QStringList texts;
    onNextMenu([&texts](QMenu* menu) {
        texts = itemTexts(*menu);
        menu->close();
    });
    QTest::keyClick(view_.get(), Qt::Key_Menu);
    EXPECT_TRUE(texts.contains("Clone"));
}

TEST_F(PanelViewTest, RightPressOnAnObjectOpensItsMenuAndOnThePanelThePanelsMenu) {
    TGGraphicControl* a = addBox(30, 30, 50, 20);
    QStringList texts;
    onNextMenu([&texts](QMenu* menu) {
        texts = itemTexts(*menu);
        menu->close();
    });
    QTest::mouseClick(view_.get(), Qt::RightButton, Qt::NoModifier, {40, 40});
    EXPECT_EQ(view_->Handle().Selection(), std::vector<TGGraphicControl*>{a});
    EXPECT_TRUE(texts.contains("Line Color"));
    onNextMenu([&texts](QMenu* menu) {
        texts = itemTexts(*menu);
        menu->close();
    });
    QTest::mouseClick(view_.get(), Qt::RightButton, Qt::NoModifier, {300, 200});
    EXPECT_EQ(texts.value(0), "Undo");
    EXPECT_TRUE(texts.contains("Select All"));
}

TEST_F(PanelViewTest, ADoubleClickOpensTheObjectsMenu) {
    TGGraphicControl* a = addBox(30, 30, 50, 20);
    QStringList texts;
    onNextMenu([&texts](QMenu* menu) {
        texts = itemTexts(*menu);
        menu->close();
    });
    QTest::mouseDClick(view_.get(), Qt::LeftButton, Qt::NoModifier, {40, 40});
    EXPECT_EQ(view_->Handle().Selection(), std::vector<TGGraphicControl*>{a});
    EXPECT_TRUE(texts.contains("Degree of Rounding") || texts.contains("Line Color"));
    EXPECT_EQ(a->BoundsRect(), QRect(30, 30, 50, 20));
}

TEST_F(PanelViewTest, ABandThatTakesNoPressesBeepsAndAnObjectPressIsReported) {
    TReportPanel band(&owner_);
    band.SetSize(600, 80);
    band.AcceptsPresses = false;
    band.SetPanelState(TReportPanelState::psLabel);
    TGPanelView view(band);
    view.show();
    QSignalSpy pressed(&view, &TGPanelView::ControlMouseDownEvent);
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, {10, 10});
    EXPECT_EQ(messages_.beeps, 1);
    EXPECT_EQ(band.ObjectCount(), 0);

    band.SetPanelState(TReportPanelState::psPointing);
    auto line = std::make_unique<TGLabelShapes>();
    band.InsertObject(std::move(line))->SetBounds(100, 10, 40, 40);
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, {110, 20});
    EXPECT_EQ(pressed.size(), 1);
    EXPECT_EQ(view.Handle().Count(), 1);
}

TEST_F(PanelViewTest, AnIntelligentMailBarcodeDropsAtItsPrintableSizeAndStaysOnThePanel) {
    TEnvelopePanel envelope(&owner_);
    envelope.SetSize(900, 400);
    TGPanelView view(envelope);
    view.show();
    // A click, and a click so near the right edge that the barcode would stick out.
    for (const QPoint at : {QPoint(10, 10), QPoint(890, 390)}) {
        envelope.SetPanelState(TEnvelopePanelState::psIMBarCode);
        QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, at);
        auto* barcode = dynamic_cast<TGIMBarCode*>(envelope.Object(envelope.ObjectCount() - 1));
        ASSERT_TRUE(barcode);
        EXPECT_GE(barcode->Width(), int(std::ceil(layout::imb::kNeededWidth * layout::kPixelsPerInch)));
        EXPECT_GE(barcode->Height(), int(std::ceil(layout::imb::kNeededHeight * layout::kPixelsPerInch)));
        EXPECT_LE(barcode->BoundsRect().right(), envelope.Width());
        EXPECT_LE(barcode->BoundsRect().bottom(), envelope.Height());
        EXPECT_FALSE(barcode->DesignerWarning().startsWith("Too narrow")) << barcode->DesignerWarning().toStdString();
    }
}
