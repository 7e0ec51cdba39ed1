// The catalogue's folders and its cache in the home.
//
// LBLCAT.TSV in sysdata, UTF-8 text, one record a line, fields separated by tabs (tabs
// and line breaks in a value are written as blanks):
//   quillory-label-catalogue<TAB>1
//   folders<TAB>FOLDER<TAB>FOLDER...                  the folders read, in order
//   stamp<TAB>NEWEST<TAB>FILES                        newest modification time (ms since
//                                                     1970) of the folders and their
//                                                     *.xml files, and how many files
//   MAKER PART DESCRIPTION EQUIVALENTOF PRODTYPE PAPERSIZE SHAPE SHEETWIDTH SHEETDEPTH
//   WIDTH HEIGHT ACROSS DOWN LEFT TOP HPITCH VPITCH   one line per product
// The cache is used only when its version, folders and stamp are those of now.

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>
#include <QtGlobal>

#include "AppHome.h"
#include "LabelCatalogue.h"

namespace LabelCatalogue {

namespace {

const QString kMagic = QStringLiteral("quillory-label-catalogue\t1");
constexpr int kProductFields = 17;

QString stampOf(const QStringList& folders) {
    qint64 newest = 0;
    int files = 0;
    for (const QString& folder : folders) {
        newest = std::max(newest, QFileInfo(folder).lastModified().toMSecsSinceEpoch());
        for (const QFileInfo& f : QDir(folder).entryInfoList({"*.xml"}, QDir::Files)) {
            newest = std::max(newest, f.lastModified().toMSecsSinceEpoch());
            ++files;
        }
    }
    return QString("stamp\t%1\t%2").arg(newest).arg(files);
}

QString clean(QString value) {
    value.replace('\t', ' ').replace('\n', ' ').replace('\r', ' ');
    return value;
}

QString number(double v) { return QString::number(v, 'g', 10); }

bool readCache(const QString& path, const QString& folderLine, const QString& stamp,
               std::vector<CatalogueStock>* out) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    if (in.readLine() != kMagic || in.readLine() != folderLine || in.readLine() != stamp) return false;
    std::vector<CatalogueStock> list;
    while (!in.atEnd()) {
        const QStringList f = in.readLine().split('\t');
        if (f.size() != kProductFields) return false;
        CatalogueStock p;
        p.maker = f[0];
        p.part = f[1];
        p.description = f[2];
        p.equivalentOf = f[3];
        LabelStock s;
        s.paperSize = f[5];
        s.shape = f[6];
        double* lengths[] = {&s.sheetWidth, &s.sheetDepth, &s.width, &s.height};
        for (int i = 0; i < 4; ++i) *lengths[i] = f[7 + i].toDouble();
        s.across = f[11].toInt();
        s.down = f[12].toInt();
        double* placing[] = {&s.leftMargin, &s.topMargin, &s.horizPitch, &s.vertPitch};
        for (int i = 0; i < 4; ++i) *placing[i] = f[13 + i].toDouble();
        MakeRow(&p, s, f[4]);
        list.push_back(std::move(p));
    }
    *out = std::move(list);
    return true;
}

void writeCache(const QString& path, const QString& folderLine, const QString& stamp,
                const std::vector<CatalogueStock>& list) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return;
    QTextStream out(&file);
    out.setEncoding(QStringConverter::Utf8);
    out << kMagic << '\n' << folderLine << '\n' << stamp << '\n';
    for (const CatalogueStock& p : list) {
        const LabelStock& s = p.row.stock;
        const QStringList fields{clean(p.maker),      clean(p.part),          clean(p.description),
                                 clean(p.equivalentOf), s.prodType,          s.paperSize,
                                 s.shape,             number(s.sheetWidth),   number(s.sheetDepth),
                                 number(s.width),     number(s.height),       QString::number(s.across),
                                 QString::number(s.down), number(s.leftMargin), number(s.topMargin),
                                 number(s.horizPitch), number(s.vertPitch)};
        out << fields.join('\t') << '\n';
    }
    out.flush();
    (void)file.commit();  // a home that cannot keep it reads the files again next time
}

}  // namespace

QStringList Folders() {
    QStringList candidates;
    const QByteArray given = qgetenv("QUILLORY_LABEL_TEMPLATES");
    if (!given.isNull()) {
        candidates = QString::fromLocal8Bit(given).split(':', Qt::SkipEmptyParts);
    } else {
        candidates << QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                          "/libglabels/templates";
        for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
            candidates << data + "/libglabels-3.0/templates";
    }
    QStringList folders;
    for (const QString& folder : candidates) {
        const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
        if (QFileInfo(path).isDir() && !folders.contains(path)) folders << path;
    }
    return folders;
}

std::vector<CatalogueStock> Load(const AppHome& home) {
    const QStringList folders = Folders();
    if (folders.isEmpty()) return {};
    const QString folderLine = "folders\t" + folders.join('\t');
    const QString stamp = stampOf(folders);
    const QString path = home.sysDataDir() + "/" + kCacheFile;
    std::vector<CatalogueStock> list;
    if (readCache(path, folderLine, stamp, &list)) return list;
    CatalogueCounts counts;
    list = Read(folders, &counts);
    qInfo("%s", qPrintable(counts.message()));
    if (QFileInfo(home.sysDataDir()).isDir()) writeCache(path, folderLine, stamp, list);
    return list;
}

}  // namespace LabelCatalogue
