#include "ripper/artworkform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>

#include "controls/bitmapactionbutton.h"
#include "controls/drawing.h"
#include "controls/transparentpanel.h"
#include "controls/tspinningglobe.h"
#include "jukebox/picturebox.h"
#include "library/albumstore.h"
#include "library/global.h"
#include "library/names.h"
#include "ripper/albumartist.h"
#include "ripper/albumfiles.h"
#include "ripper/albumstaging.h"
#include "ripper/artworkquery.h"
#include "ripper/dialogframe.h"
#include "ripper/getcoverart.h"
#include "ripper/gethttpdoc.h"
#include "ripper/musripmain.h"
#include "ripper/mydialog.h"
#include "ripper/verifyform.h"
#include "skins/colors.h"
#include "skins/imaging.h"

namespace ripper {

namespace {
constexpr int kSpace = 20;
constexpr int kSmallGap = 10;
constexpr int kImageSide = 250;
constexpr int kStepGap = 40;
constexpr int kOkPoints = 14;
constexpr int kExitPoints = 18;
constexpr int kHeadingPoints = 16;
constexpr int kMemoPoints = 14;
constexpr int kGeneratedSide = 300;
constexpr int32_t kMemoColour = 0xD8E2BA;
constexpr int32_t kOkColour = 1;
constexpr int32_t kExitColour = 2;
constexpr double kMemoWidthShare = 1.5;
const QString kTitle = QStringLiteral("Artwork");
const QString kFilingError = QStringLiteral("Filing Error");
const QString kImpossibleSize = QStringLiteral("Serverside error: a picture of impossible size was sent.");

jukebox::PictureBox* pictureButton(QWidget* parent, const char* picture)
{
    auto* button = new jukebox::PictureBox(parent);
    button->setPicture(controls::programPicture(QString::fromLatin1(picture)));
    button->resize(button->picture().size());
    button->setTransparent(true);
    return button;
}

QLabel* centredLabel(QWidget* parent, const QString& text, int points)
{
    QLabel* label = dialogLabel(parent, text, points);
    label->setAlignment(Qt::AlignHCenter);
    return label;
}
} // namespace

Tartwork::Tartwork()
{
    createControls();
    if (ripmain && ripmain->bg) backdrop_ = ripmain->bg->pixmap().toImage();
    coverpanel->setsourcebitmap(&backdrop_);
    sizeform(this, kTitle, false);
    layOut();
}

void Tartwork::createControls()
{
    inf = centredLabel(this, QString(), aspx(kExitPoints));
    memo = new QPlainTextEdit(this);
    memo->setReadOnly(true);
    setDialogText(memo, aspx(kMemoPoints), 0);
    QPalette memoColours = memo->palette();
    memoColours.setColor(QPalette::Base, skins::tcolorToQColor(kMemoColour));
    memo->setPalette(memoColours);
    exitbut = actionButton(this, kExitColour);
    coverpanel = new controls::TTransparentPanel(this);
    coverpanel->hide();
    lab2 = centredLabel(coverpanel, QStringLiteral("Select appropriate album cover from below."),
                        aspx(kHeadingPoints));
    butdown = pictureButton(coverpanel, "LBUTUP");
    butup = pictureButton(coverpanel, "RBUTUP");
    curpiclab = centredLabel(coverpanel, QString(), aspx(kHeadingPoints));
    imagepanel = new QWidget(coverpanel);
    image = new jukebox::PictureBox(imagepanel);
    image->setStretch(true);
    ok = actionButton(coverpanel, kOkColour);
    price = centredLabel(coverpanel, QString(), aspx(kHeadingPoints));
    retailerimage = pictureButton(coverpanel, "RETAILER");
    reasonlab = centredLabel(coverpanel, QString(), aspx(kMemoPoints));
    reasonlab->hide();
    connect(exitbut, &controls::TBitmapActionButton::OnClick, this, &Tartwork::exitbutClick);
    connect(butup, &jukebox::PictureBox::OnClick, this, &Tartwork::butupClick);
    connect(butdown, &jukebox::PictureBox::OnClick, this, &Tartwork::butdownClick);
    connect(ok, &controls::TBitmapActionButton::OnClick, this, &Tartwork::OKClick);
}

void Tartwork::resizeEvent(QResizeEvent*)
{
    layOut();
}

void Tartwork::layOut()
{
    const int s = aspx(kSpace);
    captionButton(exitbut, QStringLiteral("Exit"), aspx(kExitPoints), kFitCaption);
    captionButton(ok, mode == 1 ? QStringLiteral("Save Changes") : QStringLiteral("Extract CD"),
                  aspx(kOkPoints), kFitCaption);
    inf->setGeometry(0, s, width(), inf->sizeHint().height());
    const int memoWidth = int(std::nearbyint(width() / kMemoWidthShare));
    memo->setGeometry((width() - memoWidth) / 2, bottomOf(inf) + s, memoWidth, 0);
    memo->resize(memoWidth, height() - (exitbut->height() + 2 * s + memo->y()));
    exitbut->move((width() - exitbut->width()) / 2, bottomOf(memo) + s);
    coverpanel->resize(width(), height() - height() / 5);
    coverpanel->move((width() - coverpanel->width()) / 2, 0);
    layOutChoice();
    placeGlobe();
}

void Tartwork::layOutChoice()
{
    const int side = aspx(kImageSide);
    const int gap = aspy(kSmallGap);
    lab2->setGeometry(0, 0, coverpanel->width(), lab2->sizeHint().height());
    imagepanel->setGeometry((coverpanel->width() - side) / 2, bottomOf(lab2) + gap, side, side);
    image->setGeometry(imagepanel->rect());
    const int middle = imagepanel->y() + imagepanel->height() / 2;
    butup->move(rightOf(imagepanel) + kStepGap, middle - butup->height() / 2);
    butdown->move(imagepanel->x() - aspy(kStepGap) - butdown->width(), middle - butdown->height() / 2);
    curpiclab->setGeometry(0, bottomOf(imagepanel) + gap, coverpanel->width(),
                           curpiclab->sizeHint().height());
    retailerimage->move((coverpanel->width() - retailerimage->width()) / 2, bottomOf(curpiclab));
    price->setGeometry(curpiclab->x(), bottomOf(retailerimage), curpiclab->width(),
                       price->sizeHint().height());
    reasonlab->setGeometry(curpiclab->x(), bottomOf(curpiclab), curpiclab->width(),
                           bottomOf(price) - bottomOf(curpiclab));
    ok->move(exitbut->x() - coverpanel->x(), bottomOf(price) + gap);
}

void Tartwork::showEvent(QShowEvent* event)
{
    RipDialog::showEvent(event);
    if (activated_) return;
    activated_ = true;
    // After the window is on the screen, so the lookup's progress can be seen and Exit pressed.
    QTimer::singleShot(0, this, &Tartwork::FormActivate);
}

void Tartwork::FormActivate()
{
    sizeform(this, kTitle, false);
    if (spinglobe) spinglobe->stop();
    coverpanel->hide();
    il.clear();
    ilcount = 0;
    reasonlab->clear();
    if (!manualentry) getartwork();
    if (exitmark_) return;
    inf->hide();
    memo->hide();
    coverpanel->show();
    addGeneratedCover();
    ilcurrent = 0;
    doimage();
    reasonlab->setVisible(!reasonlab->text().isEmpty());
    ready_ = true;
}

void Tartwork::addGeneratedCover()
{
    QImage generated(kGeneratedSide, kGeneratedSide, QImage::Format_RGB888);
    skins::generatecover(generated, library::artist + QLatin1Char(' ') + library::title);
    il.append(generated);
}

// A failure's reason is kept for the choice that follows, where the progress lines are gone.
bool Tartwork::callb(int32_t level, const QString& message)
{
    if (exitmark_) return false;
    if (level < 0) reasonlab->setText(QString(message).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    memo->appendPlainText(message);
    QCoreApplication::processEvents();
    return true;
}

void Tartwork::startGlobe()
{
    globe_ = new controls::TSpinGlobe(this);
    placeGlobe();
    globe_->start();
}

void Tartwork::placeGlobe()
{
    if (globe_) globe_->move(width() - globe_->width(), height() - globe_->height());
}

void Tartwork::stopGlobe()
{
    globe_->stop();
    delete globe_;
    globe_ = nullptr;
}

void Tartwork::getartwork()
{
    exitbut->settext(QStringLiteral("Exit"));
    inf->setText(QStringLiteral("Getting Album Artwork"));
    // A service may keep the window waiting for half a minute.
    memo->appendPlainText(QStringLiteral("Exit stops the search at any time."));
    startGlobe();
    cb = [this](int32_t level, const QString& message) { return callb(level, message); };
    const QString url = artworkqueryurl(library::config.artworkhost, library::artist, library::title);
    QByteArray answer;
    const bool found = tgetdoc::getdocument(url, answer, [this] { return !exitmark_; });
    // The callback must not outlive the window.
    cb = nullptr;
    bool damaged = false;
    const int32_t count = found ? uncompress(answer, &damaged) : 0;
    if (damaged) (void)callb(kLevelServersideError, kImpossibleSize);
    stopGlobe();
    QCoreApplication::processEvents();
    ilcount = 0;
    for (int32_t i = 1; i <= count; ++i) {
        il.append(covers[i].image.copy());
        ++ilcount;
        QCoreApplication::processEvents();
    }
}

void Tartwork::doimage()
{
    image->setPicture(il.value(ilcurrent));
    const bool downloaded = ilcurrent < ilcount;
    if (downloaded) price->setText(covers[ilcurrent + 1].price);
    price->setVisible(downloaded);
    retailerimage->setVisible(downloaded);
    image->Paint();
    curpiclab->setText(QStringLiteral("Image %1 of %2").arg(ilcurrent + 1).arg(ilcount + 1));
}

void Tartwork::butupClick()
{
    if (ilcurrent < ilcount) ++ilcurrent;
    doimage();
}

void Tartwork::butdownClick()
{
    if (ilcurrent > 0) --ilcurrent;
    doimage();
}

void Tartwork::exitbutClick()
{
    exitmark_ = true;
    QCoreApplication::processEvents();
    done(kExit);
}

void Tartwork::reject()
{
    exitbutClick();
}

void Tartwork::OKClick()
{
    if (!ready_) return;
    coverpanel->hide();
    if (mode == 1) {
        // The picture as the window shows it, stretched to its frame.
        apic = il.value(ilcurrent)
                   .scaled(image->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                   .convertToFormat(QImage::Format_RGB888);
        done(kSaved);
        return;
    }
    if (saveAlbum()) done(kSaved);
}

// The album is built in its staging folder; the extraction moves it into the library once its
// tracks are made.
bool Tartwork::saveAlbum()
{
    library::artist = library::stripbadchars(library::artist);
    library::title = library::stripbadchars(library::title);
    (void)takeexistingspelling(library::artist, library::title);
    const library::talbumtype entry{library::title, library::artist};
    library::albumpath = library::albumfoldername(entry);
    const QString folder = stagingfolder(library::albumpath);
    if (!makeFolder(library::albumfolderpath(entry)) || !writeTitles(folder)) {
        coverpanel->setVisible(!exitmark_);
        return false;
    }
    (void)savecover(folder, il.value(ilcurrent));
    return true;
}

// An album already in the library (a link to nothing too) stays there, whole, until the new one
// replaces it.
bool Tartwork::makeFolder(const QString& folder)
{
    if (QDir(folder).exists() || QFileInfo(folder).isSymLink()) {
        const uint16_t answer =
            md(QStringLiteral("This CD already exists on the system."), QStringLiteral("Overwrite"),
               QStringLiteral("Go Back"), QStringLiteral("Album already on system"), false);
        sizeform(this, kTitle, false);
        if (answer != kFirstButton) {
            exitbutClick();
            return false;
        }
    }
    if (preparestaging(library::albumpath)) return true;
    fileError(stagingfailure(QStringLiteral("Error creating output folder. ") + library::albumpath));
    return false;
}

bool Tartwork::writeTitles(const QString& folder)
{
    const int32_t count = std::min(int(library::trackscount), int(library::tracks.size()));
    QStringList lines;
    for (int32_t i = 0; i < count; ++i)
        lines.append(library::trimcontrols(library::tracks[i]));
    id3titles.count = library::trackscount - 1;
    id3titles.track = library::tracks.mid(0, count);
    if (writetitles(folder, lines)) return true;
    fileError(QStringLiteral("Error writing contents file!"));
    return false;
}

void Tartwork::fileError(const QString& message)
{
    (void)md(message, QStringLiteral("Cancel"), QString(), kFilingError, false);
    sizeform(this, kTitle, false);
}

int32_t doartwork(int32_t m)
{
    mode = m;
    Tartwork window;
    return runRipDialog(window, {Tartwork::kSaved}, Tartwork::kExit);
}

} // namespace ripper
