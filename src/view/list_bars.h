#pragma once

#include <QWidget>
#include <vector>

#include "list/list_view.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QLayout;

namespace quillet {

// The filter above the list: it filters as the user types. A filter that cannot be read is
// shown with its reason beside the field, and the last good one stays in force. Esc clears it
// and closes the bar.
class FilterBar final : public QWidget {
  Q_OBJECT

 public:
  explicit FilterBar(QWidget* parent);

  // Shows the bar and puts the cursor in the field.
  void Open();
  QString Text() const;
  // What the last text could not be read for; empty when it could.
  void ShowError(const QString& error);

 signals:
  void TextChanged(const QString& text);
  void Closed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Close();

  QLineEdit* field_;
  QLabel* error_;
};

// Above a keyed comparison's list: a toggle per status with its count ("Changed 201"); the
// pressed ones are listed.
class ViewBar final : public QWidget {
  Q_OBJECT

 public:
  explicit ViewBar(QWidget* parent);

  // The statuses of `view` with their counts (by status value), those in `listed` pressed.
  // Under a filter, `shown` holds what it leaves of each listed status: "Changed 12 of 201".
  void Show(ListView view, const std::vector<long long>& counts, unsigned listed,
            const std::vector<long long>* shown = nullptr);
  // The counts, as the toggles show them: "Changed 201 · Only in #1 45".
  QString CountsText() const;

 signals:
  // The statuses pressed now, a bit per status value.
  void ListedChanged(unsigned listed);

 private:
  unsigned Listed() const;

  QLabel* title_;
  QLayout* toggles_layout_;
  ListView view_ = ListView::kObjects;                 // whose statuses the toggles are
  std::vector<std::pair<int, QToolButton*>> toggles_;  // status value, its toggle
};

// Above the list when a loaded file changed on disk: nothing is read again without the user.
class ReloadBar final : public QWidget {
  Q_OBJECT

 public:
  explicit ReloadBar(QWidget* parent);

 signals:
  void ReloadClicked();
};

}  // namespace quillet
