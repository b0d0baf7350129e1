#include "ui/ViewToolTip.h"

#include "ui/Scheduler.h"

#include <QEvent>
#include <QFontMetrics>
#include <QSinglePointEvent>
#include <QToolTip>
#include <QWidget>

namespace {

// The child's tip text is kept on the child itself, so that it goes with the child.
constexpr const char* kTipProperty = "ovViewToolTip";

} // namespace

CViewToolTip::CViewToolTip(QWidget* owner) : QObject(owner), m_owner(owner) {}

CViewToolTip::~CViewToolTip() {
    // Gone with its window, also while its view is active.
    CToolTipManager::Instance().Unregister(this);
    Scheduler().StopAll(this);
}

void CViewToolTip::AddTool(QWidget* child, const std::string& text) {
    if (child == nullptr || m_owner == nullptr || !m_owner->isAncestorOf(child)) {
        return;
    }
    child->setProperty(kTipProperty, QString::fromStdString(text));
    child->installEventFilter(this);
}

void CViewToolTip::RemoveTool(QWidget* child) {
    if (!HasTool(child)) {
        return;
    }
    if (child == m_current) {
        Cancel();
        m_current = nullptr;
    }
    child->setProperty(kTipProperty, QVariant());
    child->removeEventFilter(this);
}

bool CViewToolTip::HasTool(const QWidget* child) const {
    return child != nullptr && child->property(kTipProperty).isValid();
}

QString CViewToolTip::TipText(const QWidget* child) const {
    if (!HasTool(child)) {
        return {};
    }
    const QString text = child->property(kTipProperty).toString();
    if (!text.contains('\n') &&
        QFontMetrics(QToolTip::font()).horizontalAdvance(text) <= kMaxWidth) {
        return text;
    }
    QString html = text.toHtmlEscaped();
    html.replace('\n', QStringLiteral("<br>"));
    return QStringLiteral("<table width='%1'><tr><td>%2</td></tr></table>")
        .arg(kMaxWidth)
        .arg(html);
}

QWidget* CViewToolTip::ToolOf(QWidget* target) const {
    for (QWidget* w = target; w != nullptr && w != m_owner; w = w->parentWidget()) {
        if (HasTool(w)) {
            return w;
        }
    }
    return nullptr;
}

void CViewToolTip::RelayEvent(QWidget* target, const QSinglePointEvent& event) {
    if (event.type() != QEvent::MouseMove) {
        Cancel(); // a click or the wheel puts the tip away until the pointer leaves the tool
        return;
    }
    QWidget* tool = ToolOf(target);
    if (tool == m_current) {
        return;
    }
    Cancel();
    m_current = tool;
    if (tool == nullptr) {
        return;
    }
    const QPoint position = event.globalPosition().toPoint();
    Scheduler().StartOneShot(this, kTimerId, kDelayMs, [this, position] {
        if (HasTool(m_current)) {
            QToolTip::showText(position, TipText(m_current), m_current);
        }
    });
}

bool CViewToolTip::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Leave && watched == m_current) {
        Cancel();
        m_current = nullptr;
    }
    // The tip is ours: the style's own tool tip (with its own delay) never shows.
    return event->type() == QEvent::ToolTip && HasTool(qobject_cast<QWidget*>(watched));
}

void CViewToolTip::Cancel() {
    Scheduler().StopTimer(this, kTimerId);
    if (QToolTip::isVisible()) {
        QToolTip::hideText();
    }
}
