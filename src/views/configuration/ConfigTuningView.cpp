#include "views/configuration/ConfigTuningView.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

CConfigTuningView::CConfigTuningView(const SViewContext& context)
    : CConfigurationView(context, "TUNING", "Invalid Value in:") {}

void CConfigTuningView::CreateFields(QWidget& content, QVBoxLayout& layout) {
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(Form().AddGroup(&content, QStringLiteral("PID Parameters"), kPid));
    left->addWidget(Form().AddGroup(&content, QStringLiteral("Min pulse Parameters"), kMinPulse));
    m_expert = new QCheckBox(QStringLiteral("Expert"), &content);
    m_expert->setToolTip(QStringLiteral("Allows changing Kc, Ti, Td and the minimum pulses"));
    left->addWidget(m_expert);
    left->addStretch(1);
    columns->addLayout(left);
    columns->addWidget(Form().AddGroup(&content, QStringLiteral("Settings"), kSettings), 0,
                       Qt::AlignTop);
    columns->addStretch(1);
    layout.addLayout(columns);

    QObject::connect(m_expert, &QCheckBox::toggled, m_expert, [this] { EnableExpertFields(); });
    EnableExpertFields();
}

void CConfigTuningView::EnableExpertFields() {
    const bool expert = m_expert->isChecked();
    for (const SConfigurationField& field : kPid) {
        if (field.sameRow) {
            Form().SetEnabled(field.key, expert);
        }
    }
    for (const SConfigurationField& field : kMinPulse) {
        Form().SetEnabled(field.key, expert);
    }
}
