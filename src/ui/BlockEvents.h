#pragma once

// Keeps a control from raising events while it refreshes itself: holds the control's
// events-blocked flag true for its lifetime. On destruction the flag becomes false whatever
// it was before, so guards are not nested.
class CBlockEvents {
public:
    explicit CBlockEvents(bool* flag) : m_flag(flag) {
        if (m_flag) {
            *m_flag = true;
        }
    }
    ~CBlockEvents() {
        if (m_flag) {
            *m_flag = false;
        }
    }
    CBlockEvents(const CBlockEvents&) = delete;
    CBlockEvents& operator=(const CBlockEvents&) = delete;

private:
    bool* m_flag;
};
