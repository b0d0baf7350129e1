#include "com/ClassFactory.h"
#include "com/ComError.h"
#include "com/ComPtr.h"
#include "com/Stream.h"
#include "com/Variant.h"

#include <gtest/gtest.h>

#include <unordered_set>

namespace {

class IFirst : public IUnknown {
public:
    static constexpr IID Iid = MakeGuid("{6B0F2A10-1C5E-4C61-9F0A-000000000001}");
    virtual int First() = 0;
};

class ISecond : public IUnknown {
public:
    static constexpr IID Iid = MakeGuid("{6B0F2A10-1C5E-4C61-9F0A-000000000002}");
    virtual int Second() = 0;
};

class IFirstEx : public IFirst {
public:
    static constexpr IID Iid = MakeGuid("{6B0F2A10-1C5E-4C61-9F0A-000000000003}");
    using Base = IFirst;
    virtual int Third() = 0;
};

class INotOffered : public IUnknown {
public:
    static constexpr IID Iid = MakeGuid("{6B0F2A10-1C5E-4C61-9F0A-000000000004}");
};

int g_deleted = 0;

class Sample : public ComObject<IFirstEx, ISecond> {
public:
    ~Sample() override { ++g_deleted; }
    int First() override { return 1; }
    int Second() override { return 2; }
    int Third() override { return 3; }
};

TEST(ComObject, IdentityAndInterfacesFollowComRules) {
    ComPtr<Sample> object = MakeCom<Sample>();
    ComPtr<IFirst> first = object.As<IFirst>();
    ComPtr<ISecond> second = object.As<ISecond>();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->First(), 1);
    EXPECT_EQ(second->Second(), 2);
    EXPECT_EQ(object.As<IFirstEx>()->Third(), 3);

    // IUnknown through two different interfaces is the same pointer.
    ComPtr<IUnknown> viaFirst = first.As<IUnknown>();
    ComPtr<IUnknown> viaSecond = second.As<IUnknown>();
    EXPECT_EQ(viaFirst.Get(), viaSecond.Get());
    // The interfaces themselves are different sub-objects.
    EXPECT_NE(static_cast<void*>(first.Get()), static_cast<void*>(second.Get()));

    EXPECT_FALSE(object.As<INotOffered>());
    void* raw = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(object->QueryInterface(INotOffered::Iid, &raw), E_NOINTERFACE);
    EXPECT_EQ(raw, nullptr);
    EXPECT_EQ(object->QueryInterface(IFirst::Iid, nullptr), E_POINTER);
}

TEST(ComObject, DeletedExactlyOnceAtLastRelease) {
    g_deleted = 0;
    const long before = com::Module::Objects();
    Sample* raw = new Sample(); // one reference held by this test
    EXPECT_EQ(com::Module::Objects(), before + 1);
    EXPECT_EQ(raw->AddRef(), 2u);
    ISecond* second = nullptr;
    ASSERT_EQ(raw->QueryInterface(ISecond::Iid, reinterpret_cast<void**>(&second)), S_OK);
    EXPECT_EQ(second->Release(), 2u);
    EXPECT_EQ(raw->Release(), 1u);
    EXPECT_EQ(g_deleted, 0);
    EXPECT_EQ(raw->Release(), 0u);
    EXPECT_EQ(g_deleted, 1);
    EXPECT_EQ(com::Module::Objects(), before);
}

TEST(ComPtr, CopiesMovesAttachAndDetachKeepCountsRight) {
    g_deleted = 0;
    {
        ComPtr<ISecond> a = MakeCom<Sample>().As<ISecond>();
        ComPtr<ISecond> b = a; // copy shares
        ComPtr<ISecond> c = std::move(a);
        EXPECT_FALSE(a);
        EXPECT_EQ(b, c);
        b = nullptr;
        EXPECT_EQ(g_deleted, 0);
        ISecond* detached = c.Detach();
        EXPECT_FALSE(c);
        ComPtr<ISecond> d;
        d.Attach(detached); // adopts the reference without adding one
        ComPtr<IUnknown> e(d.As<IUnknown>());
        d = std::move(d); // self-move keeps the object
        EXPECT_TRUE(d);
        d = d;
        EXPECT_EQ(g_deleted, 0);
    }
    EXPECT_EQ(g_deleted, 1);
}

