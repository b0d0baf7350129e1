#pragma once

#include <QWidget>

#include <functional>

class CDeviceAccess;
class QLabel;
class QLineEdit;
class QPushButton;
struct SDeviceState;

// The service mode switch of the device views that offer it: a status box with the device's
// state ("IN SERVICE"/"OUT OF SERVICE"), a button labelled with the opposite state, and a
// confirmation prompt with Yes and No. It is idle or confirming:
// - the button stops the view's polling, hides itself and asks for confirmation;
// - No puts everything back and restarts the polling;
// - Yes writes 241 (out of service) or 240 (in service) to the service mode target, flips the
//   in-service flag and both labels at once, restarts the polling and reads the mode, whose
//   value later overrides the flag (OnModeChanged).
// The button shows only while the device state allows service switching.
class CServiceModeSwitch : public QWidget {
public:
    static constexpr const char* kInServiceText = "IN SERVICE";
    static constexpr const char* kOutOfServiceText = "OUT OF SERVICE";

    // The dashboard asks "Put device ...?", the other views "Put the device ...?".
    enum class EWording { Dashboard, DeviceView };
    // What the switch needs of its view: stopping and restarting the view's polling, and
    // the view's event boundary, which shows a failing DTM call in the view's status line
    // (without one, failures go to the process guard).
    struct SPolling {
        std::function<void()> stop;
        std::function<void()> start;
        std::function<void(const char* where, const std::function<void()>& work)> run{};
    };

    CServiceModeSwitch(EWording wording, SDeviceState& state, const CDeviceAccess& device,
                       SPolling polling, QWidget* parent = nullptr);

    bool IsConfirming() const { return m_confirming; }
    // The mode value arrived: labels and button follow the in-service flag again.
    void OnModeChanged();

    QPushButton* Button() const { return m_button; }
    QPushButton* YesButton() const { return m_yes; }
    QPushButton* NoButton() const { return m_no; }
    QLineEdit* StatusBox() const { return m_status; }
    QLabel* Prompt() const { return m_prompt; }

protected:
    // Shown again (its view comes back): the button follows the device state as it is now.
    void showEvent(QShowEvent* event) override;

private:
    void Ask();
    void Decline();
    void Confirm();
    void ShowPrompt(bool shown);
    void Refresh();
    QString PromptText() const;

    EWording m_wording;
    SDeviceState& m_state;
    const CDeviceAccess& m_device;
    SPolling m_polling;
    bool m_confirming = false;
    QLineEdit* m_status = nullptr;
    QPushButton* m_button = nullptr;
    QLabel* m_prompt = nullptr;
    QPushButton* m_yes = nullptr;
    QPushButton* m_no = nullptr;
};
