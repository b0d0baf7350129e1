// The server library as the frame uses it: resolution of the ProgID in the registry file,
// loading, creation through the class factory, the control in the frame's window and
// unloading; then the fdt-frame program itself, which registers and unregisters the library
// through its entry points. The library carries its own copies of the layers it is built
// from, its own scheduler among them, so these runs take real time on Qt's event loop.

#include "FrameTestSupport.h"
#include "TestPaths.h"

#include "FrameError.h"
#include "FrameWindow.h"
#include "FunctionCall.h"
#include "NavigationAccess.h"
#include "ServerLoader.h"

#include "dtm/SimulatedDtm.h"
#include "fdt/DtmInterfaces.h"
#include "server/Registry.h"
#include "server/ServerRegistration.h"

#include <QFile>
#include <QImage>
#include <QProcess>

#include <gmock/gmock.h>

#include <filesystem>
#include <memory>

using ::testing::HasSubstr;

namespace {

const std::string kLibrary = std::filesystem::canonical(OV_SERVER_LIBRARY).string();

// The exit and message of the CFrameError that `call` throws; Ok when it throws none.
template <class Call> std::pair<EFrameExit, std::string> ErrorOf(Call&& call) {
    try {
        call();
    } catch (const CFrameError& error) {
        return {error.GetExit(), error.what()};
    }
    return {EFrameExit::Ok, ""};
}
template <class Call> EFrameExit ExitOf(Call&& call) {
    return ErrorOf(call).first;
}

class ServerLibraryTest : public ::testing::Test {
protected:
    ServerLibraryTest() { SetScheduler(nullptr); }

    void RegisterServer() {
        CServerLibrary library(kLibrary);
        ASSERT_EQ(library.Register(), S_OK);
    }

