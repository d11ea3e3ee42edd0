#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace quillet {

class AtomicFile;

struct AtomicFileOpen {
  std::unique_ptr<AtomicFile> file;  // null when the target cannot be written
  std::string error;                 // why not: "it is a folder", "permission denied"
};

// Writes a file whole or not at all: the bytes go to a new file beside the target, which
// replaces the target only on Commit. Until then, and after any failure, the file that was
// there stays exactly as it was. A target that exists but is not a regular file (a folder, a
// device, a pipe, after following links) is refused, never replaced; a symbolic link is written
// through, so the link stays and its target gets the new bytes (a link to a file not there yet
// too). A file the user may not write is refused. The new file keeps the old one's owner and
// permissions.
//
// Exceptions: where the rename would lose something, the file is written in place (and cut to
// the new length on Commit): in a folder the user may not write, since nothing can be put
// beside the file there; a file with other names (hard links), which would keep the old bytes;
// a file whose owner the new one cannot take. Every write is still checked, but a failure
// part-way leaves it part-written.
class AtomicFile {
 public:
  static AtomicFileOpen Open(const std::filesystem::path& target);
  ~AtomicFile();  // without a commit the new file is removed
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // False once anything failed; every later call fails too.
  bool Write(std::string_view bytes);
  // Puts the new file in place of the target, on disk before it returns.
  bool Commit();
  const std::string& error() const { return error_; }

 private:
  struct Native;
  explicit AtomicFile(std::unique_ptr<Native> native);
  bool Fail(std::string error);

  std::unique_ptr<Native> native_;
  std::string error_;
};

}  // namespace quillet
