#pragma once

#include "com/Unknown.h"

#include <cstdint>

class QWidget;

// The control's views, for a frame that shows a view by id the way the control's own view
// requests do (a host frame's unattended runs): views with a navigation entry and views that
// only a view request reaches.
class IControlViews : public IUnknown {
public:
    static constexpr IID Iid = MakeGuid("{C5EC5C7C-F566-451B-9D0A-FEE9ECAEB80E}");

    // Shows the view, building it through the edit model's view request when the control has
    // none of that id yet. `shown` answers whether it is the current view afterwards. S_OK
    // whatever happens inside (E_POINTER for a null `shown`).
    virtual HRESULT ShowView(std::int32_t viewId, VARIANT_BOOL* shown) = 0;
    // -1 until a view was shown.
    virtual std::int32_t GetCurrentViewId() = 0;
    // The window of the current view; null without one. The control owns it.
    virtual QWidget* GetCurrentViewWindow() = 0;
};
