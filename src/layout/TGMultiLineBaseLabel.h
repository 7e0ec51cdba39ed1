#pragma once

#include <QStringList>

#include "LayoutFont.h"
#include "TGGraphicControl.h"

// A list of text lines, optionally word-wrapped to the object's width.
class TGMultiLineBaseLabel : public TGGraphicControl {
  public:
    TGMultiLineBaseLabel();

    const QStringList& Items() const { return items_; }
    void SetItems(const QStringList& items);
    bool AutoSize = false;  // stored, no effect
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    const LayoutFont& Font() const { return font_; }
    void SetFont(const LayoutFont& font);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on);

    // The wrapped lines (kept while WordWrap is on).
    const QStringList& WrappedLines() const { return wrapped_; }
    // The lines shown and printed: the wrapped lines when wrapping, else Items.
    const QStringList& Lines() const { return wordWrap_ ? wrapped_ : items_; }
    // Wraps Items afresh to the current width and font.
    virtual void Rewrap();
    // Height for FitLineCount() lines, width for the widest line (never narrower than
    // now).
    void FitToText();
    // How many lines FitToText makes room for: those shown now.
    virtual int FitLineCount() const { return int(Lines().size()); }

    void Paint(QPainter& painter) override;
    void BoundsChanged() override;
    void ApplyFont(const LayoutFont& font) override;
    void PrintTo(TBaseReport& report, double x, double y) override;
    // Whether the last PrintTo put every line on the page whole: none left out at the
    // bottom, none cut at a side or by the edge of the label. The address block's
    // lines are a mailing address, and a print job tells the user when one was cut.
    bool PrintedWhole() const { return printedWhole_; }

    void WriteProperties(layout::PropertyWriter& w) const override;
    layout::ReadResult ReadProperty(const layout::PropertyReader& r) override;

  protected:
    // "<blank memo>" for memo objects, "<blank>" for the others.
    void SetMemoPlaceholder(bool memo) { memoPlaceholder_ = memo; }
    QFont ScreenFont() const { return font_.ToQFont(Zoom()); }
    // Lines of `text` as the object shows them: split at line breaks and, with
    // WordWrap, wrapped to the object's width.
    QStringList BreakIntoLines(const QStringList& paragraphs) const;
    // Sets Items without re-wrapping.
    void AssignItems(const QStringList& items) { items_ = items; }
    void AssignWrapped(const QStringList& wrapped) { wrapped_ = wrapped; }

  private:
    QStringList items_;
    QStringList wrapped_;
    TAlignment alignment_ = taLeftJustify;
    LayoutFont font_;
    bool wordWrap_ = false;
    bool memoPlaceholder_ = false;
    bool printedWhole_ = true;
};
