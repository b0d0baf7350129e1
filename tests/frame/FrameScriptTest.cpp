// fdt-frame --script: the steps as read from the file, and runs of the frame's session with
// the in-process control on the manual scheduler (see EndToEndTest.cpp).

#include "FrameTestSupport.h"
#include "TestPaths.h"

#include "FrameError.h"
#include "FrameScript.h"
#include "FrameSession.h"

#include "server/OnlineView.h"
#include "ui/Scheduler.h"
#include "ui/UiFakes.h"

#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <gmock/gmock.h>

#include <memory>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

using EAction = SScriptStep::EAction;

constexpr int kLatencyMs = 30;
constexpr int kRequestedView = 1000; // no navigation entry: shown by a view request
constexpr int kWorkMs = 2000;

TEST(FrameScript, ReadsEveryStepAndNamesTheFirstMalformedLine) {
    const auto steps = ParseFrameScript("# a comment\n"
                                        "\n"
                                        "  view 1000   # shown by request\n"
                                        "press \"Start test\"\n"
                                        "type \"Set\\\"point\" \"# not a comment\"\r\n"
                                        "choose Mode \"Auto\"\n"
                                        "wait idle\n"
                                        "wait 1500\n"
                                        "screenshot shots/1000.png\n");
    ASSERT_EQ(steps.size(), 7u);
    EXPECT_EQ(steps[0].line, 3);
    EXPECT_EQ(steps[0].action, EAction::View);
    EXPECT_EQ(steps[0].number, 1000);
    EXPECT_EQ(steps[0].Describe(), "line 3 (view 1000   # shown by request)");
    EXPECT_THAT(steps[1].arguments, ElementsAre("Start test"));
    EXPECT_THAT(steps[2].arguments, ElementsAre("Set\"point", "# not a comment"));
    EXPECT_THAT(steps[3].arguments, ElementsAre("Mode", "Auto"));
    EXPECT_EQ(steps[4].action, EAction::WaitIdle);
    EXPECT_EQ(steps[5].action, EAction::WaitTime);
    EXPECT_EQ(steps[5].number, 1500);
    EXPECT_EQ(steps[6].action, EAction::Screenshot);
    EXPECT_THAT(steps[6].arguments, ElementsAre("shots/1000.png"));
    EXPECT_THAT(ParseFrameScript("\n# only comments\n"), IsEmpty());

    const std::pair<const char*, const char*> malformed[] = {
        {"click \"Start\"", "unknown step \"click\""},
        {"view", "expected view ID"},
        {"view 10a0", "expected view ID"},
        {"view -1", "expected view ID"},
        {"press \"Start\" now", "expected press \"Label\""},
        {"type \"Setpoint\"", "expected type \"Field label\" \"text\""},
        {"choose \"Mode\" \"Auto", "the quote is not closed"},
        {"press \"Start\"x", "a blank must follow the closing quote"},
        {"press \"\"", "the first argument is empty"},
        {"wait soon", "expected wait idle or wait MS"},
    };
    for (const auto& [line, reason] : malformed) {
        try {
            ParseFrameScript(std::string("view 1100\n\n") + line + "\nwait idle\n");
            ADD_FAILURE() << line;
        } catch (const CFrameError& error) {
            EXPECT_EQ(error.GetExit(), EFrameExit::AutomationFailed);
            EXPECT_THAT(error.what(),
                        HasSubstr(std::string("script line 3 (") + line + "): " + reason));
        }
    }
    EXPECT_THROW(ReadFrameScript("/nonexistent/view.script"), CFrameError);
}

// The session runs a script file; a test view of the controller (view 1000, no navigation
// entry) holds a labelled field, a combo box and a button whose work runs a progress bar for
// kWorkMs.
class FrameScriptRun : public ::testing::Test {
protected:
    FrameScriptRun() { SetScheduler(&m_scheduler); }
    ~FrameScriptRun() override {
        m_session.reset();
        m_scheduler.StopAll(this);
        SetScheduler(nullptr);
    }

    // Writes the script, opens the session (with the test view) and runs it for `ms`.
    void Run(const std::string& script, int ms = 60000) {
        const QString file = m_folder.path() + "/view.script";
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(script.c_str());
        out.close();
        SFrameOptions options;
        options.latencyMs = kLatencyMs;
        options.scriptFile = file.toStdString();
        ComPtr<COnlineView> control = MakeCom<COnlineView>();
        m_control = control.Get();
        m_session =
            std::make_unique<CFrameSession>(options, control.As<IUnknown>(), true, OV_DTM_DATA_DIR);
        AddTestView();
        m_session->GetAutomation().SetOnScreenshot([this](const std::string& path) {
            m_shots.push_back(path + (m_bar->value() < m_bar->maximum() ? " busy" : ""));
        });
        ASSERT_TRUE(m_session->Start());
        Advance(m_scheduler, ms);
    }

