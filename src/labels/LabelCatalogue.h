#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "LabelDefinition.h"

class AppHome;

// The desktop's shared label catalogue: the products of many makers, described in XML
// template files that the system's label data package installs (one folder per XDG data
// directory, "libglabels-3.0/templates", and the user's own
// ~/.config/libglabels/templates). The program shows them beside its own stock table
// LBLTPL.DBF; it never writes them.
//
// What is read of a file (root element Glabels-templates, namespace ignored):
//   <Template brand="Avery" part="5160" size="US-Letter" _description="Address Labels">
//     <Meta category="mail"/>                      product kinds (several)
//     <Label-rectangle width=".." height=".." round="..">   or Label-round radius=".."
//       <Layout nx="3" ny="10" x0=".." y0=".." dx=".." dy=".."/>   or Label-ellipse
//     </Label-rectangle>
//   </Template>
//   <Template brand="Avery" part="5260" equiv="5160"/>   the same stock under its own number
// `size` names a paper: "US-Letter", "A4" and "A5" are the program's own paper codes,
// other names are looked up in the folder's paper-sizes.xml (<Paper-size id width
// height>), and "Other" gives the page in the template's own width and height. Lengths
// carry their unit, "pt", "in", "mm" or "cm"; a bare number is points. Description is
// `_description` or `description`.
//
// Left out (and counted): templates with more than one layout or label, continuous
// rolls (size "roll", a roll width, or a Label-continuous), shapes the stock editor does
// not know (CD labels and the like), and stock the program cannot print (unknown paper,
// more than 10 across or 30 down, or sizes the stock editor refuses).

// One product of the catalogue.
struct CatalogueStock {
    QString maker;         // as the file spells it: "Avery"
    QString part;          // the product number: "5160"
    QString description;   // the file's description: "Address Labels"
    QString equivalentOf;  // the product whose geometry it shares; empty for its own
    // As a row of the stock table: `description` is "<Maker> <part>  <description>" (the
    // style of the shipped rows, cut to the 60 characters of TPLDESCRIP) and `stock` the
    // geometry in inches rounded to 3 decimals, paper code LTR, A4, A5, USERP or USERL,
    // shape RR, SR or EL, maker in capitals, product type from the file's kinds (empty
    // when none maps), no printer class, no middle gaps, no art.
    LabelDefinition row;

    // What a search's words are looked for in: maker, product number, the product it
    // is equivalent to, and the description.
    QString searchText() const;
};

// How many templates a reading took and left out, and why.
struct CatalogueCounts {
    int products = 0;
    int multipleLayouts = 0;
    int rolls = 0;
    int unknownShapes = 0;
    int unprintable = 0;  // paper, size or counts the program cannot print
    int unreadable = 0;   // numbers missing or not lengths, equivalents of nothing
    int files = 0;

    // One line for the log.
    QString message() const;
};

namespace LabelCatalogue {

// The product type a template's kinds map to ("mail" → address/shipping labels, cards,
// filing labels); empty when none does, so that the row shows only under "All".
QString ProductTypeOf(const QStringList& categories);

// The catalogue row of a product (fills `row` from the other members and `geometry`).
void MakeRow(CatalogueStock* product, const LabelStock& geometry, const QString& productType);

// Reads the template files of `folders` (every *.xml but the paper, vendor and
// category lists), in that order: a product (maker and number, any case) found twice
// is taken from the first folder. Products come in file order (files by name).
std::vector<CatalogueStock> Read(const QStringList& folders, CatalogueCounts* counts = nullptr);

// The folders to read: $QUILLORY_LABEL_TEMPLATES (folders separated by ':') when it is
// set, else the user's own ~/.config/libglabels/templates followed by
// libglabels-3.0/templates in each XDG data directory; only those that exist.
QStringList Folders();

// The catalogue of Folders(). The parsed catalogue is kept in `home`'s sysdata
// (LBLCAT.TSV) and read from there while no template file is newer and the folder list
// is the same; otherwise the files are read again (the counts go to the log) and the
// cache rewritten. Without any folder the catalogue is empty.
std::vector<CatalogueStock> Load(const AppHome& home);

// The cache's name in sysdata.
inline const QString kCacheFile = QStringLiteral("LBLCAT.TSV");

}  // namespace LabelCatalogue
