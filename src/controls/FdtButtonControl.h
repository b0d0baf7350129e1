#pragma once

#include "controls/FdtControlBase.h"

#include <QLabel>
#include <QPointer>

#include <functional>
#include <string>

#include <QPushButton>

// A push button showing the control's label; a click raises a command event whose control id
// is the button's action id.
class CFdtButtonControl : public CFdtControlBase {
public:
    static constexpr int kMinimumWidth = 100;
    static constexpr int kHeight = 28;

    using CFdtControlBase::CFdtControlBase;

    std::string GetTypeName() const override { return "FdtButtonControl"; }
    bool HasSideLabel() const override { return false; }
    void SetActionId(int actionId) { m_actionId = actionId; }
    int GetActionId() const { return m_actionId; }
    QPushButton* GetButton() const { return m_button; }

protected:
    QWidget* CreateField(QWidget* frame) override;
    QSize DefaultFieldSize() const override;
    void LabelChanged() override;

private:
    void OnClicked();

    QPointer<QPushButton> m_button;
    int m_actionId = -1;
};

// A picture that reports clicks.
class CClickableImage : public QLabel {
public:
    CClickableImage(QWidget* parent, std::function<void()> clicked);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::function<void()> m_clicked;
};

// An image: one of the shared icons by resource id, or a picture file; a click raises an
// action event with the control's action id.
class CFdtImageControl : public CFdtControlBase {
public:
    using CFdtControlBase::CFdtControlBase;

    std::string GetTypeName() const override { return "FdtImageControl"; }
    // A picture without a label stands on its own.
    bool HasSideLabel() const override { return !GetLabel().empty(); }
    void SetActionId(int actionId) { m_actionId = actionId; }
    int GetActionId() const { return m_actionId; }
    // A shared icon (1 to 37) when `resourceId` names one, otherwise the picture at `path`.
    void SetImage(int resourceId, const std::string& path);
    CClickableImage* GetImage() const { return m_image; }

protected:
    QWidget* CreateField(QWidget* frame) override;
    QSize DefaultFieldSize() const override;

private:
    void OnClicked();

    QPointer<CClickableImage> m_image;
    int m_actionId = -1;
};
