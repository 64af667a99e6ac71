#pragma once

// The one seam through which every message box and modal dialog of the program is shown.
// Production shows Qt dialogs; tests install an answering fake (tests/support).
// GUI thread only; the seam object is owned by whoever installs it.

class QDialog;
class QString;

namespace platform {

enum class MessageIcon { Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

class Dialogs
{
public:
    virtual ~Dialogs() = default;

    virtual MessageAnswer messageBox(const QString& caption, const QString& text, MessageIcon icon,
                                     MessageButtons buttons) = 0;
    // Runs a modal dialog and returns its result code (QDialog::exec semantics).
    virtual int execModal(QDialog& dialog) = 0;
};

// The dialogs in force: the Qt ones unless a test installed others.
Dialogs& dialogs();
// Installs another seam (not owned); nullptr restores the Qt dialogs.
void setDialogs(Dialogs* replacement);

} // namespace platform
