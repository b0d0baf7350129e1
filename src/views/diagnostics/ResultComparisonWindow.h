#pragma once

#include "views/diagnostics/ResultComparison.h"

#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>

class CGrid;
class CPlot;
class QDoubleSpinBox;
class QLabel;
struct PlotFile;

// What the comparison window asks of the view that opened it: the files to add and where to
// save (both after the view's private-dialogs check; empty or nothing: refused or cancelled),
// and the result the view shows now.
struct SComparisonServices {
    struct SQuestion {
        std::string title;
        std::string fileKind;
        std::string extension;
    };
    std::function<QStringList(const SQuestion&)> askOpen;
    std::function<std::optional<QString>(const SQuestion&)> askSave;
    std::function<std::optional<PlotFile>()> current;
};

// A window beside a valve test view that compares saved results of its test with a baseline:
// the runs' positions overlaid on one plot from the test start, and a table with a row per
// run and a column per figure, each figure with its drift from the baseline; a drift beyond
// the threshold of its kind is marked. The thresholds are edited here and kept in the view
// settings. Plot and table save as PNG and CSV.
class CResultComparisonWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kTimeThresholdSetting = "CompareTimeDriftPercent";
    static constexpr const char* kDeviationThresholdSetting = "CompareDeviationDriftPoints";
    static constexpr const char* kCurrentRunName = "Current result";

    CResultComparisonWindow(SComparisonKind kind, SComparisonServices services,
                            QWidget* parent = nullptr);
    QSize sizeHint() const override { return {940, 680}; }

    const CResultComparison& Comparison() const { return m_comparison; }
    CPlot* GetPlot() const { return m_plot; }
    CGrid* GetTable() const { return m_table; }
    QLabel* GetMessages() const { return m_messages; }
    QDoubleSpinBox* GetTimeThreshold() const { return m_timeThreshold; }
    QDoubleSpinBox* GetDeviationThreshold() const { return m_deviationThreshold; }

    // Adds each file; the refusals are listed in the messages, the runs added stay.
    void AddFiles(const QStringList& paths);
    void AddCurrent();
    // The run of table row `run` (0 for the first) becomes the baseline, or goes.
    void SetBaseline(int run);
    void RemoveRun(int run);

private:
    // Applies `change` to the selected run (`run` from the table, -1 for none) and shows anew.
    void OnSelectedRun(int run, const std::function<void(std::size_t)>& change);
    QWidget* CreateButtons();
    QWidget* CreateThresholds();
    void AskFiles();
    void SaveAs(const char* what);
    void ApplyThresholds();
    void Refresh();
    void RefreshPlot();
    void RefreshTable();
    void ShowMessages(const QStringList& lines, bool problem);
    // Runs a button's work; an error shows in the messages.
    void Run(const char* where, const std::function<void()>& work);

    CResultComparison m_comparison;
    SComparisonServices m_services;
    CPlot* m_plot = nullptr;
    CGrid* m_table = nullptr;
    QLabel* m_messages = nullptr;
    QDoubleSpinBox* m_timeThreshold = nullptr;
    QDoubleSpinBox* m_deviationThreshold = nullptr;
};
