#include "TGClassRegistry.h"

#include <functional>

#include "TGCounterLabel.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGDMultiLineLabel.h"
#include "TGDateTimeLabel.h"
#include "TGFIMBarCode.h"
#include "TGIMBarCode.h"
#include "TGImage.h"
#include "TGLabelShapes.h"
#include "TGLineShape.h"
#include "TGMultiLineLabel.h"
#include "TGPDLabel.h"
#include "TGPLabel.h"
#include "TGPageNumberLabel.h"
#include "TGPostNetBarCode.h"
#include "TGSymbolLabel.h"
#include "Trpshapes.h"

namespace {

struct Entry {
    const char* name;
    std::function<std::unique_ptr<TGGraphicControl>()> make;
};

template <typename T>
Entry entry(const char* name) {
    return {name, [] { return std::make_unique<T>(); }};
}

const std::vector<Entry>& entries() {
    static const std::vector<Entry> all = {
        entry<TGPLabel>("TGPLabel"),
        entry<TGPDLabel>("TGPDLabel"),
        entry<TGCounterLabel>("TGCounterLabel"),
        entry<TGSymbolLabel>("TGSymbolLabel"),
        entry<TGDateTimeLabel>("TGDateTimeLabel"),
        entry<TGPageNumberLabel>("TGPageNumberLabel"),
        entry<TGMultiLineLabel>("TGMultiLineLabel"),
        entry<TGDMultiLineLabel>("TGDMultiLineLabel"),
        entry<TGDMultiLineAddressLabel>("TGDMultiLineAddressLabel"),
        entry<TGPostNetBarCode>("TGPostNetBarCode"),
        entry<TGFIMBarCode>("TGFIMBarCode"),
        entry<TGIMBarCode>("TGIMBarCode"),
        entry<TGLineShape>("TGLineShape"),
        entry<TGLabelShapes>("TGLabelShapes"),
        entry<Trpshapes>("Trpshapes"),
        entry<TGImage>("TGImage"),
    };
    return all;
}

const Entry* find(const QByteArray& className) {
    for (const Entry& e : entries())
        if (qstricmp(e.name, className.constData()) == 0) return &e;
    return nullptr;
}

}  // namespace

std::unique_ptr<TGGraphicControl> TGClassRegistry::Create(const QByteArray& className) {
    const Entry* e = find(className);
    return e ? e->make() : nullptr;
}

bool TGClassRegistry::IsRegistered(const QByteArray& className) { return find(className) != nullptr; }

const std::vector<const char*>& TGClassRegistry::PanelClasses(PanelKind kind) {
    static const std::vector<const char*> label = {
        "TGLineShape",
        "TGPostNetBarCode",
        "TGIMBarCode",
        "TGImage",
        "TGLabelShapes",
        "TGPLabel",
        "TGPDLabel",
        "TGCounterLabel",
        "TGSymbolLabel",
        "TGMultiLineLabel",
        "TGDMultiLineLabel",
        "TGDMultiLineAddressLabel",
    };
    static const std::vector<const char*> envelope = {
        "TGLineShape",      "TGPostNetBarCode", "TGIMBarCode",
        "TGFIMBarCode",     "TGImage",          "TGLabelShapes",
        "TGPLabel",         "TGPDLabel",        "TGMultiLineLabel",
        "TGDMultiLineAddressLabel",
    };
    static const std::vector<const char*> report = {
        "TGLineShape",     "TGImage",           "TGPLabel",  "TGPDLabel",     "TGDMultiLineLabel",
        "TGDateTimeLabel", "TGPageNumberLabel", "Trpshapes", "TGSymbolLabel",
    };
    switch (kind) {
        case PanelKind::Label:
            return label;
        case PanelKind::Envelope:
            return envelope;
        case PanelKind::Report:
            break;
    }
    return report;
}

const std::vector<const char*>& TGClassRegistry::AllClasses() {
    static const std::vector<const char*> names = [] {
        std::vector<const char*> n;
        for (const Entry& e : entries()) n.push_back(e.name);
        return n;
    }();
    return names;
}
