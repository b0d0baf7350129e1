#pragma once

#include "views/common/DeviceView.h"

#include <cstdint>
#include <map>
#include <set>
#include <vector>

class CGrid;
class QPushButton;
class QWidget;

// Every parameter of the transducer block in one grid, read and written by hand: "READ"
// reads them all, the VALUE cells can be edited, "WRITE" writes the edited rows after a
// confirmation, "CLEAR ALL" empties the values. A technician's raw view of the device.
class CAllParametersView : public CDeviceView<CAllParametersView, 297> {
public:
    static constexpr int kViewId = 1507;
    static constexpr const char* kErrorInReading = "<<Error in Reading>>";

    // The keys of the grid's rows, in order.
    static const std::vector<std::uint32_t>& Keys();

    explicit CAllParametersView(const SViewContext& context);

    CGrid* Grid() const { return m_grid; }
    // The row (from 1) of `key`, or 0.
    int RowOf(std::uint32_t key) const;
    void ReadAll();
    // Asks whether to write the edited rows (nothing happens without edited rows).
    void AskWrite();
    void ConfirmWrite(bool yes);
    void ClearAll();
    int EditedRows() const { return static_cast<int>(m_edited.size()); }
    QWidget* Confirmation() const { return m_confirmation; }

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override;
    void OnParameter(std::uint32_t key) override;

private:
    void ShowValue(int row, const QString& text);
    void MarkRow(int row, bool valid, const std::string& message);
    // Checks and writes one edited row; false (the row marked) when the device refuses it.
    bool WriteRow(int row);
    static bool IsCommand(std::uint32_t key);

    CGrid* m_grid = nullptr;
    QWidget* m_confirmation = nullptr;
    class QLabel* m_question = nullptr;
    QPushButton* m_write = nullptr;
    std::map<std::uint32_t, int> m_rows;
    // The elements of parameters read whole whose reply comes element by element.
    std::map<std::uint32_t, std::map<std::uint32_t, std::string>> m_elements;
    std::set<int> m_edited;
    bool m_filling = false; // cells written by the view, not by the user
};
