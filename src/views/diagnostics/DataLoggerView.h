#pragma once

#include "views/common/DeviceView.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class CPlot;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
struct PlotFile;

// Records the positioner's live values at a fixed interval for a chosen time: each tick the
// device takes a snapshot (command 42), the view reads the values and, 100 ms later (and not
// before the last value has come), adds a point for every selected value. The recording can be
// saved and opened again.
class CDataLoggerView : public CDeviceView<CDataLoggerView, 332> {
public:
    static constexpr int kViewId = 1301;
    static constexpr std::int32_t kSnapshotCommand = 42;
    static constexpr int kPointDelayMs = 100;
    static constexpr std::array<int, 4> kIntervals{1, 2, 5, 10}; // s
    static constexpr int kMaxMinutes = 24 * 60;
    static constexpr int kMaxHours = 24;
    // The keys read each tick.
    static constexpr std::array<std::uint32_t, 7> kReads{
        0x01440000, 0x015D0001, 0x01110002, 0x04080002, 0x015E0001, 0x01530000, 0x015B0004};

    // One value the logger can record: its check box, the key that brings it and its channel
    // (none for torque, which the device does not measure).
    struct SSource {
        const char* box;
        std::uint32_t key;
        int channel; // 0-based; -1: no channel
    };
    static const std::array<SSource, 9> kSources;

    explicit CDataLoggerView(const SViewContext& context);
    ~CDataLoggerView() override;

    // The host clock; tests set another.
    void SetClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // The samples the chosen interval and duration take.
    long SampleCount() const;
    long Counter() const { return m_counter; }
    bool IsLogging() const { return m_logging; }
    QDateTime StartTime() const { return m_started; }
    CPlot* GetPlot() const { return m_plot; }
    QCheckBox* Box(const char* label) const;
    // Why `content` is no recording of this logger, or empty.
    static QString CheckLogFile(const PlotFile& content);

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override;
    void OnDeviceDeactivated() override;
    void OnParameter(std::uint32_t key) override;

private:
    enum ETimer { kFirstSampleTimer = 10, kSampleTimer, kPointTimer };

    QWidget* CreateSelection(QWidget* parent);
    QWidget* CreateTimeSelection(QWidget* parent);
    void SetupPlot();
    void Start();
    void Stop();
    void Reset();
    void Sample();
    void AddPoints();
    void Save();
    void Load();
    void RefreshControls();
    void ShowLoggerStatus(const QString& text);

    std::function<QDateTime()> m_clock = [] { return QDateTime::currentDateTime(); };
    std::array<std::optional<double>, 8> m_latest{};
    std::array<QCheckBox*, 9> m_boxes{};
    long m_counter = 0;
    long m_samples = 0;
    int m_intervalS = 1;
    bool m_logging = false;
    bool m_repliesIn = false; // the last read of this snapshot has been answered
    bool m_pointDue = false;  // the point waits for that answer
    QDateTime m_started;
    CPlot* m_plot = nullptr;
    QComboBox* m_interval = nullptr;
    QSpinBox* m_duration = nullptr;
    QComboBox* m_units = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_reset = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_load = nullptr;
    QPushButton* m_selectAll = nullptr;
    QPushButton* m_unselectAll = nullptr;
};
