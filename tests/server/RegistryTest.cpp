#include "server/Registry.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("registry-test-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        m_file = (m_dir / "sub" / "registry.xml").string();
    }
    void TearDown() override { fs::remove_all(m_dir); }

    static std::string ReadAll(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path m_dir;
    std::string m_file;
};

constexpr const char* kClsid = "CLSID\\{5C1D2E70-8F43-4B7A-9E21-3A6B8D0C4F11}";

TEST_F(RegistryTest, RoundTripKeepsKeysValuesAndOrder) {
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
}

TEST_F(RegistryTest, DeleteTreeRemovesTheKeyWithEverythingBelow) {
    Registry reg(m_file);
    reg.SetValue(std::string(kClsid) + "\\InprocServer32", "", "lib");
    reg.SetValue(std::string(kClsid) + "\\ProgID", "", "VelaFFDiagnosisUI.OnlineView.1");
    reg.CreateKey("CLSID\\{other}");
    EXPECT_TRUE(reg.DeleteTree(kClsid));
    EXPECT_FALSE(reg.KeyExists(kClsid));
    EXPECT_FALSE(reg.KeyExists(std::string(kClsid) + "\\ProgID"));
    EXPECT_TRUE(reg.KeyExists("CLSID\\{other}"));
    EXPECT_FALSE(reg.DeleteTree(kClsid));
    EXPECT_FALSE(reg.DeleteTree("")); // the root stays
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
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry :
         fs::directory_iterator(fs::path(m_file).parent_path())) {
        ++files;
    }
    EXPECT_EQ(files, 1u); // no temporary file left behind
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

TEST_F(RegistryTest, DefaultPathFollowsTheEnvironment) {
    const char* saved = std::getenv("FDT_REGISTRY_FILE");
    const std::string keep = saved ? saved : "";
    setenv("FDT_REGISTRY_FILE", "/tmp/x/registry.xml", 1);
    EXPECT_EQ(Registry::DefaultPath(), "/tmp/x/registry.xml");
    unsetenv("FDT_REGISTRY_FILE");
    setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
    EXPECT_EQ(Registry::DefaultPath(), "/tmp/cfg/vela-fdt/registry.xml");
    unsetenv("XDG_CONFIG_HOME");
    if (saved) {
        setenv("FDT_REGISTRY_FILE", keep.c_str(), 1);
    }
}

} // namespace
