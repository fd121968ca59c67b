// Saving over a settings file the user arranged: read-only, linked, with its own mode, in a
// folder only the file may be written in; and the texts of the errors a save can meet.
// Checks that depend on permissions run as the unprivileged user "nobody" in a child
// process, since root ignores them.
#include "app/settings_save.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "framework/exceptions.h"

namespace {

namespace fs = std::filesystem;
using framework::EInOutError;

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;
constexpr int kCannotSwitchUser = 77;

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

ino_t InodeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_ino;
}

// The message of the error a save raises, or "" when it succeeds.
std::string SaveError(const std::string& path, const std::string& content) {
    try {
        app::SaveFileReplacing(path, content);
        return "";
    } catch (const EInOutError& e) {
        return e.Message();
    }
}

class SettingsSave : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/utrozvon-save-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        folder = tmpl;
        ::chmod(folder.c_str(), 0755);  // reachable for "nobody"
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(folder, fs::perms::all, fs::perm_options::add, ec);
        for (const auto& e : fs::recursive_directory_iterator(folder, ec))
            if (e.is_directory(ec)) fs::permissions(e.path(), fs::perms::all, fs::perm_options::add, ec);
        fs::remove_all(folder, ec);
    }
    std::string Path(const std::string& name) const { return folder + "/" + name; }

    // Runs `check` as "nobody" (the process itself when it is no root already); its return
    // value is the child's exit code, 0 for success. False when no such user can be used.
    bool AsUnprivileged(const std::function<int()>& check) {
        if (::geteuid() != 0) {
            EXPECT_EQ(check(), 0);
            return true;
        }
        const pid_t child = ::fork();
        if (child < 0) return false;
        if (child == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(kNoGroup) != 0 || ::setuid(kNobody) != 0)
                ::_exit(kCannotSwitchUser);
            ::_exit(check());
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        if (WIFEXITED(status) && WEXITSTATUS(status) == kCannotSwitchUser) return false;
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
        return true;
    }
    void GiveToNobody(const std::string& path) {
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(path.c_str(), kNobody, kNoGroup), 0);
        }
    }

    std::string folder;
};

// The old save replaced a read-only file silently and reset its mode.
TEST_F(SettingsSave, AReadOnlyFileIsRefusedAndLeftAsItWas) {
    const std::string ini = Path("nastr.ini");
    WriteBytes(ini, "old\r\n");
    ::chmod(ini.c_str(), 0444);
    const ino_t before = InodeOf(ini);
    EXPECT_EQ(SaveError(ini, "new\r\n"), "File access denied");
    EXPECT_EQ(ReadBytes(ini), "old\r\n");
    EXPECT_EQ(ModeOf(ini), 0444u);
    EXPECT_EQ(InodeOf(ini), before);
    EXPECT_FALSE(fs::exists(ini + ".tmp"));
}

// A file of another user in a folder everyone may write: the folder would allow a rename over
// it, the file itself may not be written.
TEST_F(SettingsSave, AFileTheUserMayNotWriteIsRefusedEvenInAWritableFolder) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to make a file of another user";
    const std::string ini = Path("nastr.ini");
    WriteBytes(ini, "root's\r\n");
    ::chmod(ini.c_str(), 0644);
    ::chmod(folder.c_str(), 0777);
    const bool ran = AsUnprivileged([&] { return SaveError(ini, "mine\r\n") == "File access denied" ? 0 : 1; });
    if (!ran) GTEST_SKIP() << "the user nobody cannot be used here";
    EXPECT_EQ(ReadBytes(ini), "root's\r\n");
    EXPECT_FALSE(fs::exists(ini + ".tmp"));
}

TEST_F(SettingsSave, TheNewFileKeepsTheOldMode) {
    const std::string ini = Path("nastr.ini");
    for (mode_t mode : {0600u, 0640u, 0664u, 0666u}) {
        WriteBytes(ini, "old\r\n");
        ::chmod(ini.c_str(), mode);
        const mode_t saved = ::umask(022);
        EXPECT_EQ(SaveError(ini, "new\r\n"), "") << std::oct << mode;
        ::umask(saved);
        EXPECT_EQ(ReadBytes(ini), "new\r\n");
        EXPECT_EQ(ModeOf(ini), mode) << std::oct << mode;
    }
}

