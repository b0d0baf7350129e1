#include "fdt/DtmInterfaces.h"
#include "com/ComObject.h"
#include "com/ComPtr.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// A DTM offering the three interfaces, answering with fixed values.
class FakeDtm : public ComObject<IDtmUIRegistration, IDtmUIAccess, IDtmParameterAccess> {
public:
    HRESULT RegisterUI(const std::string& progId, const std::string&, IDtmActiveXControl* control,
                       VARIANT_BOOL, VARIANT_BOOL* registered) override {
        if (registered == nullptr) {
            return E_POINTER;
        }
        *registered = control != nullptr && progId == "VelaFFDiagnosisUI.OnlineView"
                          ? VARIANT_TRUE
                          : VARIANT_FALSE;
        return S_OK;
    }
    HRESULT UnregisterUI(const std::string&, VARIANT_BOOL, VARIANT_BOOL*) override { return S_OK; }
    HRESULT GetStateDocument(std::string* state) override {
        *state = "<DtmState state='Online'/>";
        return S_OK;
    }
    HRESULT GetProperty(const std::string&, Variant* value) override {
        *value = Variant("TAG-1");
        return S_OK;
    }
    HRESULT ShowUserDialog(const std::string&, const Variant&, VARIANT_BOOL*) override {
        return S_OK;
    }
    HRESULT GetControlData(std::int32_t, std::uint32_t, std::int32_t* kind,
                           std::string* document) override {
        *kind = 1;
        *document = "<ControlData/>";
        return S_OK;
    }
    HRESULT SetParameterValue(std::int32_t, std::uint32_t, const std::string&,
                              std::string* response) override {
        response->clear();
        return S_OK;
    }
    HRESULT ExecuteFunction(std::int32_t, std::int32_t, const std::string&,
                            VARIANT_BOOL* result) override {
        *result = VARIANT_TRUE;
        return S_OK;
    }
    HRESULT OpenContext(const std::string&, std::int32_t* context) override {
        *context = 17;
        return S_OK;
    }
};

class FakeControl : public ComObject<IDtmActiveXControl, IUpdateUI> {
public:
    HRESULT Init(const std::string&, const std::string&, IUnknown*, VARIANT_BOOL* result) override {
        *result = VARIANT_FALSE;
        return S_OK;
    }
    HRESULT PrepareToRelease(VARIANT_BOOL* result) override {
        *result = VARIANT_TRUE;
        return S_OK;
    }
    HRESULT UpdateUI(std::int32_t, const Variant&) override { return S_OK; }
};

TEST(DtmInterfaces, TheFrameFindsTheControlByTheFdtInterfaceId) {
    EXPECT_EQ(IDtmActiveXControl::Iid.ToString(), "{036D1486-387B-11D4-86E1-00E0987270B9}");
    EXPECT_EQ(LIBID_Fdt100.ToString(), "{036D1471-387B-11D4-86E1-00E0987270B9}");
    const std::set<GUID> ids{IDtmActiveXControl::Iid,
                             IUpdateUI::Iid,
                             IDtmUIRegistration::Iid,
                             IDtmUIAccess::Iid,
                             IDtmParameterAccess::Iid,
                             IUnknown::Iid,
                             LIBID_Fdt100};
    EXPECT_EQ(ids.size(), 7u);

    ComPtr<IUnknown> control = MakeCom<FakeControl>().As<IUnknown>();
    void* raw = nullptr;
    ASSERT_EQ(
        control->QueryInterface(GUID::FromString("{036D1486-387B-11D4-86E1-00E0987270B9}"), &raw),
        S_OK);
    ComPtr<IDtmActiveXControl> fdt =
        ComPtr<IDtmActiveXControl>::Owned(static_cast<IDtmActiveXControl*>(raw));
    VARIANT_BOOL result = VARIANT_FALSE;
    EXPECT_EQ(fdt->PrepareToRelease(&result), S_OK);
    EXPECT_EQ(result, VARIANT_TRUE);
    EXPECT_TRUE(control.As<IUpdateUI>());
    EXPECT_FALSE(control.As<IDtmUIAccess>());
}

TEST(DtmInterfaces, TheControlReachesEveryDtmInterfaceByQuery) {
    ComPtr<IUnknown> dtm = MakeCom<FakeDtm>().As<IUnknown>();
    auto registration = dtm.As<IDtmUIRegistration>();
    auto access = dtm.As<IDtmUIAccess>();
    ASSERT_TRUE(registration);
    ASSERT_TRUE(access);
    auto parameters = access.As<IDtmParameterAccess>(); // queried on the UI access
    ASSERT_TRUE(parameters);

    auto control = MakeCom<FakeControl>();
    VARIANT_BOOL registered = VARIANT_FALSE;
    EXPECT_EQ(registration->RegisterUI("VelaFFDiagnosisUI.OnlineView", "invoke-1", control.Get(),
                                       VARIANT_TRUE, &registered),
              S_OK);
    EXPECT_EQ(registered, VARIANT_TRUE);
    EXPECT_EQ(registration->RegisterUI("x", "invoke-1", control.Get(), VARIANT_TRUE, nullptr),
              E_POINTER);

    std::string state;
    EXPECT_EQ(access->GetStateDocument(&state), S_OK);
    EXPECT_EQ(state, "<DtmState state='Online'/>");
    Variant tag;
    EXPECT_EQ(access->GetProperty("VFDTag", &tag), S_OK);
    EXPECT_EQ(tag.ToString(), "TAG-1");

    std::int32_t kind = 0;
    std::string document;
    EXPECT_EQ(parameters->GetControlData(2, 23199744u, &kind, &document), S_OK);
    EXPECT_EQ(kind, 1);
    std::int32_t context = 0;
    EXPECT_EQ(parameters->OpenContext("<FDT/>", &context), S_OK);
    EXPECT_EQ(context, 17);
}

} // namespace
