#include "Icons.h"

#include <QApplication>
#include <QStyle>

namespace Icons {

namespace {

struct Picture {
    const char* themeName;  // the freedesktop name, or nullptr: the program's own meaning
    const char* file;       // in icons/, or nullptr: the style's own picture
    QStyle::StandardPixmap standard;
};

Picture pictureOf(Icon icon) {
    switch (icon) {
        case Icon::Labels: return {nullptr, "labels", {}};
        case Icon::Letters: return {nullptr, "letters", {}};
        case Icon::Envelopes: return {nullptr, "envelopes", {}};
        case Icon::Reports: return {nullptr, "reports", {}};
        case Icon::Browse: return {nullptr, "browse", {}};
        case Icon::Search: return {"edit-find", "search", {}};
        case Icon::Filter: return {nullptr, "filter", {}};
        case Icon::FirstRecord: return {"go-first", nullptr, QStyle::SP_MediaSkipBackward};
        case Icon::PreviousRecord: return {"go-previous", nullptr, QStyle::SP_MediaSeekBackward};
        case Icon::NextRecord: return {"go-next", nullptr, QStyle::SP_MediaSeekForward};
        case Icon::LastRecord: return {"go-last", nullptr, QStyle::SP_MediaSkipForward};
        case Icon::ShowGrid: return {nullptr, "show-grid", {}};
        case Icon::SnapToGrid: return {nullptr, "snap-to-grid", {}};
        case Icon::FieldNames: return {nullptr, "field-names", {}};
        case Icon::ShowArt: return {nullptr, "show-art", {}};
        case Icon::PrintableArea: return {nullptr, "printable-area", {}};
        case Icon::MailTemplate: return {nullptr, "mail-template", {}};
    }
    return {nullptr, nullptr, QStyle::SP_CustomBase};
}

}  // namespace

QIcon get(Icon icon) {
    const Picture p = pictureOf(icon);
    const QIcon own = p.file ? QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(p.file)))
                             : QApplication::style()->standardIcon(p.standard);
    return p.themeName ? QIcon::fromTheme(QLatin1String(p.themeName), own) : own;
}

}  // namespace Icons
