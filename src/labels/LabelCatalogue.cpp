#include "LabelCatalogue.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <map>
#include <optional>

QString CatalogueStock::searchText() const {
    return maker + ' ' + part + ' ' + equivalentOf + ' ' + description;
}

QString CatalogueCounts::message() const {
    QString text = QString("Label catalogue: %1 products from %2 template files; left out: %3 with more than one "
                           "layout, %4 continuous rolls, %5 of shapes the stock editor does not know, %6 the "
                           "program cannot print")
                       .arg(products)
                       .arg(files)
                       .arg(multipleLayouts)
                       .arg(rolls)
                       .arg(unknownShapes)
                       .arg(unprintable);
    if (unreadable > 0) text += QString(", %1 unreadable").arg(unreadable);
    return text;
}

namespace LabelCatalogue {

namespace {

using Attributes = QHash<QString, QString>;

// One Label-* element of a template, with the Layout elements inside it.
struct RawLabel {
    QString kind;  // "Label-rectangle", "Label-round", ...
    Attributes attributes;
    std::vector<Attributes> layouts;
};

// One Template element as the file gives it.
struct RawTemplate {
    Attributes attributes;
    QStringList categories;
    std::vector<RawLabel> labels;

    QString get(const char* name) const { return attributes.value(QString::fromLatin1(name)); }
    QString description() const {
        const QString d = get("_description");
        return (d.isEmpty() ? get("description") : d).simplified();
    }
};

// A page size in inches.
struct Page {
    double width = 0, height = 0;
};

// A length as the files write it, in inches; nothing when it is not one.
std::optional<double> lengthOf(const QString& text) {
    static const QRegularExpression length(R"(^\s*([-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?)\s*(pt|in|mm|cm)?\s*$)");
    const QRegularExpressionMatch m = length.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const double value = m.captured(1).toDouble();
    const QString unit = m.captured(2);
    if (unit == "in") return value;
    if (unit == "mm") return value / 25.4;
    if (unit == "cm") return value / 2.54;
    return value / 72;  // points, also for a bare number
}

Attributes attributesOf(const QXmlStreamReader& xml) {
    Attributes a;
    for (const QXmlStreamAttribute& attribute : xml.attributes())
        a.insert(attribute.qualifiedName().toString(), attribute.value().toString());
    return a;
}

RawLabel readLabel(QXmlStreamReader& xml) {
    RawLabel label{xml.name().toString(), attributesOf(xml), {}};
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("Layout")) label.layouts.push_back(attributesOf(xml));
        xml.skipCurrentElement();
    }
    return label;
}

RawTemplate readTemplate(QXmlStreamReader& xml) {
    RawTemplate t{attributesOf(xml), {}, {}};
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("Meta")) {
            const QString category = xml.attributes().value("category").toString();
            if (!category.isEmpty()) t.categories << category;
            xml.skipCurrentElement();
        } else if (xml.name().startsWith(QLatin1String("Label-"))) {
            t.labels.push_back(readLabel(xml));
        } else {
            xml.skipCurrentElement();
        }
    }
    return t;
}

// The Template elements of a file; false when it is no template file or not well formed
// (what was read before the fault is kept).
bool readTemplateFile(const QString& path, std::vector<RawTemplate>* out) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    QXmlStreamReader xml(&file);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("Glabels-templates")) return false;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("Template"))
            out->push_back(readTemplate(xml));
        else
            xml.skipCurrentElement();
    }
    return !xml.hasError();
}

// The paper sizes of a folder's paper-sizes.xml, by id, added to `sizes` (the first
// folder's size of an id stays).
void readPaperSizes(const QString& path, std::map<QString, Page>* sizes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return;
    QXmlStreamReader xml(&file);
    if (!xml.readNextStartElement()) return;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("Paper-size")) {
            const Attributes a = attributesOf(xml);
            const auto w = lengthOf(a.value("width")), h = lengthOf(a.value("height"));
            if (w && h && *w > 0 && *h > 0) sizes->emplace(a.value("id"), Page{*w, *h});
        }
        xml.skipCurrentElement();
    }
}

