#pragma once

#include "views/diagnostics/ValveTestView.h"

#include <QDateTime>
#include <QList>
#include <QPointF>
#include <QString>

class QLabel;
class QListWidget;
class QPushButton;

// The partial stroke test: the valve moves from fully open by the setpoint change (a step or a
// ramp) and back, proving it still moves without closing it. The technician runs it once by
// hand (out of service), or switches on the automatic test that the device repeats at the
// configured interval (in service). The plot marks t63, the time the valve took for 63 % of
// the change.
class CPSTView : public CValveTestView<CPSTView, 271> {
public:
    static constexpr int kViewId = 1306;
    static constexpr std::uint32_t kSettingsRecord = 0x01610000;
    static constexpr std::uint32_t kMode = 0x01610001;
    static constexpr std::uint32_t kType = 0x01610002;
    static constexpr std::uint32_t kSetpointChange = 0x01610003;
    static constexpr std::uint32_t kInterval = 0x01610004;
    static constexpr std::uint32_t kMaxWaitingTime = 0x01610005;
    static constexpr std::uint32_t kPauseTime = 0x01610006;
    static constexpr std::int32_t kStartCommand = 28;
    static constexpr std::int32_t kResultsFrameType = 29;
    static constexpr std::int32_t kVectorFrameType = 30;
    static constexpr quint32 kMarkerColour = 0xC00000;
    // The valve rests fully open; a ramp stroke moves 5 % a second.
    static constexpr double kOpenPosition = 100.0;
    static constexpr double kRampRate = 5.0;
    static constexpr const char* kLogFileName = "pst_parameter.txt";
    static constexpr const char* kWarning = "This action will move the valve at regular intervals";

    // The results record of the last test, as the device sends it.
    struct SResults {
        double t63 = 0.0; // s from the start of the stroke
        std::size_t samples = 0;
        double periodMs = 100.0;
        double preTest = 0.0; // s
        bool failed = false;
        double hold = 0.0; // s from the start of the stroke to the return
    };

    explicit CPSTView(const SViewContext& context);

    // The host clock and the folder of the auto PST log; tests set others.
    void SetClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    void SetLogFolder(const QString& folder) { m_logFolder = folder; }
    QString LogPath() const;

    bool IsAutoPstRunning() const { return m_autoRunning; }
    SResults LastResults() const;
    // The stroke's setpoint with these settings, from the start of the recording.
    QList<QPointF> StrokeProfile(double preTest, double hold, double end) const;
    QListWidget* GetAutoResults() const { return m_autoResults; }
    QListWidget* GetSummary() const { return m_summary; }

protected:
    std::int32_t StartCommand() const override { return kStartCommand; }
    void DrawProfile(CPlot& plot) const override;
    void PlotResults(CPlot& plot) override;
    std::vector<std::string> PlottedTexts() const override;
    QWidget* CreateResultsPanel(QWidget* parent) override;
    void AddSettingsRows(QFormLayout& form, QWidget* group) override;
    void OnSettingsRead() override;
    bool IsManualTestLocked() const override { return m_autoRunning; }

private:
    void OnAutoButton();
    void AskAutoPst(bool show);
    void StartAutoPst();
    void StopAutoPst();
    void AppendLog(const QString& started);
    void RefreshSummary();
    void RefreshAutoState();
    double FieldValue(std::uint32_t key) const;
    bool IsRamp() const;

    std::function<QDateTime()> m_clock = [] { return QDateTime::currentDateTime(); };
    QString m_logFolder;
    bool m_autoRunning = false;
    QPushButton* m_autoButton = nullptr;
    QLabel* m_prompt = nullptr;
    QPushButton* m_yes = nullptr;
    QPushButton* m_no = nullptr;
    QListWidget* m_autoResults = nullptr;
    QListWidget* m_summary = nullptr;
};
