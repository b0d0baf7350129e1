#pragma once

#include "views/common/DeviceView.h"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

class CDiagnosticAlarmInformation;
class CGrid;

// Which diagnostic alarms the device raises: every diagnostic alarm by name with its
// "Enabled" check, the first half of them in the left grid and the rest in the right one.
// Read and Apply go through the enable bits of 0x0159 (elements 1 and 2: bit i%32 of element
// 1 + i/32 for the alarm at index i in id order).
class CAlarmConfigurationView : public CDeviceView<CAlarmConfigurationView, 354> {
public:
    static constexpr int kViewId = 1204;
    static constexpr std::uint32_t kEnables = 0x01590000;
    static constexpr std::uint32_t kEnableBits = 0x01590001; // and 0x01590002
    // The on/off elements of the digital output alarm records.
    static constexpr std::array<std::uint32_t, 5> kOnOffKeys{0x01350001, 0x01360001, 0x01370001,
                                                             0x01380001, 0x01390001};

    explicit CAlarmConfigurationView(const SViewContext& context);

    // Where row `row` (1 to rows) of all rows lies: left grid (0) or right grid (1), and the
    // row there.
    static std::pair<int, int> RowPlace(int row, int rows);
    int Rows() const { return static_cast<int>(m_alarmIds.size()); }
    // The alarm of a row, by the name in its "Alarm" cell: the first diagnostic alarm in id
    // order of that name; 0 when none.
    std::uint32_t RowAlarm(int row) const;
    bool IsRowEnabled(int row) const;
    void SetRowEnabled(int row, bool enabled);
    CGrid* Grid(int side) const { return m_grids[static_cast<std::size_t>(side)]; }

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override;
    void OnDeviceActivated() override;
    void OnParameter(std::uint32_t key) override;

private:
    void Read();
    void Apply();
    void SelectAll(bool (*choose)(std::uint32_t alarm));

    const CDiagnosticAlarmInformation* m_alarms;
    std::vector<std::uint32_t> m_alarmIds; // in id order
    std::array<CGrid*, 2> m_grids{};
};
