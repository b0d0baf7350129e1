#include "server/Registry.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    static std::string ReadAll(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    QTemporaryDir m_dir;
    std::string m_file = (m_dir.path() + "/sub/registry.xml").toStdString();
};

constexpr const char* kClsid = "CLSID\\{5C1D2E70-8F43-4B7A-9E21-3A6B8D0C4F11}";

TEST_F(RegistryTest, RoundTripKeepsKeysValuesAndOrderAndDeletesTrees) {
    Registry reg(m_file);
    reg.Load(); // no file yet: empty
    EXPECT_TRUE(reg.SubKeys("").empty());
    reg.SetValue(kClsid, "", "Online view <&\"'>");
    reg.SetValue(std::string(kClsid) + "\\InprocServer32", "", "/opt/lib/libonline.so");
    reg.SetValue(std::string(kClsid) + "\\InprocServer32", "ThreadingModel", "Apartment");
    reg.SetValue("VelaFFDiagnosisUI.OnlineView\\CLSID", "", "{5C1D...}");
    reg.Save();

    Registry back(m_file);
    back.Load();
    EXPECT_EQ(back.GetValue(kClsid, ""), "Online view <&\"'>");
    // Names compare without regard to case.
    EXPECT_EQ(back.GetValue("clsid\\{5c1d2e70-8f43-4b7a-9e21-3a6b8d0c4f11}\\inprocserver32",
                            "threadingmodel"),
              "Apartment");
    EXPECT_EQ(back.SubKeys(""),
              (std::vector<std::string>{"CLSID", "VelaFFDiagnosisUI.OnlineView"}));
    EXPECT_EQ(back.ValueNames(std::string(kClsid) + "\\InprocServer32"),
              (std::vector<std::string>{"", "ThreadingModel"}));
    EXPECT_FALSE(back.GetValue(kClsid, "missing"));
    EXPECT_FALSE(back.GetValue("CLSID\\nothing", ""));

    back.SetValue(kClsid, "", "renamed"); // overwrites, keeps one value
    EXPECT_EQ(back.ValueNames(kClsid).size(), 1u);
    EXPECT_TRUE(back.DeleteValue(kClsid, ""));
    EXPECT_FALSE(back.DeleteValue(kClsid, ""));

    // A tree goes with everything below it; the root stays.
    back.CreateKey("CLSID\\{other}");
    EXPECT_TRUE(back.DeleteTree(kClsid));
    EXPECT_FALSE(back.KeyExists(std::string(kClsid) + "\\InprocServer32"));
    EXPECT_TRUE(back.KeyExists("CLSID\\{other}"));
    EXPECT_FALSE(back.DeleteTree(kClsid));
    EXPECT_FALSE(back.DeleteTree(""));
}

TEST_F(RegistryTest, FailedWriteLeavesTheOldFileIntact) {
    Registry reg(m_file);
    reg.SetValue("Key", "", "small");
    reg.Save();
    const std::string before = ReadAll(m_file);

    reg.SetValue("Key", "big", std::string(64 * 1024, 'x'));
    // Limit the size of files this process may write, so that writing the new registry
    // fails halfway (this works for root too).
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(reg.Save(), std::runtime_error);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(ReadAll(m_file), before);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(m_file).parent_path()),
                            fs::directory_iterator()),
              1);
}

TEST_F(RegistryTest, MalformedFileThrowsAndKeepsKeys) {
    fs::create_directories(fs::path(m_file).parent_path());
    Registry reg(m_file);
    reg.SetValue("Kept", "", "yes");
    for (const char* content : {"", "<Registry><Key name='a'>", "<Other/>"}) {
        std::ofstream(m_file) << content;
        try {
            reg.Load();
            FAIL() << content;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(m_file), std::string::npos);
        }
        EXPECT_EQ(reg.GetValue("Kept", ""), "yes");
    }
}

} // namespace
