#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/Terminal.h"

namespace vorlane::testing {
namespace {

using platform::LineRead;

struct Pipe {
    Pipe() { EXPECT_EQ(::pipe(fds), 0); }
    ~Pipe() {
        for (const int fd : fds) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
    void Put(const std::string& text) const {
        EXPECT_EQ(::write(fds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    void CloseWriter() {
        ::close(fds[1]);
        fds[1] = -1;
    }
    int fds[2] = {-1, -1};
};

TEST(TerminalTest, LinesComeOneByOneAndAWakeEndsTheWait) {
    Pipe input;
    Pipe wake;
    std::string buffer;
    std::string line;
    input.Put("y\nno\nlast");
    EXPECT_EQ(platform::ReadLine(input.fds[0], wake.fds[0], buffer, line), LineRead::Line);
    EXPECT_EQ(line, "y");
    EXPECT_EQ(platform::ReadLine(input.fds[0], wake.fds[0], buffer, line), LineRead::Line);
    EXPECT_EQ(line, "no");
    wake.Put("!");  // nothing more typed: the wake answers
    EXPECT_EQ(platform::ReadLine(input.fds[0], wake.fds[0], buffer, line), LineRead::Woken);
    input.CloseWriter();
    EXPECT_EQ(platform::ReadLine(input.fds[0], -1, buffer, line), LineRead::Line);
    EXPECT_EQ(line, "last");  // a last line without its break
    EXPECT_EQ(platform::ReadLine(input.fds[0], -1, buffer, line), LineRead::End);
}

}  // namespace
}  // namespace vorlane::testing
