#include "ui/StatusArea.h"

#include "model/Conversions.h"
#include "ui/AreaResources.h"
#include "ui/DtmStateDocument.h"
#include "ui/Guard.h"
#include "ui/SharedIcons.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QStatusBar>
#include <QStyle>

#include <algorithm>

namespace {

constexpr int kIconSize = CSharedIcons::IconSize;
constexpr int kPadding = 4; // between the pane's edges, its icon and its text

} // namespace

CStatusPane::CStatusPane(int paneId, QWidget* parent) : QWidget(parent), m_paneId(paneId) {}

void CStatusPane::Show(int iconId, const QString& text, const QString& tip) {
    m_iconId = iconId;
    m_text = text;
    setToolTip(tip);
    update();
}

QSize CStatusPane::sizeHint() const {
    const int height = std::max(kIconSize, fontMetrics().height()) + 2 * kPadding;
    return {kIconSize + 2 * kPadding + fontMetrics().horizontalAdvance(m_text), height};
}

void CStatusPane::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // A thin separator at the right edge keeps the panes apart.
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(width() - 1, 3, width() - 1, height() - 4);
    QRect free = rect().adjusted(kPadding, 0, -kPadding, 0);
    if (m_iconId != 0) {
        // An icon alone sits in the middle of its pane.
        const int x = m_text.isEmpty() ? (width() - kIconSize) / 2 : free.left();
        CSharedIcons::Instance().GetIcon(m_iconId).paint(
            &painter, QRect(x, (height() - kIconSize) / 2, kIconSize, kIconSize));
        free.setLeft(x + kIconSize + kPadding);
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(free, Qt::AlignVCenter | Qt::AlignLeft,
                     fontMetrics().elidedText(m_text, Qt::ElideRight, free.width()));
}

CStatusArea::CStatusArea(QWidget* parent) : QWidget(parent), m_statusBar(new QStatusBar(this)) {
    m_statusBar->setSizeGripEnabled(false);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_statusBar);
    for (int pane = 0; pane < kPaneCount; ++pane) {
        m_panes[pane] = new CStatusPane(kFirstPaneId + pane, m_statusBar);
        if (pane < kMessagePane) {
            m_panes[pane]->setFixedWidth(kPaneWidths[pane]);
            m_statusBar->addWidget(m_panes[pane]);
        } else {
            m_statusBar->addWidget(m_panes[pane], 1);
        }
    }
}

int CStatusArea::GetHeight() const {
    return m_statusBar->sizeHint().height();
}

int CStatusArea::ConnectionStateFromText(const std::string& text) {
    static const std::map<std::string, int> states{{"Online", kOnline},
                                                   {"GoingOnline", kGoingOnline},
                                                   {"GoingOffline", kGoingOffline},
                                                   {"Aborted", kAborted}};
    auto found = states.find(text);
    return found != states.end() ? found->second : kOffline;
}

int CStatusArea::DataSetStateFromText(const std::string& text) {
    static const std::map<std::string, int> states{{"validModified", kDataSetValidModified},
                                                   {"invalidModified", kDataSetInvalidModified},
                                                   {"allDataLoaded", kDataSetAllDataLoaded}};
    auto found = states.find(text);
    return found != states.end() ? found->second : kDataSetDefault;
}

void CStatusArea::ShowDtmState(const SDtmStateDocument& state) {
    if (!state.state.empty()) {
        SetConnectionState(ConnectionStateFromText(state.state));
    }
    if (!state.dataSetState.empty()) {
        SetDataSetState(DataSetStateFromText(state.dataSetState));
    }
    if (!state.isCommunicating.empty()) {
        SetCommunicating(state.isCommunicating == "1");
    }
    if (!state.modifiedInDevice.empty()) {
        // A value that is no boolean leaves the pane as it was.
        Guarded("CStatusArea: modifiedInDevice",
                [&] { SetModifiedInDevice(CConversions::xml_to_bool(state.modifiedInDevice)); });
    }
}

void CStatusArea::SetMessageText(const std::string& text) {
    m_panes[kMessagePane]->Show(0, QString::fromStdString(text), {});
}

void CStatusArea::SetConnectionState(int state) {
    static const std::map<int, Content> contents{{kOnline, {5, 0, -1}},
                                                 {kOffline, {2, 1, -1}},
                                                 {kGoingOnline, {4, -1, -1}},
                                                 {kGoingOffline, {3, -1, -1}},
                                                 {kAborted, {1, -1, -1}}};
    ShowContent(kConnectionPane, Find(contents, state, Content{}));
}

void CStatusArea::SetDataSetState(int state) {
    static const std::map<int, Content> contents{{kDataSetValidModified, {31, -1, 3}},
                                                 {kDataSetInvalidModified, {30, -1, 4}},
                                                 {kDataSetAllDataLoaded, {0, -1, 5}}};
    ShowContent(kDataSetPane, Find(contents, state, Content{0, -1, 6}));
}

void CStatusArea::SetLockState(int state) {
    static const std::map<int, Content> contents{
        {1, {6, 8, -1}}, {2, {7, 9, -1}}, {3, {8, 10, -1}}, {4, {9, 11, -1}}};
    ShowContent(kLockPane, Find(contents, state, Content{}));
}

void CStatusArea::SetDiagnosisStatus(int status) {
    static const std::map<int, Content> contents{{1, {12, -1, 13}},
                                                 {2, {13, -1, 14}},
                                                 {3, {35, -1, 15}},
                                                 {4, {11, -1, 16}},
                                                 {5, {36, -1, 17}}};
    ShowContent(kDiagnosisPane, Find(contents, status, Content{}));
}

void CStatusArea::SetCommunicating(bool communicating) {
    ShowContent(kCommunicationPane, communicating ? Content{16, -1, 7} : Content{});
}

void CStatusArea::SetModifiedInDevice(bool modified) {
    ShowContent(kModifiedInDevicePane, modified ? Content{37, -1, 25} : Content{});
}

void CStatusArea::SetDirectMode(bool direct) {
    ShowContent(kDirectModePane, direct ? Content{15, -1, 26} : Content{});
}

CStatusArea::Content CStatusArea::Find(const std::map<int, Content>& contents, int state,
                                       const Content& otherwise) {
    auto found = contents.find(state);
    return found != contents.end() ? found->second : otherwise;
}

void CStatusArea::ShowContent(int pane, const Content& content) {
    m_panes[pane]->Show(content.iconId, Text(content.textId), Text(content.tipId));
}

QString CStatusArea::Text(int textId) const {
    return textId < 0 ? QString() : AreaText(m_textProvider, static_cast<std::uint32_t>(textId));
}
