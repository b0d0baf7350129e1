#pragma once

#include <cstdint>
#include <functional>
#include <utility>

// Where the positioner takes its setpoint from (SETPOINT_MODE 0x012E0000): command 45 hands it
// to the DTM, command 46 to the local override. DTM function 7 arms the next 45 to give it
// back to the analog output block (automatic) instead; that 45 disarms it.
class CSetpointModeProcedure {
public:
    static constexpr std::uint32_t kModeKey = 0x012E0000;
    static constexpr int kAutomatic = 0;
    static constexpr int kLocalOverride = 1;
    static constexpr int kDtm = 2;
    static constexpr std::uint8_t kDtmCommand = 45;
    static constexpr std::uint8_t kLocalOverrideCommand = 46;

    // Writes the new mode as a write of kModeKey from the bus would.
    using ModeWriter = std::function<void(int mode)>;

    explicit CSetpointModeProcedure(ModeWriter write) : m_write(std::move(write)) {}

    void Command(std::uint8_t command);
    // DTM function 7: the next command 45 returns to automatic.
    void ArmAutomatic() { m_armed = true; }
    bool IsArmed() const { return m_armed; }

private:
    ModeWriter m_write;
    bool m_armed = false;
};
