#include "AreaHarness.h"

#include "ui/ActionArea.h"
#include "ui/DtmStateDocument.h"
#include "ui/IdentificationArea.h"
#include "ui/StatusArea.h"
#include "ui/TextProvider.h"
#include "ui/ToolbarArea.h"

#include <QAction>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// Draws a picture of the size into the directory and answers its path.
std::string DrawPicture(const QTemporaryDir& dir, const char* name, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QString path = dir.filePath(QString::fromLatin1(name));
    EXPECT_TRUE(image.save(path));
    return path.toStdString();
}

QIcon FilledIcon() {
    QPixmap icon(16, 16);
    icon.fill(Qt::red);
    return QIcon(icon);
}

// --- Status area ------------------------------------------------------------------------

// What a pane shows, as "icon|text|tip".
std::string Shows(const CStatusArea& area, int pane) {
    const CStatusPane& shown = area.GetPane(pane);
    return std::to_string(shown.GetIconId()) + "|" + shown.GetText().toStdString() + "|" +
           shown.GetTip().toStdString();
}

// A text source that knows the key "UI_TEXT_0".
class OneTextSource : public ITextSource {
public:
    std::optional<QString> GetText(const QString& key) const override {
        return key == "UI_TEXT_0" ? std::optional<QString>("Online (source)") : std::nullopt;
    }
};

TEST(StatusArea, PanesRunLeftToRightAndTheMessagePaneTakesTheRest) {
    CStatusArea area;
    area.resize(800, area.GetHeight());
    area.show();
    for (int pane = 1; pane < CStatusArea::kPaneCount; ++pane) {
        const CStatusPane& before = area.GetPane(pane - 1);
        EXPECT_GE(area.GetPane(pane).x(), before.x() + before.width()) << pane;
    }
    EXPECT_GT(area.GetPane(CStatusArea::kMessagePane).width(), 200);
}

TEST(StatusArea, EverySetterShowsItsIconTextAndTip) {
    CStatusArea area;
    const std::vector<std::tuple<std::function<void()>, int, std::string>> cases{
        {[&] { area.SetConnectionState(0); }, 0, "5|Connected|"},
        {[&] { area.SetConnectionState(1); }, 0, "2|Disconnected|"},
        {[&] { area.SetConnectionState(2); }, 0, "4||"},
        {[&] { area.SetConnectionState(3); }, 0, "3||"},
        {[&] { area.SetConnectionState(4); }, 0, "1||"},
        {[&] { area.SetConnectionState(9); }, 0, "0||"},
        {[&] { area.SetDataSetState(1); }, 3, "31||ValidModified"},
        {[&] { area.SetDataSetState(2); }, 3, "30||InvalidModified"},
        {[&] { area.SetDataSetState(3); }, 3, "0||AllDataLoaded"},
        {[&] { area.SetDataSetState(0); }, 3, "0||Default"},
        {[&] { area.SetDataSetState(8); }, 3, "0||Default"},
        {[&] { area.SetLockState(1); }, 2, "6|Data set|"},
        {[&] { area.SetLockState(2); }, 2, "7|Data set locked|"},
        {[&] { area.SetLockState(3); }, 2, "8|Device|"},
        {[&] { area.SetLockState(4); }, 2, "9|Device locked|"},
        {[&] { area.SetLockState(0); }, 2, "0||"},
        {[&] { area.SetDiagnosisStatus(1); }, 6, "12||Failure"},
        {[&] { area.SetDiagnosisStatus(2); }, 6, "13||Functional check"},
        {[&] { area.SetDiagnosisStatus(3); }, 6, "35||Off \x73pecification"},
        {[&] { area.SetDiagnosisStatus(4); }, 6, "11||Maintenance required"},
        {[&] { area.SetDiagnosisStatus(5); }, 6, "36||OK"},
        {[&] { area.SetDiagnosisStatus(0); }, 6, "0||"},
        {[&] { area.SetCommunicating(true); }, 1, "16||Communication with device is in progress"},
        {[&] { area.SetCommunicating(false); }, 1, "0||"},
        {[&] { area.SetModifiedInDevice(true); }, 4, "37||Data modified in device"},
        {[&] { area.SetModifiedInDevice(false); }, 4, "0||"},
        {[&] { area.SetDirectMode(true); }, 5, "15||Direct mode"},
        {[&] { area.SetDirectMode(false); }, 5, "0||"},
        {[&] { area.SetMessageText("Reading..."); }, 8, "0|Reading...|"},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& [call, pane, expected] = cases[i];
        area.SetMessageText("stale"); // each setter first clears what its pane showed
        call();
        EXPECT_EQ(Shows(area, pane), expected) << "case " << i;
    }

    CTextProvider texts;
    texts.SetPrimarySource(std::make_shared<OneTextSource>());
    area.SetTextProvider(&texts);
    area.SetConnectionState(0);
    EXPECT_EQ(Shows(area, 0), "5|Online (source)|");
}

