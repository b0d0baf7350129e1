#include "views/fieldbus/AllParametersView.h"

#include "model/Conversions.h"
#include "ui/SharedIcons.h"
#include "views/common/VelaFFUIServices.h"
#include "views/common/ViewTitle.h"
#include "views/components/Grid.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace {

enum EColumn { kNumberColumn, kParameterColumn, kValueColumn };

constexpr std::uint32_t kTransducerBlock = 0x01000000;
constexpr std::uint32_t kWholeParameter = 0xFFFF0000;

// A run of parameters (relative indexes `first` to `last`), each read whole (`elements` 0) or
// as its elements 1 to `elements`.
struct SRun {
    std::uint32_t first;
    std::uint32_t last;
    std::uint32_t elements;
};

// The transducer block's parameters in the grid's order. 0x5F to 0x62 are the test settings
// the test views own; 0x66 is listed before 0x65.
constexpr SRun kRuns[] = {
    {0x01, 0x04, 0},  {0x05, 0x05, 4},  {0x06, 0x06, 0},  {0x07, 0x07, 5},  {0x08, 0x08, 5},
    {0x09, 0x0C, 0},  {0x0D, 0x0D, 2},  {0x0E, 0x0E, 4},  {0x0F, 0x10, 0},  {0x11, 0x11, 2},
    {0x12, 0x34, 0},  {0x35, 0x35, 5},  {0x36, 0x38, 8},  {0x39, 0x39, 4},  {0x3A, 0x3A, 0},
    {0x3B, 0x3B, 17}, {0x3C, 0x3C, 16}, {0x3D, 0x3D, 17}, {0x3E, 0x3E, 16}, {0x3F, 0x3F, 4},
    {0x40, 0x40, 0},  {0x41, 0x41, 23}, {0x42, 0x42, 0},  {0x43, 0x44, 2},  {0x45, 0x52, 0},
    {0x53, 0x53, 4},  {0x54, 0x55, 2},  {0x56, 0x56, 3},  {0x57, 0x57, 2},  {0x58, 0x58, 0},
    {0x59, 0x59, 5},  {0x5A, 0x5A, 0},  {0x5B, 0x5B, 4},  {0x5C, 0x5C, 0},  {0x5D, 0x5E, 2},
    {0x63, 0x63, 2},  {0x64, 0x64, 0},  {0x66, 0x66, 0},  {0x65, 0x65, 0},  {0x67, 0x68, 0},
    {0x69, 0x69, 6},  {0x6A, 0x7B, 0},
};

QString KeyName(std::uint32_t key) {
    return QStringLiteral("0x%1")
        .arg(key, 8, 16, QLatin1Char('0'))
        .toUpper()
        .replace(QStringLiteral("0X"), QStringLiteral("0x"));
}

// The device's text of a typed value: an enumeration takes a caption or a tag.
std::string ValueToWrite(const CDeviceAccess& device, std::uint32_t key, const QString& typed) {
    const std::string text = typed.trimmed().toStdString();
    const auto choices = device.FetchChoices(key);
    if (!choices) {
        // Only a number has limits; texts go to the DTM as typed.
        if (const auto limits = device.FetchLimits(key)) {
            const std::string problem = CVelaFFUIServices::RangeProblem(
                CConversions::to_double(text), {limits->first, limits->second});
            if (!problem.empty()) {
                throw std::runtime_error(problem);
            }
        }
        return text;
    }
    std::string names;
    for (const auto& [tag, caption] : *choices) {
        if (caption == text || std::to_string(tag) == text) {
            return std::to_string(tag);
        }
        names += (names.empty() ? "" : ", ") + caption;
    }
    throw std::runtime_error("Choose one of: " + names);
}

} // namespace

const std::vector<std::uint32_t>& CAllParametersView::Keys() {
    static const std::vector<std::uint32_t> keys = [] {
        std::vector<std::uint32_t> list;
        for (const SRun& run : kRuns) {
            for (std::uint32_t index = run.first; index <= run.last; ++index) {
                const std::uint32_t parameter = kTransducerBlock | (index << 16);
                if (run.elements == 0) {
                    list.push_back(parameter);
                }
                for (std::uint32_t element = 1; element <= run.elements; ++element) {
                    list.push_back(parameter | element);
                }
            }
        }
        return list;
    }();
    return keys;
}

