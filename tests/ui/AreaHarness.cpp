#include "AreaHarness.h"
#include "TestPaths.h"

#include "ui/SharedIcons.h"
#include "ui/UIEvents.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

using ::testing::_;
using ::testing::NiceMock;
using ::testing::Return;

void AcquireSharedIcons() {
    // The shared table looks beside the program and then in the working directory.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QFileInfo(QStringLiteral(OV_RESOURCE_FILE)).absolutePath());
    CSharedIcons::Instance().Acquire();
    QDir::setCurrent(previous);
}

AreaHarness::AreaHarness() {
    splitter->SetSplitterPane(CSplitter::kLeftPane, tree);
    controller.SetSplitter(splitter);
    controller.SetNavigationArea(tree);
    controller.SetEditModel(&editModel);
    tree->SetController(&controller);
    ON_CALL(editModel, OnUIEvent(_)).WillByDefault([this](CUIEventBase& event) {
        if (auto* request = dynamic_cast<CViewRequestEvent*>(&event)) {
            log.push_back("request " + std::to_string(request->GetViewId()));
        } else if (auto* activated = dynamic_cast<CViewActivatedEvent*>(&event)) {
            log.push_back("activated " + std::to_string(activated->GetViewId()));
        } else if (auto* action = dynamic_cast<CActionEvent*>(&event)) {
            log.push_back("action " + std::to_string(action->GetActionId()) + " " +
                          std::to_string(action->GetState()));
        }
        return true;
    });
    control.resize(640, 480);
    splitter->resize(640, 480);
    control.show();
}

NiceMock<MockView>* AreaHarness::AddView(int id, int state) {
    auto view = std::make_unique<NiceMock<MockView>>(id);
    ON_CALL(*view, GetState()).WillByDefault(Return(state));
    auto* raw = view.get();
    std::unique_ptr<IApplicationView> owned = std::move(view);
    controller.RegisterView(id, owned);
    return raw;
}

std::string AreaHarness::Dump(QTreeWidgetItem* item) const {
    QTreeWidgetItem* parent = item ? item : tree->invisibleRootItem();
    std::string text;
    if (item != nullptr) {
        const CNavigationEntry* entry = tree->FindEntryByItem(item);
        text = item->text(0).toStdString() + "(" + std::to_string(entry->viewId) + ")[" +
               entry->tag + "]";
    }
    std::string children;
    for (int i = 0; i < parent->childCount(); ++i) {
        children += (i > 0 ? "," : "") + Dump(parent->child(i));
    }
    return item && !children.empty() ? text + "{" + children + "}" : text + children;
}

int AreaHarness::SelectedViewId() const {
    const CNavigationEntry* entry = tree->FindEntryByItem(tree->GetSelectedItem());
    return entry ? entry->viewId : -1;
}
