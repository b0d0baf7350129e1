#pragma once

#include "ui/FdtControl.h"

#include <memory>

class QWidget;

namespace xml {
class Node;
}

// Makes the controls of description elements that the control factory does not know: the
// factory asks it for any element whose name is none of its own kinds.
class ICustomFdtControlFactory {
public:
    virtual ~ICustomFdtControlFactory() = default;
    // The control of `element` as a child of `parent`, owned by the caller; null for none.
    virtual std::unique_ptr<IFdtControl> CreateCustomControl(const xml::Node& element,
                                                             QWidget* parent) = 0;
};
