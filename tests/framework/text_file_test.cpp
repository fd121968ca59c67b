#include "framework/text_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "framework/exceptions.h"

namespace framework {
namespace {

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/text_file_test.XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        for (const char* name : {"f.txt", "f.txt.tmp"}) ::unlink(Path(name).c_str());
        ::rmdir(dir_.c_str());
    }
    std::string Path(const char* name) const {
        std::string path(dir_);
        path.push_back('/');
        path.append(name);
        return path;
    }
    static void Put(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    static bool Exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

    std::string dir_;
};

TEST_F(TextFileTest, ReadsLines) {
    struct Row {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    } rows[] = {
        {"LF", "a\nb\n", {"a", "b"}},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"mixed", "a\r\nb\nc", {"a", "b", "c"}},
        {"no final ending", "a\nb", {"a", "b"}},
        {"empty lines kept", "\n\r\nx\n", {"", "", "x"}},
        {"lone CR is data", "a\rb\nc\r", {"a\rb", "c\r"}},
        {"CR CR LF drops one CR", "a\r\r\n", {"a\r"}},
        {"Ctrl-Z ends the file", std::string("a\nb\x1a" "c\nd\n"), {"a", "b"}},
        {"Ctrl-Z first", std::string("\x1a" "a\n"), {}},
        {"empty file", "", {}},
    };
    for (const auto& r : rows) {
        Put(Path("f.txt"), r.bytes);
        TextFileReader reader(Path("f.txt"));
        std::vector<std::string> got;
        while (!reader.Eof()) got.push_back(reader.ReadLine());
        EXPECT_EQ(got, r.lines) << r.name;
        // Past the end: empty lines, no error.
        EXPECT_EQ(reader.ReadLine(), "") << r.name;
        EXPECT_TRUE(reader.Eof()) << r.name;
    }
}

TEST_F(TextFileTest, MissingFileIsFileNotFound) {
    try {
        TextFileReader reader(Path("absent.txt"));
        FAIL() << "opened";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode, 2);
        EXPECT_EQ(e.Message(), "File not found");
    }
}

TEST_F(TextFileTest, OversizedFileIsRefused) {
    Put(Path("f.txt"), "");
    ASSERT_EQ(::truncate(Path("f.txt").c_str(), TextFileReader::kMaxSize + 1), 0);
    try {
        TextFileReader reader(Path("f.txt"));
        FAIL() << "read";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode, 100);
    }
}

TEST_F(TextFileTest, ReadErrorIsReported) {
    // Opening a folder succeeds; reading it fails with EISDIR.
    try {
        TextFileReader reader(dir_);
        FAIL() << "read";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode, EISDIR);
    }
}

TEST_F(TextFileTest, WriterEndsLinesWithCrLf) {
    TextFileWriter writer(Path("f.txt"));
    writer.WriteLine("A");
    writer.WriteLine("B");
    writer.Close();
    EXPECT_EQ(Get(Path("f.txt")), "A\r\nB\r\n");
}

TEST_F(TextFileTest, WriterTruncatesExistingFile) {
    Put(Path("f.txt"), "old content that is longer\r\n");
    TextFileWriter writer(Path("f.txt"));
    writer.WriteLine("");
    writer.Close();
    EXPECT_EQ(Get(Path("f.txt")), "\r\n");
}

TEST_F(TextFileTest, AtomicCommitReplacesTarget) {
    Put(Path("f.txt"), "old\r\n");
    {
        AtomicTextFileWriter writer(Path("f.txt"));
        writer.WriteLine("new");
        EXPECT_EQ(Get(Path("f.txt")), "old\r\n");  // untouched until the commit
        writer.Commit();
    }
    EXPECT_EQ(Get(Path("f.txt")), "new\r\n");
    EXPECT_FALSE(Exists(Path("f.txt.tmp")));
}

TEST_F(TextFileTest, AbandonedAtomicWriterLeavesTargetAndNoTemporary) {
    Put(Path("f.txt"), "old\r\n");
    {
        AtomicTextFileWriter writer(Path("f.txt"));
        writer.WriteLine("new");
        EXPECT_TRUE(Exists(Path("f.txt.tmp")));
    }
    EXPECT_EQ(Get(Path("f.txt")), "old\r\n");
    EXPECT_FALSE(Exists(Path("f.txt.tmp")));
}

TEST_F(TextFileTest, RemoveStaleTemporary) {
    Put(Path("f.txt.tmp"), "half");
    AtomicTextFileWriter::RemoveStaleTemporary(Path("f.txt"));
    EXPECT_FALSE(Exists(Path("f.txt.tmp")));
    AtomicTextFileWriter::RemoveStaleTemporary(Path("f.txt"));  // nothing left: no error
}

TEST_F(TextFileTest, AtomicWriterInMissingFolderFails) {
    try {
        AtomicTextFileWriter writer(Path("no/such/f.txt"));
        FAIL() << "created";
    } catch (const EInOutError& e) {
        EXPECT_TRUE(e.ErrorCode == 2 || e.ErrorCode == 3) << e.ErrorCode;
    }
}

// A file-size limit makes the writes fail part-way; the child reports the code it got.
TEST_F(TextFileTest, WriteFailureKeepsOldTargetAndReportsDiskFull) {
    Put(Path("f.txt"), "old\r\n");
    const std::string target = Path("f.txt");
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 10000;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(250);
        try {
            AtomicTextFileWriter writer(target);
            const std::string line(99, 'x');
            for (int i = 0; i < 1000; ++i) writer.WriteLine(line);
            writer.Commit();
            ::_exit(251);
        } catch (const EInOutError& e) {
            ::_exit(e.Message() == "Disk full" ? e.ErrorCode & 0xff : 252);
        } catch (...) {
            ::_exit(253);
        }
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 101);
    EXPECT_EQ(Get(target), "old\r\n");
    EXPECT_FALSE(Exists(Path("f.txt.tmp")));
}

}  // namespace
}  // namespace framework
