#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "LayoutStatus.h"

class TGBasePanel;
class TGGraphicControl;
class TGOwner;
struct TReportSettings;

namespace layout {
class LayoutStreamReader;
class LayoutStreamWriter;
}  // namespace layout

// Writes and reads object lists: layout files, the design clipboard file and the
// in-memory copy that clones an object (the bytes are described in
// LayoutStreamFormat.h).
//
// Files are written whole to a temporary file beside the target, which replaces the
// target only when complete. Reading a file that does not exist does nothing. A read
// error (unknown class, unknown property, a value of the wrong kind, a damaged stream)
// stops the read: the object being read is dropped, the objects read before it stay on
// the panel, and the message comes back in the status.
//
// Objects read get fresh names ("Component" + the smallest free number from 0 to
// 1000 in the owner), the panel's zoom, and their after-load step.
class TGLabelObjectFiler {
  public:
    // Every object of the panel.
    LayoutStatus SaveObjects(const TGBasePanel& panel, const QString& fileName);
    LayoutStatus LoadObjects(TGOwner* owner, TGBasePanel& panel, const QString& fileName);
    // The selected objects in selection order.
    LayoutStatus SaveSelection(const std::vector<TGGraphicControl*>& selection, const QString& fileName);
    // As LoadObjects, with every object moved 15 pixels right and down.
    LayoutStatus PasteObjects(TGOwner* owner, TGBasePanel& panel, const QString& fileName);
    LayoutStatus SaveObject(const TGGraphicControl& object, const QString& fileName);
    // A copy of the object on the same panel, 25 pixels below it and in front of every
    // other object; null when the copy cannot be read back.
    TGGraphicControl* CloneObject(const TGGraphicControl& object, TGOwner* owner, TGBasePanel& parent);

    // A report file: the header, detail and footer bands, then the settings list.
    LayoutStatus SaveBands(const TGBasePanel& header, const TGBasePanel& detail, const TGBasePanel& footer,
                           const TReportSettings& settings, const QString& fileName);
    LayoutStatus LoadBands(TGOwner* owner, TGBasePanel& header, TGBasePanel& detail, TGBasePanel& footer,
                           TReportSettings& settings, const QString& fileName);

    // ---- the stream level ----
    // A whole layout file: one object list for each panel in turn (one for a label or
    // an envelope; header, detail and footer for a report), then, for a report
    // (`settings` given), the settings list. Reading stops at the first error, keeping
    // what was read before it; a list missing is a read error.
    static void WriteLayout(layout::LayoutStreamWriter& w, const std::vector<const TGBasePanel*>& panels,
                            const TReportSettings* settings, bool allProperties = false);
    static LayoutStatus ReadLayout(layout::LayoutStreamReader& r, TGOwner* owner,
                                   const std::vector<TGBasePanel*>& panels, TReportSettings* settings);
    // `allProperties` writes defaults too: a full picture of the objects for people,
    // never a layout file.
    static void WriteObjectList(layout::LayoutStreamWriter& w,
                                const std::vector<const TGGraphicControl*>& objects,
                                bool allProperties = false);
    static void WriteObject(layout::LayoutStreamWriter& w, const TGGraphicControl& object,
                            bool allProperties = false);
    // Reads one list onto the panel: objects as described above, moved by `offset`
    // pixels; `read` (may be null) receives the objects kept.
    static LayoutStatus ReadObjectList(layout::LayoutStreamReader& r, TGOwner* owner, TGBasePanel& panel,
                                       int offset, std::vector<TGGraphicControl*>* read = nullptr);

    // Writes `data` to the file through a temporary file that replaces it when complete.
    static LayoutStatus WriteFile(const QString& fileName, const QByteArray& data);
    // The file's bytes; `exists` false (and OK) when there is no such file.
    static LayoutStatus ReadFile(const QString& fileName, QByteArray* data, bool* exists);
};
