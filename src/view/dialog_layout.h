#pragma once

class QDialog;
class QWidget;

namespace quillet {

// Sizes a dialog's client area from its controls, as every dialog of the program does: laid out
// with one margin on every side, then fixed at that margin (the left offset of `first`) right
// of `rightmost` and below `lowest`.
void FitClientArea(QDialog& dialog, const QWidget& first, const QWidget& rightmost,
                   const QWidget& lowest);

}  // namespace quillet
