#pragma once

// The missing-encoder dialog: without the MP3 encoder library no CD can be extracted, so the
// dialog says where to get it and its OK ends the program. GUI thread only.

#include <QDialog>

class QPlainTextEdit;

namespace ripper {

class TnoLAME : public QDialog
{
    Q_OBJECT

public:
    explicit TnoLAME(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1 = nullptr;

    void OKClick();
};

// Shows the dialog modally; its OK ends the program.
void donoLAME();

} // namespace ripper
