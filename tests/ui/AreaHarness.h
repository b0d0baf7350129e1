#pragma once

// A control window with the splitter, the controller, the navigation tree and a mocked edit
// model, for the tests of the layout parser, the tree and the frame areas.

#include "UiFakes.h"

#include "ui/Guard.h"
#include "ui/NavigationArea.h"
#include "ui/Splitter.h"
#include "ui/UIController.h"

#include <QTreeWidgetItem>
#include <QWidget>
#include <gmock/gmock.h>

#include <string>
#include <vector>

// Loads the shared icons from the resource file in the build tree (one use; Release ends it).
void AcquireSharedIcons();

// Catches what the guard reports while it lives.
class ReportedErrors {
public:
    ReportedErrors() {
        m_previous = SetGuardReporter([this](const std::string& where, const std::string& error) {
            errors.push_back(where + ": " + error);
        });
    }
    ~ReportedErrors() { SetGuardReporter(m_previous); }
    std::vector<std::string> errors;

private:
    GuardReporter m_previous;
};

class AreaHarness {
public:
    AreaHarness();
    AreaHarness(const AreaHarness&) = delete;
    AreaHarness& operator=(const AreaHarness&) = delete;

    // Registers a view under `id` whose GetState answers `state`.
    ::testing::NiceMock<MockView>* AddView(int id, int state = 0);
    // The tree below `item` (all roots for null) as "label(view id)[tag]" with children in
    // braces, e.g. "A(1)[]{B(2)[x]}".
    std::string Dump(QTreeWidgetItem* item = nullptr) const;
    // The view id of the selected entry, or -1.
    int SelectedViewId() const;

    // The edit model's events: "request <id>", "activated <id>", "action <id> <state>".
    std::vector<std::string> log;
    CUIController controller; // goes last, with its views
    ::testing::NiceMock<MockEditModel> editModel;
    QWidget control;
    CSplitter* splitter = new CSplitter(&control);
    CNavigationArea* tree = new CNavigationArea(splitter);
};
