#pragma once

// The interfaces of the frame areas around the splitter, as the controller hands them out to
// the edit model and the views.

#include <string>

class QIcon;
struct SDtmStateDocument;
class QTreeWidgetItem;

// The status bar: connection, communication, lock, data set, modified in device, direct mode,
// diagnosis and a message text. Each setter first clears its pane.
class IStatusArea {
public:
    // Connection states.
    static constexpr int kOnline = 0;
    static constexpr int kOffline = 1;
    static constexpr int kGoingOnline = 2;
    static constexpr int kGoingOffline = 3;
    static constexpr int kAborted = 4;
    // Data-set states.
    static constexpr int kDataSetDefault = 0;
    static constexpr int kDataSetValidModified = 1;
    static constexpr int kDataSetInvalidModified = 2;
    static constexpr int kDataSetAllDataLoaded = 3;

    virtual ~IStatusArea() = default;
    virtual void SetMessageText(const std::string& text) = 0;
    virtual void SetConnectionState(int state) = 0;
    virtual void SetDataSetState(int state) = 0;
    // 1 data set, 2 data set locked, 3 device, 4 device locked; anything else empties it.
    virtual void SetLockState(int state) = 0;
    // Diagnosis statuses 1 (failure) to 5 (OK); anything else empties the pane.
    virtual void SetDiagnosisStatus(int status) = 0;
    virtual void SetCommunicating(bool communicating) = 0;
    virtual void SetModifiedInDevice(bool modified) = 0;
    virtual void SetDirectMode(bool direct) = 0;
    // Follows the DTM's state document: connection, data set, communication and
    // modified-in-device panes; an attribute the document lacks leaves its pane as it was.
    virtual void ShowDtmState(const SDtmStateDocument& state) = 0;
};

// The toolbar. A pressed button raises an action event with its command id.
class IToolbarArea {
public:
    // Button kinds.
    static constexpr int kCheckButtonChecked = 0;
    static constexpr int kCheckButtonUnchecked = 1;
    static constexpr int kPushButton = 2;

    virtual ~IToolbarArea() = default;
    // Each adds an enabled button whose label is `text`; false (nothing added) when the image
    // cannot be had.
    virtual bool AddButtonIcon(int commandId, const QIcon& icon, int kind,
                               const std::string& text) = 0;
    virtual bool AddButtonResource(int commandId, int bitmapResourceId, int kind,
                                   const std::string& text) = 0;
    virtual bool AddButtonFile(int commandId, const std::string& bitmapPath, int kind,
                               const std::string& text) = 0;
    virtual void DeleteButton(int commandId) = 0;
    virtual void EnableButton(int commandId, bool enable) = 0;
    virtual void AddSeparator() = 0;
    // The button's label, or the "disabled" text for a disabled button; at most 79 characters.
    virtual std::string GetToolTipText(int commandId) const = 0;
};

// The row of push buttons under the splitter. A pressed button raises an action event with
// its action id.
class IActionArea {
public:
    // Alignments.
    static constexpr int kRightGroup = 0;
    static constexpr int kLeftGroup = 1;

    virtual ~IActionArea() = default;
    virtual void EnableAction(int actionId, bool enable) = 0;
    virtual void EnableAll(bool enable) = 0;
    // False (nothing changed) when the action id exists already.
    virtual bool AddAction(int actionId, const std::string& caption, int alignment) = 0;
    virtual bool RemoveAction(int actionId) = 0;
    virtual void SetImageFile(const std::string& path) = 0;
    virtual void SetHintText(const std::string& text) = 0;
};

// The strip at the top: device name, two more lines, device picture and logo.
class IIdentificationArea {
public:
    virtual ~IIdentificationArea() = default;
    virtual void SetTitle(const std::string& text) = 0;
    virtual void SetLine2(const std::string& text) = 0;
    virtual void SetLine3(const std::string& text) = 0;
    virtual void SetDevicePictureResource(int bitmapResourceId) = 0;
    virtual void SetDevicePictureFile(const std::string& path) = 0;
    virtual void SetLogoResource(int bitmapResourceId, const std::string& text) = 0;
    virtual void SetLogoFile(const std::string& path, const std::string& text) = 0;
};

// One entry of the navigation tree; the navigation area owns it.
struct CNavigationEntry {
    int viewId = 0;
    QTreeWidgetItem* item = nullptr;
    int state = 0; // 0 normal, larger is worse
    std::string tag;
};

// The navigation tree in the left pane. Items are the tree's own; a null parent item is the
// root level, a null insert-after item means after the last child.
class INavigationArea {
public:
    virtual ~INavigationArea() = default;
    virtual void ClearSelection() = 0;
    virtual void ExpandAll() = 0;
    virtual void CollapseAll() = 0;
    virtual void ShowStateIcons(bool show) = 0;
    virtual void SetEntryState(int viewId, int state) = 0;
    virtual void Clear() = 0;
    virtual bool DeleteItem(QTreeWidgetItem* item) = 0;
    virtual CNavigationEntry* InsertEntry(int viewId, const std::string& label,
                                          QTreeWidgetItem* parent, QTreeWidgetItem* after) = 0;
    virtual void DeleteChildren(QTreeWidgetItem* item) = 0;
    virtual CNavigationEntry* FindEntryByTag(const std::string& tag) = 0;
    virtual QTreeWidgetItem* FindItemByViewId(int viewId) = 0;
    virtual CNavigationEntry* FindEntryByItem(QTreeWidgetItem* item) = 0;
    // Selects the item of the view (which shows the view); false when there is none.
    virtual bool SelectView(int viewId) = 0;
    virtual void RefreshStates() = 0;
    virtual int GetWorstRootState() const = 0;
    // The selected item, or null; the layout parser keeps the selection across a reload.
    virtual QTreeWidgetItem* GetSelectedItem() const = 0;
    // Gives the tree the keyboard focus.
    virtual void SetFocus() = 0;
};
