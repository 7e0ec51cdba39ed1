// A letter's RTF as another word processor may have written it, or damaged: read it
// into a document and write it out again.

#include <QByteArray>
#include <QGuiApplication>
#include <QTextDocument>

#include "RtfReader.h"
#include "RtfWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_rtf";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    QTextDocument document;
    RtfReader::Read(QByteArray(reinterpret_cast<const char*>(data), int(size)), &document);
    (void)RtfWriter::Write(document);
    return 0;
}
