#include "ui/ToolbarArea.h"

#include "ui/AreaResources.h"
#include "ui/Guard.h"
#include "ui/SharedIcons.h"
#include "ui/UIController.h"
#include "ui/UIEvents.h"

#include <QAction>
#include <QHBoxLayout>
#include <QToolBar>

CToolbarArea::CToolbarArea(QWidget* parent) : QWidget(parent), m_toolBar(new QToolBar(this)) {
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolBar->setIconSize(QSize(CSharedIcons::IconSize, CSharedIcons::IconSize));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_toolBar);
    // As high as it is with a button, whether or not it has one yet.
    QAction probe(QIcon(QPixmap(m_toolBar->iconSize())), QString());
    m_toolBar->addAction(&probe);
    m_height = m_toolBar->sizeHint().height();
    m_toolBar->removeAction(&probe);
}

void CToolbarArea::SetTextProvider(ITextResource* textProvider) {
    m_textProvider = textProvider;
    for (QAction* button : m_toolBar->actions()) {
        if (!button->isSeparator()) {
            button->setToolTip(ToolTipText(*button));
        }
    }
}

QAction* CToolbarArea::FindButton(int commandId) const {
    for (QAction* button : m_toolBar->actions()) {
        if (!button->isSeparator() && button->data().toInt() == commandId) {
            return button;
        }
    }
    return nullptr;
}

bool CToolbarArea::AddButtonIcon(int commandId, const QIcon& icon, int kind,
                                 const std::string& text) {
    return !icon.isNull() && AddButton(commandId, icon, kind, text);
}

bool CToolbarArea::AddButtonResource(int commandId, int bitmapResourceId, int kind,
                                     const std::string& text) {
    const QPixmap bitmap = LoadBitmapResource(bitmapResourceId);
    return !bitmap.isNull() && AddButton(commandId, QIcon(bitmap), kind, text);
}

bool CToolbarArea::AddButtonFile(int commandId, const std::string& bitmapPath, int kind,
                                 const std::string& text) {
    const QPixmap bitmap(QString::fromStdString(bitmapPath));
    return !bitmap.isNull() && AddButton(commandId, QIcon(bitmap), kind, text);
}

void CToolbarArea::DeleteButton(int commandId) {
    delete FindButton(commandId);
}

void CToolbarArea::EnableButton(int commandId, bool enable) {
    if (QAction* button = FindButton(commandId)) {
        button->setEnabled(enable);
        button->setToolTip(ToolTipText(*button));
    }
}

void CToolbarArea::AddSeparator() {
    m_toolBar->addSeparator();
}

std::string CToolbarArea::GetToolTipText(int commandId) const {
    const QAction* button = FindButton(commandId);
    return button ? ToolTipText(*button).toStdString() : std::string();
}

bool CToolbarArea::AddButton(int commandId, const QIcon& icon, int kind, const std::string& text) {
    if (FindButton(commandId) != nullptr) {
        return false;
    }
    QAction* button = m_toolBar->addAction(icon, QString::fromStdString(text));
    button->setData(commandId);
    button->setCheckable(kind == kCheckButtonChecked || kind == kCheckButtonUnchecked);
    button->setChecked(kind == kCheckButtonChecked);
    button->setToolTip(ToolTipText(*button));
    connect(button, &QAction::triggered, this, [this, button] { OnButton(*button); });
    return true;
}

QString CToolbarArea::ToolTipText(const QAction& button) const {
    const QString text =
        button.isEnabled() ? button.text() : AreaText(m_textProvider, kDisabledTextId);
    return text.left(kMaxToolTipLength);
}

void CToolbarArea::OnButton(const QAction& button) {
    if (m_controller == nullptr) {
        return;
    }
    CActionEventImpl event(button.data().toInt());
    if (button.isCheckable()) {
        event.SetState(button.isChecked() ? CActionEvent::kStateChecked
                                          : CActionEvent::kStateUnchecked);
    }
    Guarded("CToolbarArea: button command", [&] { m_controller->SendEvent(event); });
}
