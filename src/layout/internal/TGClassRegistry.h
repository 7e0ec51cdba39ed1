#pragma once

#include <QByteArray>
#include <memory>
#include <vector>

class TGGraphicControl;

// The layout object classes by the names that layout files store.
//
// Each panel kind holds only some classes (its drawing tools create those), but the
// reader constructs every layout class on every panel: an object pasted from an
// envelope onto a label travels in the label's file, and that file must read back in
// a later run whatever panels that run has created.
class TGClassRegistry {
  public:
    enum class PanelKind { Label, Envelope, Report };

    // A new object of the class of that name (in any letter case); null when no layout
    // class has it.
    static std::unique_ptr<TGGraphicControl> Create(const QByteArray& className);
    static bool IsRegistered(const QByteArray& className);

    // The classes a panel kind holds, in the order its registration lists them.
    static const std::vector<const char*>& PanelClasses(PanelKind kind);
    // Every layout class.
    static const std::vector<const char*>& AllClasses();
};
