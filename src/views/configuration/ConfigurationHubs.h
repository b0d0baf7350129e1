#pragma once

#include "views/common/DeviceView.h"
#include "views/common/ViewButtons.h"

#include <functional>
#include <vector>

// A hub of the configuration branch: a title, one group of buttons that switch to other views
// (enabled when the view exists) and the device view header.
class CConfigurationHub : public CDeviceViewCore {
public:
    QPushButton* FindButton(int viewId) const { return FindViewButton(m_buttons, viewId); }

protected:
    CConfigurationHub(const SViewContext& context, const char* title, const char* group,
                      std::vector<SViewButton> buttons, std::function<bool(int)> viewExists);

private:
    std::unique_ptr<QWidget> CreateDeviceContent() final;

    const char* m_title;
    const char* m_group;
    std::vector<SViewButton> m_entries;
    std::function<bool(int)> m_viewExists;
    ViewButtonList m_buttons;
};

class CMainConfigurationView : public CConfigurationHub {
public:
    static constexpr int kViewId = 1500;
    static constexpr int DialogId = 325;
    CMainConfigurationView(const SViewContext& context, std::function<bool(int)> viewExists);
};

class CMainCustomView : public CConfigurationHub {
public:
    static constexpr int kViewId = 1600;
    static constexpr int DialogId = 324;
    CMainCustomView(const SViewContext& context, std::function<bool(int)> viewExists);
};

class CMainInformationView : public CConfigurationHub {
public:
    static constexpr int kViewId = 1501;
    static constexpr int DialogId = 322;
    CMainInformationView(const SViewContext& context, std::function<bool(int)> viewExists);
};

class CMainWizardsView : public CConfigurationHub {
public:
    static constexpr int kViewId = 1700;
    static constexpr int DialogId = 358;
    CMainWizardsView(const SViewContext& context, std::function<bool(int)> viewExists);
};
