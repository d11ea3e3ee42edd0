#pragma once

#include <xlsxwriter.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>

#include "platform/temporary_folder.h"

namespace quillet {

// The file a spreadsheet writer fills: a workbook in a folder of its own, written there row by
// row so a long list costs no memory, then read back whole. The first failure is kept in
// `error`, which the writer shares.
class XlsxWorkbook {
 public:
  explicit XlsxWorkbook(std::string& error) : error_(error) {}

  // The workbook named `name` in its folder; nullptr, with the error, when it cannot be made.
  lxw_workbook* Open(std::string_view name) {
    Result<std::unique_ptr<TemporaryFolder>> folder = TemporaryFolder::Make();
    if (!folder) {
      error_ = "no room for the spreadsheet: " + folder.error();
      return nullptr;
    }
    folder_ = std::move(folder.value());
    file_ = (folder_->path() / std::string(name)).string();
    temporary_ = folder_->path().string();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = temporary_.data();
    lxw_workbook* workbook = workbook_new_opt(file_.c_str(), &options);
    if (workbook == nullptr && error_.empty()) error_ = "the spreadsheet cannot be made";
    return workbook;
  }

  void Check(lxw_error error) {
    if (error != LXW_NO_ERROR && error_.empty()) error_ = lxw_strerror(error);
  }

  // Closes (and frees) `workbook`, whatever happened, and appends the file's bytes to `out`.
  void Close(lxw_workbook* workbook, std::string& out) {
    Check(workbook_close(workbook));
    if (!error_.empty()) return;
    std::ifstream file(file_, std::ios::binary);
    out.append(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (!file.good() && !file.eof()) error_ = "the spreadsheet cannot be read back";
  }

 private:
  std::string& error_;
  std::unique_ptr<TemporaryFolder> folder_;
  std::string file_;
  std::string temporary_;
};

}  // namespace quillet
