#pragma once

#include "views/common/DeviceView.h"

class QLineEdit;
class QPushButton;

// The failure mode wizard: "Activate" drives the valve into its failure mode, "Deactivate"
// back to normal operation. A command is written to the device's command record and the view
// polls the record's state until the device answers, at most 20 s. One command at a time.
class CFailureModeView : public CDeviceView<CFailureModeView, 289> {
public:
    static constexpr int kViewId = 1701;
    static constexpr std::uint32_t kActivate = 33;
    static constexpr std::uint32_t kDeactivate = 34;
    static constexpr std::uint32_t kFailureModeActive = 200;
    static constexpr int kActivatePollTimer = 11;
    static constexpr int kDeactivatePollTimer = 12;
    static constexpr int kTimeoutTimer = 13;
    static constexpr int kPollMs = 300;
    static constexpr int kTimeoutMs = 20000;
    static constexpr const char* kActivatedText = "Failure mode activated.";
    static constexpr const char* kDeactivatedText = "Failure mode deactivated.";
    static constexpr const char* kNoResponseText = "There is no response from the device";

    explicit CFailureModeView(const SViewContext& context);

    QLineEdit* StatusBox() const { return m_status; }
    QPushButton* ActivateButton() const { return m_activate; }
    QPushButton* DeactivateButton() const { return m_deactivate; }
    bool IsWaiting() const { return m_command != 0; }

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override;
    void OnParameter(std::uint32_t key) override;
    void OnDeviceDeactivated() override;

private:
    void Send(std::uint32_t command);
    void Poll() const;
    // The command is over: answered or timed out.
    void Finish();
    void TimedOut();

    QLineEdit* m_status = nullptr;
    QPushButton* m_activate = nullptr;
    QPushButton* m_deactivate = nullptr;
    std::uint32_t m_command = 0; // the command waiting for its answer, 0 when idle
};