CAllParametersView::CAllParametersView(const SViewContext& context)
    : CDeviceView(context, EHeader::WithNavigation) {}

bool CAllParametersView::IsCommand(std::uint32_t key) {
    // Writing the command record or the service mode target would start a procedure or take
    // the valve out of service; the grid only shows them.
    const std::uint32_t parameter = key & kWholeParameter;
    return parameter == 0x015B0000 || parameter == 0x01280000;
}

std::unique_ptr<QWidget> CAllParametersView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(content.get());
    layout->setContentsMargins(0, 0, 0, 0);
    AddViewTitle(*layout, content.get(), QStringLiteral("All Parameters (Raw Data)"));

    auto* group = new QGroupBox(QStringLiteral("Parameter Values"), content.get());
    auto* groupLayout = new QVBoxLayout(group);
    m_grid = new CGrid(group);
    m_grid->setObjectName(QStringLiteral("allParameters"));
    m_grid->setColumnFormat(QStringLiteral("Sr. No.|PARAMETER|VALUE"));
    m_grid->setReadOnly(false);
    const std::vector<std::uint32_t>& keys = Keys();
    m_grid->setRows(static_cast<int>(keys.size()) + 1);
    m_filling = true;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        m_rows.emplace(keys[i], row);
        m_grid->setCellText(row, kNumberColumn, QString::number(row));
        m_grid->setCellText(row, kParameterColumn, KeyName(keys[i]));
        m_grid->setCellText(row, kValueColumn, QString());
        for (const int column : {kNumberColumn, kParameterColumn}) {
            QTableWidgetItem* cell = m_grid->item(row - 1, column);
            cell->setFlags(cell->flags() & ~Qt::ItemIsEditable);
        }
        if (IsCommand(keys[i])) {
            QTableWidgetItem* cell = m_grid->item(row - 1, kValueColumn);
            cell->setFlags(cell->flags() & ~Qt::ItemIsEditable);
        }
    }
    m_filling = false;
    m_grid->setColumnWidth(kNumberColumn, 60);
    m_grid->setColumnWidth(kParameterColumn, 260);
    QObject::connect(m_grid, &QTableWidget::itemChanged, m_grid, [this](QTableWidgetItem* item) {
        if (!m_filling && item->column() == kValueColumn) {
            m_edited.insert(item->row() + 1);
        }
    });
    groupLayout->addWidget(m_grid);
    layout->addWidget(group, 1);

    // WRITE asks first, inside the view: the question and its answers replace nothing else.
    m_confirmation = new QWidget(content.get());
    auto* confirmation = new QHBoxLayout(m_confirmation);
    confirmation->setContentsMargins(0, 0, 0, 0);
    m_question = new QLabel(m_confirmation);
    auto* yes = new QPushButton(QStringLiteral("Yes"), m_confirmation);
    auto* no = new QPushButton(QStringLiteral("No"), m_confirmation);
    yes->setAccessibleName(QStringLiteral("Write: Yes"));
    no->setAccessibleName(QStringLiteral("Write: No"));
    confirmation->addWidget(m_question);
    confirmation->addWidget(yes);
    confirmation->addWidget(no);
    confirmation->addStretch(1);
    QObject::connect(yes, &QPushButton::clicked, yes,
                     [this] { RunGuarded("WRITE", [this] { ConfirmWrite(true); }); });
    QObject::connect(no, &QPushButton::clicked, no,
                     [this] { RunGuarded("WRITE", [this] { ConfirmWrite(false); }); });
    m_confirmation->hide();
    layout->addWidget(m_confirmation);

    auto* buttons = new QHBoxLayout;
    AddButton(*buttons, content.get(), "READ", [this] { ReadAll(); });
    m_write = AddButton(*buttons, content.get(), "WRITE", [this] { AskWrite(); });
    AddButton(*buttons, content.get(), "CLEAR ALL", [this] { ClearAll(); });
    buttons->addStretch(1);
    layout->addLayout(buttons);
    return content;
}

int CAllParametersView::RowOf(std::uint32_t key) const {
    const auto row = m_rows.find(key);
    return row != m_rows.end() ? row->second : 0;
}

