#pragma once

#include "views/common/DeviceView.h"
#include "views/common/SegmentUpload.h"
#include "views/diagnostics/TrendFile.h"

#include <array>
#include <memory>

class CPlot;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

// The position, deviation or friction trend of the positioner over a day, a month, a year and
// 25 years: four buffers fetched one after the other when a kind is chosen, drawn in four
// plots, saved to and opened from ".tnd" files.
class CTrendDiagView : public CDeviceView<CTrendDiagView, 307> {
public:
    static constexpr int kViewId = 1303;
    static constexpr std::int32_t kFirstCommand = 192;
    static constexpr int kRequestDelayMs = 100;
    static constexpr int kReadDelayMs = 2000;
    static constexpr int kGuardMs = 15000;

    explicit CTrendDiagView(const SViewContext& context);
    ~CTrendDiagView() override;

    // The buffer command of a kind (0 position, 1 deviation, 2 friction) and span (0 day to
    // 3 25 years).
    static std::int32_t Command(int kind, int span) { return kFirstCommand + 4 * kind + span; }

    int Kind() const { return m_kind; }
    const STrendFile& Trends() const { return m_trends; }
    CPlot* Plot(int span) const { return m_plots[static_cast<std::size_t>(span)]; }
    QString Status() const;
    bool IsUploading() const;

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override;
    void OnDeviceDeactivated() override;
    void OnParameter(std::uint32_t key) override;

private:
    enum ETimer { kRequestTimer = 10, kGuardTimer };

    void StartUpload(int kind);
    void UploadSpan(int span);
    void OnUploadState(CSegmentUpload::EState state);
    void Abort();
    void DrawTrends();
    void Save();
    void Open();
    void ShowTrendStatus(const std::string& text);
    void RefreshButtons();

    int m_kind = -1;
    int m_span = 0;
    STrendFile m_trends;
    std::unique_ptr<CSegmentUpload> m_upload;
    std::array<CPlot*, 4> m_plots{};
    QComboBox* m_kindChoice = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_status = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_abort = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_open = nullptr;
};