TEST(StatusArea, StateTextsMapToTheirNumbers) {
    const std::map<std::string, int> connection{{"Online", 0},       {"GoingOnline", 2},
                                                {"GoingOffline", 3}, {"Aborted", 4},
                                                {"online", 1},       {"", 1}};
    for (const auto& [text, state] : connection) {
        EXPECT_EQ(CStatusArea::ConnectionStateFromText(text), state) << text;
    }
    const std::map<std::string, int> dataSet{{"default", 0},         {"validModified", 1},
                                             {"invalidModified", 2}, {"allDataLoaded", 3},
                                             {"ValidModified", 0},   {"x", 0}};
    for (const auto& [text, state] : dataSet) {
        EXPECT_EQ(CStatusArea::DataSetStateFromText(text), state) << text;
    }
}

TEST(StatusArea, FollowsTheStateDocument) {
    CStatusArea area;
    // The state document as the controller hands it on: read once, then shown.
    const auto follow = [&](const std::string& document) {
        if (const auto state = SDtmStateDocument::Parse(document)) {
            area.ShowDtmState(*state);
        }
    };
    const auto icons = [&] {
        return std::vector<int>{area.GetPane(0).GetIconId(), area.GetPane(1).GetIconId(),
                                area.GetPane(3).GetIconId(), area.GetPane(4).GetIconId()};
    };
    follow(R"(<DtmState state="Somewhere" dataSetState="validModified"
              isCommunicating="1" modifiedInDevice="true"/>)");
    EXPECT_EQ(Shows(area, 0), "2|Disconnected|");
    EXPECT_EQ(Shows(area, 3), "31||ValidModified");
    EXPECT_EQ(icons(), (std::vector<int>{2, 16, 31, 37}));

    // Absent attributes leave their panes; a value that is no boolean too; a broken document
    // changes nothing.
    ReportedErrors reported;
    follow(R"(<DtmState state="Online" modifiedInDevice="maybe"/>)");
    EXPECT_EQ(reported.errors, Log{"CStatusArea: modifiedInDevice: Input format is not valid"});
    EXPECT_EQ(Shows(area, 0), "5|Connected|");
    EXPECT_EQ(icons(), (std::vector<int>{5, 16, 31, 37}));
    follow(R"(<DtmState state="Aborted")");
    EXPECT_EQ(icons(), (std::vector<int>{5, 16, 31, 37}));
    follow(R"(<DtmState isCommunicating="0" modifiedInDevice="0"/>)");
    EXPECT_EQ(icons(), (std::vector<int>{5, 0, 31, 0}));
}

// --- Toolbar area -----------------------------------------------------------------------

class ToolbarAreaTest : public ::testing::Test {
protected:
    ToolbarAreaTest() {
        toolbar.SetController(&harness.controller);
        harness.controller.SetToolbarArea(&toolbar);
        toolbar.show();
    }

    void Click(int commandId) {
        QTest::mouseClick(toolbar.GetToolBar()->widgetForAction(toolbar.FindButton(commandId)),
                          Qt::LeftButton);
    }

    AreaHarness harness;
    CToolbarArea toolbar;
    QTemporaryDir dir;
};

