#include "ObjectEdits.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "AnsiText.h"
#include "LayoutMetrics.h"
#include "LayoutPicture.h"
#include "TGBaseLabel.h"
#include "TGCounterLabel.h"
#include "TGDataSet.h"
#include "TGImage.h"
#include "TGMultiLineLabel.h"
#include "TGPLabel.h"
#include "TGSymbolLabel.h"

namespace layout {

QFont DialogFont(const LayoutFont& font) {
    QFont f(font.Name);
    f.setPointSize(std::max(1, font.Size()));
    f.setBold(font.has(fsBold));
    f.setItalic(font.has(fsItalic));
    f.setUnderline(font.has(fsUnderline));
    f.setStrikeOut(font.has(fsStrikeOut));
    return f;
}

LayoutFont FromDialogFont(const QFont& chosen, const LayoutFont& base) {
    LayoutFont f = base;
    f.Name = chosen.family().left(31);  // the stream keeps at most 31 characters
    int points = int(std::lround(chosen.pointSizeF()));
    if (chosen.pointSizeF() <= 0 && chosen.pixelSize() > 0) points = chosen.pixelSize() * 72 / kPixelsPerInch;
    f.SetSize(std::max(1, points));
    f.set(fsBold, chosen.bold());
    f.set(fsItalic, chosen.italic());
    f.set(fsUnderline, chosen.underline());
    f.set(fsStrikeOut, chosen.strikeOut());
    return f;
}

void ApplyText(TGPLabel& label, const QString& caption) {
    label.SetCaption(caption);
    label.FitToText();
}

TextEffects ReadTextEffects(const TGBaseLabel& label) {
    TextEffects e;
    e.font = label.Font();
    e.shadowDirection = label.DirectionShadow();
    e.shadowDepth = label.DepthShadow();
    e.highlightDirection = label.DirectionHighlight();
    e.highlightDepth = label.DepthHighlight();
    e.shadowColor = label.ColorShadow();
    e.highlightColor = label.ColorHighlight();
    return e;
}

void ApplyTextEffects(TGBaseLabel& label, const TextEffects& e) {
    label.SetFont(e.font);
    label.SetDirectionShadow(e.shadowDirection);
    label.SetDepthShadow(std::clamp(e.shadowDepth, 0, 10));
    label.SetDirectionHighlight(e.highlightDirection);
    label.SetDepthHighlight(std::clamp(e.highlightDepth, 0, 10));
    label.SetColorShadow(e.shadowColor);
    label.SetColorHighlight(e.highlightColor);
}

std::vector<OfferedField> OfferedFields(const TGDataSet* data, bool memo) {
    std::vector<OfferedField> fields;
    if (!data) return fields;
    for (int i = 0; i < data->FieldCount(); ++i) {
        const bool wanted = memo ? data->IsMemo(i) : data->IsString(i) && data->Visible(i);
        if (wanted) fields.push_back({data->FieldName(i), data->DisplayLabel(i)});
    }
    return fields;
}

int PreselectedField(const std::vector<OfferedField>& fields, const QString& current) {
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].label == current) return int(i);
    return fields.empty() ? -1 : 0;
}

CounterSettings ReadCounterSettings(const TGCounterLabel& counter) {
    CounterSettings s;
    s.startingNumber = counter.Startingnumber();
    s.repeatEach = counter.RepeatEach;
    s.textBefore = counter.TextBefore;
    s.textAfter = counter.TextAfter;
    s.leadingZeros = counter.LeadingZeros;
    return s;
}

void ApplyCounterSettings(TGCounterLabel& counter, const CounterSettings& s) {
    counter.RepeatEach = std::clamp(s.repeatEach, 1, 999);
    counter.TextBefore = s.textBefore;
    counter.TextAfter = s.textAfter;
    counter.LeadingZeros = std::clamp(s.leadingZeros, 0, 9);
    counter.SetStartingnumber(s.startingNumber);  // restarts the count when it changed
    counter.ComposeText();
    if (counter.Angle() == 0) {
        // From a narrow start, so that a shorter text gives a narrower counter.
        counter.SetWidth(10);
        counter.FitToText();
    }
}

QString SymbolCharacter(int code) {
    if (code < kFirstSymbolCode || code > kLastSymbolCode) return QString();
    return FromAnsi(QByteArray(1, char(code)));
}

int SymbolCode(const QString& caption) {
    QByteArray bytes;
    if (caption.size() != 1 || !ToAnsi(caption, &bytes) || bytes.size() != 1) return -1;
    const int code = static_cast<unsigned char>(bytes[0]);
    return code >= kFirstSymbolCode ? code : -1;
}

int SymbolListColumns(int points) {
    if (points >= 6 && points <= 10) return 14;
    if (points >= 11 && points <= 20) return 10;
    if (points >= 21 && points <= 30) return 8;
    if (points >= 31 && points <= 40) return 6;
    if (points >= 41 && points <= 50) return 4;
    if (points >= 51 && points <= 60) return 3;
    if (points >= 61 && points <= 72) return 2;
    return 1;
}

QString SymbolFontCaption(const LayoutFont& font) {
    QString text = font.Name + ", " + QString::number(font.Size()) + "pt ";
    if (font.has(fsItalic)) {
        text += "Italic ";
    } else if (font.has(fsBold)) {
        text += "Bold ";
    }
    return text;
}

void ApplySymbol(TGSymbolLabel& symbol, const LayoutFont& font, int code) {
    symbol.SetFont(font);
    const QString character = SymbolCharacter(code);
    if (!character.isEmpty()) symbol.SetCaption(character);
    symbol.SizeToCharacter();
}

QString MultiLineText(const TGMultiLineLabel& label) { return label.Items().join('\n'); }

void ApplyMultiLineText(TGMultiLineLabel& label, const QString& text) {
    QString kept = text.left(kMultiLineTextLimit);
    kept.replace("\r\n", "\n");
    kept.replace('\r', '\n');
    label.SetItems(kept.isEmpty() ? QStringList() : kept.split('\n'));
}

bool IsImageFileName(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix();
    return suffix.compare("bmp", Qt::CaseInsensitive) == 0 || suffix.compare("wmf", Qt::CaseInsensitive) == 0;
}

void ApplyImage(TGImage& image, const LayoutPicture& picture, bool stretch, bool autoSize) {
    // The picture first without AutoSize, so that the size follows the boxes' final
    // state once, in the picture-changed step that setting AutoSize runs.
    image.SetAutoSize(false);
    image.SetPicture(picture);
    image.SetStretch(stretch && !autoSize);
    image.SetAutoSize(autoSize);
}

bool ApplyImageFile(TGImage& image, const QString& path, bool stretch, bool autoSize) {
    LayoutPicture picture;
    if (!LayoutPicture::LoadFromFile(path, &picture)) return false;
    ApplyImage(image, picture, stretch, autoSize);
    return true;
}

}  // namespace layout
