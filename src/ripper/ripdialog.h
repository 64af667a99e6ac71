#pragma once

// Base of the skinned dialogs of the extraction road: borderless, black, above the full-screen
// jukebox and extraction windows, showing the extraction window's backdrop through itself. Escape
// and a close request end it with its "go back" result, so a caller always gets an answer it
// handles. Also builds the controls these dialogs share. GUI thread only; each dialog is created,
// run and freed by its entry procedure.

#include <QDialog>
#include <cstdint>
#include <initializer_list>

class QLabel;
class QLineEdit;
class QString;
namespace controls {
class TBitmapActionButton;
}

namespace ripper {

class RipDialog : public QDialog
{
    Q_OBJECT

public:
    void reject() override;

protected:
    RipDialog();
    // The result of Escape, a close request or an end by any other road.
    virtual int backResult() const = 0;
    void paintEvent(QPaintEvent* event) override;
};

// Runs `dialog` modally through the dialogs seam; a result outside `results` becomes the dialog's
// "go back" result.
int runRipDialog(QDialog& dialog, std::initializer_list<int> results, int back);

// A skinned button of `colour` (1 green, 2 red, 3 purple, 4 yellow).
controls::TBitmapActionButton* actionButton(QWidget* parent, int32_t colour);
// The same, ending `dialog` with `answer` when clicked.
controls::TBitmapActionButton* answerButton(QDialog* dialog, int32_t colour, int answer);
// Shows `caption` in amber "Garamond" of `points` on `button`, which becomes `width` pixels wide,
// or as wide as the caption needs with kFitCaption.
constexpr int kFitCaption = 0;
void captionButton(controls::TBitmapActionButton* button, const QString& caption, int points, int width);
// A see-through label in amber "Garamond" of `points`.
QLabel* dialogLabel(QWidget* parent, const QString& text, int points);
// The first pixel row below `widget`, and the first column right of it, in its parent.
int bottomOf(const QWidget* widget);
int rightOf(const QWidget* widget);

// A black entry box with grey "Garamond" text of `points`.
QLineEdit* entryBox(QWidget* parent, int points);

} // namespace ripper
