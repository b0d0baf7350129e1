#pragma once

#include <QPointer>
#include <QSplitter>

#include <array>

// The vertical splitter of the control: the navigation tree in the left pane, the current
// application view in the right pane. Each pane shows one window at a time; windows that are
// children of the splitter without being put into a pane (the views waiting to be shown) are
// left alone, not added as further panes.
class CSplitter : public QSplitter {
    Q_OBJECT
public:
    static constexpr int kLeftPane = 0;
    static constexpr int kRightPane = 1;

    explicit CSplitter(QWidget* parent = nullptr);

    // Puts `window` into the pane (null empties it). The window that was there stays a
    // hidden-or-not child of the pane; its owner decides.
    void SetSplitterPane(int pane, QWidget* window);
    // The pane's window, or null (also once that window was deleted).
    QWidget* GetSplitterPane(int pane) const;

    // Right-pane-only mode hides the left pane and the bar; leaving it shows both panes.
    void SetRightPaneOnly(bool rightOnly);
    bool IsRightPaneOnly() const { return m_rightOnly; }

    // Width of the left pane in pixels; -1 centres the bar.
    void SetSplitterPos(int pixels);

protected:
    void childEvent(QChildEvent* event) override;

private:
    std::array<QWidget*, 2> m_containers{};
    std::array<QPointer<QWidget>, 2> m_windows;
    bool m_rightOnly = false;
};
