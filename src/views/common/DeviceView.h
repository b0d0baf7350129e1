#pragma once

#include "edit/ViewTable.h"
#include "ui/ApplicationViewBase.h"
#include "views/common/DeviceAccess.h"

#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class CDeviceViewHeader;
class CServiceModeSwitch;
class QBoxLayout;
class QLabel;
class QPushButton;
struct SDeviceState;

// What every device view shares: the header strip and its polling (reads of the alarm count
// and the current alarm every 4000 ms), the alarm beep (every 1000 ms while sound is on and
// alarms are active), device access, a status line for errors, and the activation plumbing:
// the view's timers start on activation and all stop on deactivation, and its one-time work
// runs on the first activation only. A device view adds its keys, controls and procedures.
//
// Every event of the view (timer, button, update) runs through RunGuarded: a failing DTM
// call or a conversion error shows in the status line and never reaches Qt's event loop.
class CDeviceViewCore : public CApplicationViewCore {
public:
    static constexpr int kHeaderPollTimer = 1;
    static constexpr int kBeepTimer = 2;
    static constexpr int kHeaderPollMs = 4000;
    static constexpr int kBeepMs = 1000;
    static constexpr int kBeepHz = 1000;
    static constexpr int kBeepLengthMs = 50;

    enum class EHeader { None, WithNavigation, WithoutNavigation };

    ~CDeviceViewCore() override;
    CDeviceViewCore(const CDeviceViewCore&) = delete;
    CDeviceViewCore& operator=(const CDeviceViewCore&) = delete;

    void Activate() override;
    void Deactivate() override;
    void OnUpdate(int updateType, const std::string& data) override;

    CDeviceViewHeader* GetHeader() const;
    QLabel* GetStatusLine() const;
    const CDeviceAccess& Device() const { return m_device; }
    SDeviceState& State() const { return *m_state; }

protected:
    CDeviceViewCore(const SViewContext& context, EHeader header);

    // The view's own dialog, shown below the header.
    virtual std::unique_ptr<QWidget> CreateDeviceContent() = 0;
    // Activation: start the view's timers (StartViewTimer) and issue its first reads.
    virtual void OnDeviceActivated() {}
    // The first activation only, after OnDeviceActivated.
    virtual void OnFirstActivation() {}
    // Deactivation, after every timer stopped.
    virtual void OnDeviceDeactivated() {}
    // The DTM holds a new value of `key`; a header key has been shown by the header already.
    virtual void OnParameter(std::uint32_t key) { static_cast<void>(key); }
    // Any other update notification (fieldbus service results, ...).
    virtual void OnOtherUpdate(int updateType, const std::string& data) {
        static_cast<void>(updateType);
        static_cast<void>(data);
    }

    // The header's reads of the alarm count and the current alarm every 4000 ms (started on
    // activation; the service mode switch stops them while it asks).
    void StartHeaderPolling();
    void StopHeaderPolling();
    // A periodic timer of the view, stopped at deactivation; its handler runs guarded.
    void StartViewTimer(int id, int intervalMs, std::function<void()> handler);
    void StartViewOneShot(int id, int delayMs, std::function<void()> handler);
    void StopViewTimer(int id);
    bool IsViewTimerRunning(int id) const;
    // The group "Service Status" with the view's service mode switch, which stops and
    // restarts the header's polling (and the view's own, OnPollingPaused) while it asks;
    // `*created` is the switch. The dashboard asks in its own words.
    QWidget* CreateServiceStatus(QWidget* parent, CServiceModeSwitch** created,
                                 bool dashboardWording = false);
    // The service mode switch asks (true) or is done (false): a view that polls stops and
    // restarts its polling.
    virtual void OnPollingPaused(bool paused) { static_cast<void>(paused); }
    // A push button labelled `label` at the end of `row`; a click runs `action` guarded.
    QPushButton* AddButton(QBoxLayout& row, QWidget* parent, const char* label,
                           std::function<void()> action);
    // Switches to view `viewId` through the controller, guarded (a hub's buttons).
    void ShowOtherView(int viewId);
    // Runs `work`; an error shows in the status line as "<where>: <message>".
    void RunGuarded(const char* where, const std::function<void()>& work);
    void ShowStatus(const std::string& text);

private:
    std::unique_ptr<QWidget> CreateDialogContent() final;
    void Beep() const;

    SViewContext m_context;
    CDeviceAccess m_device;
    std::shared_ptr<SDeviceState> m_state;
    EHeader m_headerKind;
    QPointer<CDeviceViewHeader> m_header;
    QPointer<QLabel> m_statusLine;
    bool m_activatedOnce = false;
};

// The base of every device view; `dialogId` names its dialog.
template <class T, int dialogId> class CDeviceView : public CDeviceViewCore {
public:
    static constexpr int DialogId = dialogId;

protected:
    CDeviceView(const SViewContext& context, EHeader header) : CDeviceViewCore(context, header) {}
};
