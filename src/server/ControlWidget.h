#pragma once

#include "com/Unknown.h"

class QWidget;

// The control's widget, for the frame that displays it. The control owns its widget; the
// frame only parents it for display and hands it back before the last Release, so that
// Qt's parent ownership and the reference count never both delete it.
class IControlWidget : public IUnknown {
public:
    static constexpr IID Iid = MakeGuid("{36032116-60F5-4720-A896-87067A2B8FAE}");

    // The control's window, for the frame to put into its own window.
    virtual QWidget* GetWidget() = 0;
    // Takes the widget back from the frame's window; the frame calls it before its last
    // Release of the control.
    virtual void ReleaseWidget() = 0;
};
