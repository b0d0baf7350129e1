#pragma once

#include "views/common/DeviceView.h"

#include <QString>

#include <array>

class CAlarmInformation;
class CDiagnosticAlarmInformation;
class CRectLed;
class CRoundLed;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// One alarm in full: its name, kind, description and recommendation, its category and
// priority lit among the four of each, the device it belongs to, an Acknowledge button whose
// lamp lights once the device reports the alarm acknowledged, notes of the technician kept as
// plain text per alarm in the user's data directory, an e-mail about it, the maker's repair
// and help pages, and a printout of the page.
class CSubAlarmView : public CDeviceView<CSubAlarmView, 211> {
public:
    static constexpr int kViewId = 1201;
    static constexpr std::uint32_t kAcknowledge = 0x01580000;
    static constexpr std::uint32_t kCurrentAlarm = 0x01670000;
    static constexpr std::uint32_t kSummary = 0x01410000;
    static constexpr std::uint32_t kLastAcknowledged = 0x01410002;
    static constexpr std::uint32_t kLastAcknowledgedState = 0x01410003;
    // Alarms of the digital outputs (deviation, limits, temperature, C+ pressure, position
    // vs pressure difference); the others are diagnostic alarms.
    static bool IsDigitalOutputAlarm(std::uint32_t alarm) {
        return (alarm >= 1 && alarm <= 7) || alarm == 87;
    }

    explicit CSubAlarmView(const SViewContext& context);

    void SetNotesFolder(const QString& folder) { m_notesFolder = folder; }
    QString NotesPath() const;
    std::uint32_t Alarm() const { return m_alarm; }
    QString Field(const char* name) const;
    CRoundLed* AcknowledgeLed() const { return m_ackLed; }
    CRectLed* CategoryLed(int category) const;
    CRectLed* PriorityLed(int priority) const;
    QPlainTextEdit* Notes() const { return m_notes; }

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override;
    void OnDeviceActivated() override;
    void OnParameter(std::uint32_t key) override;

private:
    void ShowAlarm();
    void Acknowledge();
    void SaveNotes();
    void OpenNotes();
    void SendMail();
    void OpenMakerPage();
    void PrintPage();
    bool MayUseFiles();

    const CAlarmInformation* m_alarms;
    const CDiagnosticAlarmInformation* m_diagnosticAlarms;
    QString m_notesFolder;
    std::uint32_t m_alarm = 0;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_type = nullptr;
    QPlainTextEdit* m_description = nullptr;
    QPlainTextEdit* m_recommendation = nullptr;
    QLineEdit* m_tag = nullptr;
    QLineEdit* m_deviceDescription = nullptr;
    std::array<CRectLed*, 4> m_categories{}; // "Failure" to "Out of range", top down
    std::array<CRectLed*, 4> m_priorities{}; // "Very High" to "Low", top down
    CRoundLed* m_ackLed = nullptr;
    QLineEdit* m_noteName = nullptr;
    QLineEdit* m_noteDate = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QLabel* m_status = nullptr;
    std::array<QPushButton*, 3> m_makerButtons{}; // Schedule Repair, Repair, Help
};
