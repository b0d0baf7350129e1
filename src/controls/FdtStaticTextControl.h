#pragma once

#include "controls/FdtControlBase.h"

#include <QFrame>
#include <QPointer>

// A fixed text: the control's label, refreshed from the control data's label.
class CFdtStaticTextControl : public CFdtControlBase {
public:
    using CFdtControlBase::CFdtControlBase;

    std::string GetTypeName() const override { return "FdtStaticTextControl"; }
    bool HasSideLabel() const override { return false; }

protected:
    QWidget* CreateField(QWidget* frame) override;
    void LabelChanged() override;

private:
    QPointer<QLabel> m_text;
};

// The horizontal line under a caption.
class CSeparator : public QFrame {
public:
    explicit CSeparator(QWidget* parent);
};

// The heading of a group of controls: its label in bold over a separator line as wide as the
// control.
class CFdtCaptionControl : public CFdtControlBase {
public:
    static constexpr int kDefaultWidth = 320;

    using CFdtControlBase::CFdtControlBase;

    std::string GetTypeName() const override { return "FdtCaptionControl"; }
    bool HasSideLabel() const override { return false; }
    CSeparator* GetSeparator() const { return m_separator; }

protected:
    QWidget* CreateField(QWidget* frame) override;
    QSize DefaultFieldSize() const override;
    void LabelChanged() override;

private:
    QPointer<QLabel> m_caption;
    QPointer<CSeparator> m_separator;
};
