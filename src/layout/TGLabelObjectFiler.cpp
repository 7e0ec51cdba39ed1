#include "TGLabelObjectFiler.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "AnsiText.h"
#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "PropertyStreaming.h"
#include "TGBasePanel.h"
#include "TGClassRegistry.h"
#include "TGGraphicControl.h"
#include "TGOwner.h"
#include "TReportSettings.h"
#include "FileSystem.h"

using layout::LayoutStreamReader;
using layout::LayoutStreamWriter;
using layout::PropertyReader;
using layout::PropertyWriter;
using layout::ReadResult;
using layout::StreamValue;

namespace {

constexpr int kPasteOffset = 15;
constexpr int kCloneOffset = 25;
constexpr int kLastComponentNumber = 1000;

std::vector<const TGGraphicControl*> panelObjects(const TGBasePanel& panel) {
    std::vector<const TGGraphicControl*> objects;
    for (int i = 0; i < panel.ObjectCount(); ++i) objects.push_back(panel.Object(i));
    return objects;
}

QByteArray listData(const std::vector<const TGGraphicControl*>& objects) {
    LayoutStreamWriter w;
    TGLabelObjectFiler::WriteObjectList(w, objects);
    return w.data();
}

// Layout objects publish no events; an event property of a foreign stream names a
// method by identifier (or nil) and is passed over.
bool isEventProperty(const QByteArray& name, const StreamValue& value) {
    return name.size() > 2 && name.startsWith("On") && QChar(name[2]).isUpper() &&
           (value.tag == layout::stream::Tag::Ident || value.tag == layout::stream::Tag::Nil);
}

// Reads the file's layout onto the panels; nothing when there is no such file.
LayoutStatus readLayout(const QString& fileName, TGOwner* owner, const std::vector<TGBasePanel*>& panels,
                        TReportSettings* settings) {
    QByteArray data;
    bool exists = false;
    const LayoutStatus s = TGLabelObjectFiler::ReadFile(fileName, &data, &exists);
    if (!s.ok() || !exists) return s;
    LayoutStreamReader r(data);
    return TGLabelObjectFiler::ReadLayout(r, owner, panels, settings);
}

}  // namespace

void TGLabelObjectFiler::WriteObject(LayoutStreamWriter& w, const TGGraphicControl& object,
                                     bool allProperties) {
    w.writeSignature();
    w.writeShortString(object.ClassName());
    QByteArray name;
    if (!layout::ToAnsi(object.Name(), &name)) name = object.Name().toLatin1();
    w.writeShortString(name.left(255));
    PropertyWriter pw(w);
    pw.setWriteDefaults(allProperties);
    object.WriteProperties(pw);
    w.writeListEnd();  // properties
    w.writeListEnd();  // children: none
}

void TGLabelObjectFiler::WriteObjectList(LayoutStreamWriter& w,
                                         const std::vector<const TGGraphicControl*>& objects,
                                         bool allProperties) {
    w.writeListBegin();
    for (const TGGraphicControl* o : objects) WriteObject(w, *o, allProperties);
    w.writeListEnd();
}

LayoutStatus TGLabelObjectFiler::ReadObjectList(LayoutStreamReader& r, TGOwner* owner, TGBasePanel& panel,
                                                int offset, std::vector<TGGraphicControl*>* read) {
    std::vector<TGGraphicControl*> kept;
    if (r.readByte() != uint8_t(layout::stream::Tag::List) && r.ok()) r.fail("Invalid stream format");
    while (r.ok() && !r.endOfList()) {
        r.readSignature();
        uint8_t flags;
        int64_t childPos;
        r.readPrefix(&flags, &childPos);
        const QByteArray className = r.readShortString();
        const QByteArray storedName = r.readShortString();
        if (!r.ok()) break;
        std::unique_ptr<TGGraphicControl> object = TGClassRegistry::Create(className);
        if (!object) {
            r.fail(QString("Class %1 not found").arg(QString::fromLatin1(className)));
            break;
        }
        object->SetOwner(owner);
        QString name = owner ? owner->UniqueName("Component", 0, kLastComponentNumber) : QString();
        if (name.isEmpty()) name = layout::FromAnsi(storedName);
        object->SetName(name);
        object->SetLoading(true);
        object->BeginReading();
        while (r.ok() && !r.endOfList()) {
            const QByteArray property = r.readShortString();
            const StreamValue value = r.readValue();
            if (!r.ok()) break;
            const ReadResult result = object->ReadProperty(PropertyReader(property, value));
            if (result == ReadResult::Ok) continue;
            const QString where = QString("Error reading %1.%2: ").arg(name, QString::fromLatin1(property));
            if (result == ReadResult::Unknown) {
                if (isEventProperty(property, value)) continue;
                r.fail(where + QString("Property %1 does not exist").arg(QString::fromLatin1(property)));
            } else {
                r.fail(where + "Invalid property value");
            }
        }
        // Layout objects hold no children.
        if (r.ok() && !r.endOfList()) r.fail("Invalid stream format");
        if (!r.ok()) break;
        object->SetLoading(false);
        TGGraphicControl* o = panel.InsertObject(std::move(object));
        panel.BindObject(o);
        if (offset != 0) o->SetBounds(o->Left() + offset, o->Top() + offset, o->Width(), o->Height());
        kept.push_back(o);
    }
    for (TGGraphicControl* o : kept) o->AfterLoad();
    if (read) read->insert(read->end(), kept.begin(), kept.end());
    return r.ok() ? LayoutStatus::OK() : LayoutStatus::Error(r.error());
}

