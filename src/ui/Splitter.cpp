#include "ui/Splitter.h"

#include <QChildEvent>
#include <QVBoxLayout>

#include <algorithm>

CSplitter::CSplitter(QWidget* parent) : QSplitter(Qt::Horizontal, parent) {
    setChildrenCollapsible(false);
    for (QWidget*& container : m_containers) {
        container = new QWidget;
        auto* layout = new QVBoxLayout(container);
        layout->setContentsMargins(0, 0, 0, 0);
        addWidget(container);
    }
}

void CSplitter::SetSplitterPane(int pane, QWidget* window) {
    if (pane != kLeftPane && pane != kRightPane) {
        return;
    }
    QLayout* layout = m_containers[pane]->layout();
    if (QWidget* old = m_windows[pane]) {
        layout->removeWidget(old);
    }
    m_windows[pane] = window;
    if (window) {
        layout->addWidget(window); // reparents into the pane
    }
}

QWidget* CSplitter::GetSplitterPane(int pane) const {
    if (pane != kLeftPane && pane != kRightPane) {
        return nullptr;
    }
    return m_windows[pane];
}

void CSplitter::SetRightPaneOnly(bool rightOnly) {
    m_rightOnly = rightOnly;
    m_containers[kLeftPane]->setVisible(!rightOnly);
}

void CSplitter::SetSplitterPos(int pixels) {
    const int total = std::max(0, width() - handleWidth());
    const int left = pixels < 0 ? total / 2 : std::min(pixels, total);
    setSizes({left, total - left});
}

void CSplitter::childEvent(QChildEvent* event) {
    // QSplitter turns every new child widget into a pane and shows it. Only the two pane
    // containers and the bar handles belong to the splitter's layout; a view window created
    // with the splitter as parent waits hidden until it is put into a pane.
    QObject* child = event->child();
    if (event->removed() || !child->isWidgetType() || indexOf(static_cast<QWidget*>(child)) >= 0) {
        QSplitter::childEvent(event);
    }
}
