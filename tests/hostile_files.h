#pragma once

// Files made to hurt a reader: what each is, and what a user should see. Shared by the window's
// and the command line's tests.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gen/generator.h"

namespace quillet::test {

struct HostileFile {
  std::string what;
  std::string path;
  int objects;   // objects the file then holds
  bool message;  // whether the user is told something
  bool trouble;  // the command line exits with 2
  // The command line reads it as a stream, waiting for a writer as cat would; the window
  // refuses it.
  bool stream = false;
  // No object file at all: the command line says so (the window lists it as empty).
  bool no_directory = false;
};

inline std::string WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
  return path.string();
}

inline std::string GeneratedFile(const std::filesystem::path& path, int objects) {
  gen::Options options;
  options.objects = objects;
  options.data_size = 16;
  return WriteBytes(path, gen::EncodeFile(gen::GenerateObjects(options), options));
}

inline std::vector<HostileFile> MakeHostileFiles(const std::filesystem::path& dir) {
  namespace fs = std::filesystem;
  std::vector<HostileFile> files;
  fs::create_directories(dir);
  fs::create_directory(dir / "folder.fob");
  files.push_back({"a folder", (dir / "folder.fob").string(), 0, true, true});
  mkfifo((dir / "pipe.fbk").c_str(), 0644);
  files.push_back({"a pipe without a writer", (dir / "pipe.fbk").string(), 0, true, true, true});
  files.push_back({"an empty file", WriteBytes(dir / "empty.fob", ""), 0, false, false});
  // A file that opens but fails at its first byte, even for root: the reader's own memory.
  fs::create_symlink("/proc/self/mem", dir / "io-error.fob");
  files.push_back({"a read error", (dir / "io-error.fob").string(), 0, true, true});
  if (geteuid() != 0) {  // root reads it all the same
    const std::string locked = GeneratedFile(dir / "locked.fob", 5);
    fs::permissions(locked, fs::perms::none);
    files.push_back({"a file without read permission", locked, 0, true, true});
  }

  gen::Options three;
  three.objects = 3;
  three.data_size = 0;
  const std::string lines = gen::EncodeFile(gen::GenerateObjects(three), three);
  files.push_back(
      {"0x1A as the first byte", WriteBytes(dir / "mark.fob", "\x1A" + lines), 0, false, false});

  {
    const std::string path = (dir / "sparse.fbk").string();
    gen::WriteFile(path, lines.substr(0, lines.size() - 1), 2ULL << 30);  // no 0x1A at all
    files.push_back({"2 GB without 0x1A", path, 0, false, false, false, true});
  }

  gen::Object odd;
  odd.type = "Codeunit";
  odd.id = std::string("\0\xFF", 2) + "      12";
  odd.name = std::string("Nul\0Name\xFF", 9);
  odd.date = std::string("\xFF\0.12.08", 8);
  odd.time = std::string("\0", 1);
  odd.size = "\xFF\xFF";
  odd.version = std::string("V\0\xFF", 3);
  std::string odd_line;
  gen::AppendLine(odd_line, odd);
  files.push_back({"NUL and 0xFF inside a line", WriteBytes(dir / "nul.fob", odd_line + "\x1A"), 1,
                   false, false});

  // No limit: a file holds as many objects as it lists.
  files.push_back({"20001 objects", GeneratedFile(dir / "20001.fob", 20001), 20001, false, false});
  files.push_back(
      {"100000 objects", GeneratedFile(dir / "100000.fbk", 100000), 100000, false, false});

  // One good line, then the next cut at every length: the good one stays, the cut one goes.
  gen::Object form;
  form.type = "Form";
  form.id = gen::Number10(21);
  form.name = "Card";
  form.date = "31.12.08";
  form.time = "12:00:00";
  form.size = gen::Number10(100);
  form.version = "V1";
  std::string first;
  gen::AppendLine(first, form);
  for (std::size_t cut = 0; cut <= 161; cut += 23) {
    std::string second = first;
    second.resize(cut);
    const bool damaged = cut > 0 && cut < 159;
    files.push_back(
        {"a line cut at " + std::to_string(cut),
         WriteBytes(dir / ("cut" + std::to_string(cut) + ".fob"), first + second + "\x1A"),
         cut >= 159 ? 2 : 1, damaged, false});
  }

  files.push_back({"a header that is one long line",
                   WriteBytes(dir / "long.fob", "Table " + std::string(3 << 20, 'x') + "\x1A"), 1,
                   false, false});
  return files;
}

}  // namespace quillet::test
