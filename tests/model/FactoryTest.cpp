#include "ModelTestSupport.h"
#include "com/ComError.h"
#include "model/BitEnumParameterDescriptor.h"
#include "model/DateOrTimeParameterDescriptor.h"
#include "model/EnumParameterDescriptor.h"
#include "model/FFValueArrayParameterDescriptor.h"
#include "model/NumericParameterDescriptor.h"
#include "model/ParameterDescriptionFactory.h"
#include "model/StringParameterDescriptor.h"

#include <gtest/gtest.h>

#include <typeinfo>

namespace {

using ::testing::_;
using ::testing::Return;
using ::testing::StrictMock;

class Factory : public ::testing::Test {
protected:
    // What the factory builds for `kind` and `document` under a new key.
    IParameterDescription* Build(std::int32_t kind, const std::string& document) {
        const std::uint32_t key = ++m_lastKey;
        EXPECT_CALL(*m_dtm, GetControlData(2, key, _, _)).WillOnce(Reply(kind, document));
        return m_factory.GetParameterDescription(2, key);
    }
    // The class name of what the factory builds, or "null".
    std::string Built(std::int32_t kind, const std::string& document) {
        IParameterDescription* descriptor = Build(kind, document);
        return descriptor ? typeid(*descriptor).name() : "null";
    }

    ComPtr<StrictMock<CFakeParameterAccess>> m_dtm = MakeCom<StrictMock<CFakeParameterAccess>>();
    CParameterDescriptionFactory m_factory{ComPtr<IDtmParameterAccess>(m_dtm.Get())};
    std::uint32_t m_lastKey = 0;
};

template <class T> std::string NameOf() {
    return typeid(T).name();
}

TEST_F(Factory, KindTableAndDateOrTimeByValueType) {
    const std::string number = ControlData(R"(valueType="efloat")");
    EXPECT_EQ(Built(0, number), NameOf<CNumericParameterDescriptor>());
    EXPECT_EQ(Built(1, ControlData(R"(valueType="eascii" stringLength="4")")),
              NameOf<CStringParameterDescriptor>());
    EXPECT_EQ(Built(2, ControlData(R"(valueType="eenum8")")), NameOf<CEnumParameterDescriptor>());
    EXPECT_EQ(Built(3, ControlData(R"(valueType="ebitenum8")")),
              NameOf<CBitEnumParameterDescriptor>());
    EXPECT_EQ(Built(7, number), NameOf<CFFValueArrayParameterDescriptor>());
    for (const int kind : {4, 5, 8, -1}) {
        EXPECT_EQ(Built(kind, number), "null") << kind;
    }

    EXPECT_EQ(Built(6, ControlData(R"(valueType="EDate")")), NameOf<CDateParameterDescriptor>());
    EXPECT_EQ(Built(6, ControlData(R"(valueType="etime")")), NameOf<CTimeParameterDescriptor>());
    EXPECT_EQ(Built(6, ControlData(R"(valueType="efftimevalue")")),
              NameOf<CFFTimeValueParameterDescriptor>());
    EXPECT_EQ(Built(6, ControlData(R"(valueType="effdateandtime")")),
              NameOf<CFFDateTimeParameterDescriptor>());
    EXPECT_EQ(Built(6, ControlData(R"(valueType="effduration")")),
              NameOf<CFFDurationParameterDescriptor>());
    EXPECT_EQ(Built(6, number), "null");
    EXPECT_EQ(Built(6, "<broken"), "null");

    // A document that does not load still gives a descriptor of the kind, empty.
    auto* empty = dynamic_cast<CNumericParameterDescriptor*>(Build(0, "<broken"));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->GetLabel(), "");
    EXPECT_EQ(empty->GetValueType(), EValueType::eUnknownValueType);
}

TEST_F(Factory, SecondRequestReReadsTheSameObject) {
    constexpr std::uint32_t key = 19464192;
    EXPECT_CALL(*m_dtm, GetControlData(7, key, _, _))
        .WillOnce(Reply(0, ControlData(R"(valueType="euint8" value="240")")));
    IParameterDescription* first = m_factory.GetParameterDescription(7, key);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetValue(), "240");

    // The cached object is re-read with the new request, whatever kind the DTM now says.
    EXPECT_CALL(*m_dtm, GetControlData(2, key, _, _))
        .WillOnce(Reply(3, ControlData(R"(valueType="euint8" value="16")")));
    EXPECT_EQ(m_factory.GetParameterDescription(2, key), first);
    EXPECT_EQ(first->GetValue(), "16");

    // Null descriptors are cached too: no second call to the DTM.
    EXPECT_CALL(*m_dtm, GetControlData(2, 4u, _, _)).WillOnce(Reply(4, ""));
    EXPECT_CALL(*m_dtm, GetControlData(2, 5u, _, _)).WillOnce(Reply(5, ""));
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(m_factory.GetParameterDescription(2, 4), nullptr);
        EXPECT_EQ(m_factory.GetParameterDescription(2, 5), nullptr);
    }
}

TEST_F(Factory, FailuresReachTheCallerAndCacheNothing) {
    constexpr std::uint32_t key = 42;
    EXPECT_CALL(*m_dtm, GetControlData(2, key, _, _))
        .WillOnce(Return(E_INVALIDARG))
        .WillOnce(Reply(0, ControlData(R"(valueType="nonsense")")))
        .WillOnce(Reply(0, ControlData(R"(valueType="efloat" value="3")")))
        .WillOnce(Return(E_FAIL));
    try {
        m_factory.GetParameterDescription(2, key);
        ADD_FAILURE() << "no ComError";
    } catch (const ComError& error) {
        EXPECT_EQ(error.Result(), E_INVALIDARG);
        EXPECT_EQ(error.Interface(), IDtmParameterAccess::Iid);
    }
    EXPECT_EQ(Failure([&] { m_factory.GetParameterDescription(2, key); }),
              "invalid: Can't convert the passed string to EValueType");
    IParameterDescription* descriptor = m_factory.GetParameterDescription(2, key);
    ASSERT_NE(descriptor, nullptr);
    EXPECT_THROW(m_factory.GetParameterDescription(2, key), ComError);
    EXPECT_EQ(descriptor->GetValue(), "3");
}

} // namespace
