#include "views/fieldbus/FFOperationView.h"

#include "fieldbus/FFXmlWrapper.h"
#include "fieldbus/ResponseDump.h"
#include "ui/TextResource.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <exception>

CFFOperationView::CFFOperationView(const SViewContext& context)
    : CDeviceView(context, EHeader::None), m_texts(context.textProvider) {}

std::unique_ptr<QWidget> CFFOperationView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(content.get());
    layout->addWidget(CreateRequestGroup());
    layout->addWidget(CreateErrorGroup(), 1);
    return content;
}

QWidget* CFFOperationView::CreateRequestGroup() {
    auto* group = new QGroupBox(QStringLiteral("Request Data"));
    auto* form = new QFormLayout;
    const auto field = [group](const char* name) {
        auto* edit = new QLineEdit(group);
        edit->setObjectName(QString::fromUtf8(name));
        return edit;
    };
    m_vfdTag = field("vfdTag");
    auto* getDefault = new QPushButton(QStringLiteral("Get Default"), group);
    auto* vfdRow = new QHBoxLayout;
    vfdRow->addWidget(m_vfdTag, 1);
    vfdRow->addWidget(getDefault);
    form->addRow(QStringLiteral("VFD Tag:"), vfdRow);
    m_odIndex = field("odIndex");
    m_allAttributes = new QCheckBox(QStringLiteral("All Attributes"), group);
    m_startFlag = new QCheckBox(QStringLiteral("Start Flag"), group);
    auto* odRow = new QHBoxLayout;
    odRow->addWidget(m_odIndex, 1);
    odRow->addWidget(m_allAttributes);
    odRow->addWidget(m_startFlag);
    form->addRow(QStringLiteral("OD Index:"), odRow);
    m_physicalDevice = new QRadioButton(QStringLiteral("Physical Device"), group);
    m_vfd = new QRadioButton(QStringLiteral("VFD"), group);
    m_functionBlock = new QRadioButton(QStringLiteral("Function Block"), group);
    m_physicalDevice->setChecked(true);
    auto* queryRow = new QHBoxLayout;
    for (QRadioButton* query : {m_physicalDevice, m_vfd, m_functionBlock}) {
        queryRow->addWidget(query);
    }
    queryRow->addStretch(1);
    form->addRow(QStringLiteral("Find Tag:"), queryRow);
    m_tag = field("tag");
    form->addRow(QStringLiteral("Tag:"), m_tag);
    m_elementId = field("elementId");
    form->addRow(QStringLiteral("ElementId:"), m_elementId);

    struct SService {
        const char* label;
        std::int32_t function;
        std::function<std::string()> argument;
    };
    const SService services[] = {
        {"FmsStatus", dtm_function::kFmsStatus, [this] { return m_vfdTag->text().toStdString(); }},
        {"FmsIdentify", dtm_function::kFmsIdentify,
         [this] { return m_vfdTag->text().toStdString(); }},
        {"FmsGetOd", dtm_function::kFmsGetOd,
         [this] {
             return CFFXmlWrapper::BuildFmsGetOdRequest(
                 m_vfdTag->text().toStdString(), m_allAttributes->isChecked(),
                 m_startFlag->isChecked(), m_odIndex->text().toStdString());
         }},
        {"SmIdentify", dtm_function::kSmIdentify, [] { return std::string(); }},
        {"SmFindTag", dtm_function::kSmFindTagQuery, [this] { return FindTagRequest(); }},
    };
    auto* buttons = new QHBoxLayout;
    for (const SService& service : services) {
        auto* button = new QPushButton(QString::fromUtf8(service.label), group);
        buttons->addWidget(button);
        QObject::connect(button, &QPushButton::clicked, button, [this, service] {
            RunGuarded(service.label, [&] { Send(service.function, service.argument()); });
        });
    }
    buttons->addStretch(1);
    auto* clear = new QPushButton(QStringLiteral("Clear"), group);
    buttons->addWidget(clear);
    form->addRow(buttons);
    group->setLayout(form);

    QObject::connect(getDefault, &QPushButton::clicked, group, [this] {
        RunGuarded("Get Default", [this] {
            m_vfdTag->setText(QString::fromStdString(Device().GetProperty("VFDTag")));
        });
    });
    QObject::connect(clear, &QPushButton::clicked, group, [this] {
        m_output->clear();
        m_errorDescription->clear();
    });
    return group;
}

QWidget* CFFOperationView::CreateErrorGroup() {
    auto* group = new QGroupBox(QStringLiteral("Error Information"));
    auto* layout = new QFormLayout(group);
    m_errorDescription = new QLineEdit(group);
    m_errorDescription->setReadOnly(true);
    layout->addRow(QStringLiteral("Error Description:"), m_errorDescription);
    m_output = new QPlainTextEdit(group);
    m_output->setReadOnly(true);
    m_output->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addRow(m_output);
    return group;
}

std::string CFFOperationView::FindTagRequest() const {
    const std::string tag = m_tag->text().toStdString();
    if (m_vfd->isChecked()) {
        return CFFXmlWrapper::BuildSmFindTagVfd(tag, m_vfdTag->text().toStdString());
    }
    if (m_functionBlock->isChecked()) {
        return CFFXmlWrapper::BuildSmFindTagFb(tag, m_elementId->text().toStdString());
    }
    return CFFXmlWrapper::BuildSmFindTagPhysicalDevice(tag);
}

void CFFOperationView::Send(std::int32_t functionId, const std::string& argument) {
    ShowStatus({});
    Device().Execute(functionId, argument);
}

void CFFOperationView::OnOtherUpdate(int updateType, const std::string& data) {
    if (updateType >= dtm_update::kFirstServiceResult &&
        updateType <= dtm_update::kLastServiceResult) {
        ShowResponse(data);
    }
}

void CFFOperationView::ShowResponse(const std::string& response) {
    // A document the reader cannot read (not well-formed, a mandatory attribute missing) is
    // printed as an error line; the view goes on.
    try {
        CFFXmlWrapper wrapper;
        wrapper.LoadResponse(response);
        const ServiceTextSource texts =
            [this](const std::string& key) -> std::optional<std::string> {
            if (m_texts == nullptr) {
                return std::nullopt;
            }
            const QString text = m_texts->GetText(QString::fromStdString(key));
            return text.isEmpty() ? std::nullopt : std::optional(text.toStdString());
        };
        const CResponseDump dump = CResponseDump::Of(wrapper, texts);
        m_errorDescription->setText(QString::fromStdString(dump.m_headline));
        m_output->appendPlainText(QString::fromStdString(dump.m_details).trimmed());
    } catch (const std::exception& e) {
        m_errorDescription->setText(QStringLiteral("Invalid response"));
        m_output->appendPlainText(QStringLiteral("Error: ") + QString::fromStdString(e.what()));
    }
}
