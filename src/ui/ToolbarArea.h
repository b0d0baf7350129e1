#pragma once

#include "ui/AreaInterfaces.h"
#include "ui/InternalUpdateUI.h"
#include "ui/WindowVisibility.h"

#include <QWidget>

#include <cstdint>
#include <string>

class IUIController;
class ITextResource;
class QAction;
class QToolBar;

// The toolbar under the identification strip. Each button carries a command id; pressing it
// raises an action event with that id through the controller. Check buttons report whether
// they are checked after the click.
class CToolbarArea : public QWidget,
                     public IInternalUpdateUI,
                     public IToolbarArea,
                     public IWindowVisibility {
public:
    // The longest tooltip text in characters.
    static constexpr int kMaxToolTipLength = 79;
    // The tooltip of a disabled button: "This button is currently disabled!".
    static constexpr std::uint32_t kDisabledTextId = 27;

    explicit CToolbarArea(QWidget* parent = nullptr);

    void SetController(IUIController* controller) { m_controller = controller; }
    // Texts come from it, or from the built-in defaults while there is none.
    void SetTextProvider(ITextResource* textProvider);
    // The height the control's layout gives the area while it is visible.
    int GetHeight() const { return m_height; }
    QToolBar* GetToolBar() const { return m_toolBar; }
    // The button of the command, or null.
    QAction* FindButton(int commandId) const;

    // The toolbar takes no DTM updates.
    void OnUpdate(int, const std::string&) override {}

    // A command id that has a button already, or an image that cannot be loaded, adds
    // nothing and answers false. An unknown kind makes a push button.
    bool AddButtonIcon(int commandId, const QIcon& icon, int kind,
                       const std::string& text) override;
    bool AddButtonResource(int commandId, int bitmapResourceId, int kind,
                           const std::string& text) override;
    bool AddButtonFile(int commandId, const std::string& bitmapPath, int kind,
                       const std::string& text) override;
    void DeleteButton(int commandId) override;
    void EnableButton(int commandId, bool enable) override;
    void AddSeparator() override;
    // Empty for an unknown command id.
    std::string GetToolTipText(int commandId) const override;

    // Only the flag: the control's layout gives a hidden toolbar the height 0.
    void SetVisible(bool visible) override { m_visible = visible; }
    bool IsVisible() const override { return m_visible; }

private:
    bool AddButton(int commandId, const QIcon& icon, int kind, const std::string& text);
    QString ToolTipText(const QAction& button) const;
    void OnButton(const QAction& button);

    QToolBar* m_toolBar;
    IUIController* m_controller = nullptr;
    ITextResource* m_textProvider = nullptr;
    bool m_visible = true;
    int m_height;
};
