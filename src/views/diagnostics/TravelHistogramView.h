#pragma once

#include "views/common/DeviceView.h"
#include "views/common/SegmentUpload.h"

#include <QStringList>

#include <memory>
#include <vector>

class CBarDisplay;
class QLabel;
class QProgressBar;
class QPushButton;

// How the valve's travel time spreads over 16 bands of its position, fetched from the device
// and shown as bars; the picture can be saved as a bitmap.
class CTravelHistogramView : public CDeviceView<CTravelHistogramView, 309> {
public:
    static constexpr int kViewId = 1302;
    static constexpr std::int32_t kFrameType = 31;
    static constexpr int kBins = 16;
    static constexpr int kReadDelayMs = 2000;

    explicit CTravelHistogramView(const SViewContext& context);
    ~CTravelHistogramView() override;

    // "0-6", "6-12", ... "94-100": the 16 equal bands of the position in percent.
    static QStringList BandLabels();
    CBarDisplay* GetDisplay() const { return m_display; }
    const std::vector<double>& Bins() const { return m_bins; }
    const CSegmentUpload& GetUpload() const { return *m_upload; }
    QString Status() const;

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override;
    void OnDeviceDeactivated() override;
    void OnParameter(std::uint32_t key) override;

private:
    void OnUploadState(CSegmentUpload::EState state);
    void Save();

    std::vector<double> m_bins;
    std::unique_ptr<CSegmentUpload> m_upload;
    CBarDisplay* m_display = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_uploadButton = nullptr;
    QPushButton* m_save = nullptr;
};
