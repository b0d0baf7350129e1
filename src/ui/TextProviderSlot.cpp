#include "ui/TextProviderSlot.h"

namespace {
ITextResource*& Slot() {
    static ITextResource* provider = nullptr;
    return provider;
}
} // namespace

ITextResource* GetProcessTextProvider() {
    return Slot();
}

void SetProcessTextProvider(ITextResource* provider) {
    Slot() = provider;
}

void ForgetProcessTextProvider(const ITextResource* provider) {
    if (Slot() == provider) {
        Slot() = nullptr;
    }
}
