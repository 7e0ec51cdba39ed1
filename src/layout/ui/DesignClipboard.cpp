#include "DesignClipboard.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>

#include "LayoutStatus.h"
#include "TGLabelObjectFiler.h"

namespace {

QString& fileName() {
    static QString name;
    return name;
}

QClipboard* systemClipboard() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr; }

}  // namespace

const char* DesignClipboard::MimeType() { return "application/x-quillory-layout-objects"; }

void DesignClipboard::SetFileName(const QString& name) { fileName() = name; }

QString DesignClipboard::FileName() { return fileName(); }

bool DesignClipboard::Put(const QByteArray& objectList, QString* error) {
    if (QClipboard* clipboard = systemClipboard()) {
        auto* mime = new QMimeData;
        mime->setData(MimeType(), objectList);
        clipboard->setMimeData(mime);
    }
    if (fileName().isEmpty()) return true;
    const LayoutStatus s = TGLabelObjectFiler::WriteFile(fileName(), objectList);
    if (!s.ok() && error) *error = s.message();
    return s.ok();
}

QByteArray DesignClipboard::Get() {
    if (QClipboard* clipboard = systemClipboard()) {
        const QMimeData* mime = clipboard->mimeData();
        if (mime && mime->hasFormat(MimeType())) return mime->data(MimeType());
    }
    QByteArray data;
    bool exists = false;
    if (fileName().isEmpty()) return QByteArray();
    if (!TGLabelObjectFiler::ReadFile(fileName(), &data, &exists).ok() || !exists) return QByteArray();
    return data;
}

bool DesignClipboard::HasObjects() {
    if (QClipboard* clipboard = systemClipboard()) {
        const QMimeData* mime = clipboard->mimeData();
        if (mime && mime->hasFormat(MimeType())) return true;
    }
    return !fileName().isEmpty() && QFile::exists(fileName());
}

void DesignClipboard::RemoveFile() {
    if (!fileName().isEmpty()) QFile::remove(fileName());
}
