#pragma once

#include "views/diagnostics/ValveTestView.h"

#include <QList>
#include <QPointF>

class QComboBox;
class QListWidget;

// The multi-step test: after the pre-test time the valve steps up by the amplitude and back
// again once per wave, each step held for the step length. The device records the position
// every 0.1 s from the start and measures five figures of each step's response.
class CMultiStepTestView : public CValveTestView<CMultiStepTestView, 311> {
public:
    static constexpr int kViewId = 1304;
    static constexpr std::uint32_t kSettingsRecord = 0x015F0000;
    static constexpr std::uint32_t kStartPosition = 0x015F0007;
    static constexpr std::uint32_t kAmplitude = 0x015F0008;
    static constexpr std::uint32_t kStepLength = 0x015F0009;
    static constexpr std::uint32_t kPreTestTime = 0x015F000A;
    static constexpr std::uint32_t kWaves = 0x015F000B;
    static constexpr std::int32_t kStartCommand = 21;
    static constexpr std::int32_t kResultsFrameType = 22;
    static constexpr std::int32_t kVectorFrameType = 23;
    static constexpr std::size_t kFiguresPerStep = 5;
    static constexpr std::size_t kMaxFigures = 1000;
    static constexpr const char* kFigureNames[kFiguresPerStep] = {
        "Dead time (s)", "T63(s)", "T86 (s)", "OverShoot (%)", "Settling time (s)"};

    explicit CMultiStepTestView(const SViewContext& context);

    // The setpoint at `seconds` and the whole staircase as plot points.
    double Setpoint(double seconds) const;
    QList<QPointF> SetpointSteps() const;
    double RecordedSeconds() const;
    std::size_t SampleCount() const;
    std::size_t FigureCount() const;
    QListWidget* GetResultList() const { return m_list; }
    QComboBox* GetFigureChoice() const { return m_figure; }

protected:
    std::int32_t StartCommand() const override { return kStartCommand; }
    std::optional<std::string> CheckSettings() const override;
    void DrawProfile(CPlot& plot) const override;
    void PlotResults(CPlot& plot) override;
    std::vector<std::string> PlottedTexts() const override;
    QWidget* CreateResultsPanel(QWidget* parent) override;
    void ClearResults() override;

private:
    void ShowFigure(int choice);

    QComboBox* m_figure = nullptr;
    QListWidget* m_list = nullptr;
};
