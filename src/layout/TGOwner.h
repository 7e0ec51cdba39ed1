#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class TGGraphicControl;

// The owner of layout objects: the designer or print window that holds the panels.
// It knows the names of its components, so that new objects get names no other
// component of the owner has ("Special7", "Component2"). Objects are kept alive by
// their panel; the owner only knows them.
class TGOwner {
  public:
    TGOwner() = default;
    virtual ~TGOwner();
    TGOwner(const TGOwner&) = delete;
    TGOwner& operator=(const TGOwner&) = delete;

    // Whether a component of this name exists, in any letter case.
    bool HasComponent(const QString& name) const;
    // prefix + the smallest number from `first` to `last` that no component has;
    // empty when every number is taken.
    QString UniqueName(const QString& prefix, int first, int last) const;

    // Components that are not layout objects (panels, buttons) by name.
    void AddComponentName(const QString& name) { otherNames_ << name; }
    void RemoveComponentName(const QString& name) { otherNames_.removeOne(name); }

    const std::vector<TGGraphicControl*>& Components() const { return components_; }

  private:
    friend class TGGraphicControl;
    void InsertComponent(TGGraphicControl* object);
    void RemoveComponent(TGGraphicControl* object);

    std::vector<TGGraphicControl*> components_;
    QStringList otherNames_;
};
