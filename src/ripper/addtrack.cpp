#include "ripper/addtrack.h"

namespace ripper {

// The dialog is built with the album editing; until then every file is declined.
int addtrackdialog(const QString& aart, const QString& aalb, const QString&, QString& oart, QString& oalb,
                   bool)
{
    oart = aart;
    oalb = aalb;
    return kAddTrackCancelled;
}

} // namespace ripper