void CAllParametersView::ReadAll() {
    m_elements.clear();
    for (const std::uint32_t key : Keys()) {
        try {
            Device().RequestRead(key);
        } catch (const std::exception&) {
            // The DTM does not know the key: the row says so and the others are read.
            ShowValue(RowOf(key), QString::fromUtf8(kErrorInReading));
        }
    }
    ShowStatus("Reading " + std::to_string(Keys().size()) + " parameters");
}

void CAllParametersView::OnParameter(std::uint32_t key) {
    int row = RowOf(key);
    QString text;
    if (row != 0) {
        std::optional<CDeviceAccess::SParameterText> value;
        try {
            value = Device().FetchText(key);
        } catch (const std::exception&) {
        }
        if (value) {
            const QString label = QString::fromStdString(value->label);
            m_filling = true;
            m_grid->setCellText(row, kParameterColumn,
                                label.isEmpty()
                                    ? KeyName(key)
                                    : label + QStringLiteral("  (") + KeyName(key) + u')');
            m_filling = false;
        }
        text = value ? QString::fromStdString(value->value) : QString::fromUtf8(kErrorInReading);
    } else {
        // A parameter read whole answers element by element: its row shows the elements.
        const std::uint32_t parameter = key & kWholeParameter;
        row = RowOf(parameter);
        if (row == 0) {
            return;
        }
        const auto value = Device().FetchText(key);
        m_elements[parameter][key] = value ? value->value : kErrorInReading;
        for (const auto& [element, elementText] : m_elements[parameter]) {
            text += (text.isEmpty() ? QString() : QStringLiteral("; ")) +
                    QString::fromStdString(elementText);
        }
    }
    ShowValue(row, text);
}

void CAllParametersView::ShowValue(int row, const QString& text) {
    if (row == 0) {
        return;
    }
    m_filling = true;
    m_grid->setCellText(row, kValueColumn, text);
    m_filling = false;
    m_edited.erase(row);
}

void CAllParametersView::ClearAll() {
    m_filling = true;
    for (int row = 1; row < m_grid->rows(); ++row) {
        m_grid->setCellText(row, kValueColumn, QString());
        MarkRow(row, true, {});
    }
    m_filling = false;
    m_edited.clear();
    m_elements.clear();
}

void CAllParametersView::AskWrite() {
    if (m_edited.empty()) {
        ShowStatus("No value has been edited: nothing to write");
        return;
    }
    m_question->setText(QStringLiteral("Write %1 edited parameter%2 to the device?")
                            .arg(m_edited.size())
                            .arg(m_edited.size() == 1 ? "" : "s"));
    m_write->setEnabled(false);
    m_confirmation->show();
}

void CAllParametersView::ConfirmWrite(bool yes) {
    m_confirmation->hide();
    m_write->setEnabled(true);
    if (!yes) {
        return;
    }
    int written = 0;
    int refused = 0;
    for (const int row : std::set<int>(m_edited)) {
        if (WriteRow(row)) {
            ++written;
            m_edited.erase(row);
        } else {
            ++refused;
        }
    }
    ShowStatus(std::to_string(written) + " written, " + std::to_string(refused) + " refused");
}

bool CAllParametersView::WriteRow(int row) {
    const std::uint32_t key = Keys()[static_cast<std::size_t>(row) - 1];
    const QString typed = m_grid->cellText(row, kValueColumn);
    try {
        Device().Write(key, ValueToWrite(Device(), key, typed));
    } catch (const std::exception& error) {
        // The row keeps what was typed, marked with the reason.
        MarkRow(row, false, error.what());
        return false;
    }
    MarkRow(row, true, {});
    return true;
}

void CAllParametersView::MarkRow(int row, bool valid, const std::string& message) {
    QTableWidgetItem* cell = m_grid->item(row - 1, kValueColumn);
    if (cell == nullptr) {
        return;
    }
    const bool filling = m_filling;
    m_filling = true;
    cell->setIcon(valid ? QIcon()
                        : CSharedIcons::Instance().GetIcon(CVelaFFUIServices::InvalidIcon));
    cell->setToolTip(QString::fromStdString(message));
    m_filling = filling;
}
