// The object dialogs worked from the keyboard: each control a person reaches with Alt
// carries its own letter, and the text dialogs open on the text to type over.

#include <gtest/gtest.h>

#include <QColorDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <functional>
#include <memory>

#include "FontAndColorDialogs.h"
#include "LayoutFont.h"
#include "AltLetters.h"
#include "NextDialog.h"
#include "ObjectEdits.h"
#include "TAddressLabelLayout.h"
#include "TCounterDialog.h"
#include "TGIMBarCode.h"
#include "TIMBarCodeDialog.h"
#include "TLoadImageFile.h"
#include "TMultiLineTextEditor.h"
#include "TSelectField.h"
#include "TSymbolSelector.h"
#include "TText3DEffects.h"
#include "TTextDialog.h"

namespace {

std::string lines(const QStringList& problems) { return problems.join('\n').toStdString(); }

}  // namespace

TEST(DialogKeysTest, EveryButtonBoxAndFieldLabelHasItsOwnAltLetter) {
    TGIMBarCode barcode;
    const std::pair<const char*, std::function<std::unique_ptr<QDialog>()>> dialogs[] = {
        {"text", [] { return std::make_unique<TTextDialog>("<text>"); }},
        {"multi-line text",
         [] { return std::make_unique<TMultiLineTextEditor>("a\nb", LayoutFont::Make("Arial", 10)); }},
        {"field", [] { return std::make_unique<TSelectField>(std::vector<layout::OfferedField>{{"CITY", "City"}}, ""); }},
        {"counter", [] { return std::make_unique<TCounterDialog>(layout::CounterSettings{}); }},
        {"address block", [] { return std::make_unique<TAddressLabelLayout>(layout::AddressOptions{}); }},
        {"barcode", [&barcode] { return std::make_unique<TIMBarCodeDialog>(barcode, nullptr); }},
        {"image", [] { return std::make_unique<TLoadImageFile>(false, false); }},
        {"symbol", [] { return std::make_unique<TSymbolSelector>(LayoutFont::Make("Symbol", 24), 65); }},
        {"3D effects", [] { return std::make_unique<TText3DEffects>(layout::TextEffects{}); }},
    };
    for (const auto& [name, make] : dialogs) {
        const std::unique_ptr<QDialog> d = make();
        EXPECT_EQ(lines(AltLetterProblems(*d)), "") << name;
    }

    // Qt's own font and colour dialogs, as the designers open them.
    QStringList fontProblems, colorProblems;
    onNextDialog<QFontDialog>([&](QFontDialog* d) {
        fontProblems = AltLetterProblems(*d);
        d->reject();
    });
    LayoutFont font = LayoutFont::Make("Arial", 10);
    layoutdialogs::PickFont(font, nullptr);
    onNextDialog<QColorDialog>([&](QColorDialog* d) {
        colorProblems = AltLetterProblems(*d);
        d->reject();
    });
    QColor color(Qt::red);
    layoutdialogs::PickColor(color, nullptr);
    EXPECT_EQ(lines(fontProblems), "");
    EXPECT_EQ(lines(colorProblems), "");
}

TEST(DialogKeysTest, TextDialogsOpenOnTheTextSelectedSoThatTypingReplacesIt) {
    TTextDialog text("<text>");
    text.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&text));
    EXPECT_EQ(text.focusWidget(), text.EnterText);
    EXPECT_EQ(text.EnterText->selectedText(), "<text>");
    QTest::keyClicks(text.focusWidget(), "Hello");
    EXPECT_EQ(text.text(), "Hello");

    TMultiLineTextEditor memo("first\nsecond", LayoutFont::Make("Arial", 10));
    memo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&memo));
    EXPECT_EQ(memo.focusWidget(), memo.Memo);
    QTest::keyClicks(memo.focusWidget(), "Dear");
    EXPECT_EQ(memo.text(), "Dear");
}
