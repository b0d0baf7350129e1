#include "server/PaneTabNavigator.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <string>

namespace {

// One window holding a tree pane (one tab stop), a line edit outside every pane, a view pane
// (two line edits) and an action pane (one button), in this order in the focus chain, so that
// Qt's own Tab handling would go from the tree to the line edit outside.
class PaneTabNavigatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QHBoxLayout(&m_window);
        m_tree = Add<QTreeWidget>(layout, "tree");
        Add<QLineEdit>(layout, "outside");
        m_view = Add<QWidget>(layout, "view");
        (new QLineEdit(m_view))->setObjectName("viewFirst");
        (new QLineEdit(m_view))->setObjectName("viewLast");
        m_action = Add<QWidget>(layout, "action");
        (new QPushButton("OK", m_action))->setObjectName("button");
        m_window.show();
        m_window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }

    template <class W> W* Add(QHBoxLayout* layout, const char* name) {
        auto* widget = new W(&m_window);
        widget->setObjectName(name);
        layout->addWidget(widget);
        return widget;
    }

    void RegisterAll(CPaneTabNavigator& navigator) {
        ASSERT_TRUE(navigator.SetPane(IPaneNavigator::kTreeSlot, m_tree));
        ASSERT_TRUE(navigator.SetPane(IPaneNavigator::kViewSlot, m_view));
        ASSERT_TRUE(navigator.SetPane(IPaneNavigator::kActionSlot, m_action));
    }

    // Focuses the widget named `from`, presses `key` on it and names where the focus went.
    std::string FocusAfter(const char* from, Qt::Key key,
                           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        auto* widget = m_window.findChild<QWidget*>(from);
        widget->setFocus();
        EXPECT_EQ(QApplication::focusWidget(), widget) << from;
        QTest::keyClick(widget, key, modifiers);
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName().toStdString() : "(none)";
    }

    QWidget m_window;
    QTreeWidget* m_tree = nullptr;
    QWidget* m_view = nullptr;
    QWidget* m_action = nullptr;
};

TEST_F(PaneTabNavigatorTest, TabAndShiftTabLeaveAPaneOnlyAtItsEdges) {
    CPaneTabNavigator navigator;
    RegisterAll(navigator);
    EXPECT_EQ(FocusAfter("tree", Qt::Key_Tab), "viewFirst");
    EXPECT_EQ(FocusAfter("viewFirst", Qt::Key_Tab), "viewLast"); // inside the pane
    EXPECT_EQ(FocusAfter("viewLast", Qt::Key_Tab), "button");
    EXPECT_EQ(FocusAfter("button", Qt::Key_Tab), "tree"); // cyclic over the slots
    EXPECT_EQ(FocusAfter("viewFirst", Qt::Key_Backtab, Qt::ShiftModifier), "tree");
    EXPECT_EQ(FocusAfter("viewFirst", Qt::Key_Tab, Qt::ShiftModifier), "tree");
    EXPECT_EQ(FocusAfter("tree", Qt::Key_Backtab, Qt::ShiftModifier), "button");
    EXPECT_EQ(FocusAfter("button", Qt::Key_Backtab, Qt::ShiftModifier), "viewLast");
    EXPECT_EQ(FocusAfter("viewLast", Qt::Key_Backtab, Qt::ShiftModifier), "viewFirst");
    EXPECT_EQ(FocusAfter("viewLast", Qt::Key_Tab, Qt::ControlModifier), "viewLast");
}

TEST_F(PaneTabNavigatorTest, HiddenAndDestroyedPanesAreSkippedAndALonePaneKeepsTheFocus) {
    CPaneTabNavigator navigator;
    RegisterAll(navigator);
    m_view->hide();
    EXPECT_EQ(FocusAfter("tree", Qt::Key_Tab), "button");
    EXPECT_EQ(FocusAfter("button", Qt::Key_Backtab, Qt::ShiftModifier), "tree");
    m_view->show();
    delete m_action;
    EXPECT_EQ(FocusAfter("viewLast", Qt::Key_Tab), "tree");
    EXPECT_EQ(FocusAfter("tree", Qt::Key_Backtab, Qt::ShiftModifier), "viewLast");
    navigator.RemovePane(IPaneNavigator::kTreeSlot);
    EXPECT_EQ(FocusAfter("viewLast", Qt::Key_Tab), "viewFirst");
    EXPECT_EQ(FocusAfter("viewFirst", Qt::Key_Backtab, Qt::ShiftModifier), "viewLast");
}

TEST_F(PaneTabNavigatorTest, FilterLivesFromTheFirstPaneToTheLastAndBadSlotsAreRefused) {
    ASSERT_EQ(CPaneTabNavigator::HookCount(), 0);
    {
        CPaneTabNavigator first;
        CPaneTabNavigator second;
        EXPECT_FALSE(first.SetPane(IPaneNavigator::kSlotCount, m_tree));
        EXPECT_FALSE(first.SetPane(-1, m_tree));
        EXPECT_EQ(CPaneTabNavigator::HookCount(), 0);

        EXPECT_TRUE(first.SetPane(IPaneNavigator::kTreeSlot, m_tree));
        EXPECT_TRUE(second.SetPane(IPaneNavigator::kViewSlot, m_view));
        EXPECT_TRUE(second.SetPane(IPaneNavigator::kActionSlot, m_action));
        EXPECT_EQ(CPaneTabNavigator::HookCount(), 1);
        first.RemovePane(IPaneNavigator::kTreeSlot);
        second.RemovePane(IPaneNavigator::kViewSlot);
        EXPECT_EQ(CPaneTabNavigator::HookCount(), 1);
        EXPECT_TRUE(second.SetPane(IPaneNavigator::kActionSlot, nullptr));
        EXPECT_EQ(CPaneTabNavigator::HookCount(), 0);
        // Without the filter Tab follows Qt's own focus chain.
        EXPECT_EQ(FocusAfter("tree", Qt::Key_Tab), "outside");

        EXPECT_TRUE(first.SetPane(IPaneNavigator::kTreeSlot, m_tree));
        EXPECT_EQ(CPaneTabNavigator::HookCount(), 1);
    }
    EXPECT_EQ(CPaneTabNavigator::HookCount(), 0); // a navigator's panes go with it
}

} // namespace
