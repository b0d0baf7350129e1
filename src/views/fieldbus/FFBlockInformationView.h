#pragma once

#include "views/common/DeviceView.h"

#include <array>
#include <cstdint>

class CGrid;

// The device's function blocks: each block's tag and modes, and the main values of the PID and
// analog output blocks with their units and status.
class CFFBlockInformationView : public CDeviceView<CFFBlockInformationView, 329> {
public:
    static constexpr int kViewId = 1506;

    struct SBlock {
        const char* name;
        std::uint32_t block; // the key's highest byte
    };
    static constexpr std::array<SBlock, 4> kBlocks{
        {{"RESB", 0x02}, {"TRB", 0x01}, {"PIDB", 0x03}, {"AOTB", 0x04}}};

    // A row of the block parameters: a heading (key 0), a value with status (a record of
    // status and value) or a plain value.
    struct SParameterRow {
        const char* name;
        std::uint32_t key;
        bool withStatus;
    };
    static constexpr std::array<SParameterRow, 11> kParameters{{
        {"PID  BLOCK", 0, false},
        {"PIDB__PV", 0x03070000, true},
        {"PIDB__SP", 0x03080000, true},
        {"PIDB__OUT", 0x03090000, true},
        {"PIDB__GAIN", 0x03170000, false},
        {"PIDB__RESET", 0x03180000, false},
        {"PIDB__RATE", 0x031A0000, false},
        {"AOB  BLOCK", 0, false},
        {"AOB__PV", 0x04070000, true},
        {"AOB__SP", 0x04080000, true},
        {"AOB__OUT", 0x04090000, true},
    }};

    explicit CFFBlockInformationView(const SViewContext& context);

    CGrid* Modes() const { return m_modes; }
    CGrid* Parameters() const { return m_parameters; }
    void Read();

    // An FF status byte as its quality ("Good", "Uncertain", "Bad") and substatus number.
    static QString StatusText(unsigned status);

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override;
    void OnFirstActivation() override;
    void OnParameter(std::uint32_t key) override;

private:
    CGrid* m_modes = nullptr;
    CGrid* m_parameters = nullptr;
};