// The old save put a plain file where the link was, and the linked file kept the old text.
TEST_F(SettingsSave, ALinkIsFollowedAndItsTargetReplacedInItsOwnFolder) {
    fs::create_directory(Path("app"));
    fs::create_directory(Path("data"));
    const std::string target = Path("data/real.ini");
    const std::string link = Path("app/nastr.ini");
    WriteBytes(target, "old\r\n");
    ::chmod(target.c_str(), 0640);
    fs::create_symlink("../data/real.ini", link);
    EXPECT_EQ(fs::path(app::SaveTemporaryPath(link)).lexically_normal(), fs::path(target + ".tmp"));

    EXPECT_EQ(SaveError(link, "new\r\n"), "");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), "../data/real.ini");
    EXPECT_EQ(ReadBytes(target), "new\r\n");
    EXPECT_EQ(ModeOf(target), 0640u);
    EXPECT_FALSE(fs::exists(link + ".tmp"));
    EXPECT_FALSE(fs::exists(target + ".tmp"));

    // A link to a link, and a link whose target does not exist yet.
    fs::create_symlink("nastr.ini", Path("app/second.ini"));
    EXPECT_EQ(SaveError(Path("app/second.ini"), "twice\r\n"), "");
    EXPECT_EQ(ReadBytes(target), "twice\r\n");
    fs::create_symlink(Path("data/later.ini"), Path("app/dangling.ini"));
    EXPECT_EQ(SaveError(Path("app/dangling.ini"), "made\r\n"), "");
    EXPECT_TRUE(fs::is_symlink(Path("app/dangling.ini")));
    EXPECT_EQ(ReadBytes(Path("data/later.ini")), "made\r\n");
}

// A writable file in a folder the user may not write (the program's folder, say): renaming is
// impossible, so the file is rewritten in place.
TEST_F(SettingsSave, AWritableFileInAReadOnlyFolderIsWrittenInPlace) {
    fs::create_directory(Path("app"));
    const std::string ini = Path("app/nastr.ini");
    WriteBytes(ini, "old and longer\r\n");
    ::chmod(ini.c_str(), 0644);
    GiveToNobody(ini);
    const ino_t before = InodeOf(ini);
    ::chmod(Path("app").c_str(), 0555);
    const bool ran = AsUnprivileged([&] { return SaveError(ini, "new\r\n").empty() ? 0 : 1; });
    if (!ran) GTEST_SKIP() << "the user nobody cannot be used here";
    EXPECT_EQ(ReadBytes(ini), "new\r\n");
    EXPECT_EQ(InodeOf(ini), before) << "written in place";
    EXPECT_FALSE(fs::exists(ini + ".tmp"));

    // Without a file to write into there is no way at all.
    const std::string missing = Path("app/other.ini");
    const bool ran2 = AsUnprivileged([&] { return SaveError(missing, "x\r\n") == "File access denied" ? 0 : 1; });
    ASSERT_TRUE(ran2);
    EXPECT_FALSE(fs::exists(missing));
}

// Codes the message table names keep their texts; the others show the system's own, where
// EIO once read "File access denied" and EINTR "Too many open files".
TEST(InOutErrorTexts, TableCodesKeepTheirTextsOthersShowTheSystemsOwn) {
    const struct {
        int err;
        int code;
        std::string text;
    } rows[] = {
        {ENOENT, 2, "File not found"},
        {EACCES, 5, "File access denied"},
        {EPERM, 5, "File access denied"},
        {EMFILE, 4, "Too many open files"},
        {ENOSPC, 101, "Disk full"},
        {EIO, EIO, std::strerror(EIO)},
        {EINTR, EINTR, std::strerror(EINTR)},
        {EISDIR, EISDIR, std::strerror(EISDIR)},
        {0, EIO, std::strerror(EIO)},
    };
    for (const auto& r : rows) {
        const EInOutError e = framework::InOutErrorFromErrno(r.err);
        EXPECT_EQ(e.ErrorCode, r.code) << r.err;
        EXPECT_EQ(e.Message(), r.text) << r.err;
    }
    EXPECT_NE(framework::InOutErrorFromErrno(0).Message(), "File access denied");
}

TEST_F(SettingsSave, ErrorsOutsideTheTableReadAsTheSystemSaysThem) {
    fs::create_directory(Path("nastr.ini"));
    EXPECT_EQ(SaveError(Path("nastr.ini"), "x"), std::strerror(EISDIR));
    fs::create_symlink("loop-b", Path("loop-a"));
    fs::create_symlink("loop-a", Path("loop-b"));
    EXPECT_EQ(SaveError(Path("loop-a"), "x"), std::strerror(ELOOP));
}

}  // namespace
