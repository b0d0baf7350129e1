#pragma once

#include "ui/ToolTipManager.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <string>

class QWidget;

// The tool-tip window of an application view. Child windows of the view get a tip each; the
// tool-tip manager relays the mouse events of the view's children while the view is active,
// and a tip shows 300 ms after the pointer came to rest on its child, wrapped to a capped
// width. A button press or leaving the child hides it.
class CViewToolTip : public QObject, public IToolTipControl {
    Q_OBJECT
public:
    static constexpr int kDelayMs = 300;
    static constexpr int kMaxWidth = 300; // pixels
    static constexpr int kTimerId = 1;

    explicit CViewToolTip(QWidget* owner);
    ~CViewToolTip() override;

    // Gives `child` the tip `text`; a window that is not inside the owner gets nothing.
    void AddTool(QWidget* child, const std::string& text);
    // Removes the child's tip (and puts it away if it is showing or pending).
    void RemoveTool(QWidget* child);
    bool HasTool(const QWidget* child) const;
    // The tip as shown: plain when it fits the width, otherwise rich text wrapped at the width.
    QString TipText(const QWidget* child) const;

    void RelayEvent(QWidget* target, const QSinglePointEvent& event) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The child with a tip that `target` belongs to, or null.
    QWidget* ToolOf(QWidget* target) const;
    void Cancel();

    QPointer<QWidget> m_owner;
    QPointer<QWidget> m_current; // the tool under the pointer
};
