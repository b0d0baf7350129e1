#include "views/common/VelaFFUIGlobalData.h"

CVelaFFUIGlobalData& CVelaFFUIGlobalData::Instance() {
    static CVelaFFUIGlobalData data;
    return data;
}