    void AddTestView() {
        auto view = std::make_unique<::testing::NiceMock<MockView>>(kRequestedView);
        QWidget* window = view->Window();
        auto* layout = new QVBoxLayout(window);
        auto* label = new QLabel("&Setpoint:", window);
        m_edit = new QLineEdit(window);
        label->setBuddy(m_edit);
        m_notes = new QPlainTextEdit(window);
        m_notes->setPlaceholderText("Notes");
        m_combo = new QComboBox(window);
        m_combo->setAccessibleName("Mode");
        m_combo->addItems({"Auto", "Manual"});
        m_start = new QPushButton("S&tart", window);
        m_bar = new QProgressBar(window);
        m_bar->setValue(m_bar->maximum());
        for (QWidget* widget :
             std::initializer_list<QWidget*>{label, m_edit, m_notes, m_combo, m_start, m_bar}) {
            layout->addWidget(widget);
        }
        const auto log = [this](const std::string& line) { m_log.push_back(line); };
        QObject::connect(m_edit, &QLineEdit::editingFinished, window,
                         [this, log] { log("edited " + m_edit->text().toStdString()); });
        QObject::connect(m_notes, &QPlainTextEdit::textChanged, window,
                         [this, log] { log("notes " + m_notes->toPlainText().toStdString()); });
        QObject::connect(m_combo, &QComboBox::currentTextChanged, window,
                         [log](const QString& text) { log("mode " + text.toStdString()); });
        QObject::connect(m_combo, &QComboBox::textActivated, window,
                         [log](const QString& text) { log("chose " + text.toStdString()); });
        QObject::connect(m_start, &QPushButton::clicked, window, [this, log] {
            log("start");
            m_bar->setValue(0);
            m_scheduler.StartOneShot(this, 1, kWorkMs, [this] {
                if (m_bar) {
                    m_bar->setValue(m_bar->maximum());
                }
            });
        });
        std::unique_ptr<IApplicationView> registered = std::move(view);
        ASSERT_TRUE(m_control->GetController().RegisterView(kRequestedView, registered));
    }

    std::string Log() { return m_session->GetWindow().GetLog()->toPlainText().toStdString(); }
    std::string Shot(const char* name) { return (m_folder.path() + "/" + name).toStdString(); }

    CManualScheduler m_scheduler;
    QTemporaryDir m_folder;
    COnlineView* m_control = nullptr;
    std::unique_ptr<CFrameSession> m_session;
    // The test view's widgets go with the control's release.
    QPointer<QLineEdit> m_edit;
    QPointer<QPlainTextEdit> m_notes;
    QPointer<QComboBox> m_combo;
    QPointer<QPushButton> m_start;
    QPointer<QProgressBar> m_bar;
    std::vector<std::string> m_log;   // what the test view's widgets saw
    std::vector<std::string> m_shots; // the screenshots saved, " busy" while the bar ran
};

TEST_F(FrameScriptRun, ShowsViewsActsOnThemWaitsUntilIdleAndSavesScreenshots) {
    Run("view 1000\n"
        "type \"Setpoint\" \"42.5\"\n"
        "type Notes \"first run\"\n"
        "choose \"Mode\" \"Manual\"\n"
        "press \"Start\"\n"
        "screenshot " +
        Shot("early.png") +
        "\n"
        "wait idle\n"
        "screenshot " +
        Shot("1000.png") +
        "\n"
        "view 1302\n"
        "wait 500\n"
        "screenshot " +
        Shot("1302.png") + "\n");

    EXPECT_THAT(m_log, ElementsAre("edited 42.5", "notes first run", "mode Manual", "chose Manual",
                                   "start"));
    // Without a wait the picture shows the work under way; "wait idle" waits for its end.
    EXPECT_THAT(m_shots,
                ElementsAre(Shot("early.png") + " busy", Shot("1000.png"), Shot("1302.png")));
    EXPECT_EQ(m_session->GetAutomation().GetScreenshots().size(), 3u);
    EXPECT_FALSE(QImage(QString::fromStdString(Shot("1000.png"))).isNull());
    EXPECT_EQ(m_session->GetExit(), EFrameExit::Ok);
    // Headless, the window closes once the script has run.
    EXPECT_TRUE(m_session->GetWindow().IsControlReleased());
}

TEST_F(FrameScriptRun, AStepThatCannotBeDoneEndsTheScriptNamingItsLineAndTheWindowCloses) {
    Run("view 1000\n"
        "# the button's text is \"Start\"\n"
        "press \"Stop\"\n"
        "screenshot " +
        Shot("never.png") + "\n");

    EXPECT_EQ(m_session->GetExit(), EFrameExit::AutomationFailed);
    EXPECT_THAT(Log(),
                HasSubstr("script line 3 (press \"Stop\"): no visible push button \"Stop\""));
    EXPECT_THAT(m_shots, IsEmpty());
    EXPECT_TRUE(m_session->GetWindow().IsControlReleased());

    // A disabled button, a missing entry and an unknown view fail the same way.
    for (const auto& [step, reason] : std::vector<std::pair<std::string, std::string>>{
             {"press Start", "the push button \"Start\" is disabled"},
             {"choose Mode Off", "the combo box \"Mode\" has no entry \"Off\""},
             {"view 4242", "the control has no view 4242"}}) {
        m_session.reset();
        m_shots.clear();
        Run("view 1000\n" + step + "\nview 4243\n", 0);
        m_start->setEnabled(false);
        Advance(m_scheduler, 60000);
        EXPECT_THAT(Log(), HasSubstr("script line 2 (" + step + "): " + reason));
        EXPECT_THAT(Log(), ::testing::Not(HasSubstr("line 3")));
    }
}

TEST_F(FrameScriptRun, AMalformedLineFailsBeforeAnyStepRunsAndTheWindowCloses) {
    Run("view 1000\n"
        "type Setpoint 7\n"
        "screenshot " +
        Shot("never.png") +
        "\n"
        "type \"Setpoint\"\n");

    EXPECT_EQ(m_session->GetExit(), EFrameExit::AutomationFailed);
    EXPECT_THAT(Log(), HasSubstr("script line 4 (type \"Setpoint\"): expected type"));
    EXPECT_THAT(m_log, IsEmpty());
    EXPECT_THAT(m_shots, IsEmpty());
    EXPECT_TRUE(m_session->GetWindow().IsControlReleased());
}

} // namespace
