// The main window's comparison across many files: the command and its dialog, the matrix in
// place of the list, its counts in the status bar, its changes between two files, and saving,
// copying and printing it.
#include <QCoreApplication>
#include <QPrinter>
#include <QVBoxLayout>

#include "desktop/text_codec.h"
#include "shell/file_kind_texts.h"
#include "shell/frm_main.h"
#include "shell/recent_files.h"
#include "view/across_pane.h"
#include "view/across_printout.h"
#include "view/frm_use_compare.h"
#include "view/list_bars.h"
#include "view/object_list_view.h"
#include "view/status_panel.h"
#include "view/user_dialogs.h"

namespace quillet {
namespace {

constexpr const char* kManyFilesTitle = "Select the files to compare...";
constexpr const char* kTooFewFiles = "Choose two files or more to compare.";
constexpr const char* kPrintDocumentName = "Quillet comparison across files";

QByteArray Bytes(const std::string& text) {
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void FrmMain::BuildAcross(QBoxLayout& layout) {
  QWidget* central = layout.parentWidget();
  across_back_ = new AcrossBackBar(central);
  AcrossPane::Hooks hooks;
  hooks.copy_rows = [this](const std::vector<int>& rows) { CopyMatrixRows(rows); };
  hooks.save_rows = [this](const std::vector<int>& rows) { SaveMatrix(AskSaveFileName(), &rows); };
  across_pane_ = new AcrossPane(session_, std::move(hooks), central);
  across_pane_->matrix().setFont(lvMain_->font());
  across_pane_->hide();
  // The way back stands above the list, the matrix where the list stands.
  layout.insertWidget(layout.indexOf(lvMain_), across_back_);
  layout.addWidget(across_pane_, 1);
  connect(across_back_, &AcrossBackBar::BackClicked, this, [this] {
    session_.ShowAcross();
    Draw();
  });
  connect(across_pane_, &AcrossPane::SortClicked, this, [this](int column) {
    session_.SortAcrossBy(column);
    Draw();
  });
  connect(across_pane_, &AcrossPane::ListedChanged, this, [this](unsigned listed) {
    session_.SetAcrossListed(AcrossStatuses::FromBits(listed));
    Draw();
  });
  connect(across_pane_, &AcrossPane::ShowChangesAsked, this, &FrmMain::ShowChangesBetween);
}

ListCount FrmMain::ShownCount() const {
  return session_.AcrossShown() ? session_.across()->Count() : CountOf(session_.list());
}

void FrmMain::DrawAcross() {
  const bool shown = session_.AcrossShown();
  lvMain_->setVisible(!shown);
  across_pane_->setVisible(shown);
  const AcrossMatrix* matrix = session_.across();
  across_back_->setVisible(!shown && matrix != nullptr);
  if (matrix == nullptr) return;
  across_back_->SetFileCount(matrix->FileCount());
  if (!shown) return;
  view_bar_->hide();
  across_pane_->Draw();
  // The files are the matrix's columns; the file panels give their number and the counts.
  const QString files = QString("%1 files").arg(matrix->FileCount());
  PanelWidget(Panel::kFile1)->SetText(files);
  PanelWidget(Panel::kFile1)->SetIcon(QIcon());
  PanelWidget(Panel::kFile2)->SetText(across_pane_->CountsText());
  PanelWidget(Panel::kFile2)->SetIcon(QIcon());
  PanelWidget(Panel::kBase)->hide();
  setWindowTitle("Quillet - " + files);
}

void FrmMain::CompareManyFiles() {
  const QStringList names =
      dialogs_.GetOpenFileNames(this, kManyFilesTitle, OpenFileFilter(), settings_.last_file1);
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  if (names.isEmpty()) return;
  if (names.size() < 2) {
    dialogs_.ShowMessage(this, kTooFewFiles);
    return;
  }
  settings_.last_file1 = names.front();
  std::vector<std::filesystem::path> files;
  for (const QString& name : names) files.push_back(ToPath(name));
  CompareAcrossFiles(files);
}

void FrmMain::CompareAcrossFiles(const std::vector<std::filesystem::path>& names,
                                 InputKinds kinds) {
  if (frm_use_compare_ != nullptr) frm_use_compare_->hide();
  // What the criteria dialog has ticked, as for the other comparisons.
  const CompareCriteria criteria =
      frm_use_compare_ != nullptr ? frm_use_compare_->Criteria() : CompareCriteria{};
  PaintPanel(Panel::kCount, kBareCount);
  TellAcrossReads(session_.CompareAcross(names, criteria, kinds));
  Draw();
}

void FrmMain::TellAcrossReads(const std::vector<AcrossFileRead>& reads) {
  const AcrossMatrix* matrix = session_.across();
  if (matrix == nullptr) return;
  QStringList told;
  for (const AcrossFileRead& file : reads) {
    std::optional<Notice> notice;
    if (!file.read) {
      notice = Notice::Unreadable(file.read.error());
    } else if (file.read->capacity_reached) {
      notice = Notice::TooManyObjects(matrix->table().Capacity());
    } else if (file.read->cut_short) {
      notice = Notice::CutShort();
    }
    if (notice) {
      told << ShownInMessage(FromPath(matrix->File(file.position).name)) + "\n" +
                  ShownInMessage(FromWindows1252(NoticeText(*notice)));
    }
  }
  if (!told.isEmpty()) dialogs_.ShowMessage(this, told.join("\n\n"));
}

void FrmMain::ShowChangesBetween(int first, int second) {
  session_.ShowChangesBetween(first, second);
  // They are file #1 and file #2 now, as if loaded: offered again among the recent files.
  for (const int file : {1, 2}) {
    const LoadedSlot& slot = session_.Slot(file);
    if (slot.stream) continue;
    settings_.recent_files[static_cast<std::size_t>(file)] =
        WithRecentFile(settings_.recent_files[static_cast<std::size_t>(file)], FromPath(slot.name));
    FillRecentMenu(file);
  }
  Draw();
}

void FrmMain::SaveMatrix(const SaveTarget& target, const std::vector<int>* rows) {
  if (target.name.isEmpty()) return;
  const AcrossMatrix& matrix = *session_.across();
  const int count = rows != nullptr ? static_cast<int>(rows->size()) : matrix.RowCount();
  if (count == 0) {
    dialogs_.ShowMessage(this, "The list is empty");
    return;
  }
  const Status saved = across_writer_->Write(ToPath(target.name), target.format,
                                             SaveContextOf(matrix), MatrixRows(matrix, rows));
  if (!saved) {
    dialogs_.ShowMessage(this, QString("Unable to save the file\n%1: %2")
                                   .arg(ShownInMessage(target.name),
                                        ShownInMessage(QString::fromStdString(saved.error()))));
  }
  PaintBar(0);
}

void FrmMain::CopyMatrixRows(const std::vector<int>& rows) {
  const AcrossMatrix& matrix = *session_.across();
  const AcrossSaveContext context = SaveContextOf(matrix);
  // As the list copies: tab-separated text for any program, CSV for those that take it.
  Result<std::string> tsv =
      across_writer_->Text(ListFormat::kTsv, context, MatrixRows(matrix, &rows));
  Result<std::string> csv =
      across_writer_->Text(ListFormat::kCsv, context, MatrixRows(matrix, &rows));
  if (!tsv || !csv) {
    dialogs_.ShowMessage(this, "Unable to copy: " + ShownInMessage(QString::fromStdString(
                                                        !tsv ? tsv.error() : csv.error())));
    return;
  }
  SetClipboard({{"text/plain", Bytes(*tsv)}, {"text/csv", Bytes(*csv)}});
}

void FrmMain::PrintMatrix() {
  PrintFrom(
      this, [this](const PrintPaper& paper) { return MatrixPrintout(*session_.across(), paper); },
      kPrintDocumentName);
}

void FrmMain::PreviewMatrix() {
  PreviewOf([this](const PrintPaper& paper) { return MatrixPrintout(*session_.across(), paper); },
            kPrintDocumentName);
}

}  // namespace quillet
