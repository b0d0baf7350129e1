#pragma once

#include "model/ValveTestAnalysis.h"
#include "views/common/DeviceView.h"
#include "views/common/SegmentUpload.h"

#include <QPointer>

#include <QList>
#include <QPointF>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CBusyIndicator;
class CPlot;
class CResultComparisonWindow;
class CRectLed;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QWidget;

// A setting of a valve test as the view shows it and the device keeps it. Positions are shown
// in percent and kept by the device in tenths (scale 10), times in seconds and milliseconds
// (scale 1000).
struct SValveTestSetting {
    std::uint32_t key = 0;
    // Empty: not shown; the setting is always written as its default.
    std::string label;
    // A number in the shown unit, or the index of the default choice.
    std::string defaultText;
    // device value = shown value × scale
    double scale = 1.0;
    // Entered, written and shown as a whole number.
    bool integer = false;
    // Not empty: a combo box whose index is the value.
    std::vector<std::string> choices;
    // The shown unit, written beside the field.
    std::string unit;
};

// A buffer the device recorded during a test and the view fetches after it passed: values of
// 16-bit hundredths, 61 to a frame, stored at SeqID × 61 onwards; or a record buffer whose
// frames end with the header's NoOfEvents, its payload words kept as they are (unsigned).
struct SValveTestBuffer {
    SSegmentUploadSettings upload;
    // How many values the finished test recorded, from the settings applied; at most
    // `capacity`.
    std::function<std::size_t()> valueCount;
    std::size_t capacity = 0;
    bool records = false;
};

// The uploads of a test that sends its results first and its vectors after, each frame asked
// for 2000 ms after the last and read 2000 ms after its request.
struct SResultsThenVectors {
    SSegmentUploadSettings results;
    SSegmentUploadSettings vectors;
};
SResultsThenVectors ResultsThenVectors(std::int32_t resultsType, std::int32_t vectorType,
                                       std::string resultsProgress, std::string vectorsProgress);

// What a valve test view is made of: its settings record and the order Apply writes it in,
// its plot, its start command and its result buffers, fetched one after the other.
struct SValveTestDefinition {
    std::uint32_t settingsRecord = 0;
    // The element of the settings record whose value arrives last after a read of it.
    std::uint32_t lastSettingKey = 0;
    std::vector<SValveTestSetting> settings; // in the order shown
    std::vector<std::uint32_t> writeOrder;
    // Shown one after the other when the test starts.
    std::vector<std::string> startedTexts;
    // Shown when the user aborts while the results are being fetched.
    std::string uploadAbortedText = "Aborted by user";
    std::string plotTitle;
    std::array<std::string, 3> channelNames; // "Channel 1" to "Channel 3"; empty: unused
    std::string xAxisTitle = "Time [s]";
    std::string yAxisTitle = "Position [%]";
    std::string saveTitle;
    std::string openTitle;
    std::string fileExtension; // without the dot
    std::string fileKind;      // the file filter's name
    std::vector<SValveTestBuffer> buffers;
    // An "Upload" button fetches the buffers of the last test again.
    bool uploadButton = false;
    // What "Compare…" measures in the results, and the channel (1 to 8; 0: none) that holds
    // the deviation in a saved file, which with the channel names tells the tests' files apart.
    valve_analysis::ETestKind testKind = valve_analysis::ETestKind::Ramp;
    int deviationChannel = 0;
};

// The pattern every valve test view follows: settings edited in the view and written with
// Apply (the device's values read back and shown), a test started through the command element
// once the device is out of service, its state polled every 500 ms, and after a passed test
// the recorded buffers fetched frame by frame and plotted. The plot can be saved and loaded,
// and "Compare…" opens a window beside the view that compares saved results with a baseline.
//
// The test moves idle → applying → idle (applied) → running → uploading → idle, or from
// running to idle when it fails or is aborted. Leaving the view stops the poll and the upload.
class CValveTestViewCore : public CDeviceViewCore {
public:
    static constexpr std::uint32_t kStateRecord = 0x015B0000;
    static constexpr std::int32_t kAbortCommand = 255;
    static constexpr int kPollMs = 500;
    static constexpr int kReadBackDelayMs = 100;
    static constexpr std::size_t kValuesPerFrame = CSegmentUpload::kValueWords;

    enum class EPhase { Idle, Applying, Running, Uploading };
    enum class ELamp { Passed, InProgress, Failed };

    ~CValveTestViewCore() override;

    EPhase GetPhase() const { return m_phase; }
    bool IsApplied() const { return m_applied; }
    // The value of a setting in the shown unit, as last applied or read from the device.
    double Value(std::uint32_t key) const;
    // The values fetched into result buffer `index`, in hundredths turned into units.
    const std::vector<double>& Results(std::size_t index) const;
    const CSegmentUpload& Upload(std::size_t index) const;
    CPlot* GetPlot() const { return m_plot; }
    CRectLed* Lamp(ELamp lamp) const;
    QString TestStatus() const;
    // The comparison window, once "Compare…" opened it.
    CResultComparisonWindow* GetComparison() const;

    // Appends the payload words of a record frame, as unsigned numbers, up to `capacity`.
    static void StoreRecords(const SSegmentFrame& frame, std::vector<double>& values,
                             std::size_t capacity);
    // The number of frames that carry `values` values.
    static int FrameCount(std::size_t values) {
        return static_cast<int>(values / kValuesPerFrame) + 1;
    }
    // The samples of a recording of `seconds`, one per 0.1 s (truncated).
    static std::size_t SamplesOf(double seconds);
    // The refusal of settings whose recording would hold more than kMaxSamples samples.
    static std::optional<std::string> CheckRecording(double seconds);
    static constexpr std::size_t kMaxSamples = 2700;

