#pragma once

#include "com/ComPtr.h"

#include <QMainWindow>

#include <string>

class IControlViews;
class IControlWidget;
class IDtmActiveXControl;
class QPlainTextEdit;

// The frame's main window: the control's widget in the middle, the DTM's messages in a log
// pane at the bottom. The window holds the frame's references to the control. Closing it
// asks the control for consent (PrepareToRelease) until it agrees, asking again every
// kReleaseRetryMs and at most kReleaseAttempts times; then it hands the widget back
// (ReleaseWidget), drops its references and closes. A control that never agrees is released
// all the same, with a message, so that the frame can always end.
class CFrameWindow : public QMainWindow {
public:
    static constexpr int kReleaseRetryMs = 100;
    static constexpr int kReleaseAttempts = 50;
    static constexpr const char* kTitle = "FDT frame - VelaFFDiagnosisUI.OnlineView";

    // `control` must offer IDtmActiveXControl and IControlWidget; otherwise CFrameError
    // (EFrameExit::ClassNotCreated) is thrown. Headless: the DTM's dialogs go to the log only.
    CFrameWindow(const ComPtr<IUnknown>& control, bool headless, QWidget* parent = nullptr);
    // Releases a control that is still held, without waiting for its consent.
    ~CFrameWindow() override;
    CFrameWindow(const CFrameWindow&) = delete;
    CFrameWindow& operator=(const CFrameWindow&) = delete;

    // Init with a new invoke id, `functionCall` and `dtm`; answers the control's result.
    bool InitControl(const std::string& functionCall, IUnknown* dtm);
    const std::string& GetInvokeId() const { return m_invokeId; }

    // What the DTM shows the user: a line in the log pane and, unless headless, a message box
    // that does not block the window.
    void ShowUserDialog(const std::string& dialogKind, const std::string& message);
    void AppendLog(const QString& text);
    QPlainTextEdit* GetLog() const { return m_log; }

    // The control's widget; null once the control is released.
    QWidget* GetControlWidget() const { return m_controlWidget; }
    // The control's views by id; null once the control is released or when it offers none.
    IControlViews* GetControlViews() const { return m_views.Get(); }
    bool IsControlReleased() const { return !m_control; }
    // True when the control was released without its consent.
    bool WasReleaseForced() const { return m_releaseForced; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void AskForRelease();
    void ReleaseControl();

    ComPtr<IDtmActiveXControl> m_control;
    ComPtr<IControlWidget> m_widget;
    ComPtr<IControlViews> m_views;
    QWidget* m_controlWidget = nullptr;
    QPlainTextEdit* m_log = nullptr;
    std::string m_invokeId;
    bool m_headless = false;
    int m_releaseAttempts = 0; // 0: no release under way
    bool m_releaseForced = false;
};