TEST_F(ToolbarAreaTest, ButtonsComeFromIconsFilesAndResourcesOrNotAtAll) {
    EXPECT_TRUE(toolbar.AddButtonIcon(1, FilledIcon(), IToolbarArea::kPushButton, "Icon"));
    EXPECT_TRUE(toolbar.AddButtonFile(2, DrawPicture(dir, "button.png", {16, 15}),
                                      IToolbarArea::kPushButton, "File"));
    toolbar.AddSeparator();
    // A known command id, a missing image and a null icon add nothing.
    EXPECT_FALSE(toolbar.AddButtonIcon(1, FilledIcon(), IToolbarArea::kPushButton, "Again"));
    EXPECT_FALSE(toolbar.AddButtonFile(3, dir.filePath("missing.png").toStdString(),
                                       IToolbarArea::kPushButton, "Missing"));
    EXPECT_FALSE(toolbar.AddButtonResource(4, 999, IToolbarArea::kPushButton, "No resource"));
    EXPECT_FALSE(toolbar.AddButtonIcon(5, QIcon(), IToolbarArea::kPushButton, "Null"));
    EXPECT_EQ(toolbar.GetToolBar()->actions().size(), 3);
    EXPECT_EQ(toolbar.FindButton(1)->text(), "Icon");

    toolbar.DeleteButton(1);
    toolbar.DeleteButton(42);
    EXPECT_EQ(toolbar.FindButton(1), nullptr);
    EXPECT_EQ(toolbar.GetToolBar()->actions().size(), 2);
}

TEST_F(ToolbarAreaTest, TooltipIsTheLabelOrTheDisabledTextAtMost79Characters) {
    toolbar.AddButtonIcon(1, FilledIcon(), IToolbarArea::kPushButton, "Save to file");
    toolbar.AddButtonIcon(2, FilledIcon(), IToolbarArea::kPushButton, std::string(100, 'x'));
    EXPECT_EQ(toolbar.GetToolTipText(1), "Save to file");
    EXPECT_EQ(toolbar.GetToolTipText(2), std::string(79, 'x'));
    EXPECT_EQ(toolbar.GetToolTipText(3), "");

    toolbar.EnableButton(1, false);
    EXPECT_EQ(toolbar.GetToolTipText(1), "This button is currently disabled!");
    EXPECT_EQ(toolbar.FindButton(1)->toolTip(), "This button is currently disabled!");
    EXPECT_FALSE(toolbar.FindButton(1)->isEnabled());
    toolbar.EnableButton(1, true);
    EXPECT_EQ(toolbar.FindButton(1)->toolTip(), "Save to file");
}

TEST_F(ToolbarAreaTest, ButtonsRaiseActionEventsWithTheirCheckState) {
    toolbar.AddButtonIcon(10, FilledIcon(), IToolbarArea::kCheckButtonChecked, "Checked");
    toolbar.AddButtonIcon(11, FilledIcon(), IToolbarArea::kCheckButtonUnchecked, "Unchecked");
    toolbar.AddButtonIcon(12, FilledIcon(), IToolbarArea::kPushButton, "Push");
    for (int id : {10, 10, 11, 12}) {
        Click(id);
    }
    EXPECT_EQ(harness.log, (Log{"action 10 1", "action 10 0", "action 11 0", "action 12 2"}));
    toolbar.EnableButton(12, false);
    Click(12);
    EXPECT_EQ(harness.log.size(), 4u);
}

// --- Action area ------------------------------------------------------------------------

class ActionAreaTest : public ::testing::Test {
protected:
    ActionAreaTest() {
        action.SetController(&harness.controller);
        harness.controller.SetActionArea(&action);
        action.resize(800, action.GetHeight());
        action.show();
    }

    QPoint At(int actionId) const { return action.FindButton(actionId)->pos(); }

    AreaHarness harness;
    CActionArea action;
    QTemporaryDir dir;
    const int top = action.GetHeight() / 2 - 14;
};