enum class Outcome { Taken, MultipleLayouts, Roll, UnknownShape, Unprintable, Unreadable };

// The stock of a template with its own geometry, or why it is left out.
Outcome geometryOf(const RawTemplate& t, const std::map<QString, Page>& papers, LabelStock* stock) {
    const QString size = t.get("size");
    const bool continuous = std::any_of(t.labels.begin(), t.labels.end(),
                                        [](const RawLabel& l) { return l.kind == "Label-continuous"; });
    if (size.compare("roll", Qt::CaseInsensitive) == 0 || t.attributes.contains("roll_width") || continuous)
        return Outcome::Roll;
    if (t.labels.empty()) return Outcome::Unreadable;
    if (t.labels.size() > 1 || t.labels.front().layouts.size() > 1) return Outcome::MultipleLayouts;
    const RawLabel& label = t.labels.front();
    if (label.layouts.empty()) return Outcome::Unreadable;

    const auto length = [](const Attributes& a, const char* name) { return lengthOf(a.value(name)); };
    std::optional<double> width, height;
    if (label.kind == "Label-rectangle" || label.kind == "Label-ellipse") {
        width = length(label.attributes, "width");
        height = length(label.attributes, "height");
        const double round = length(label.attributes, "round").value_or(0);
        stock->shape = label.kind == "Label-ellipse" ? "EL" : (round > 0 ? "RR" : "SR");
    } else if (label.kind == "Label-round") {
        if (const auto radius = length(label.attributes, "radius")) width = height = 2 * *radius;
        stock->shape = "EL";
    } else {
        return Outcome::UnknownShape;
    }

    const Attributes& layout = label.layouts.front();
    bool countsOk = false, downOk = false;
    const int across = layout.value("nx").toInt(&countsOk), down = layout.value("ny").toInt(&downOk);
    const auto left = length(layout, "x0"), top = length(layout, "y0");
    if (!width || !height || !countsOk || !downOk || !left || !top) return Outcome::Unreadable;

    Page page;
    if (size == "US-Letter") {
        stock->paperSize = "LTR";
    } else if (size == "A4") {
        stock->paperSize = "A4";
    } else if (size == "A5") {
        stock->paperSize = "A5";
    } else if (size == "Other") {
        const auto w = length(t.attributes, "width"), h = length(t.attributes, "height");
        if (!w || !h) return Outcome::Unprintable;
        page = {*w, *h};
    } else if (const auto known = papers.find(size); known != papers.end()) {
        page = known->second;
    } else {
        return Outcome::Unprintable;
    }
    if (page.width > 0) {
        // A size of the program's table by its code; any other as the user's own paper.
        stock->paperSize = page.width > page.height ? "USERL" : "USERP";
        stock->sheetWidth = LabelDefs::StoredLength(page.width);
        stock->sheetDepth = LabelDefs::StoredLength(page.height);
    } else {
        for (const LabelDefs::PaperSize& p : LabelDefs::PaperSizes()) {
            if (stock->paperSize == p.code) {
                stock->sheetWidth = p.widthInches;
                stock->sheetDepth = p.heightInches;
            }
        }
    }

    stock->width = LabelDefs::StoredLength(*width);
    stock->height = LabelDefs::StoredLength(*height);
    stock->across = across;
    stock->down = down;
    stock->leftMargin = LabelDefs::StoredLength(*left);
    stock->topMargin = LabelDefs::StoredLength(*top);
    // One across (or down) needs no pitch; a file may leave it out.
    stock->horizPitch = LabelDefs::StoredLength(length(layout, "dx").value_or(across == 1 ? *width : -1));
    stock->vertPitch = LabelDefs::StoredLength(length(layout, "dy").value_or(down == 1 ? *height : -1));
    if (stock->horizPitch < 0 || stock->vertPitch < 0) return Outcome::Unreadable;
    if (across < 1 || across > 10 || down < 1 || down > 30 || !LabelDefs::CheckStock(*stock).isEmpty())
        return Outcome::Unprintable;
    return Outcome::Taken;
}

QString keyOf(const QString& maker, const QString& part) { return maker.toLower() + '\n' + part.toLower(); }

}  // namespace

