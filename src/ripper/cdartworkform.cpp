#include "ripper/cdartworkform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTimer>

#include "controls/bitmapactionbutton.h"
#include "controls/bitmapprogress.h"
#include "controls/drawing.h"
#include "controls/picturescroller.h"
#include "controls/transparentpanel.h"
#include "library/names.h"
#include "platform/files.h"
#include "platform/jpegcodec.h"
#include "platform/mounts.h"
#include "ripper/dialogframe.h"
#include "ripper/musripmain.h"
#include "ripper/mydialog.h"

namespace ripper {

namespace {
constexpr int kThumbSide = 100;
constexpr int kCoverSide = 300;
constexpr int kAcross = 7;
constexpr int kRingRadius = 300;
constexpr int kRingStart = 36;
constexpr int kCancelPoints = 18;
constexpr int kLabelPoints = 18;
constexpr int kGap = 20;
constexpr int32_t kGoBackColour = 4;
const QString kTitle = QStringLiteral("Get Artwork from CD");

// `file` decoded and stretched to a square of `side`; null when it cannot be read.
QImage squarePicture(const QString& file, int side)
{
    QFile source;
    QImage decoded;
    if (!platform::openRegularFile(source, file) ||
        !platform::decodeJpeg(source.readAll(), decoded, QSize(side, side)))
        return {};
    return decoded.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB888);
}
} // namespace

Tcdartwork::Tcdartwork(const QString& drive) : drive_(drive)
{
    if (ripmain && ripmain->bg) backdrop_ = ripmain->bg->pixmap().toImage();
    createControls();
    sizeform(this, kTitle, false);
    layOut();
}

void Tcdartwork::createControls()
{
    scanpanel = new controls::TTransparentPanel(this);
    selectpanel = new controls::TTransparentPanel(this);
    for (controls::TTransparentPanel* panel : {scanpanel, selectpanel})
        panel->setsourcebitmap(&backdrop_);
    selectpanel->hide();
    scanlabel = dialogLabel(scanpanel, QStringLiteral("Scanning CD for JPEG pictures"), aspx(kLabelPoints));
    progress = new controls::TBitmapProgress(scanpanel);
    progress->assignbackground(controls::programPicture(QStringLiteral("cd")));
    progress->_setmax(100);
    progress->setradius(kRingRadius);
    progress->setstartradius(kRingStart);
    progress->_setposition(0);
    selectlabel = dialogLabel(selectpanel, QStringLiteral("Select New Picture"), aspx(kLabelPoints));
    selectlabel->setAlignment(Qt::AlignHCenter);
    lb = new controls::TPictureScroller(selectpanel);
    lb->setacross(kAcross);
    cancel = actionButton(selectpanel, kGoBackColour);
    captionButton(cancel, QStringLiteral("Go Back"), kCancelPoints, kFitCaption);
    connect(cancel, &controls::TBitmapActionButton::OnClick, this, [this] { done(kGoBack); });
    connect(lb, &controls::TPictureScroller::OnClick, this, &Tcdartwork::lbClick);
}

void Tcdartwork::layOut()
{
    for (controls::TTransparentPanel* panel : {scanpanel, selectpanel})
        panel->setGeometry(rect());
    scanlabel->adjustSize();
    scanlabel->move((width() - scanlabel->width()) / 2, aspy(kGap));
    const int side = 2 * kRingRadius;
    progress->setGeometry((width() - side) / 2, (height() - side) / 2, side, side);
    selectlabel->setGeometry(0, aspy(kGap), width(), selectlabel->sizeHint().height());
    const int across = kAcross * (kThumbSide + aspx(kGap));
    lb->setGeometry((width() - across) / 2, bottomOf(selectlabel) + aspy(kGap), across,
                    height() - bottomOf(selectlabel) - 3 * aspy(kGap) - cancel->height());
    cancel->move((width() - cancel->width()) / 2, bottomOf(lb) + aspy(kGap));
}

void Tcdartwork::showEvent(QShowEvent* event)
{
    RipDialog::showEvent(event);
    if (activated_) return;
    activated_ = true;
    // After the window is on the screen, so the scan's progress can be seen.
    QTimer::singleShot(0, this, &Tcdartwork::FormActivate);
}

void Tcdartwork::FormActivate()
{
    progress->show();
    QCoreApplication::processEvents();
    if (getpics(drive_) == 0) {
        selectlabel->resize(selectlabel->width(), 2 * selectlabel->height());
        selectlabel->setText(QStringLiteral("No Pictures found on CD. Check correct CD is inserted.\r\n"
                                            "You may need to wait for the CD to spin up."));
        lb->hide();
    }
    progress->hide();
    scanpanel->hide();
    selectpanel->show();
}

int32_t Tcdartwork::getpics(const QString& drive)
{
    const QStringList names =
        drive.isEmpty() ? QStringList() : platform::listFolder(drive, {QStringLiteral("*.jpg")}, QDir::Files);
    if (names.isEmpty()) return 0;
    progress->_setmax(std::min(int(names.size()), kMaxCdPictures));
    progress->show();
    lb->clear();
    pictures_.clear();
    for (const QString& name : names) {
        if (pictures_.size() == kMaxCdPictures) break;
        const QString file = QDir(drive).filePath(name);
        const QImage thumb = squarePicture(file, kThumbSide);
        if (!thumb.isNull()) {
            lb->add(thumb, int32_t(pictures_.size()));
            pictures_.append(file);
        }
        QCoreApplication::processEvents();
        progress->_setposition(progress->position() + 1);
    }
    return int32_t(pictures_.size());
}

void Tcdartwork::lbClick()
{
    const int chosen = lb->itemindex();
    if (chosen < 0 || chosen >= pictures_.size()) return;
    const QImage cover = squarePicture(pictures_[chosen], kCoverSide);
    if (cover.isNull()) {
        (void)md(QStringLiteral("This picture cannot be read. Choose another one."), QStringLiteral("OK"),
                 QString(), kTitle, false);
        sizeform(this, kTitle, false);
        return;
    }
    apic = cover;
    done(kChosen);
}

int32_t getcdartwork()
{
    Tcdartwork dialog(platform::mountpoint(library::getfirstcddriveletter()));
    return runRipDialog(dialog, {Tcdartwork::kChosen}, Tcdartwork::kGoBack);
}

} // namespace ripper
