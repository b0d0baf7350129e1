#include "views/configuration/ConfigurationView.h"

#include "views/common/ViewTitle.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CConfigurationView::CConfigurationView(const SViewContext& context, const char* title,
                                       const char* invalidPrefix)
    : CDeviceViewCore(context, EHeader::WithNavigation), m_title(title),
      m_invalidPrefix(invalidPrefix), m_form(Device(), *this) {}

QString CConfigurationView::Status() const {
    return m_status ? m_status->text() : QString();
}

std::unique_ptr<QWidget> CConfigurationView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(content.get());
    layout->setContentsMargins(0, 0, 0, 0);
    AddViewTitle(*layout, content.get(), QString::fromUtf8(m_title));
    CreateFields(*content, *layout);

    auto* buttons = new QHBoxLayout;
    AddButton(*buttons, content.get(), "Read", [this] { Read(); });
    AddButton(*buttons, content.get(), "Default", [this] { Defaults(); });
    AddButton(*buttons, content.get(), "Apply", [this] { Apply(); });
    buttons->addStretch(1);
    layout->addLayout(buttons);
    m_status = new QLabel(content.get());
    m_status->setObjectName(QStringLiteral("settingsStatus"));
    m_status->setWordWrap(true);
    layout->addWidget(m_status);
    layout->addStretch(1);
    return content;
}

void CConfigurationView::CreateFields(QWidget& content, QVBoxLayout& layout) {
    auto* row = new QHBoxLayout;
    for (const SGroup& group : Groups()) {
        row->addWidget(Form().AddGroup(&content, QString::fromUtf8(group.title), group.fields), 0,
                       Qt::AlignTop);
    }
    row->addStretch(1);
    layout.addLayout(row);
}

void CConfigurationView::OnDeviceActivated() {
    RunGuarded("Choices", [this] { m_form.LoadChoices(); });
    Read();
}

void CConfigurationView::OnParameter(std::uint32_t key) {
    if (!m_form.OnParameter(key)) {
        OnOtherParameter(key);
    } else if (m_form.IsLastRead(key) && Status().startsWith(QStringLiteral("Reading"))) {
        ShowSettingsStatus(QStringLiteral("Values read from the device"));
    }
}

void CConfigurationView::ShowSettingsStatus(const QString& text) {
    m_status->setText(text);
}

void CConfigurationView::Read() {
    ShowSettingsStatus(QStringLiteral("Reading the values from the device"));
    RunGuarded("Read", [this] { m_form.Read(); });
    ReadMore();
}

void CConfigurationView::Defaults() {
    m_form.Defaults();
    DefaultsMore();
    ShowSettingsStatus(QStringLiteral("Default values: press Apply to write them"));
}

void CConfigurationView::Apply() {
    if (auto failed = m_form.Check()) {
        if (failed->endsWith(u':')) {
            failed->chop(1);
        }
        ShowSettingsStatus(QString::fromUtf8(m_invalidPrefix) + u' ' + *failed +
                           QStringLiteral(" (nothing written)"));
        return;
    }
    if (!CheckMore()) {
        return;
    }
    m_form.Write();
    WriteMore();
    ShowSettingsStatus(QStringLiteral("Values written to the device"));
}
