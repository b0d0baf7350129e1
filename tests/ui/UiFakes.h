#pragma once

// GoogleMock fakes of the edit model, the frame areas, the application views and the
// data-bound controls, shared by the controller and view tests.

#include "ui/ApplicationView.h"
#include "ui/AreaInterfaces.h"
#include "ui/DtmStateDocument.h"
#include "ui/FdtControl.h"
#include "ui/InternalUpdateUI.h"
#include "ui/LayoutManager.h"
#include "ui/UIEditModel.h"
#include "ui/WindowVisibility.h"
#include "xml/Xml.h"

#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <gmock/gmock.h>

#include <string>
#include <vector>

class MockEditModel : public IUIEditModel {
public:
    MOCK_METHOD(void, OnUpdate, (int, const std::string&), (override));
    MOCK_METHOD(void, Initialize,
                (IUIController*, ITextResource*, IUnknown*, const std::string&, const std::string&),
                (override));
    MOCK_METHOD(void, Start, (), (override));
    MOCK_METHOD(void, Terminate, (), (override));
    MOCK_METHOD(bool, OnUIEvent, (CUIEventBase&), (override));
    MOCK_METHOD(void, ShowHelp, (int, int), (override));
    MOCK_METHOD(void, SetFunctionCall, (const std::string&), (override));
    MOCK_METHOD(void, SetUserLevel, (const std::string&), (override));
    MOCK_METHOD(bool, IsEditingAllowed, (), (override));
    MOCK_METHOD(bool, CanRelease, (), (override));
    MOCK_METHOD(void, OnViewStateChanged, (int), (override));
};

class MockStatusArea : public IStatusArea, public IInternalUpdateUI {
public:
    MOCK_METHOD(void, SetMessageText, (const std::string&), (override));
    MOCK_METHOD(void, SetConnectionState, (int), (override));
    MOCK_METHOD(void, SetDataSetState, (int), (override));
    MOCK_METHOD(void, SetLockState, (int), (override));
    MOCK_METHOD(void, SetDiagnosisStatus, (int), (override));
    MOCK_METHOD(void, SetCommunicating, (bool), (override));
    MOCK_METHOD(void, SetModifiedInDevice, (bool), (override));
    MOCK_METHOD(void, SetDirectMode, (bool), (override));
    MOCK_METHOD(void, ShowDtmState, (const SDtmStateDocument&), (override));
    MOCK_METHOD(void, OnUpdate, (int, const std::string&), (override));
};

class MockToolbarArea : public IToolbarArea, public IInternalUpdateUI, public IWindowVisibility {
public:
    MOCK_METHOD(bool, AddButtonIcon, (int, const QIcon&, int, const std::string&), (override));
    MOCK_METHOD(bool, AddButtonResource, (int, int, int, const std::string&), (override));
    MOCK_METHOD(bool, AddButtonFile, (int, const std::string&, int, const std::string&),
                (override));
    MOCK_METHOD(void, DeleteButton, (int), (override));
    MOCK_METHOD(void, EnableButton, (int, bool), (override));
    MOCK_METHOD(void, AddSeparator, (), (override));
    MOCK_METHOD(std::string, GetToolTipText, (int), (const, override));
    MOCK_METHOD(void, OnUpdate, (int, const std::string&), (override));
    MOCK_METHOD(void, SetVisible, (bool), (override));
    MOCK_METHOD(bool, IsVisible, (), (const, override));
};

class MockActionArea : public QWidget,
                       public IActionArea,
                       public IInternalUpdateUI,
                       public IWindowVisibility {
public:
    MOCK_METHOD(void, EnableAction, (int, bool), (override));
    MOCK_METHOD(void, EnableAll, (bool), (override));
    MOCK_METHOD(bool, AddAction, (int, const std::string&, int), (override));
    MOCK_METHOD(bool, RemoveAction, (int), (override));
    MOCK_METHOD(void, SetImageFile, (const std::string&), (override));
    MOCK_METHOD(void, SetHintText, (const std::string&), (override));
    MOCK_METHOD(void, OnUpdate, (int, const std::string&), (override));
    MOCK_METHOD(void, SetVisible, (bool), (override));
    MOCK_METHOD(bool, IsVisible, (), (const, override));
};

class MockIdentificationArea : public IIdentificationArea, public IInternalUpdateUI {
public:
    MOCK_METHOD(void, SetTitle, (const std::string&), (override));
    MOCK_METHOD(void, SetLine2, (const std::string&), (override));
    MOCK_METHOD(void, SetLine3, (const std::string&), (override));
    MOCK_METHOD(void, SetDevicePictureResource, (int), (override));
    MOCK_METHOD(void, SetDevicePictureFile, (const std::string&), (override));
    MOCK_METHOD(void, SetLogoResource, (int, const std::string&), (override));
    MOCK_METHOD(void, SetLogoFile, (const std::string&, const std::string&), (override));
    MOCK_METHOD(void, OnUpdate, (int, const std::string&), (override));
};