    ScopedRegistryFile m_registry;
};

TEST_F(ServerLibraryTest, FailuresNameTheirCause) {
    // A file that is not a library, a library that is not a server, a class it does not have.
    EXPECT_EQ(ExitOf([] { CServerLibrary library("/nonexistent/libVelaFFDiagnosisUI.so"); }),
              EFrameExit::LibraryNotLoaded);
    EXPECT_EQ(ExitOf([&] { CServerLibrary library(m_registry.Folder()); }),
              EFrameExit::LibraryNotLoaded);
    const auto [notServer, why] = ErrorOf([] { CServerLibrary library(OV_NOT_A_SERVER_LIBRARY); });
    EXPECT_EQ(notServer, EFrameExit::LibraryNotLoaded);
    EXPECT_THAT(why, HasSubstr("DllGetClassObject"));
    CServerLibrary library(kLibrary);
    const auto [noClass, message] =
        ErrorOf([&] { library.CreateInstance(APPID_VelaFFOnlineUI, IUnknown::Iid); });
    EXPECT_EQ(noClass, EFrameExit::ClassNotCreated);
    EXPECT_THAT(message, HasSubstr("CLASS_E_CLASSNOTAVAILABLE"));
    // A registry file that is no registry.
    QFile file(QString::fromStdString(m_registry.Path()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<NotARegistry/>");
    file.close();
    EXPECT_EQ(
        ExitOf([&] { ResolveServer(m_registry.Path(), kOnlineViewVersionIndependentProgId); }),
        EFrameExit::NotRegistered);
}

// The whole path of fdt-frame through the library: resolution of the ProgID, the control from
// the class factory in the frame's window, Init with the simulated DTM, the navigation, the
// release on closing and the unloading once nothing of the library is left.
TEST_F(ServerLibraryTest, TheLibrarysControlRunsInTheFrameWindowAndLetsTheLibraryGo) {
    EXPECT_EQ(
        ExitOf([&] { ResolveServer(m_registry.Path(), kOnlineViewVersionIndependentProgId); }),
        EFrameExit::NotRegistered);
    RegisterServer();
    const ResolvedServer server =
        ResolveServer(m_registry.Path(), kOnlineViewVersionIndependentProgId);
    EXPECT_EQ(server.m_clsid, CLSID_OnlineView);
    EXPECT_EQ(server.m_modulePath, kLibrary);
    CServerLibrary library(server.m_modulePath);
    auto dtm = MakeCom<CSimulatedDtm>(OV_DTM_DATA_DIR);
    dtm->SetBusLatency(1);
    {
        CFrameWindow window(library.CreateInstance(server.m_clsid, IUnknown::Iid), true);
        window.show();
        ASSERT_TRUE(window.InitControl(FunctionCallDocument(), dtm.As<IUnknown>().Get()));
        const CNavigationAccess navigation(window.GetControlWidget());
        ASSERT_TRUE(RunUntil([&] { return navigation.IsBuilt(); }));
        EXPECT_EQ(navigation.Entries().size(), 30u);
        EXPECT_EQ(navigation.Selected()->viewId, 1100);
        // The code of a living control stays loaded.
        EXPECT_FALSE(library.CanUnloadNow());
        EXPECT_FALSE(library.Unload());
        EXPECT_TRUE(library.IsLoaded());

        window.close();
        ASSERT_TRUE(RunUntil([&] { return window.IsControlReleased(); }));
        EXPECT_FALSE(window.WasReleaseForced());
        EXPECT_FALSE(dtm->IsUIRegistered());
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(library.CanUnloadNow());
    EXPECT_TRUE(library.Unload());
    EXPECT_FALSE(library.IsLoaded());
}

// fdt-frame as a user runs it, headless.
class FrameProgramTest : public ServerLibraryTest {
protected:
    struct Run {
        int exitCode = -1;
        std::string out;
        std::string err;
    };

    Run Frame(const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("FDT_REGISTRY_FILE", QString::fromStdString(m_registry.Path()));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("VELA_DTM_DATA", OV_DTM_DATA_DIR);
        process.setProcessEnvironment(environment);
        process.start(OV_FRAME_PROGRAM, arguments);
        EXPECT_TRUE(process.waitForFinished(60000)) << arguments.join(' ').toStdString();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput().toStdString(),
                process.readAllStandardError().toStdString()};
    }
};

TEST_F(FrameProgramTest, RegistersShowsTheViewSavesAScreenshotQuitsAndUnregisters) {
    Run run = Frame({"--latency", "1", "--quit-after", "100"});
    EXPECT_EQ(run.exitCode, static_cast<int>(EFrameExit::NotRegistered));
    EXPECT_THAT(run.err, HasSubstr("fdt-frame --register"));

    run = Frame({"--register", "--library", QString::fromStdString(kLibrary)});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    const std::string shot = m_registry.Folder() + "/histogram.png";
    run = Frame({"--latency", "1", "--view", "1302", "--screenshot", QString::fromStdString(shot),
                 "--user-level", "observer", "--no-private-dialogs"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, shot + "\n");
    EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
    EXPECT_EQ(Frame({"--latency", "1", "--quit-after", "300"}).exitCode, 0);

    run = Frame({"--unregister", "--library", QString::fromStdString(kLibrary)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Frame({"--quit-after", "100"}).exitCode, static_cast<int>(EFrameExit::NotRegistered));
}

TEST_F(FrameProgramTest, ARegisteredLibraryThatIsGoneIsReportedAsNotLoading) {
    Registry registry(m_registry.Path());
    ::RegisterServer(registry, kOnlineViewServerIds, "/nonexistent/libVelaFFDiagnosisUI.so");
    registry.Save();
    const Run run = Frame({"--quit-after", "100"});
    EXPECT_EQ(run.exitCode, static_cast<int>(EFrameExit::LibraryNotLoaded));
    EXPECT_THAT(run.err, HasSubstr("/nonexistent/libVelaFFDiagnosisUI.so"));
    EXPECT_EQ(Frame({"--frobnicate"}).exitCode, static_cast<int>(EFrameExit::Usage));
}

} // namespace
