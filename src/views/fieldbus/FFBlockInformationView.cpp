#include "views/fieldbus/FFBlockInformationView.h"

#include "model/Conversions.h"
#include "views/common/ViewTitle.h"
#include "views/components/Grid.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr std::uint32_t kTagElement = 0x00000001; // element 1 of parameter 0
constexpr std::uint32_t kTargetMode = 0x00050001; // MODE_BLK, element 1
constexpr std::uint32_t kActualMode = 0x00050002; // MODE_BLK, element 2
constexpr std::uint32_t kStatusElement = 1;
constexpr std::uint32_t kValueElement = 2;
constexpr quint32 kHeadingColor = 0x00E8DCD0; // light blue-grey (COLORREF)

enum EModeColumn { kBlockColumn, kTagColumn, kTargetColumn, kActualColumn };
enum EParameterColumn { kNameColumn, kValueColumn, kUnitColumn, kStatusColumn };

std::uint32_t BlockKey(std::uint32_t block, std::uint32_t part) {
    return (block << 24) | part;
}

QGroupBox* Framed(const QString& title, CGrid* grid, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(grid);
    return group;
}

} // namespace

CFFBlockInformationView::CFFBlockInformationView(const SViewContext& context)
    : CDeviceView(context, EHeader::WithNavigation) {}

QString CFFBlockInformationView::StatusText(unsigned status) {
    static const char* const kQuality[] = {"Bad", "Uncertain", "Good", "Good"};
    return QStringLiteral("%1, substatus %2")
        .arg(QString::fromUtf8(kQuality[(status >> 6) & 3]))
        .arg((status >> 2) & 0x0F);
}

std::unique_ptr<QWidget> CFFBlockInformationView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(content.get());
    layout->setContentsMargins(0, 0, 0, 0);
    AddViewTitle(*layout, content.get(), QStringLiteral("FF BLOCK INFORMATION"));

    m_modes = new CGrid(content.get());
    m_modes->setObjectName(QStringLiteral("blockModes"));
    m_modes->setColumnFormat(QStringLiteral("BLOCK|BLOCK TAG|TARGET MODE|ACTUAL MODE"));
    m_modes->setRows(static_cast<int>(kBlocks.size()) + 1);
    for (std::size_t i = 0; i < kBlocks.size(); ++i) {
        m_modes->setCellText(static_cast<int>(i) + 1, kBlockColumn,
                             QString::fromUtf8(kBlocks[i].name));
    }
    m_modes->setColumnWidth(kTagColumn, 160);
    m_modes->setColumnWidth(kTargetColumn, 140);
    m_modes->setFixedHeight(
        m_modes->verticalHeader()->defaultSectionSize() * static_cast<int>(kBlocks.size() + 1) + 8);

    m_parameters = new CGrid(content.get());
    m_parameters->setObjectName(QStringLiteral("blockParameters"));
    m_parameters->setColumnFormat(QStringLiteral("PARAMETER|VALUE|UNITS|STATUS"));
    m_parameters->setRows(static_cast<int>(kParameters.size()) + 1);
    for (std::size_t i = 0; i < kParameters.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        m_parameters->setCellText(row, kNameColumn, QString::fromUtf8(kParameters[i].name));
        if (kParameters[i].key == 0) {
            m_parameters->setRowColor(row, kHeadingColor);
        }
    }
    m_parameters->setColumnWidth(kNameColumn, 140);
    m_parameters->setColumnWidth(kValueColumn, 110);
    m_parameters->setColumnWidth(kUnitColumn, 80);

    layout->addWidget(Framed(QStringLiteral("Block Tags and Modes"), m_modes, content.get()));
    layout->addWidget(Framed(QStringLiteral("Block Parameters"), m_parameters, content.get()), 1);

    auto* buttons = new QHBoxLayout;
    AddButton(*buttons, content.get(), "Read", [this] { Read(); });
    buttons->addStretch(1);
    layout->addLayout(buttons);
    return content;
}

void CFFBlockInformationView::OnFirstActivation() {
    Read();
}

void CFFBlockInformationView::Read() {
    for (const SBlock& block : kBlocks) {
        Device().RequestRead(BlockKey(block.block, kTagElement));
        Device().RequestRead(BlockKey(block.block, kTargetMode));
        Device().RequestRead(BlockKey(block.block, kActualMode));
    }
    for (const SParameterRow& parameter : kParameters) {
        if (parameter.key == 0) {
            continue;
        }
        if (parameter.withStatus) {
            Device().RequestRead(parameter.key + kStatusElement);
            Device().RequestRead(parameter.key + kValueElement);
        } else {
            Device().RequestRead(parameter.key);
        }
    }
}

void CFFBlockInformationView::OnParameter(std::uint32_t key) {
    const auto text = Device().FetchText(key);
    if (!text) {
        return;
    }
    const QString value = QString::fromStdString(text->value);
    const std::uint32_t block = key >> 24;
    const std::uint32_t part = key & 0x00FFFFFF;
    for (std::size_t i = 0; i < kBlocks.size(); ++i) {
        if (kBlocks[i].block != block) {
            continue;
        }
        const int row = static_cast<int>(i) + 1;
        if (part == kTagElement) {
            m_modes->setCellText(row, kTagColumn, value);
        } else if (part == kTargetMode) {
            m_modes->setCellText(row, kTargetColumn, value);
        } else if (part == kActualMode) {
            m_modes->setCellText(row, kActualColumn, value);
        }
    }
    for (std::size_t i = 0; i < kParameters.size(); ++i) {
        const SParameterRow& parameter = kParameters[i];
        const int row = static_cast<int>(i) + 1;
        if (parameter.key == 0) {
            continue;
        }
        if (key == parameter.key ||
            (parameter.withStatus && key == parameter.key + kValueElement)) {
            m_parameters->setCellText(row, kValueColumn, value);
            m_parameters->setCellText(row, kUnitColumn, QString::fromStdString(text->unit));
        } else if (parameter.withStatus && key == parameter.key + kStatusElement) {
            m_parameters->setCellText(row, kStatusColumn,
                                      StatusText(CConversions::to_uint32(text->value)));
        }
    }
}
