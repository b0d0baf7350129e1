#pragma once

#include "views/common/DeviceView.h"
#include "views/common/SegmentUpload.h"
#include "views/common/ViewButtons.h"

#include <QDateTime>

#include <functional>
#include <memory>
#include <string>

class CAlarmInformation;
class CDiagnosticAlarmInformation;
class CGrid;
class QPlainTextEdit;
class QProgressBar;

// The device's alarms as a list: "Poll All" sets the device clock and fetches the alarm log
// frame by frame (buffer 40), one row per alarm with its category, name, priority, state, id
// and the order it came in, coloured by state. Selecting a row shows the alarm's description;
// double-clicking it opens the alarm information view.
class CAlarmStatusView : public CDeviceView<CAlarmStatusView, 343> {
public:
    static constexpr int kViewId = 1200;
    static constexpr int kInformationViewId = 1201;
    static constexpr std::int32_t kFrameType = 40;
    static constexpr std::size_t kRecordBytes = 6;
    static constexpr std::uint32_t kSummary = 0x01410000;
    static constexpr const char* kHelp =
        "Click on an alarm in the Alarm List to see the description, double click to redirect "
        "to the Alarm Information view.";

    CAlarmStatusView(const SViewContext& context, std::function<bool(int viewId)> viewExists);
    ~CAlarmStatusView() override;

    void SetClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    CGrid* GetGrid() const { return m_grid; }
    QString Description() const;
    const CSegmentUpload& GetUpload() const { return *m_upload; }
    // The alarm's texts from whichever information file knows it; null when none does.
    const struct SAlarmText* FindAlarm(std::uint32_t id) const;
    // Shows the description of the alarm in a grid row.
    void SelectRow(int row);
    // Opens the alarm information view for the alarm in a grid row.
    void OpenRow(int row);
    void AppendRecords(const SSegmentFrame& frame);

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override;
    void OnDeviceDeactivated() override;
    void OnParameter(std::uint32_t key) override;

private:
    void PollAll();
    std::optional<std::uint32_t> RowAlarm(int row) const;

    const CAlarmInformation* m_alarms;
    const CDiagnosticAlarmInformation* m_diagnosticAlarms;
    std::function<bool(int)> m_viewExists;
    std::function<QDateTime()> m_clock = [] { return QDateTime::currentDateTime(); };
    CGrid* m_grid = nullptr;
    QPlainTextEdit* m_description = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_poll = nullptr;
    ViewButtonList m_buttons;
    std::unique_ptr<CSegmentUpload> m_upload;
};