QString ProductTypeOf(const QStringList& categories) {
    static const std::pair<const char*, const char*> kTypes[] = {
        {"mail", "ADDRESS/SHIPPING LABELS"},
        {"business-card", "CARD PRODUCTS"},
        {"card", "CARD PRODUCTS"},
        {"foldable", "CARD PRODUCTS"},
        {"filing", "FILE FOLDER LABELS"},
    };
    for (const auto& [category, type] : kTypes)
        if (categories.contains(QLatin1String(category), Qt::CaseInsensitive)) return QString::fromLatin1(type);
    return QString();
}

void MakeRow(CatalogueStock* product, const LabelStock& geometry, const QString& productType) {
    LabelStock& s = product->row.stock;
    s = geometry;
    s.printer.clear();
    s.manufac = product->maker.toUpper().left(10);
    s.prodType = productType;
    s.midExtraX = s.midExtraY = 0;
    s.art.clear();
    QString name = product->maker + ' ' + product->part;
    if (!product->description.isEmpty()) name += "  " + product->description;
    s.tplDescrip = name.left(60).trimmed();
    product->row.description = s.tplDescrip;
    product->row.binary.clear();
}

std::vector<CatalogueStock> Read(const QStringList& folders, CatalogueCounts* counts) {
    CatalogueCounts local;
    CatalogueCounts& c = counts ? *counts : local;
    c = CatalogueCounts();

    // The program's own paper codes first, then what each folder's list adds.
    std::map<QString, Page> papers;
    for (const QString& folder : folders) readPaperSizes(folder + "/paper-sizes.xml", &papers);

    std::vector<RawTemplate> all;
    for (const QString& folder : folders) {
        const QStringList files = QDir(folder).entryList({"*.xml"}, QDir::Files | QDir::Readable, QDir::Name);
        for (const QString& name : files) {
            if (name == "paper-sizes.xml" || name == "vendors.xml" || name == "categories.xml") continue;
            const size_t before = all.size();
            if (readTemplateFile(folder + '/' + name, &all) || all.size() > before) ++c.files;
        }
    }

    // A product seen before (an earlier folder or file) keeps its first description.
    QHash<QString, const RawTemplate*> byKey;
    std::vector<const RawTemplate*> products;
    for (const RawTemplate& t : all) {
        const QString key = keyOf(t.get("brand"), t.get("part"));
        if (t.get("brand").isEmpty() || t.get("part").isEmpty() || byKey.contains(key)) continue;
        byKey.insert(key, &t);
        products.push_back(&t);
    }

    std::vector<CatalogueStock> list;
    for (const RawTemplate* t : products) {
        // An equivalent takes its stock (and, without its own, the description and
        // kinds) from the product it names, of the same maker; chains are followed.
        const RawTemplate* source = t;
        for (int hops = 0; source && !source->get("equiv").isEmpty() && hops < 8; ++hops)
            source = byKey.value(keyOf(t->get("brand"), source->get("equiv")), nullptr);
        if (!source || !source->get("equiv").isEmpty()) {
            ++c.unreadable;
            continue;
        }
        LabelStock geometry;
        switch (geometryOf(*source, papers, &geometry)) {
            case Outcome::Taken: break;
            case Outcome::MultipleLayouts: ++c.multipleLayouts; continue;
            case Outcome::Roll: ++c.rolls; continue;
            case Outcome::UnknownShape: ++c.unknownShapes; continue;
            case Outcome::Unprintable: ++c.unprintable; continue;
            case Outcome::Unreadable: ++c.unreadable; continue;
        }
        CatalogueStock product;
        product.maker = t->get("brand").simplified();
        product.part = t->get("part").simplified();
        product.description = t->description().isEmpty() ? source->description() : t->description();
        if (source != t) product.equivalentOf = source->get("part").simplified();
        MakeRow(&product, geometry, ProductTypeOf(t->categories.isEmpty() ? source->categories : t->categories));
        list.push_back(std::move(product));
    }
    c.products = int(list.size());
    return list;
}

}  // namespace LabelCatalogue
