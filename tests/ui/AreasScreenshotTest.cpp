#include "AreaHarness.h"

#include "ui/ActionArea.h"
#include "ui/IdentificationArea.h"
#include "ui/LayoutDescriptionParser.h"
#include "ui/SharedIcons.h"
#include "ui/StatusArea.h"
#include "ui/ToolbarArea.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <string>

namespace {

// The navigation tree of the built-in layout, written the way the built-in document is.
const std::string kBuiltInLayout = R"(<?xml version='1.0'?>
<UILayoutDescription>
 <NavigationArea>
  <Entry label= 'Vela FF' assignedApplicationViewId= '1'>
   <Entry label= 'Dashboard' assignedApplicationViewId= '1100'/>
   <Entry label= 'Alarms' assignedApplicationViewId= '1200'>
    <Entry label= 'Alarm Enabling Configuration' assignedApplicationViewId= '1204'/>
    <Entry label= 'Digital Output Alarm Configuration' assignedApplicationViewId= '1202'/>
    <Entry label= 'Diagnostic Alarm Configuration' assignedApplicationViewId= '1203'/>
   </Entry>
   <Entry label= 'Diagnostics' assignedApplicationViewId= '1300'>
    <Entry label= 'Histogram' assignedApplicationViewId= '1302'/>
    <Entry label= 'Trends' assignedApplicationViewId= '1303'/>
    <Entry label= 'Multi Step Test' assignedApplicationViewId= '1304'/>
    <Entry label= 'Ramp Test' assignedApplicationViewId= '1305'/>
    <Entry label= 'Partial Stroke Test' assignedApplicationViewId= '1306'/>
    <Entry label= 'Data Logger' assignedApplicationViewId= '1301'/>
    <Entry label= 'Event Log' assignedApplicationViewId= '1307'/>
   </Entry>
   <Entry label= 'Calibration' assignedApplicationViewId= '1400'>
    <Entry label= 'Automatic Calibration' assignedApplicationViewId= '1401'>
     <Entry label= 'Automatic Calibration Settings' assignedApplicationViewId= '1405'/>
    </Entry>
    <Entry label= 'Pressure Sensors Calibration' assignedApplicationViewId= '1402'/>
   </Entry>
   <Entry label= 'Configuration' assignedApplicationViewId= '1500'>
    <Entry label= 'Custom' assignedApplicationViewId= '1600'>
     <Entry label= 'Positioner' assignedApplicationViewId= '1102'/>
     <Entry label= 'Tuning' assignedApplicationViewId= '1602'/>
     <Entry label= 'Units' assignedApplicationViewId= '1603'/>
    </Entry>
    <Entry label= 'Information' assignedApplicationViewId= '1501'>
     <Entry label= 'Actuator' assignedApplicationViewId= '1103'/>
     <Entry label= 'Valve' assignedApplicationViewId= '1101'/>
     <Entry label= 'FF Information' assignedApplicationViewId= '1104'/>
     <Entry label= 'FF Block Information' assignedApplicationViewId= '1506'/>
    </Entry>
    <Entry label= 'Wizards' assignedApplicationViewId= '1700'>
     <Entry label= 'Failure Mode' assignedApplicationViewId= '1701'/>
    </Entry>
   </Entry>
  </Entry>
 </NavigationArea>
</UILayoutDescription>)";

// A valve body with an actuator on top, as the device picture.
QPixmap DrawDevicePicture() {
    QPixmap picture(120, 160);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 60, 90), 3));
    painter.setBrush(QColor(150, 175, 205));
    painter.drawRoundedRect(20, 10, 80, 50, 10, 10); // actuator
    painter.drawRect(56, 60, 8, 40);                 // stem
    QPainterPath body;
    body.moveTo(10, 100);
    body.lineTo(60, 125);
    body.lineTo(110, 100);
    body.lineTo(110, 150);
    body.lineTo(60, 125);
    body.lineTo(10, 150);
    body.closeSubpath();
    painter.setBrush(QColor(95, 120, 150));
    painter.drawPath(body);
    return picture;
}

QPixmap DrawLogo() {
    QPixmap logo(280, 100);
    logo.fill(Qt::white);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 94, 160));
    painter.drawRoundedRect(4, 14, 272, 72, 16, 16);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(52);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(logo.rect(), Qt::AlignCenter, QStringLiteral("VELA"));
    return logo;
}

