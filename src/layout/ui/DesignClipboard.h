#pragma once

#include <QByteArray>
#include <QString>

// The designers' clipboard. Copied objects are one object list of the layout stream
// (the bytes of a layout file holding only them); they go to the file "Clipbrd.tmp" in
// the application home, which every panel of the run shares, and to the system
// clipboard under a private type, so that objects copied in one designer paste into
// another, also in a second instance of the program.
//
// Paste takes the system clipboard's objects when it holds some (the newest copy of any
// instance) and the file otherwise.
class DesignClipboard {
  public:
    // The private type on the system clipboard.
    static const char* MimeType();

    // The clipboard file for every panel of the run; set once by the program from its
    // home. Until then there is none (never a fixed name in a folder other users share):
    // copies go to the system clipboard only.
    static void SetFileName(const QString& fileName);
    static QString FileName();

    // Writes the list to the file and the system clipboard; false with `error` set when
    // the file cannot be written (the system clipboard holds the list all the same).
    static bool Put(const QByteArray& objectList, QString* error);
    // The list to paste; empty when there is none.
    static QByteArray Get();
    static bool HasObjects();
    // Removes the file (a panel going away); failures are ignored.
    static void RemoveFile();
};
