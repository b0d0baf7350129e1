#pragma once

#include "ui/AreaInterfaces.h"
#include "ui/InternalUpdateUI.h"

#include <QWidget>

#include <array>
#include <map>
#include <string>

class ITextResource;
class QStatusBar;

// One pane of the status bar: an icon of the shared set, a text and a tooltip.
class CStatusPane : public QWidget {
public:
    CStatusPane(int paneId, QWidget* parent);

    int GetPaneId() const { return m_paneId; }
    // 0: no icon.
    int GetIconId() const { return m_iconId; }
    QString GetText() const { return m_text; }
    QString GetTip() const { return toolTip(); }

    void Show(int iconId, const QString& text, const QString& tip);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_paneId;
    int m_iconId = 0;
    QString m_text;
};

// The status bar at the bottom of the control: nine panes for the connection state, the
// communication in progress, the lock state, the data-set state, data modified in the
// device, direct mode, the device diagnosis, one spare pane and a message text. It follows
// the DTM's state document.
class CStatusArea : public QWidget, public IInternalUpdateUI, public IStatusArea {
public:
    static constexpr int kConnectionPane = 0;
    static constexpr int kCommunicationPane = 1;
    static constexpr int kLockPane = 2;
    static constexpr int kDataSetPane = 3;
    static constexpr int kModifiedInDevicePane = 4;
    static constexpr int kDirectModePane = 5;
    static constexpr int kDiagnosisPane = 6;
    static constexpr int kMessagePane = 8;
    static constexpr int kPaneCount = 9;
    static constexpr int kFirstPaneId = 500;
    // Pane widths in pixels; the message pane takes the rest.
    static constexpr std::array<int, kPaneCount - 1> kPaneWidths{120, 24, 140, 24, 24, 24, 24, 24};

    explicit CStatusArea(QWidget* parent = nullptr);

    // Texts come from it, or from the built-in defaults while there is none.
    void SetTextProvider(ITextResource* textProvider) { m_textProvider = textProvider; }
    // The height the control's layout gives the area.
    int GetHeight() const;
    const CStatusPane& GetPane(int pane) const { return *m_panes.at(pane); }

    // "Online" 0, "GoingOnline" 2, "GoingOffline" 3, "Aborted" 4, anything else 1.
    static int ConnectionStateFromText(const std::string& text);
    // "default" 0, "validModified" 1, "invalidModified" 2, "allDataLoaded" 3, anything else 0.
    static int DataSetStateFromText(const std::string& text);

    // The controller hands the state document on already read (ShowDtmState); nothing else
    // of the updates concerns the status bar.
    void OnUpdate(int, const std::string&) override {}
    void ShowDtmState(const SDtmStateDocument& state) override;

    void SetMessageText(const std::string& text) override;
    void SetConnectionState(int state) override;
    void SetDataSetState(int state) override;
    void SetLockState(int state) override;
    void SetDiagnosisStatus(int status) override;
    void SetCommunicating(bool communicating) override;
    void SetModifiedInDevice(bool modified) override;
    void SetDirectMode(bool direct) override;

private:
    // What one pane shows: icon id (0 none) and text ids of its text and tip (-1 none).
    struct Content {
        int iconId = 0;
        int textId = -1;
        int tipId = -1;
    };
    static Content Find(const std::map<int, Content>& contents, int state,
                        const Content& otherwise);
    void ShowContent(int pane, const Content& content);
    QString Text(int textId) const;

    QStatusBar* m_statusBar;
    std::array<CStatusPane*, kPaneCount> m_panes{};
    ITextResource* m_textProvider = nullptr;
};
