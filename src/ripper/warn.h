#pragma once

// A plain framed warning with an optional link and an optional "Don't warn me of this again."
// box, centred on the screen. Created, run and freed by `showwarning` on the GUI thread.

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QPushButton;

namespace ripper {

// The link of the warning shown, and whether it offers the check box.
inline QString aurl;
inline bool ww = false;

class Twarnform : public QDialog
{
    Q_OBJECT

public:
    explicit Twarnform(const QString& caption);

    QPushButton* OK = nullptr;
    QLabel* maintext = nullptr;
    QLabel* sectext = nullptr;
    QCheckBox* remember = nullptr;
    QLabel* hyperlink = nullptr;

private:
    // Opens the link in the system's default handler.
    void hyperlinkClick();
};

// Shows the warning; false when the user ticked "Don't warn me of this again.", else true. The
// link is shown only when `url` is given, the box only when `w`.
bool showwarning(const QString& caption, const QString& main, const QString& secondary,
                 const QString& urltext, const QString& url, bool w);

} // namespace ripper
