// Pipes where a file is expected: they must never hold the program up, even when one takes the
// file's place while it is being opened.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <future>
#include <thread>

#include "objects/byte_source.h"
#include "test_support.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Runs `work` in a thread and gives whether it ended within `limit`. If it did not, it is held
// up opening the pipe `fifo`: opening the pipe's other end, again and again, frees it, so the
// test ends either way.
bool EndsWithin(std::chrono::milliseconds limit, const fs::path& fifo,
                const std::function<void()>& work) {
  std::promise<void> ended;
  std::future<void> done = ended.get_future();
  std::thread worker([&] {
    work();
    ended.set_value();
  });
  const bool in_time = done.wait_for(limit) == std::future_status::ready;
  while (done.wait_for(10ms) != std::future_status::ready) {
    const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
  }
  worker.join();
  return in_time;
}

TEST(PipeInput, APipeWithoutAWriterIsRefusedAtOnce) {
  test::TempDir dir;
  const fs::path fifo = dir / "pipe.fob";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  Result<Input> opened = Input{};
  EXPECT_TRUE(EndsWithin(5s, fifo, [&] { opened = OpenInput(fifo); }));
  EXPECT_FALSE(opened.ok());
  EXPECT_EQ(opened.error(), "it is not a regular file");

  const fs::path link = dir / "link.fob";
  fs::create_symlink(fifo, link);
  EXPECT_TRUE(EndsWithin(5s, fifo, [&] { opened = OpenInput(link); }));
  EXPECT_EQ(opened.error(), "it is not a regular file");
}

// Where streams are allowed, a FIFO is opened as cat opens it: the open waits for the writer,
// and what it writes is read to its end. A device is a stream too; where only files are wanted
// it is refused unopened.
TEST(PipeInput, WhereStreamsAreAllowedAFifoIsReadFromItsWriter) {
  test::TempDir dir;
  const fs::path fifo = dir / "pipe.fob";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::thread writer([&] {
    std::this_thread::sleep_for(200ms);
    const int fd = ::open(fifo.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    for (const char* piece : {"the bytes ", "of a pipe"}) {
      ASSERT_GT(::write(fd, piece, std::strlen(piece)), 0);
      std::this_thread::sleep_for(20ms);
    }
    ::close(fd);
  });
  Result<Input> opened = OpenInput(fifo, InputKinds::kStreams);
  ASSERT_TRUE(opened.ok() && opened->source != nullptr) << opened.error();
  EXPECT_TRUE(opened->stream);
  std::string bytes;
  char block[64];
  while (const std::size_t got = opened->source->Read(block, sizeof block))
    bytes.append(block, got);
  writer.join();
  EXPECT_EQ(bytes, "the bytes of a pipe");
  EXPECT_TRUE(opened->source->ReadStatus().ok());
  ASSERT_TRUE(opened->source->Rewind().ok());  // held: read again from the start
  EXPECT_EQ(opened->source->Read(block, 9), 9u);
  EXPECT_EQ(std::string(block, 9), "the bytes");

  Result<Input> null = OpenInput("/dev/null", InputKinds::kStreams);
  ASSERT_TRUE(null.ok() && null->source != nullptr) << null.error();
  EXPECT_TRUE(null->stream);
  EXPECT_EQ(null->source->Read(block, sizeof block), 0u);
  EXPECT_EQ(OpenInput("/dev/null").error(), "it is not a regular file");
  EXPECT_EQ(OpenInput(dir.path(), InputKinds::kStreams).error(), "it is a folder");
}

// A script swaps one name between a regular file and a pipe, as fast as it can, while the
// program opens that name again and again. Every open ends, with the file read or the pipe
// refused.
TEST(PipeInput, ANameSwappedForAPipeWhileOpeningNeverHangs) {
  test::TempDir dir;
  const fs::path file = dir.Write("file.fob", "the bytes of a file");
  const fs::path fifo = dir / "pipe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const fs::path name = dir / "swapped.fob", next = dir / "next";
  ASSERT_EQ(::link(file.c_str(), name.c_str()), 0);

  // Each swap links the other node under a spare name and renames it over the name, so the
  // name is always there and both nodes stay reachable under names of their own.
  std::atomic<bool> stop{false};
  std::thread swapper([&] {
    for (bool pipe = true; !stop; pipe = !pipe) {
      ::unlink(next.c_str());
      if (::link((pipe ? fifo : file).c_str(), next.c_str()) == 0) {
        ::rename(next.c_str(), name.c_str());
      }
    }
  });

  int files = 0, pipes = 0, others = 0;
  const bool ended = EndsWithin(10s, fifo, [&] {
    // Until both kinds were opened often enough for the swap to fall between a look and an open.
    const auto until = std::chrono::steady_clock::now() + 3s;
    while ((files < 20000 || pipes < 20000) && std::chrono::steady_clock::now() < until) {
      Result<Input> opened = OpenInput(name);
      if (opened && opened->source != nullptr) {
        std::string bytes(64, '\0');
        bytes.resize(opened->source->Read(bytes.data(), bytes.size()));
        (bytes == "the bytes of a file" ? files : others)++;
      } else {
        (opened.error() == "it is not a regular file" ? pipes : others)++;
      }
    }
  });
  stop = true;
  swapper.join();
  EXPECT_TRUE(ended) << "an open waited for a writer to the pipe";
  EXPECT_EQ(others, 0) << files << " files, " << pipes << " pipes";
  EXPECT_GT(files + pipes, 0);
}

}  // namespace
}  // namespace quillet
