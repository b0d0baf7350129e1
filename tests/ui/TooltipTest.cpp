#include "common/QtPrinters.h"
#include "ui/Guard.h"
#include "ui/ToolTipManager.h"
#include "ui/TooltipInformation.h"

#include <QFile>
#include <QSinglePointEvent>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

using TooltipMap = CTooltipInformation::TooltipMap;

class TooltipFiles : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& content) {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    QTemporaryDir m_dir;
};

TEST_F(TooltipFiles, MapsKeysToCodesFromTheFirstTooltipsElement) {
    const QString path = Write("tips.xml", R"(<?xml version="1.0"?>
        <Device><Help>
          <Tooltips>
            <Tip key="TT_COM_BN_SOUND" code="1201"/>
            <Tip key="TT_DUP" code="first"/>
            <Tip key="TT_NOCODE"/>
            <Tip code="nokey"/>
            <Other key="TT_OTHER" code="9"/>
            <Tip key="TT_DUP" code="second"/>
          </Tooltips>
          <Tooltips><Tip key="TT_LATER" code="7"/></Tooltips>
        </Help></Device>)");
    CTooltipInformation information;
    QStringList asked;
    EXPECT_TRUE(information.Load([&](const QString& name) {
        asked << name;
        return path;
    }));
    EXPECT_EQ(asked, QStringList{"TooltipInformationPath"});
    EXPECT_EQ(
        information.GetTooltips(),
        (TooltipMap{
            {"TT_COM_BN_SOUND", "1201"}, {"TT_DUP", "second"}, {"TT_NOCODE", ""}, {"", "nokey"}}));
}

TEST_F(TooltipFiles, UnusableFilesGiveAnEmptyMapAndKeepAnEarlierOne) {
    Write("leak.xml", R"(<Tip key="TT_LEAK" code="leaked"/>)");
    const QString external = Write("external.xml", R"(<?xml version="1.0"?>
        <!DOCTYPE Tooltips [<!ENTITY tips SYSTEM "leak.xml">]>
        <Tooltips>&tips;</Tooltips>)");
    const QString notXml = Write("broken.xml", "<Tooltips><Tip key=\"a\" code=\"b\"></Tooltips");
    const QString noTooltips = Write("empty.xml", "<Tips><Tip key=\"a\" code=\"b\"/></Tips>");

    QString error;
    for (const QString& path : {m_dir.filePath("missing.xml"), notXml, QString()}) {
        CTooltipInformation information;
        EXPECT_FALSE(information.LoadFile(path, &error)) << path.toStdString();
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(information.GetTooltips().empty());
    }
    for (const QString& path : {external, noTooltips}) {
        CTooltipInformation information;
        EXPECT_TRUE(information.LoadFile(path));
        EXPECT_TRUE(information.GetTooltips().empty()) << path.toStdString();
    }
    CTooltipInformation information;
    EXPECT_FALSE(information.Load({}));

    const QString good = Write("good.xml", "<Tooltips><Tip key=\"a\" code=\"b\"/></Tooltips>");
    ASSERT_TRUE(information.LoadFile(good));
    EXPECT_FALSE(information.LoadFile(notXml));
    EXPECT_EQ(information.GetTooltips(), (TooltipMap{{"a", "b"}}));
}

// A tooltip control that notes what it is shown.
class RecordingToolTip : public IToolTipControl {
public:
    void RelayEvent(QWidget* target, const QSinglePointEvent& event) override {
        m_seen.emplace_back(target, event.type());
        if (m_throws) {
            throw std::runtime_error("tip failed");
        }
    }

    std::vector<std::pair<QWidget*, QEvent::Type>> m_seen;
    bool m_throws = false;
};

class ToolTipRelay : public ::testing::Test {
protected:
    ToolTipRelay() {
        m_outerChild = new QWidget(&m_outer);
        m_inner = new QWidget(&m_outer);
        m_innerChild = new QWidget(m_inner);
        m_outerChild->setGeometry(0, 0, 40, 40);
        m_inner->setGeometry(50, 0, 50, 50);
        m_innerChild->setGeometry(0, 0, 20, 20);
        m_outer.resize(100, 100);
        m_outer.show();
    }

