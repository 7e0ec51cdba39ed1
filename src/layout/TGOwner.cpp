#include "TGOwner.h"

#include <algorithm>

#include "TGGraphicControl.h"

TGOwner::~TGOwner() {
    // Objects can outlive their owner on a panel that goes later; they forget it.
    const std::vector<TGGraphicControl*> components = components_;
    for (TGGraphicControl* c : components) c->SetOwner(nullptr);
}

bool TGOwner::HasComponent(const QString& name) const {
    if (name.isEmpty()) return false;
    for (const TGGraphicControl* c : components_)
        if (c->Name().compare(name, Qt::CaseInsensitive) == 0) return true;
    for (const QString& n : otherNames_)
        if (n.compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

QString TGOwner::UniqueName(const QString& prefix, int first, int last) const {
    for (int n = first; n <= last; ++n) {
        const QString name = prefix + QString::number(n);
        if (!HasComponent(name)) return name;
    }
    return QString();
}

void TGOwner::InsertComponent(TGGraphicControl* object) { components_.push_back(object); }

void TGOwner::RemoveComponent(TGGraphicControl* object) {
    components_.erase(std::remove(components_.begin(), components_.end(), object), components_.end());
}