void TGLabelObjectFiler::WriteLayout(LayoutStreamWriter& w, const std::vector<const TGBasePanel*>& panels,
                                     const TReportSettings* settings, bool allProperties) {
    for (const TGBasePanel* panel : panels) WriteObjectList(w, panelObjects(*panel), allProperties);
    if (settings) settings->Write(w);
}

LayoutStatus TGLabelObjectFiler::ReadLayout(LayoutStreamReader& r, TGOwner* owner,
                                            const std::vector<TGBasePanel*>& panels,
                                            TReportSettings* settings) {
    for (TGBasePanel* panel : panels) {
        const LayoutStatus s = ReadObjectList(r, owner, *panel, 0);
        if (!s.ok()) return s;
    }
    return settings ? settings->Read(r) : LayoutStatus::OK();
}

LayoutStatus TGLabelObjectFiler::SaveObjects(const TGBasePanel& panel, const QString& fileName) {
    return WriteFile(fileName, listData(panelObjects(panel)));
}

LayoutStatus TGLabelObjectFiler::LoadObjects(TGOwner* owner, TGBasePanel& panel, const QString& fileName) {
    return readLayout(fileName, owner, {&panel}, nullptr);
}

LayoutStatus TGLabelObjectFiler::SaveSelection(const std::vector<TGGraphicControl*>& selection,
                                               const QString& fileName) {
    return WriteFile(fileName,
                     listData(std::vector<const TGGraphicControl*>(selection.begin(), selection.end())));
}

LayoutStatus TGLabelObjectFiler::PasteObjects(TGOwner* owner, TGBasePanel& panel, const QString& fileName) {
    QByteArray data;
    bool exists = false;
    const LayoutStatus s = ReadFile(fileName, &data, &exists);
    if (!s.ok() || !exists) return s;
    LayoutStreamReader r(data);
    return ReadObjectList(r, owner, panel, kPasteOffset);
}

LayoutStatus TGLabelObjectFiler::SaveObject(const TGGraphicControl& object, const QString& fileName) {
    return WriteFile(fileName, listData({&object}));
}

TGGraphicControl* TGLabelObjectFiler::CloneObject(const TGGraphicControl& object, TGOwner* owner,
                                                  TGBasePanel& parent) {
    const QByteArray data = listData({&object});
    LayoutStreamReader r(data);
    std::vector<TGGraphicControl*> read;
    if (!ReadObjectList(r, owner, parent, 0, &read).ok() || read.empty()) return nullptr;
    TGGraphicControl* copy = read.back();
    copy->SetTop(object.Top() + kCloneOffset);
    parent.BringToFront(copy);
    return copy;
}

LayoutStatus TGLabelObjectFiler::SaveBands(const TGBasePanel& header, const TGBasePanel& detail,
                                           const TGBasePanel& footer, const TReportSettings& settings,
                                           const QString& fileName) {
    LayoutStreamWriter w;
    WriteLayout(w, {&header, &detail, &footer}, &settings);
    return WriteFile(fileName, w.data());
}

LayoutStatus TGLabelObjectFiler::LoadBands(TGOwner* owner, TGBasePanel& header, TGBasePanel& detail,
                                           TGBasePanel& footer, TReportSettings& settings,
                                           const QString& fileName) {
    return readLayout(fileName, owner, {&header, &detail, &footer}, &settings);
}

LayoutStatus TGLabelObjectFiler::WriteFile(const QString& fileName, const QByteArray& data) {
    const xbase::NewFileMode mode(QFile::encodeName(fileName).toStdString());
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return LayoutStatus::Error("Cannot create file " + fileName + ". " + file.errorString());
    if (file.write(data) != data.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return LayoutStatus::Error("Error writing " + fileName + ". " + error);
    }
    if (!file.commit()) return LayoutStatus::Error("Error writing " + fileName + ". " + file.errorString());
    mode.written();
    return LayoutStatus::OK();
}

LayoutStatus TGLabelObjectFiler::ReadFile(const QString& fileName, QByteArray* data, bool* exists) {
    *exists = QFileInfo(fileName).isFile();
    if (!*exists) return LayoutStatus::OK();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return LayoutStatus::Error("Cannot open file " + fileName + ". " + file.errorString());
    *data = file.readAll();
    return LayoutStatus::OK();
}
