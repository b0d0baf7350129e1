#include "dtm/procedures/SetpointModeProcedure.h"

void CSetpointModeProcedure::Command(std::uint8_t command) {
    if (command == kLocalOverrideCommand) {
        m_write(kLocalOverride);
    } else if (command == kDtmCommand) {
        m_write(m_armed ? kAutomatic : kDtm);
        m_armed = false;
    }
}
