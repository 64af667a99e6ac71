#include "ripper/albumartist.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "controls/bitmapactionbutton.h"
#include "library/albumstore.h"
#include "library/global.h"
#include "library/names.h"
#include "library/osk.h"
#include "platform/files.h"
#include "ripper/dialogframe.h"

namespace ripper {

namespace {
constexpr int kErrorPoints = 12;
constexpr int kButtonPoints = 18;
constexpr int kLabelPoints = 16;
constexpr int kEntryPoints = 16;
constexpr int kEntryWidth = 400;
constexpr int kButtonWidth = 250;
constexpr int kGap = 40;
constexpr int32_t kOkColour = 1;
constexpr int32_t kGoBackColour = 4;

const QString kExists = QStringLiteral("Album already exists. Enter different album details");

// Names that differ only in letter case look the same to a guest, so they name the same album.
bool albumexists(const QString& artist, const QString& album)
{
    const QString folder = platform::resolveNoCase(library::albumfolderpath({album, artist}));
    return !folder.isEmpty() && QFileInfo(folder).isDir();
}
} // namespace

bool takeexistingspelling(QString& artist, QString& album)
{
    const QString folder = platform::resolveNoCase(library::albumfolderpath({album, artist}));
    if (folder.isEmpty()) return false;
    (void)library::extractalbumandaristfrompath(folder, artist, album);
    return true;
}

bool acceptnewnames(QString& artist, QString& album)
{
    if (!library::validname(artist) || !library::validname(album)) return false;
    QString folderArtist = artist;
    QString folderAlbum = album;
    library::cleanfoldernames(folderArtist, folderAlbum);
    if (folderArtist.trimmed().isEmpty() || folderAlbum.trimmed().isEmpty()) return false;
    artist = folderArtist;
    album = folderAlbum;
    return true;
}

Talbumdialog::Talbumdialog(const QString& album, const QString& artist) : oalb(album), oart(artist)
{
    sizeform(this, QStringLiteral("Enter CD Information"), true);
    editalb = entryBox(this, aspx(kEntryPoints));
    editart = entryBox(this, aspx(kEntryPoints));
    artlab = dialogLabel(this, QStringLiteral("Artist name:-"), aspx(kLabelPoints));
    alblab = dialogLabel(this, QStringLiteral("Album title:-"), aspx(kLabelPoints));
    OK = actionButton(this, kOkColour);
    Cancel = answerButton(this, kGoBackColour, kGoBack);
    error = dialogLabel(this, QString(), aspx(kErrorPoints));
    error->setAlignment(Qt::AlignHCenter);
    connect(OK, &controls::TBitmapActionButton::OnClick, this, &Talbumdialog::OKClick);
    editart->setText(artist);
    editalb->setText(album);
    layOut();
}

void Talbumdialog::layOut()
{
    captionButton(OK, QStringLiteral("OK"), aspx(kButtonPoints), aspx(kButtonWidth));
    captionButton(Cancel, QStringLiteral("Go Back"), aspx(kButtonPoints), aspx(kButtonWidth));
    for (QLineEdit* box : {editart, editalb})
        box->resize(aspx(kEntryWidth), box->sizeHint().height());
    artlab->adjustSize();
    alblab->adjustSize();
    artlab->move(aspx(kGap), 0);
    editart->move(width() / 2 - editart->width() / 2, bottomOf(artlab));
    alblab->move(artlab->x(), bottomOf(editart) + aspy(kGap));
    editalb->move(editart->x(), bottomOf(alblab));
    error->setGeometry(0, bottomOf(editalb) + aspy(kGap), width(), 2 * error->sizeHint().height());
    // On a wide screen the fonts grow with the width faster than the dialog with the height: the keys
    // then stand at the dialog's foot, above the keyboard, rather than below it.
    const int top = std::min(bottomOf(error) + aspx(kGap), height() - OK->height());
    OK->move(width() / 4 - OK->width() / 2, top);
    Cancel->move(width() / 2 + width() / 4 - Cancel->width() / 2, top);
}

void Talbumdialog::OKClick()
{
    QString artist = editart->text();
    QString album = editalb->text();
    if (!acceptnewnames(artist, album)) {
        error->setText(kBadNamesMessage);
        return;
    }
    if (albumexists(artist, album)) {
        error->setText(kExists);
        return;
    }
    alb = album;
    art = artist;
    done(kAccepted);
}

int32_t getuseralbumtitle(QString& album, QString& artist)
{
    Talbumdialog dialog(album, artist);
    library::osk(true, false);
    const int result = runRipDialog(dialog, {Talbumdialog::kAccepted}, Talbumdialog::kGoBack);
    if (result == Talbumdialog::kAccepted) {
        album = dialog.alb;
        artist = dialog.art;
    } else {
        album = dialog.oalb;
        artist = dialog.oart;
    }
    library::osk(false, false);
    return result;
}

} // namespace ripper
