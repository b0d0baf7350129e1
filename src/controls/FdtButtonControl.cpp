#include "controls/FdtButtonControl.h"

#include "ui/Guard.h"
#include "ui/SharedIcons.h"
#include "ui/UIEvents.h"

#include <QMouseEvent>
#include <QPushButton>

#include <algorithm>

QWidget* CFdtButtonControl::CreateField(QWidget* frame) {
    m_button = new QPushButton(frame);
    QObject::connect(m_button, &QPushButton::clicked, m_button, [this] { OnClicked(); });
    return m_button;
}

QSize CFdtButtonControl::DefaultFieldSize() const {
    return {m_button ? std::max(kMinimumWidth, m_button->sizeHint().width()) : kMinimumWidth,
            kHeight};
}

void CFdtButtonControl::LabelChanged() {
    if (m_button) {
        m_button->setText(QString::fromStdString(GetLabel()));
    }
}

void CFdtButtonControl::OnClicked() {
    CCommandEventImpl event(CUIEventBase::kCommand, GetOwnerId(), m_actionId, GetTag());
    Raise(event);
}

CClickableImage::CClickableImage(QWidget* parent, std::function<void()> clicked)
    : QLabel(parent), m_clicked(std::move(clicked)) {
    setAlignment(Qt::AlignCenter);
}

void CClickableImage::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        Guarded("image control", m_clicked);
    }
}

QWidget* CFdtImageControl::CreateField(QWidget* frame) {
    m_image = new CClickableImage(frame, [this] { OnClicked(); });
    return m_image;
}

QSize CFdtImageControl::DefaultFieldSize() const {
    const QSize size = m_image ? m_image->pixmap().deviceIndependentSize().toSize() : QSize();
    return size.isEmpty() ? QSize(CSharedIcons::IconSize, CSharedIcons::IconSize) : size;
}

void CFdtImageControl::SetImage(int resourceId, const std::string& path) {
    if (!m_image) {
        return;
    }
    QPixmap picture;
    if (resourceId >= CSharedIcons::FirstIconId && resourceId <= CSharedIcons::LastIconId) {
        const QSize size = FieldSize().isEmpty()
                               ? QSize(CSharedIcons::IconSize, CSharedIcons::IconSize)
                               : FieldSize();
        picture = CSharedIcons::Instance().GetIcon(resourceId).pixmap(size);
    } else if (!path.empty()) {
        picture.load(QString::fromStdString(path));
    }
    m_image->setPixmap(picture);
    Arrange();
}

void CFdtImageControl::OnClicked() {
    CActionEventImpl event(m_actionId);
    Raise(event);
}
