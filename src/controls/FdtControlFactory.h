#pragma once

#include "ui/FdtControl.h"

#include <memory>

class ICustomFdtControlFactory;
class IFdtControlOwner;
class ITextResource;
class QWidget;

namespace xml {
class Node;
}

// Builds data-bound controls from the elements of a view description, one factory per
// process. The element's name selects the kind; its attributes give the identifier, label,
// tag, unit, position, size and the kind's own settings. Elements of other names go to the
// custom factory, when one is set.
class CFdtControlFactory {
public:
    // The first identifier handed to a control whose description names none.
    static constexpr int kFirstControlId = 20000;

    static CFdtControlFactory& Instance();

    // A null factory is ignored.
    void SetCustomFactory(ICustomFdtControlFactory* factory);
    // Forgets `factory` when it is the one set (its owner goes away).
    void RemoveCustomFactory(const ICustomFdtControlFactory* factory);
    ICustomFdtControlFactory* GetCustomFactory() const { return m_customFactory; }

    // The control of `element` in `parent`, owned by the caller; null for an element that is
    // none of the kinds (and that the custom factory does not make). Raises the conversion
    // errors for a size or count attribute that is not a number, and std::invalid_argument
    // for a data-bound control that names no parameter.
    std::unique_ptr<IFdtControl> CreateControl(const xml::Node& element, QWidget* parent,
                                               IFdtControlOwner* owner,
                                               ITextResource* textProvider);

    // The identifier the next control without one gets.
    int PeekNextControlId() const { return m_nextControlId; }

private:
    int m_nextControlId = kFirstControlId;
    ICustomFdtControlFactory* m_customFactory = nullptr;
};
