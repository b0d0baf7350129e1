#pragma once

#include <QPointer>

class QProgressBar;

// The progress bar of a long transfer whose length is not known: while it runs, every 300 ms
// the bar grows by 5 until it is full, then starts again from 0; at the end it shows 100.
// The bar's dynamic property "busy" tells automation whether the indicator runs.
class CBusyIndicator {
public:
    static constexpr int kTimerId = 3001;
    static constexpr int kTickMs = 300;
    static constexpr int kStep = 5;
    static constexpr const char* kBusyProperty = "busy";

    explicit CBusyIndicator(QProgressBar* bar);
    ~CBusyIndicator();
    CBusyIndicator(const CBusyIndicator&) = delete;
    CBusyIndicator& operator=(const CBusyIndicator&) = delete;

    void Start();
    void Stop();
    bool IsRunning() const;

private:
    void Tick();

    QPointer<QProgressBar> m_bar;
};
