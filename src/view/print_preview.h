#pragma once

#include <QDialog>
#include <cstddef>
#include <functional>

#include "output/print_layout.h"

class QLabel;
class QSpinBox;

namespace quillet {

class PreviewPages;

// The print preview: the pages of a printout as they will print, one under the other. A page
// is laid out and drawn only when it comes into view, and only the pages around the view are
// held, so a list of any length opens at once and closing the preview leaves nothing behind.
// Print hands over to `print` (the print dialog and the printing), which gives true when the
// user went past the print dialog; the preview then closes.
class PrintPreview final : public QDialog {
  Q_OBJECT

 public:
  PrintPreview(const Printout& printout, std::function<bool(QWidget*)> print,
               QWidget* parent = nullptr);
  ~PrintPreview() override;

  int PageCount() const;
  // The page in the middle of the view, from 0.
  int CurrentPage() const;
  void ShowPage(int index);
  // How many pages are laid out and held now.
  std::size_t HeldPages() const;

 protected:
  // Hidden, the preview gives back the pages it held.
  void hideEvent(QHideEvent* event) override;

 private:
  void PageShown(int index);

  PreviewPages* pages_ = nullptr;
  QSpinBox* page_box_ = nullptr;
  std::function<bool(QWidget*)> print_;
};

}  // namespace quillet
