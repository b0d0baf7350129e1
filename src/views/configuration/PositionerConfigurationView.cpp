#include "views/configuration/PositionerConfigurationView.h"

#include "model/Conversions.h"
#include "model/DeviceState.h"
#include "model/NumericParameterDescriptor.h"
#include "views/common/DeviceKeys.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr double kCurveStep = 100.0 / (CPositionerConfigurationView::kCurvePoints - 1);

std::uint32_t CurveKey(int point) {
    return CPositionerConfigurationView::kCustomCurve + static_cast<std::uint32_t>(point) + 1;
}

QLabel* Explanation(const char* text, QWidget* parent, int width = 300) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setWordWrap(true);
    label->setMaximumWidth(width);
    return label;
}

} // namespace

CPositionerConfigurationView::CPositionerConfigurationView(const SViewContext& context)
    : CConfigurationView(context, "POSITIONER", "PositionerDashBoard: Invalid Value in:") {}

void CPositionerConfigurationView::CreateFields(QWidget& content, QVBoxLayout& layout) {
    auto* columns = new QHBoxLayout;

    auto* travel = new QGroupBox(QStringLiteral("Travel Control"), &content);
    auto* travelLayout = new QVBoxLayout(travel);
    travelLayout->addWidget(Form().AddGroup(travel, QStringLiteral("Limited"), kLimited));
    travelLayout->addWidget(
        Explanation("The maximum and minimum travel, in percent, of the valve closure member. "
                    "Travel is restricted to set the range  between these two limits.",
                    travel));
    travelLayout->addWidget(Form().AddGroup(travel, QStringLiteral("Cut-off"), kCutoff));
    // Which cut-off each explanation belongs to, as a small form below the fields.
    auto* cutoffs = new QGridLayout;
    cutoffs->setColumnStretch(1, 1);
    const auto explain = [&](int row, const char* field, const char* text) {
        cutoffs->addWidget(new QLabel(QString::fromUtf8(field), travel), row, 0, Qt::AlignTop);
        cutoffs->addWidget(Explanation(text, travel), row, 1);
    };
    explain(0, "Low:",
            "When the command signal reaches or drops below this value, the positioner drives "
            "the valve to its close position");
    explain(1, "High:",
            "When the command signal reaches or exceeds this value, the positioner drives the "
            "valve to its open position");
    travelLayout->addLayout(cutoffs);
    travelLayout->addStretch(1);
    columns->addWidget(travel, 0);

    auto* right = new QVBoxLayout;
    QGroupBox* characteristics =
        Form().AddGroup(&content, QStringLiteral("Characteristics"), kCharacteristics);
    right->addWidget(characteristics);
    right->addWidget(Explanation("The device must be put \"Out of Service\" to change the "
                                 "character selection.",
                                 &content, 260));

    auto* curveGroup = new QGroupBox(QStringLiteral("Custom Curve"), &content);
    auto* curveLayout = new QVBoxLayout(curveGroup);
    m_curve = new QTableWidget(kCurvePoints, 2, curveGroup);
    m_curve->setAccessibleName(QStringLiteral("Custom Curve"));
    m_curve->setHorizontalHeaderLabels({QStringLiteral("Input %"), QStringLiteral("Output %")});
    m_curve->verticalHeader()->setVisible(false);
    m_curve->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_curve->verticalHeader()->setDefaultSectionSize(20);
    m_curve->setFixedWidth(220);
    m_curve->setFixedHeight(180);
    for (int point = 0; point < kCurvePoints; ++point) {
        auto* input = new QTableWidgetItem(QString::number(point * kCurveStep, 'f', 2));
        input->setFlags(Qt::ItemIsEnabled);
        m_curve->setItem(point, 0, input);
        m_curve->setItem(point, 1, new QTableWidgetItem);
    }
    curveLayout->addWidget(m_curve);
    right->addWidget(curveGroup);

    right->addWidget(
        Form().AddGroup(&content, QStringLiteral("Local Display Language"), kLanguage));
    right->addStretch(1);
    columns->addLayout(right);
    columns->addStretch(1);
    layout.addLayout(columns);

    QObject::connect(Form().Choice(kCharacter), &QComboBox::currentIndexChanged, m_curve,
                     [this] { EnableCurve(); });
    EnableCurve();
}

void CPositionerConfigurationView::ReadMore() {
    for (int point = 0; point < kCurvePoints; ++point) {
        Device().RequestRead(CurveKey(point));
    }
    Device().RequestRead(device_keys::kServiceMode);
    LockCharacter();
}

void CPositionerConfigurationView::OnOtherParameter(std::uint32_t key) {
    if (key == device_keys::kServiceMode) {
        LockCharacter();
        return;
    }
    if (key > kCustomCurve && key <= CurveKey(kCurvePoints - 1)) {
        const int point = static_cast<int>(key - kCustomCurve) - 1;
        if (const auto value = Device().Fetch<CNumericParameterDescriptor>(key)) {
            m_curve->item(point, 1)->setText(
                QString::number(CConversions::to_double(*value), 'f', 2));
        }
    }
}

void CPositionerConfigurationView::LockCharacter() {
    // The header keeps the device's mode in the device state record.
    Form().SetEnabled(kCharacter, !State().inService);
    EnableCurve();
}

bool CPositionerConfigurationView::CustomSelected() const {
    const QComboBox* character = Form().Choice(kCharacter);
    return character->currentIndex() >= 0 && character->currentData().toUInt() == kCustomCharacter;
}

void CPositionerConfigurationView::EnableCurve() {
    // The points count only for the custom characteristic, and change only when it may.
    m_curve->setEnabled(CustomSelected() && Form().Choice(kCharacter)->isEnabled());
}

void CPositionerConfigurationView::DefaultsMore() {
    // The default curve is the straight line.
    for (int point = 0; point < kCurvePoints; ++point) {
        m_curve->item(point, 1)->setText(QString::number(point * kCurveStep, 'f', 2));
    }
}

bool CPositionerConfigurationView::CheckMore() {
    if (!m_curve->isEnabled()) {
        return true;
    }
    // Every output a number from 0 to 100 %, none below the one before.
    double previous = 0.0;
    for (int point = 0; point < kCurvePoints; ++point) {
        QTableWidgetItem* output = m_curve->item(point, 1);
        bool number = false;
        const double value = output->text().trimmed().toDouble(&number);
        if (!number || value < 0.0 || value > 100.0 || value < previous) {
            m_curve->setCurrentItem(output);
            ShowSettingsStatus(QStringLiteral("PositionerDashBoard: Invalid Value in: Custom "
                                              "Curve at %1 % (0 to 100, rising; nothing written)")
                                   .arg(m_curve->item(point, 0)->text()));
            return false;
        }
        previous = value;
    }
    return true;
}

void CPositionerConfigurationView::WriteMore() {
    if (!m_curve->isEnabled()) {
        return;
    }
    for (int point = 0; point < kCurvePoints; ++point) {
        Device().Write(CurveKey(point), m_curve->item(point, 1)->text().trimmed().toStdString());
    }
}
