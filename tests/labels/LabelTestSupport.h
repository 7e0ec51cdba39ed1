#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "AddressFile.h"
#include "FieldLengths.h"
#include "Table.h"

// Layout bytes written by hand from the component stream's description, so that the
// tests never read back what our own writer made.
namespace handlayout {

inline QByteArray shortString(const QByteArray& s) { return char(s.size()) + s; }
inline QByteArray name(const char* property) { return shortString(property); }
inline QByteArray int16(int v) { return QByteArray("\x03", 1) + char(v & 0xFF) + char((v >> 8) & 0xFF); }
inline QByteArray text(const QByteArray& s) { return QByteArray("\x06", 1) + shortString(s); }
inline QByteArray ident(const QByteArray& s) { return QByteArray("\x07", 1) + shortString(s); }

// One field object (TGPDLabel) showing the field whose display label is `label`, in
// Arial 10 (Font.Height -13 at 96 pixels per inch), its corner at (left, top) pixels.
inline QByteArray fieldObject(const QByteArray& label, int left, int top) {
    return "TPF0" + shortString("TGPDLabel") + shortString("Field1") + name("Left") + int16(left) + name("Top") +
           int16(top) + name("Width") + int16(150) + name("Height") + int16(16) + name("Locked") +
           QByteArray("\x08", 1) + name("Unselectable") + QByteArray("\x08", 1) + name("Font.Color") +
           ident("clBlack") + name("Font.Height") + QByteArray("\x02\xF3", 2) + name("Font.Name") + text("Arial") +
           name("Font.Style") + QByteArray("\x0B\x00", 2) + name("Transparent") + QByteArray("\x09", 1) +
           name("BackColor") + ident("clWhite") + name("DataFieldDescript") + text(label) + QByteArray(2, '\0');
}

// A fixed text (TGPLabel) reading `caption`, in Arial 10, its corner at (left, top) pixels.
inline QByteArray textObject(const QByteArray& caption, int left, int top) {
    return "TPF0" + shortString("TGPLabel") + shortString("Special1") + name("Left") + int16(left) + name("Top") +
           int16(top) + name("Width") + int16(200) + name("Height") + int16(16) + name("Caption") + text(caption) +
           name("Font.Color") + ident("clBlack") + name("Font.Height") + QByteArray("\x02\xF3", 2) +
           name("Font.Name") + text("Arial") + name("Font.Style") + QByteArray("\x0B\x00", 2) + QByteArray(2, '\0');
}

// An address block (TGDMultiLineAddressLabel) with every part but the phone switched on
// (the initial values, so none is written), in Arial 10, `width` × `height` pixels at
// (left, top).
inline QByteArray addressObject(int left, int top, int width, int height) {
    return "TPF0" + shortString("TGDMultiLineAddressLabel") + shortString("Special1") + name("Left") + int16(left) +
           name("Top") + int16(top) + name("Width") + int16(width) + name("Height") + int16(height) +
           name("Font.Color") + ident("clBlack") + name("Font.Height") + QByteArray("\x02\xF3", 2) +
           name("Font.Name") + text("Arial") + name("Font.Style") + QByteArray("\x0B\x00", 2) + QByteArray(2, '\0');
}

// A label layout: the list of `objects`.
inline QByteArray list(const QByteArray& objects) { return QByteArray("\x01", 1) + objects + QByteArray(1, '\0'); }

inline QByteArray int32(int v) {
    QByteArray b("\x04", 1);
    for (int i = 0; i < 4; ++i) b += char((unsigned(v) >> (8 * i)) & 0xFF);
    return b;
}
inline QByteArray boolean(bool v) { return QByteArray(1, v ? '\x09' : '\x08'); }

// A report's settings list: lengths in thousandths of an inch (page width and height,
// left, top, right and bottom margins, header, detail and footer heights), the four
// bands' use, the memo font (Arial 10, left), the default font, and four frames without
// borders or shading.
struct ReportPage {
    int lengths[9] = {8500, 11000, 500, 500, 500, 500, 500, 1000, 500};
    bool use[4] = {true, true, false, false};
};
inline QByteArray reportSettings(const ReportPage& page) {
    QByteArray b("\x01", 1);
    for (int length : page.lengths) b += int32(length);
    for (bool use : page.use) b += boolean(use);
    b += text("Arial") + int16(10) + boolean(false) + boolean(false) + int16(0);
    b += text("Arial") + int16(10) + boolean(false) + boolean(false);
    for (int band = 0; band < 4; ++band) b += boolean(false).repeated(4) + int16(1) + int16(0) + int32(0xFFFFFF);
    return b + QByteArray(1, '\0');
}
// A report layout file: the header, detail and footer bands' objects, then the settings.
inline QByteArray report(const QByteArray& header, const QByteArray& detail, const QByteArray& footer,
                         const ReportPage& page) {
    return list(header) + list(detail) + list(footer) + reportSettings(page);
}

}  // namespace handlayout

// An address file with one record per entry: {last name, ZIP}. Left open exclusively
// in `table`, deleted records hidden, selection every record not deleted.
struct Person {
    std::string lname, zip;
};
inline bool makeAddressFile(const std::string& path, const std::vector<Person>& people,
                            std::unique_ptr<xbase::Table>* table) {
    QString message;
    if (!AddressFile::CreateAddressFile(QString::fromStdString(path), FieldLengths(), &message)) return false;
    if (!AddressFile::OpenTableFile(QString::fromStdString(path), table, &message)) return false;
    xbase::Table& t = **table;
    for (const Person& p : people) {
        if (!t.appendBlank().ok() || !t.replace(t.fieldIndex("LNAME"), p.lname).ok() ||
            !t.replace(t.fieldIndex("ZIP"), p.zip).ok() || !t.commit().ok())
            return false;
    }
    t.setDeleted(true);
    return t.query("!ISDEL").ok() && t.goTop().ok();
}
