// Renders the application icon's SVG to the PNG sizes of the hicolor theme, at build
// time, so that the pictures never drift from their drawing.
//
//   render-icon ICON.svg OUTDIR SIZE...   writes OUTDIR/SIZExSIZE/apps/quillory.png

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: render-icon ICON.svg OUTDIR SIZE...\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "render-icon: cannot read %s\n", argv[1]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        const QString folder = QString("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(size);
        if (!QDir().mkpath(folder) || !image.save(folder + "/quillory.png")) {
            std::fprintf(stderr, "render-icon: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
