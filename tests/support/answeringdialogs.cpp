#include "answeringdialogs.h"

platform::MessageAnswer AnsweringDialogs::messageBox(const QString& caption, const QString& text,
                                                     platform::MessageIcon icon,
                                                     platform::MessageButtons buttons)
{
    shown.append({caption, text, icon, buttons});
    if (onMessage) onMessage(shown.last());
    if (answers.isEmpty()) return platform::MessageAnswer::Ok;
    return answers.takeFirst();
}

int AnsweringDialogs::execModal(QDialog& dialog)
{
    ++modalCount;
    return modalHandler ? modalHandler(dialog) : QDialog::Rejected;
}
