#include "UiFakes.h"

#include <QEvent>

#include <functional>
#include <utility>

namespace {

// Writes the visibility changes of a window into a log.
class VisibilityLog : public QObject {
public:
    VisibilityLog(QWidget* window, std::function<void(const char*)> write)
        : QObject(window), m_write(std::move(write)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ShowToParent) {
            m_write("show");
        } else if (event->type() == QEvent::HideToParent) {
            m_write("hide");
        }
        return false;
    }

private:
    std::function<void(const char*)> m_write;
};

} // namespace

MockView::MockView(int id, int* deletions, std::vector<std::string>* log, bool withWindow)
    : m_id(id), m_deletions(deletions) {
    auto write = [log, id](const char* what) {
        if (log) {
            log->push_back(std::string(what) + " " + std::to_string(id));
        }
    };
    if (withWindow) {
        m_window = new QWidget;
        m_window->setObjectName(QString::number(id));
        new VisibilityLog(m_window, write);
    }
    ON_CALL(*this, GetWindow()).WillByDefault([this] { return m_window.data(); });
    ON_CALL(*this, IsActive()).WillByDefault([this] { return active; });
    ON_CALL(*this, Activate()).WillByDefault([this, write] {
        active = true;
        write("activate");
    });
    ON_CALL(*this, Deactivate()).WillByDefault([this, write] {
        active = false;
        write("deactivate");
    });
}

MockView::~MockView() {
    if (m_deletions) {
        ++*m_deletions;
    }
    delete m_window.data();
}

MockControl::MockControl(int id, std::string tag, int state, int* deletions)
    : state(state), m_deletions(deletions) {
    ON_CALL(*this, GetControlId()).WillByDefault(::testing::Return(id));
    ON_CALL(*this, GetTag()).WillByDefault(::testing::Return(tag));
    ON_CALL(*this, GetState()).WillByDefault([this] { return this->state; });
    ON_CALL(*this, UpdateFromControlData(::testing::_))
        .WillByDefault(
            [this](const xml::Node& node) { received.push_back(node.Attribute("@value")); });
}

MockControl::~MockControl() {
    if (m_deletions) {
        ++*m_deletions;
    }
}
