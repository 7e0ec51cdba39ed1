// A layout file (label, envelope or report) as the designers and print jobs read it:
// the first byte picks the kind, the rest is the file.

#include <QByteArray>
#include <QGuiApplication>

#include "LayoutFile.h"
#include "TGOwner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_layout";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    if (size < 1) return 0;
    const layout::LayoutKind kind = data[0] % 3 == 0   ? layout::LayoutKind::Label
                                    : data[0] % 3 == 1 ? layout::LayoutKind::Envelope
                                                       : layout::LayoutKind::Report;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), int(size - 1));
    TGOwner owner;
    layout::LayoutFile file(&owner);
    if (file.Read(bytes, kind).ok()) (void)file.Write(true);
    return 0;
}