QPixmap DrawHintBitmap() {
    QPixmap bitmap(24, 24);
    bitmap.fill(Qt::transparent);
    QPainter painter(&bitmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 120, 215));
    painter.drawEllipse(1, 1, 22, 22);
    painter.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawPoint(12, 7);
    painter.drawLine(12, 11, 12, 18);
    return bitmap;
}

std::string Save(const QTemporaryDir& dir, const QPixmap& picture, const char* name) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    EXPECT_TRUE(picture.save(path));
    return path.toStdString();
}

// The control's areas stacked as the control lays them out, each at its own height.
void Stack(QWidget& control, std::initializer_list<std::pair<QWidget*, int>> areas) {
    auto* column = new QVBoxLayout(&control);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (const auto& [area, height] : areas) {
        if (height > 0) {
            area->setFixedHeight(height);
        }
        column->addWidget(area, height > 0 ? 0 : 1);
    }
}

TEST(AreasScreenshot, RendersTheAreasAroundTheTreeOfTheBuiltInLayout) {
    AcquireSharedIcons();
    QTemporaryDir dir;
    AreaHarness harness;
    auto* identification = new CIdentificationArea;
    auto* toolbar = new CToolbarArea;
    auto* action = new CActionArea;
    auto* status = new CStatusArea;
    Stack(harness.control, {{identification, identification->GetHeight()},
                            {toolbar, toolbar->GetHeight()},
                            {harness.splitter, 0},
                            {action, action->GetHeight()},
                            {status, status->GetHeight()}});

    identification->SetTitle("Vela FF Digital Valve Positioner");
    identification->SetLine2("Tag: FV-4711    Node address: 20");
    identification->SetLine3("Device revision 3, DTM version 1.0.0");
    identification->SetDevicePictureFile(Save(dir, DrawDevicePicture(), "device.png"));
    identification->SetLogoFile(Save(dir, DrawLogo(), "logo.png"), "Vela");

    toolbar->AddButtonIcon(1, CSharedIcons::Instance().GetIcon(27),
                           IToolbarArea::kCheckButtonUnchecked, "Hide navigation tree");
    toolbar->AddButtonIcon(2, CSharedIcons::Instance().GetIcon(16), IToolbarArea::kPushButton,
                           "Read all data");
    toolbar->AddSeparator();
    toolbar->AddButtonIcon(3, CSharedIcons::Instance().GetIcon(36), IToolbarArea::kPushButton,
                           "Diagnosis");

    harness.AddView(1202, 2);
    harness.AddView(1305, 1);
    auto* dashboard = harness.AddView(1100);
    auto* page = new QLabel(QStringLiteral("Dashboard"), dashboard->Window());
    page->move(16, 12);
    harness.controller.SetLayoutParser(CLayoutDescriptionParser::MakeLayoutParser());
    harness.controller.LoadLayout(kBuiltInLayout);
    harness.tree->ShowStateIcons(true);
    harness.tree->ExpandAll();
    harness.tree->SelectView(1100);

    action->SetImageFile(Save(dir, DrawHintBitmap(), "hint.png"));
    action->SetHintText("Live values of the positioner, read every second.");
    action->AddAction(1, "Refresh", IActionArea::kLeftGroup);
    action->AddAction(2, "Reset Alarms", IActionArea::kLeftGroup);
    action->AddAction(3, "Help", IActionArea::kRightGroup);

    status->SetConnectionState(IStatusArea::kOnline);
    status->SetCommunicating(true);
    status->SetLockState(1);
    status->SetDataSetState(IStatusArea::kDataSetValidModified);
    status->SetModifiedInDevice(true);
    status->SetDirectMode(true);
    status->SetDiagnosisStatus(5);
    status->SetMessageText("Reading parameters from the device...");

    harness.control.resize(1280, 760);
    harness.control.layout()->activate();
    harness.splitter->SetSplitterPos(harness.control.width() / 4);
    QCoreApplication::processEvents();

    const QString path = QCoreApplication::applicationDirPath() + "/areas-screenshot.png";
    ASSERT_TRUE(harness.control.grab().save(path)) << path.toStdString();
    EXPECT_EQ(harness.SelectedViewId(), 1100);
    EXPECT_EQ(identification->height(), identification->GetHeight());
    EXPECT_EQ(status->height(), status->GetHeight());
    EXPECT_EQ(harness.tree->GetWorstRootState(), 2);
    CSharedIcons::Instance().Release();
}

} // namespace