    QWidget m_outer;
    QWidget* m_outerChild;
    QWidget* m_inner;
    QWidget* m_innerChild;
};

TEST_F(ToolTipRelay, RegistryAnswersWhetherItChanged) {
    CToolTipManager manager;
    RecordingToolTip a, b;
    EXPECT_TRUE(manager.Register(&a, &m_outer));
    EXPECT_FALSE(manager.Register(&a, m_inner));
    EXPECT_FALSE(manager.Register(nullptr, &m_outer));
    EXPECT_FALSE(manager.Register(&b, nullptr));
    EXPECT_TRUE(manager.Unregister(&a));
    EXPECT_FALSE(manager.Unregister(&a));
    EXPECT_FALSE(manager.Unregister(&b));
}

TEST_F(ToolTipRelay, MouseEventsReachTheFirstLiveOwnerContainingTheTarget) {
    CToolTipManager manager;
    RecordingToolTip gone, outer, inner;
    auto goneOwner = std::make_unique<QWidget>();
    manager.Register(&gone, goneOwner.get());
    manager.Register(&inner, m_inner);
    manager.Register(&outer, &m_outer);
    goneOwner.reset();
    manager.Install();

    QTest::mouseClick(m_innerChild, Qt::LeftButton);
    QTest::mouseMove(m_outerChild, QPoint(5, 5));
    QTest::keyClick(m_innerChild, Qt::Key_A);
    EXPECT_TRUE(gone.m_seen.empty());
    using Seen = std::vector<std::pair<QWidget*, QEvent::Type>>;
    EXPECT_EQ(inner.m_seen, (Seen{{m_innerChild, QEvent::MouseButtonPress},
                                  {m_innerChild, QEvent::MouseButtonRelease}}));
    EXPECT_EQ(outer.m_seen, (Seen{{m_outerChild, QEvent::MouseMove}}));

    // An event aimed at the owner window itself is not one of its children's.
    manager.Unregister(&inner);
    inner.m_seen.clear();
    QTest::mouseClick(m_inner, Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_EQ(outer.m_seen.back(), (std::pair{m_inner, QEvent::MouseButtonRelease}));
    EXPECT_TRUE(inner.m_seen.empty());
    manager.Uninstall();
}

TEST_F(ToolTipRelay, HookLivesFromFirstInstallToLastUninstall) {
    CToolTipManager manager;
    RecordingToolTip tip;
    manager.Register(&tip, &m_outer);
    const auto relayedAfterClick = [&] {
        tip.m_seen.clear();
        QTest::mouseClick(m_outerChild, Qt::LeftButton);
        return !tip.m_seen.empty();
    };
    EXPECT_FALSE(relayedAfterClick());
    manager.Install();
    manager.Install();
    manager.Uninstall();
    EXPECT_EQ(manager.InstallCount(), 1);
    EXPECT_TRUE(relayedAfterClick());
    manager.Uninstall();
    manager.Uninstall();
    EXPECT_EQ(manager.InstallCount(), 0);
    EXPECT_FALSE(relayedAfterClick());
    manager.Install();
    EXPECT_TRUE(relayedAfterClick());
    manager.Uninstall();
}

TEST_F(ToolTipRelay, AFailingToolTipNeitherEscapesNorStopsTheEvent) {
    CToolTipManager manager;
    RecordingToolTip tip;
    tip.m_throws = true;
    manager.Register(&tip, &m_outer);
    manager.Install();
    std::vector<std::string> reported;
    const GuardReporter previous = SetGuardReporter(
        [&](const std::string&, const std::string& error) { reported.push_back(error); });

    class Counter : public QObject {
    public:
        bool eventFilter(QObject*, QEvent* event) override {
            m_presses += event->type() == QEvent::MouseButtonPress ? 1 : 0;
            return false;
        }
        int m_presses = 0;
    } counter;
    m_outerChild->installEventFilter(&counter);
    QTest::mousePress(m_outerChild, Qt::LeftButton);
    QTest::mouseRelease(m_outerChild, Qt::LeftButton);
    SetGuardReporter(previous);
    manager.Uninstall();
    EXPECT_EQ(counter.m_presses, 1);
    EXPECT_EQ(reported, (std::vector<std::string>{"tip failed", "tip failed"}));
}

} // namespace
