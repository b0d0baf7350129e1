#include "ui/ActionArea.h"

#include "ui/Guard.h"
#include "ui/UIController.h"
#include "ui/UIEvents.h"

#include <QPainter>
#include <QPushButton>

#include <algorithm>

namespace {

bool IsLeft(int alignment) {
    return alignment == IActionArea::kLeftGroup;
}

} // namespace

CActionArea::CActionArea(QWidget* parent) : QWidget(parent) {
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
}

QPushButton* CActionArea::FindButton(int actionId) const {
    auto found = std::ranges::find(m_buttons, actionId, &Button::actionId);
    return found != m_buttons.end() ? found->window : nullptr;
}

void CActionArea::EnableAction(int actionId, bool enable) {
    if (QPushButton* button = FindButton(actionId)) {
        button->setEnabled(enable);
    }
}

void CActionArea::EnableAll(bool enable) {
    for (const Button& button : m_buttons) {
        button.window->setEnabled(enable);
    }
}

bool CActionArea::AddAction(int actionId, const std::string& caption, int alignment) {
    if (FindButton(actionId) != nullptr) {
        return false;
    }
    auto* window = new QPushButton(QString::fromStdString(caption), this);
    window->setFixedSize(kButtonWidth, kButtonHeight);
    window->setFocusPolicy(Qt::StrongFocus);
    connect(window, &QPushButton::clicked, this, [this, actionId] { OnButton(actionId); });
    m_buttons.push_back({window, actionId, alignment});
    window->show();
    LayoutRow();
    return true;
}

bool CActionArea::RemoveAction(int actionId) {
    auto found = std::ranges::find(m_buttons, actionId, &Button::actionId);
    if (found == m_buttons.end()) {
        return false;
    }
    delete found->window;
    m_buttons.erase(found);
    LayoutRow();
    return true;
}

void CActionArea::SetImageFile(const std::string& path) {
    const QPixmap bitmap = path.empty() ? QPixmap() : QPixmap(QString::fromStdString(path));
    if (!path.empty() && bitmap.isNull()) {
        return;
    }
    m_bitmap = bitmap;
    LayoutRow();
    update();
}

void CActionArea::SetHintText(const std::string& text) {
    m_hintText = QString::fromStdString(text);
    LayoutRow();
    update();
}

QSize CActionArea::sizeHint() const {
    return {QWidget::sizeHint().width(), kHeight};
}

void CActionArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutRow();
}

void CActionArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_bitmap.isNull()) {
        painter.drawPixmap(kBitmapLeft, (height() - m_bitmap.height()) / 2, m_bitmap);
    }
    if (!m_hintText.isEmpty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(HintRect(), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap,
                         m_hintText);
    }
}

void CActionArea::LayoutRow() {
    const int top = height() / 2 - kButtonHeight / 2;
    int left = 0;
    int right = RightGroupCount();
    for (const Button& button : m_buttons) {
        button.window->move(IsLeft(button.alignment) ? LeftStart() + kButtonStep * left++
                                                     : width() - kButtonStep * right--,
                            top);
    }
}

int CActionArea::LeftStart() const {
    const int bitmapShare = m_bitmap.isNull() ? 0 : kBitmapMargin + m_bitmap.width();
    return bitmapShare + kLeftMargin;
}

int CActionArea::RightGroupCount() const {
    return static_cast<int>(std::ranges::count_if(
        m_buttons, [](const Button& button) { return !IsLeft(button.alignment); }));
}

QRect CActionArea::HintRect() const {
    const int rightCount = RightGroupCount();
    const int leftCount = static_cast<int>(m_buttons.size()) - rightCount;
    const int left = LeftStart() + kButtonStep * leftCount;
    const int right = width() - kButtonStep * rightCount - kLeftMargin;
    return {left, 0, std::max(0, right - left), height()};
}

void CActionArea::OnButton(int actionId) {
    if (m_controller == nullptr) {
        return;
    }
    CActionEventImpl event(actionId);
    Guarded("CActionArea: action", [&] { m_controller->SendEvent(event); });
}
