#include "FrameWindow.h"

#include "FrameError.h"

#include "fdt/DtmInterfaces.h"
#include "server/ControlViews.h"
#include "server/ControlWidget.h"
#include "ui/Guard.h"
#include "ui/Scheduler.h"

#include <QCloseEvent>
#include <QDockWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTime>
#include <QUuid>

namespace {

constexpr int kReleaseTimer = 1;
constexpr int kLogLines = 5000;
constexpr int kLogHeight = 110;
constexpr QSize kWindowSize{1024, 768};

} // namespace

CFrameWindow::CFrameWindow(const ComPtr<IUnknown>& control, bool headless, QWidget* parent)
    : QMainWindow(parent), m_control(control.As<IDtmActiveXControl>()),
      m_widget(control.As<IControlWidget>()), m_views(control.As<IControlViews>()),
      m_headless(headless) {
    if (!m_control || !m_widget || m_widget->GetWidget() == nullptr) {
        m_control = nullptr;
        m_widget = nullptr;
        m_views = nullptr;
        throw CFrameError(EFrameExit::ClassNotCreated,
                          "the created object is not an online view control: it offers no "
                          "IDtmActiveXControl or no widget");
    }
    setWindowTitle(kTitle);
    m_controlWidget = m_widget->GetWidget();
    setCentralWidget(m_controlWidget);
    m_controlWidget->show();

    m_log = new QPlainTextEdit(this);
    m_log->setObjectName("dtmLog");
    m_log->setReadOnly(true);
    m_log->setMaximumBlockCount(kLogLines);
    auto* dock = new QDockWidget("DTM messages", this);
    dock->setObjectName("dtmMessages");
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    dock->setWidget(m_log);
    addDockWidget(Qt::BottomDockWidgetArea, dock);
    resizeDocks({dock}, {kLogHeight}, Qt::Vertical);
    resize(kWindowSize);
}

CFrameWindow::~CFrameWindow() {
    Scheduler().StopAll(this);
    if (m_control) {
        Guarded("closing the frame", [this] {
            VARIANT_BOOL agreed = VARIANT_FALSE;
            m_control->PrepareToRelease(&agreed);
        });
        ReleaseControl();
    }
}

bool CFrameWindow::InitControl(const std::string& functionCall, IUnknown* dtm) {
    if (!m_control) {
        return false;
    }
    m_invokeId = QUuid::createUuid().toString(QUuid::WithBraces).toUpper().toStdString();
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = m_control->Init(m_invokeId, functionCall, dtm, &result);
    const bool accepted = SUCCEEDED(hr) && result != VARIANT_FALSE;
    const std::string outcome = FAILED(hr) ? "failed: " + HResultText(hr)
                                : accepted ? std::string("accepted")
                                           : std::string("answered false");
    AppendLog(QString::fromStdString("Init " + outcome + " (invoke id " + m_invokeId + ")"));
    return accepted;
}

void CFrameWindow::ShowUserDialog(const std::string& dialogKind, const std::string& message) {
    const QString kind = QString::fromStdString(dialogKind);
    const QString text = QString::fromStdString(message);
    AppendLog(kind + ": " + text);
    if (m_headless) {
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Information, kind, text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

void CFrameWindow::AppendLog(const QString& text) {
    m_log->appendPlainText(QTime::currentTime().toString("HH:mm:ss.zzz") + "  " + text);
}

void CFrameWindow::closeEvent(QCloseEvent* event) {
    if (IsControlReleased()) {
        event->accept();
        return;
    }
    event->ignore();
    if (m_releaseAttempts == 0) {
        // Asked outside the close event, so that the window can close itself once released.
        m_releaseAttempts = 1;
        Scheduler().StartOneShot(this, kReleaseTimer, 0, [this] {
            Guarded("releasing the control", [this] { AskForRelease(); });
        });
    }
}

void CFrameWindow::AskForRelease() {
    if (IsControlReleased()) {
        return;
    }
    VARIANT_BOOL agreed = VARIANT_FALSE;
    const HRESULT hr = m_control->PrepareToRelease(&agreed);
    if (FAILED(hr) || agreed == VARIANT_FALSE) {
        if (m_releaseAttempts < kReleaseAttempts) {
            ++m_releaseAttempts;
            Scheduler().StartOneShot(this, kReleaseTimer, kReleaseRetryMs, [this] {
                Guarded("releasing the control", [this] { AskForRelease(); });
            });
            return;
        }
        m_releaseForced = true;
        const QString message =
            QString("The online view did not agree to be released after %1 requests; it is "
                    "released anyway.")
                .arg(kReleaseAttempts);
        AppendLog(message);
        qWarning("fdt-frame: %s", qPrintable(message));
    }
    ReleaseControl();
    close();
}

void CFrameWindow::ReleaseControl() {
    if (!m_control) {
        return;
    }
    // The widget leaves the window first, so that the window's destruction cannot delete it;
    // then the control takes it back before its last reference goes.
    if (centralWidget() == m_controlWidget) {
        takeCentralWidget();
    }
    m_widget->ReleaseWidget();
    m_controlWidget = nullptr;
    m_widget = nullptr;
    m_views = nullptr;
    m_control = nullptr;
    m_releaseAttempts = 0;
}
