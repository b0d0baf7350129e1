#pragma once

#include "com/ComPtr.h"
#include "fdt/DtmInterfaces.h"
#include "ui/ApplicationView.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class CAlarmInformation;
class CDiagnosticAlarmInformation;
class IDirectParameterAccess;
class ITextResource;
class IUIController;
class QWidget;
struct SDeviceState;

// What a view is built from: its ids, the controller, the parent of its window, the
// descriptor access, the DTM interfaces, the device state it shares with the other views of its
// control and the alarm texts (owned by the edit model, loaded once at its start).
struct SViewContext {
    int viewId = 0;
    int dialogId = 0;
    IUIController* controller = nullptr;
    QWidget* parent = nullptr;
    IDirectParameterAccess* parameters = nullptr;
    ComPtr<IDtmParameterAccess> parameterAccess{};
    ComPtr<IDtmUIAccess> uiAccess{};
    std::shared_ptr<SDeviceState> deviceState{};
    ITextResource* textProvider = nullptr;
    const CAlarmInformation* alarmInformation = nullptr;
    const CDiagnosticAlarmInformation* diagnosticAlarmInformation = nullptr;
};

// The views the edit model can build, by view id: each row holds the id of the view's dialog
// and the creator of the view. A view id without a row builds nothing.
class CViewTable {
public:
    // Answers the view with its window created as a child of `context.parent`, or null.
    using Creator = std::function<std::unique_ptr<IApplicationView>(const SViewContext& context)>;

    // False (the table unchanged) when the view id has a row already or the creator is empty.
    bool Add(int viewId, int dialogId, Creator creator);
    // The view ids that have a row, in ascending order.
    std::vector<int> GetViewIds() const;
    // The dialog id of the view's row; 0 without a row.
    int GetDialogId(int viewId) const;
    // The view of `context.viewId`, built with the dialog id of its row; null without a row.
    std::unique_ptr<IApplicationView> Create(SViewContext context) const;

private:
    struct SRow {
        int dialogId = 0;
        Creator create;
    };

    std::map<int, SRow> m_rows;
};
