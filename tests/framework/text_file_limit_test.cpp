// The reader's size limit holds exactly at its boundary: a file of the maximum is read whole.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "framework/exceptions.h"
#include "framework/text_file.h"

namespace framework {
namespace {

TEST(TextFileLimit, FileOfExactlyTheMaximumIsRead) {
    char pattern[] = "/tmp/text_file_limit.XXXXXX";
    const int fd = ::mkstemp(pattern);
    ASSERT_GE(fd, 0);
    const std::string path = pattern;
    // One line "a" with CR LF, then zero bytes up to the limit (a sparse file).
    ASSERT_EQ(::write(fd, "a\r\n", 3), 3);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(TextFileReader::kMaxSize)), 0);
    ::close(fd);
    {
        TextFileReader reader(path);
        EXPECT_EQ(reader.ReadLine(), "a");
        EXPECT_EQ(reader.ReadLine().size(), TextFileReader::kMaxSize - 3);
        EXPECT_TRUE(reader.Eof());
    }
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(TextFileReader::kMaxSize + 1)), 0);
    EXPECT_THROW(TextFileReader{path}, EInOutError);
    ::unlink(path.c_str());
}

}  // namespace
}  // namespace framework
