#pragma once

#include <string>

// Receives every DTM update notification (update type and data as text) that the
// controller distributes: the areas, the edit model and the views.
class IInternalUpdateUI {
public:
    virtual ~IInternalUpdateUI() = default;
    virtual void OnUpdate(int updateType, const std::string& data) = 0;
};
