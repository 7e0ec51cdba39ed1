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

// A label layout: the list of `objects`.
inline QByteArray list(const QByteArray& objects) { return QByteArray("\x01", 1) + objects + QByteArray(1, '\0'); }

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