TEST_F(ActionAreaTest, RowPlacesLeftAndRightGroupsWithAndWithoutBitmap) {
    // Mixed order: the groups keep their list order each.
    EXPECT_TRUE(action.AddAction(1, "Right 1", IActionArea::kRightGroup));
    EXPECT_TRUE(action.AddAction(2, "Left 1", IActionArea::kLeftGroup));
    EXPECT_TRUE(action.AddAction(3, "Right 2", IActionArea::kRightGroup));
    EXPECT_TRUE(action.AddAction(4, "Left 2", IActionArea::kLeftGroup));
    EXPECT_TRUE(action.AddAction(5, "Right 3", IActionArea::kRightGroup));
    const std::map<int, QPoint> withoutBitmap{
        {2, {10, top}}, {4, {120, top}}, {1, {470, top}}, {3, {580, top}}, {5, {690, top}}};
    for (const auto& [id, position] : withoutBitmap) {
        EXPECT_EQ(At(id), position) << id;
        EXPECT_EQ(action.FindButton(id)->size(), QSize(100, 28));
    }

    action.SetImageFile(DrawPicture(dir, "hint.png", {40, 30}));
    EXPECT_EQ(At(2), QPoint(13 + 40 + 10, top));
    EXPECT_EQ(At(4), QPoint(13 + 40 + 120, top));
    EXPECT_EQ(At(1), QPoint(470, top));

    // A file that does not load keeps the bitmap; an empty path removes it.
    action.SetImageFile(dir.filePath("missing.bmp").toStdString());
    EXPECT_EQ(action.GetBitmap().width(), 40);
    action.SetImageFile("");
    EXPECT_EQ(At(2), QPoint(10, top));

    // Resizing keeps the right group at the right edge.
    action.resize(600, action.GetHeight());
    EXPECT_EQ(At(5), QPoint(490, top));
    EXPECT_EQ(At(2), QPoint(10, top));
}

TEST_F(ActionAreaTest, ActionsAreAddedOnceRemovedEnabledAndRaiseEvents) {
    EXPECT_TRUE(action.AddAction(7, "Start", IActionArea::kLeftGroup));
    EXPECT_TRUE(action.AddAction(8, "Stop", IActionArea::kLeftGroup));
    EXPECT_FALSE(action.AddAction(7, "Start again", IActionArea::kRightGroup));
    EXPECT_EQ(action.FindButton(7)->text(), "Start");
    EXPECT_EQ(At(8), QPoint(120, top));

    QTest::mouseClick(action.FindButton(7), Qt::LeftButton);
    EXPECT_EQ(harness.log, Log{"action 7 2"});
    action.EnableAction(7, false);
    QTest::mouseClick(action.FindButton(7), Qt::LeftButton);
    EXPECT_EQ(harness.log.size(), 1u);
    action.EnableAll(true);
    EXPECT_TRUE(action.FindButton(7)->isEnabled());
    action.EnableAll(false);
    EXPECT_FALSE(action.FindButton(8)->isEnabled());

    EXPECT_TRUE(action.RemoveAction(7));
    EXPECT_FALSE(action.RemoveAction(7));
    EXPECT_EQ(action.FindButton(7), nullptr);
    EXPECT_EQ(At(8), QPoint(10, top));
}

// --- Identification area ----------------------------------------------------------------

TEST(IdentificationArea, ShowsPicturesScaledToFitTheirBoxesAndKeepsThemWhenOthersDoNotLoad) {
    QTemporaryDir dir;
    CIdentificationArea area;
    // Larger than its 64 x 60 box: scaled down keeping the aspect ratio 2:1.
    area.SetDevicePictureFile(DrawPicture(dir, "wide.png", {200, 100}));
    EXPECT_EQ(area.GetDevicePicture().size(), QSize(64, 32));
    // Smaller: as it is.
    area.SetLogoFile(DrawPicture(dir, "small.png", {50, 20}), "Vela");
    EXPECT_EQ(area.GetLogo().size(), QSize(50, 20));
    // Taller than the 140 x 60 logo box.
    area.SetLogoFile(DrawPicture(dir, "tall.png", {30, 120}), "Tall");
    EXPECT_EQ(area.GetLogo().size(), QSize(15, 60));

    area.SetDevicePictureFile(dir.filePath("missing.png").toStdString());
    area.SetDevicePictureResource(999);
    area.SetLogoResource(999, "Other");
    EXPECT_EQ(area.GetDevicePicture().size(), QSize(64, 32));
    EXPECT_EQ(area.GetLogoText(), "Tall");
}

} // namespace
