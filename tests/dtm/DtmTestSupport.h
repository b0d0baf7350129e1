#pragma once

#include "TestPaths.h"
#include "com/ComObject.h"
#include "com/ComPtr.h"
#include "dtm/SimulatedDtm.h"
#include "fdt/DtmInterfaces.h"
#include "model/ParameterDescriptionFactory.h"
#include "ui/ManualScheduler.h"
#include "ui/Scheduler.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// A control that keeps every update the DTM sends it, as (update type, data text).
class CFakeControl : public ComObject<IDtmActiveXControl, IUpdateUI> {
public:
    using Update = std::pair<std::int32_t, std::string>;

    HRESULT Init(const std::string&, const std::string&, IUnknown*, VARIANT_BOOL* result) override {
        *result = VARIANT_FALSE;
        return S_OK;
    }
    HRESULT PrepareToRelease(VARIANT_BOOL* result) override {
        *result = VARIANT_TRUE;
        return S_OK;
    }
    HRESULT UpdateUI(std::int32_t updateType, const Variant& data) override {
        m_updates.emplace_back(updateType, data.ToString());
        if (m_onUpdate) {
            m_onUpdate();
        }
        return S_OK;
    }

    // The updates received since the last call.
    std::vector<Update> TakeUpdates() { return std::exchange(m_updates, {}); }
    // Runs after each update is kept.
    std::function<void()> m_onUpdate;

private:
    std::vector<Update> m_updates;
};

// The simulated DTM over the data files of the source tree, on a manual scheduler.
class DtmTest : public ::testing::Test {
protected:
    static constexpr const char* kProgId = "VelaFFDiagnosisUI.OnlineView";

    DtmTest() { SetScheduler(&m_scheduler); }
    ~DtmTest() override {
        m_factory.reset();
        m_dtm = nullptr; // before the scheduler its replies are queued on goes away
        SetScheduler(nullptr);
    }

    // Registers m_control through IDtmUIRegistration under `invokeId`; answers `registered`.
    VARIANT_BOOL Register(const std::string& invokeId = "invoke-1") {
        VARIANT_BOOL registered = VARIANT_FALSE;
        EXPECT_EQ(m_dtm.As<IDtmUIRegistration>()->RegisterUI(kProgId, invokeId, m_control.Get(),
                                                             VARIANT_TRUE, &registered),
                  S_OK);
        return registered;
    }

    // ExecuteFunction with request 2; the boolean result goes to `result` when given.
    HRESULT Execute(std::int32_t functionId, const std::string& argument,
                    VARIANT_BOOL* result = nullptr) {
        VARIANT_BOOL answered = VARIANT_FALSE;
        const HRESULT hr = m_dtm->ExecuteFunction(2, functionId, argument, &answered);
        if (result != nullptr) {
            *result = answered;
        }
        return hr;
    }

    // The value the control would show for `key`: the descriptor fetched with request 2.
    std::string Fetch(std::uint32_t key) {
        if (!m_factory) {
            m_factory = std::make_unique<CParameterDescriptionFactory>(
                ComPtr<IDtmParameterAccess>(m_dtm.Get()));
        }
        IParameterDescription* descriptor = m_factory->GetParameterDescription(2, key);
        return descriptor != nullptr ? descriptor->GetValue() : "(none)";
    }

    std::string Set(std::uint32_t key, const std::string& value) {
        std::string response = "(unanswered)";
        EXPECT_EQ(m_dtm->SetParameterValue(2, key, value, &response), S_OK);
        return response;
    }

    CManualScheduler m_scheduler;
    ComPtr<CSimulatedDtm> m_dtm = MakeCom<CSimulatedDtm>(OV_DTM_DATA_DIR);
    ComPtr<CFakeControl> m_control = MakeCom<CFakeControl>();
    std::unique_ptr<CParameterDescriptionFactory> m_factory;
};

// Keys of the dictionary that the tests name.
namespace keys {
inline constexpr std::uint32_t kServiceMode = 0x01290000;
inline constexpr std::uint32_t kSetpointMode = 0x012E0000;
inline constexpr std::uint32_t kDeviceCommand = 0x015B0000; // a record of four elements
inline constexpr std::uint32_t kCommandState = 0x015B0002;
inline constexpr std::uint32_t kFrameNumber = 0x015B0004;
inline constexpr std::uint32_t kCurrentAlarm = 0x01670000;
inline constexpr std::uint32_t kActiveAlarmCount = 0x01680000;
} // namespace keys
