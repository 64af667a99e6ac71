#pragma once

// The manual artist and album entry of the CD road, over the upper two thirds of the screen with
// the on-screen keyboard below. Created, run and freed by `getuseralbumtitle` on the GUI thread.

#include <QString>
#include <cstdint>

#include "ripper/ripdialog.h"

class QLabel;
class QLineEdit;
namespace controls {
class TBitmapActionButton;
}

namespace ripper {

// Why names typed for a new album were refused.
inline const QString kBadNamesMessage = QStringLiteral(
    "Album and Artist fields must be filled in and cannot contain special characters (\\/:*?\"<>|)");

// Names typed for a new album made fit for its folder as every album's names are (`cleanfoldernames`);
// false, with both untouched, when either holds a character `validname` refuses or leaves nothing.
[[nodiscard]] bool acceptnewnames(QString& artist, QString& album);

// Names of an album on disk whose folder name matches `artist` / `album` without regard to letter
// case (names that differ only in case look alike to a guest, so they name that album) take that
// folder's spelling. False, with both untouched, when there is none.
bool takeexistingspelling(QString& artist, QString& album);

class Talbumdialog : public RipDialog
{
    Q_OBJECT

public:
    static constexpr int kAccepted = 1;
    static constexpr int kGoBack = 2;

    // Opens with `album` and `artist` in the entry boxes.
    Talbumdialog(const QString& album, const QString& artist);

    QLineEdit* editalb = nullptr;
    QLineEdit* editart = nullptr;
    QLabel* artlab = nullptr;
    QLabel* alblab = nullptr;
    controls::TBitmapActionButton* OK = nullptr;
    controls::TBitmapActionButton* Cancel = nullptr;
    QLabel* error = nullptr;

    // The names accepted, and those the dialog was opened with.
    QString alb;
    QString art;
    const QString oalb;
    const QString oart;

protected:
    int backResult() const override { return kGoBack; }

private:
    void layOut();
    // Accepts the names when both are valid and name no album already on disk; else says why.
    void OKClick();
};

// 1 when the user accepted the entered names (both arguments replaced), 2 when the user went
// back (both keep their values).
int32_t getuseralbumtitle(QString& album, QString& artist);

} // namespace ripper
