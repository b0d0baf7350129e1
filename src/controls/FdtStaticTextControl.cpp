#include "controls/FdtStaticTextControl.h"

#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

QWidget* CFdtStaticTextControl::CreateField(QWidget* frame) {
    m_text = new QLabel(frame);
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return m_text;
}

void CFdtStaticTextControl::LabelChanged() {
    if (m_text) {
        m_text->setText(QString::fromStdString(GetLabel()));
    }
}

CSeparator::CSeparator(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::HLine);
    setFrameShadow(QFrame::Sunken);
}

QWidget* CFdtCaptionControl::CreateField(QWidget* frame) {
    auto* field = new QWidget(frame);
    auto* layout = new QVBoxLayout(field);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_caption = new QLabel(field);
    QFont bold = m_caption->font();
    bold.setBold(true);
    m_caption->setFont(bold);
    m_separator = new CSeparator(field);
    layout->addWidget(m_caption);
    layout->addWidget(m_separator);
    return field;
}

QSize CFdtCaptionControl::DefaultFieldSize() const {
    if (!m_caption) {
        return {};
    }
    const int textWidth = m_caption->fontMetrics().horizontalAdvance(m_caption->text());
    return {std::max(kDefaultWidth, textWidth + 16),
            m_caption->sizeHint().height() + 2 + m_separator->sizeHint().height()};
}

void CFdtCaptionControl::LabelChanged() {
    if (m_caption) {
        m_caption->setText(QString::fromStdString(GetLabel()));
    }
}
