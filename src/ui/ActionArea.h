#pragma once

#include "ui/AreaInterfaces.h"
#include "ui/InternalUpdateUI.h"
#include "ui/WindowVisibility.h"

#include <QPixmap>
#include <QWidget>

#include <string>
#include <vector>

class IUIController;
class QPushButton;

// The row of push buttons under the splitter, for the actions of the current page. Left-group
// buttons line up from the left after an optional bitmap, right-group buttons end at the
// right edge; a hint text fills the space between them. Pressing a button raises an action
// event with its action id through the controller.
class CActionArea : public QWidget,
                    public IInternalUpdateUI,
                    public IActionArea,
                    public IWindowVisibility {
public:
    static constexpr int kButtonWidth = 100;
    static constexpr int kButtonHeight = 28;
    // From one button's left edge to the next one's.
    static constexpr int kButtonStep = 110;
    // Left of the first left-group button.
    static constexpr int kLeftMargin = 10;
    // The bitmap's share of the left margin besides its own width.
    static constexpr int kBitmapMargin = 13;
    // Left of the bitmap.
    static constexpr int kBitmapLeft = 8;
    // 28 dialog units of the standard dialog font.
    static constexpr int kHeight = 46;

    explicit CActionArea(QWidget* parent = nullptr);

    void SetController(IUIController* controller) { m_controller = controller; }
    int GetHeight() const { return kHeight; }
    // The button of the action, or null.
    QPushButton* FindButton(int actionId) const;
    QString GetHintText() const { return m_hintText; }
    const QPixmap& GetBitmap() const { return m_bitmap; }

    // The action area takes no DTM updates.
    void OnUpdate(int, const std::string&) override {}

    void EnableAction(int actionId, bool enable) override;
    void EnableAll(bool enable) override;
    // Any alignment but the left group puts the button into the right group.
    bool AddAction(int actionId, const std::string& caption, int alignment) override;
    bool RemoveAction(int actionId) override;
    // An empty path removes the bitmap; a file that cannot be loaded keeps the one shown.
    void SetImageFile(const std::string& path) override;
    void SetHintText(const std::string& text) override;

    void SetVisible(bool visible) override { m_visible = visible; }
    bool IsVisible() const override { return m_visible; }

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct Button {
        QPushButton* window;
        int actionId;
        int alignment;
    };

    // Places the buttons: left group from the left start, right group ending at the edge.
    void LayoutRow();
    // x of the first left-group button.
    int LeftStart() const;
    int RightGroupCount() const;
    // The free space between the two groups, where the hint text goes.
    QRect HintRect() const;
    void OnButton(int actionId);

    IUIController* m_controller = nullptr;
    std::vector<Button> m_buttons;
    QString m_hintText;
    QPixmap m_bitmap;
    bool m_visible = true;
};
