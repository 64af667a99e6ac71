#pragma once

// A dialogs seam for tests: records every message box and answers from a queue.
// Installs itself on construction and restores the Qt dialogs on destruction.

#include <QDialog>
#include <QString>
#include <QVector>
#include <functional>

#include "installedfake.h"
#include "platform/dialogs.h"

struct ShownMessage
{
    QString caption;
    QString text;
    platform::MessageIcon icon;
    platform::MessageButtons buttons;
};

class AnsweringDialogs final : public InstalledFake<platform::Dialogs, &platform::setDialogs>
{
public:
    platform::MessageAnswer messageBox(const QString& caption, const QString& text,
                                       platform::MessageIcon icon, platform::MessageButtons buttons) override;
    int execModal(QDialog& dialog) override;

    // Answers for the next message boxes, in order; when none is queued the answer is Ok.
    QVector<platform::MessageAnswer> answers;
    // Called with each modal dialog instead of running it; returns the dialog's result.
    std::function<int(QDialog&)> modalHandler;
    // Called with each message box as it is shown, while the code that shows it waits.
    std::function<void(const ShownMessage&)> onMessage;

    QVector<ShownMessage> shown;
    int modalCount = 0;
};