TEST(ClassFactory, CreatesRefusesAggregationAndUnknownInterfaces) {
    auto factory = MakeCom<ClassFactory<Sample>>();
    ComPtr<IFirst> first;
    EXPECT_EQ(factory->CreateInstance(nullptr, IFirst::Iid, reinterpret_cast<void**>(first.Put())),
              S_OK);
    ASSERT_TRUE(first);
    void* out = nullptr;
    EXPECT_EQ(factory->CreateInstance(first.Get(), IFirst::Iid, &out), CLASS_E_NOAGGREGATION);
    g_deleted = 0;
    EXPECT_EQ(factory->CreateInstance(nullptr, INotOffered::Iid, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(g_deleted, 1); // the refused instance is not leaked
    factory->LockServer(true);
    EXPECT_FALSE(com::Module::CanUnload());
    factory->LockServer(false);
}

TEST(Guid, RoundTripsAndRefusesMalformedText) {
    constexpr GUID fdt = MakeGuid("{036d1486-387b-11d4-86e1-00e0987270b9}");
    EXPECT_EQ(fdt.ToString(), "{036D1486-387B-11D4-86E1-00E0987270B9}");
    EXPECT_EQ(GUID::FromString(fdt.ToString()), fdt);
    EXPECT_EQ(fdt.Data1, 0x036D1486u);
    EXPECT_EQ(fdt.Data4[7], 0xB9);

    for (const char* bad :
         {"", "{036D1486-387B-11D4-86E1-00E0987270B9", "036D1486-387B-11D4-86E1-00E0987270B9",
          "{036D1486-387B-11D4-86E1-00E0987270BG}", "{036D1486+387B-11D4-86E1-00E0987270B9}",
          "{036D1486-387B-11D4-86E1-00E0987270B9}x"}) {
        EXPECT_FALSE(GUID::Parse(bad)) << bad;
        EXPECT_THROW(GUID::FromString(bad), std::invalid_argument) << bad;
    }
    try {
        GUID::FromString("{nope}");
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("{nope}"), std::string::npos);
    }

    std::unordered_set<GUID> set{fdt, IUnknown::Iid, fdt};
    EXPECT_EQ(set.size(), 2u);
    EXPECT_LT(IUnknown::Iid, fdt);
}

TEST(Variant, TextForms) {
    EXPECT_EQ(Variant().ToString(), "");
    EXPECT_TRUE(Variant().IsEmpty());
    EXPECT_EQ(Variant("VALVE'1").ToString(), "VALVE'1");
    EXPECT_EQ(Variant(std::string("abc")).GetType(), Variant::Type::String);
    EXPECT_EQ(Variant(-42).ToString(), "-42");
    EXPECT_EQ(Variant(INT32_MIN).ToString(), "-2147483648");
    EXPECT_EQ(Variant(true).ToString(), "-1");
    EXPECT_EQ(Variant(false).ToString(), "0");
    EXPECT_EQ(Variant(0.1).ToString(), "0.1");
    EXPECT_EQ(Variant(1e300).ToString(), "1e+300");
    EXPECT_EQ(Variant(-2.5).ToString(), "-2.5");
    EXPECT_EQ(Variant(std::numeric_limits<double>::quiet_NaN()).ToString(), "NaN");
    EXPECT_EQ(Variant(7).GetInt32(), 7);
    EXPECT_FALSE(Variant(7).GetDouble());
    EXPECT_FALSE(Variant("7").GetInt32());
    EXPECT_EQ(Variant(static_cast<const char*>(nullptr)).ToString(), "");
}

TEST(ComError, NamesResultAndInterface) {
    try {
        ThrowIfFailed(E_INVALIDARG, IFirst::Iid, "GetControlData");
        FAIL();
    } catch (const ComError& e) {
        EXPECT_EQ(e.Result(), E_INVALIDARG);
        EXPECT_EQ(e.Interface(), IFirst::Iid);
        const std::string text = e.what();
        EXPECT_NE(text.find("E_INVALIDARG (0x80070057)"), std::string::npos) << text;
        EXPECT_NE(text.find("{6B0F2A10-1C5E-4C61-9F0A-000000000001}"), std::string::npos);
        EXPECT_NE(text.find("GetControlData"), std::string::npos);
    }
    EXPECT_NO_THROW(ThrowIfFailed(S_FALSE, IFirst::Iid));
    EXPECT_EQ(HResultText(static_cast<HRESULT>(0x80001234u)), "0x80001234");
}

TEST(MemoryStream, ReadsWritesAndSeeks) {
    auto stream = MakeCom<MemoryStream>();
    std::uint32_t n = 0;
    EXPECT_EQ(stream->Write("hello", 5, &n), S_OK);
    EXPECT_EQ(n, 5u);
    std::uint64_t pos = 0;
    EXPECT_EQ(stream->Seek(-3, IStream::SeekOrigin::End, &pos), S_OK);
    EXPECT_EQ(pos, 2u);
    char buffer[8] = {};
    EXPECT_EQ(stream->Read(buffer, 8, &n), S_FALSE); // fewer than asked
    EXPECT_EQ(std::string(buffer, n), "llo");
    EXPECT_EQ(stream->Seek(-1, IStream::SeekOrigin::Begin, nullptr), E_INVALIDARG);
    EXPECT_EQ(stream->Seek(10, IStream::SeekOrigin::Begin, nullptr), S_OK);
    EXPECT_EQ(stream->Read(buffer, 4, &n), S_FALSE);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(stream->Write("!", 1, nullptr), S_OK); // writing past the end fills with zeros
    std::uint64_t size = 0;
    stream->GetSize(&size);
    EXPECT_EQ(size, 11u);
    EXPECT_EQ(stream->Bytes()[7], 0);
    EXPECT_EQ(stream->Read(nullptr, 1, nullptr), E_POINTER);
}

} // namespace
