#pragma once

#include "views/common/DeviceView.h"
#include "views/common/SegmentUpload.h"

#include <QDateTime>

#include <functional>
#include <memory>
#include <string>

class CAlarmInformation;
class CGrid;
class QProgressBar;
class QPushButton;

// The device's event log as a table, uploaded frame by frame on "Refresh Log" (buffer 39);
// the device clock is set from the host clock the first time the view is shown.
class CEventLogView : public CDeviceView<CEventLogView, 235> {
public:
    static constexpr int kViewId = 1307;
    static constexpr std::int32_t kFrameType = 39;
    static constexpr int kReadDelayMs = 3000;
    static constexpr std::size_t kRecordBytes = 10;

    explicit CEventLogView(const SViewContext& context);
    ~CEventLogView() override;

    // The host clock; tests set another before the first activation.
    void SetClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    CGrid* GetGrid() const { return m_grid; }
    const CSegmentUpload& GetUpload() const { return *m_upload; }
    // The texts of one event record: event name and information.
    std::pair<std::string, std::string> EventTexts(std::uint8_t code,
                                                   std::uint8_t information) const;
    // Appends the frame's event records (10 bytes each) to the table.
    void AppendRecords(const SSegmentFrame& frame);

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override;
    void OnDeviceActivated() override;
    void OnFirstActivation() override;
    void OnDeviceDeactivated() override;
    void OnParameter(std::uint32_t key) override;

private:
    void StartUpload();
    void OnUploadState(CSegmentUpload::EState state);

    const CAlarmInformation* m_alarms;
    std::function<QDateTime()> m_clock = [] { return QDateTime::currentDateTime(); };
    int m_baseYear = 2000;
    int m_serial = 0;
    CGrid* m_grid = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_refresh = nullptr;
    QPushButton* m_abort = nullptr;
    std::unique_ptr<CSegmentUpload> m_upload;
};