class MockNavigationArea : public INavigationArea {
public:
    MOCK_METHOD(void, ClearSelection, (), (override));
    MOCK_METHOD(void, ExpandAll, (), (override));
    MOCK_METHOD(void, CollapseAll, (), (override));
    MOCK_METHOD(void, ShowStateIcons, (bool), (override));
    MOCK_METHOD(void, SetEntryState, (int, int), (override));
    MOCK_METHOD(void, Clear, (), (override));
    MOCK_METHOD(bool, DeleteItem, (QTreeWidgetItem*), (override));
    MOCK_METHOD(CNavigationEntry*, InsertEntry,
                (int, const std::string&, QTreeWidgetItem*, QTreeWidgetItem*), (override));
    MOCK_METHOD(void, DeleteChildren, (QTreeWidgetItem*), (override));
    MOCK_METHOD(CNavigationEntry*, FindEntryByTag, (const std::string&), (override));
    MOCK_METHOD(QTreeWidgetItem*, FindItemByViewId, (int), (override));
    MOCK_METHOD(CNavigationEntry*, FindEntryByItem, (QTreeWidgetItem*), (override));
    MOCK_METHOD(bool, SelectView, (int), (override));
    MOCK_METHOD(void, RefreshStates, (), (override));
    MOCK_METHOD(int, GetWorstRootState, (), (const, override));
    MOCK_METHOD(QTreeWidgetItem*, GetSelectedItem, (), (const, override));
    MOCK_METHOD(void, SetFocus, (), (override));
};

// An application view with a real window (owned: deleted with the view). It counts its
// deletions in `*deletions` and, when given a log, writes "activate <id>", "deactivate <id>",
// "show <id>" and "hide <id>" into it.
class MockView : public IApplicationView {
public:
    explicit MockView(int id, int* deletions = nullptr, std::vector<std::string>* log = nullptr,
                      bool withWindow = true);
    ~MockView() override;

    MOCK_METHOD(QWidget*, GetWindow, (), (const, override));
    MOCK_METHOD(bool, IsActive, (), (const, override));
    MOCK_METHOD(void, Activate, (), (override));
    MOCK_METHOD(void, Deactivate, (), (override));
    MOCK_METHOD(void, UpdateControls, (const std::string&), (override));
    MOCK_METHOD(void, SetController, (IUIController*), (override));
    MOCK_METHOD(void, AddToolTip, (QWidget*, const std::string&), (override));
    MOCK_METHOD(void, RemoveToolTip, (QWidget*), (override));
    MOCK_METHOD(void, UpdateState, (), (override));
    MOCK_METHOD(int, GetState, (), (const, override));
    MOCK_METHOD(void, OnUpdate, (int, const std::string&), (override));
    MOCK_METHOD(std::string, GetListOfControls, (), (const, override));
    MOCK_METHOD(void, RefreshControl, (int), (override));
    MOCK_METHOD(void, RefreshControls, (int), (override));
    MOCK_METHOD(void, OnUserLevelChanged, (), (override));

    QWidget* Window() const { return m_window; }
    bool active = false;

private:
    int m_id;
    int* m_deletions;
    QPointer<QWidget> m_window;
};

// A data-bound control: id, tag and state as given; UpdateFromControlData records the
// `value` attribute of the element it was handed.
class MockControl : public IFdtControl {
public:
    MockControl(int id, std::string tag, int state = 0, int* deletions = nullptr);
    ~MockControl() override;

    MOCK_METHOD(std::string, GetTypeName, (), (const, override));
    MOCK_METHOD(int, GetControlId, (), (const, override));
    MOCK_METHOD(std::string, GetLabel, (), (const, override));
    MOCK_METHOD(std::string, GetTag, (), (const, override));
    MOCK_METHOD(void, UpdateFromControlData, (const xml::Node&), (override));
    MOCK_METHOD(int, GetState, (), (const, override));
    MOCK_METHOD(void, RequestData, (), (override));
    MOCK_METHOD(void, OnUserLevelChanged, (), (override));

    std::vector<std::string> received; // the `value` attributes handed over
    int state;

private:
    int* m_deletions;
};

class MockLayoutManager : public ILayoutManager {
public:
    explicit MockLayoutManager(int* deletions) : m_deletions(deletions) {}
    ~MockLayoutManager() override { ++*m_deletions; }
    MOCK_METHOD(void, AddItem, (ILayoutItem*), (override));
    MOCK_METHOD(void, DoLayout, (), (override));
    MOCK_METHOD(void, SetContainer, (IApplicationViewLayout*), (override));

private:
    int* m_deletions;
};