    // Replaces the points of `channel` ("Channel 1", ...).
    static void DrawPoints(CPlot& plot, const char* channel, const QList<QPointF>& points);
    // Replaces the points of `channel` with value i at time start + i × period (s), and
    // widens the channel's y axis where a value lies outside it.
    static void DrawSamples(CPlot& plot, const char* channel, const std::vector<double>& values,
                            double start, double period = 0.1);
    // The setpoint of a profile at `seconds`: linear between its points; of two points at one
    // time the later holds from then on; the first before it, the last after it.
    static double ProfileAt(const QList<QPointF>& points, double seconds);

protected:
    CValveTestViewCore(const SViewContext& context, SValveTestDefinition definition);

    // The command that starts the test with the settings applied.
    virtual std::int32_t StartCommand() const = 0;
    // Why the applied settings cannot make a test (too long a recording, ...), or nothing.
    virtual std::optional<std::string> CheckSettings() const { return std::nullopt; }
    // Draws the setpoint the test will follow, from the settings as they stand.
    virtual void DrawProfile(CPlot& plot) const = 0;
    // Draws the fetched buffers; the view's own result panels are filled here.
    virtual void PlotResults(CPlot& plot) = 0;
    // The status texts after the results are drawn.
    virtual std::vector<std::string> PlottedTexts() const = 0;
    // A group the view shows below the test status (the multi-step figures); null for none.
    virtual QWidget* CreateResultsPanel(QWidget* parent) {
        static_cast<void>(parent);
        return nullptr;
    }
    // Clear All: the view empties its result panel.
    virtual void ClearResults() {}
    // The view adds its own rows to the settings group.
    virtual void AddSettingsRows(QFormLayout& form, QWidget* group) {
        static_cast<void>(form);
        static_cast<void>(group);
    }
    // The settings as the device holds them have been read and shown.
    virtual void OnSettingsRead() {}
    // While true the manual test's buttons and the settings stay disabled.
    virtual bool IsManualTestLocked() const { return false; }

    // The entry check of every field; the first refusal goes to the status box. True when
    // every entry is valid.
    bool CheckFields();
    // Fetches the buffers of the last test again, as after a passed test.
    void StartResultUpload();
    // Applies the lamps, buttons and fields to the view's state.
    void RefreshButtons();
    void SetLamps(std::optional<ELamp> on);
    // The text of a field as typed (combo boxes: the index).
    QString FieldText(std::uint32_t key) const;

    void SetTestStatus(const std::string& text);

    // The entry checks' messages are kept beside the tooltips, so that Apply can name them.
    void AddToolTip(QWidget* child, const std::string& text) override;
    void RemoveToolTip(QWidget* child) override;

    std::unique_ptr<QWidget> CreateDeviceContent() final;
    void OnDeviceActivated() override;
    void OnDeviceDeactivated() override;
    void OnParameter(std::uint32_t key) override;

private:
    enum ETimer { kReadSettingsTimer = 10, kReadBackTimer, kPollTimer };

    struct SField {
        const SValveTestSetting* setting = nullptr;
        QLineEdit* edit = nullptr;
        QComboBox* combo = nullptr;
        QLabel* icon = nullptr;
    };

    QWidget* CreateSettings(QWidget* parent);
    QWidget* CreateStatus(QWidget* parent);
    QWidget* CreateButtons(QWidget* parent);
    void CreateUploads();

    void SetDefaults();
    // The entry check of one field against its range; true for a valid entry.
    bool CheckField(const SField& field);
    void ShowSetting(SField& field, const std::string& deviceText);
    void Apply();
    void FinishApply();
    void Start();
    void Poll();
    void OnTestState();
    void StartUpload(std::size_t index);
    void OnUploadState(std::size_t index, CSegmentUpload::EState state);
    void FinishUpload();
    void Abort();
    void EndTest(int progress);
    void ClearAll();
    void Save();
    void Load();
    void Compare();
    // Asks for the file; nothing when refused or cancelled.
    std::optional<QString> AskFile(bool save);
    bool MayEdit() const;

    SValveTestDefinition m_definition;
    std::vector<SField> m_fields;
    std::map<std::uint32_t, double> m_values;
    std::map<const QWidget*, std::string> m_entryProblems;
    std::vector<std::vector<double>> m_results;
    std::vector<std::unique_ptr<CSegmentUpload>> m_uploads;
    std::unique_ptr<CBusyIndicator> m_busy;
    EPhase m_phase = EPhase::Idle;
    bool m_applied = false;
    bool m_edited = true;
    bool m_aborted = false;

    CPlot* m_plot = nullptr;
    std::array<CRectLed*, 3> m_lamps{};
    QProgressBar* m_progress = nullptr;
    QLineEdit* m_status = nullptr;
    QPushButton* m_default = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_abort = nullptr;
    QPushButton* m_upload = nullptr;
    QPushButton* m_clear = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_load = nullptr;
    QPointer<CResultComparisonWindow> m_comparison;
};

// The base of a valve test view; `dialogId` names its dialog.
template <class T, int dialogId> class CValveTestView : public CValveTestViewCore {
public:
    static constexpr int DialogId = dialogId;

protected:
    CValveTestView(const SViewContext& context, SValveTestDefinition definition)
        : CValveTestViewCore(context, std::move(definition)) {}
};
