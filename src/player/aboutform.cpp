#include "player/aboutform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <system_error>

#include "controls/bitmapactionbutton.h"
#include "library/albumstore.h"
#include "library/global.h"
#include "library/names.h"
#include "library/osk.h"
#include "library/runprogram.h"
#include "library/versioninfo.h"
#include "platform/dialogs.h"
#include "player/mainform.h"
#include "skins/imaging.h"

namespace player {

namespace {

constexpr int kTimerMs = 20;
constexpr QSize kBoxSize(360, 300);
// The player's web address: none is published, so the label stays empty.
const QString kWebAddress;
const QString kCopyright = QStringLiteral("Copyright \u00A9 Musetra. All rights reserved.");

QLabel* textLabel(QWidget* parent, const QRect& place)
{
    auto* label = new QLabel(parent);
    label->setGeometry(place);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

void plainGreen(QLabel* label)
{
    QFont font = label->font();
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    label->setFont(font);
    QPalette green = label->palette();
    green.setColor(QPalette::WindowText, QColor(0x00, 0x80, 0x00));
    label->setPalette(green);
}

// Free bytes of the volume that holds `path` for this user; 0 when it cannot be told.
int64_t freeBytes(const QString& path)
{
    std::error_code error;
    const std::filesystem::space_info space =
        std::filesystem::space(QDir(path).absolutePath().toStdString(), error);
    return error ? 0 : int64_t(std::min<uintmax_t>(space.available, uintmax_t(INT64_MAX)));
}

} // namespace

QString byteformat(int64_t i)
{
    // The sign stays in front: only digits are grouped.
    const QString digits = QString::number(i).remove(QLatin1Char('-'));
    QString s = i < 0 ? QStringLiteral("-") : QString();
    for (qsizetype k = 0; k < digits.size(); ++k) {
        s += digits.at(k);
        if ((digits.size() - k - 1) % 3 == 0) s += QLatin1Char(',');
    }
    s.chop(1);
    return s;
}

Tabout::Tabout(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint)
{
    setFixedSize(kBoxSize);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    logo = new QLabel(this);
    logo->setGeometry(20, 14, 320, 110);
    outline = new QFrame(this);
    outline->setFrameShape(QFrame::Box);
    mes = textLabel(this, QRect(20, 132, 320, 18));
    QFont bold = mes->font();
    bold.setBold(true);
    mes->setFont(bold);
    album = textLabel(this, QRect(20, 152, 320, 18));
    artist = textLabel(this, QRect(20, 172, 320, 52));
    version = textLabel(this, QRect(20, 232, 200, 16));
    netset = textLabel(this, QRect(290, 232, 50, 16));
    netset->setText(QStringLiteral("Config"));
    netset->hide();
    copyright = textLabel(this, QRect(20, 252, 250, 16));
    copyright->setText(kCopyright);
    hyperlink = textLabel(this, QRect(20, 270, 250, 16));
    OK = new controls::TBitmapActionButton(this);
    OK->settext(QStringLiteral("OK"));
    OK->move(kBoxSize.width() - OK->width() - 16, kBoxSize.height() - OK->height() - 12);
    Timer = new QTimer(this);
    Timer->setInterval(kTimerMs);

    connect(OK, &controls::TBitmapActionButton::OnClick, this, [this] { OKClick(OK); });
    connect(Timer, &QTimer::timeout, this, [this] { TimerTimer(Timer); });
    for (QLabel* label : {netset, hyperlink, copyright})
        label->installEventFilter(this);
    FormCreate(this);
}

Tabout::~Tabout()
{
    if (about == this) about = nullptr;
}

bool Tabout::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == netset) netsetClick(netset);
        if (watched == hyperlink) hyperlinkClick(hyperlink);
        if (watched == copyright) copyrightClick(copyright);
    }
    return QDialog::eventFilter(watched, event);
}

void Tabout::FormCreate(QObject*)
{
    cancel = false;
    QImage picture;
    (void)skins::loadbitmap(picture, QStringLiteral("LOGO"));
    logo->setPixmap(QPixmap::fromImage(picture));
    outline->setGeometry(0, 0, width(), height());
    if (aboutmode) {
        OK->show();
        mes->setText(QStringLiteral("MP3 Filesystem information:-"));
        album->setText(QString::number(library::albumrefonloadcount) + QStringLiteral(" total albums."));
        netset->setVisible(!library::config.networksettings.isEmpty());
    } else {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        OK->hide();
    }
    version->setText(QStringLiteral("v") + library::GetVersionInfo(QCoreApplication::applicationFilePath()));
    plainGreen(copyright);
    hyperlink->setText(kWebAddress);
    if (kiosk) plainGreen(hyperlink);
}

void Tabout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Counted once the box is on the screen, so it shows while the albums are counted.
    QTimer::singleShot(0, this, [this] { FormActivate(this); });
}

void Tabout::FormActivate(QObject*)
{
    skins::moveformtomonitor(this);
    int64_t bytes = 0;
    int32_t files = 0;
    int32_t mp3s = 0;
    if (!aboutmode) return;
    Timer->start();
    const QPointer<Tabout> alive(this);
    for (int i = 1; i <= library::albumrefonloadcount && i < library::albumrefonload.size(); ++i) {
        QCoreApplication::processEvents();
        if (!alive || cancel) return;
        countAlbum(i, bytes, files, mp3s);
    }
}

void Tabout::countAlbum(int i, int64_t& bytes, int32_t& files, int32_t& mp3s)
{
    const QString folder = library::albumfolderpath(library::albumrefonload.at(i));
    bytes += library::getalbumsize(folder, files, mp3s, cancel);
    QString lines = byteformat(bytes) + QStringLiteral(" total bytes in ") + QString::number(files) +
                    QStringLiteral(" file(s).");
    lines += QStringLiteral("\r\n") + QString::number(mp3s) + QStringLiteral(" total MP3 files.");
    lines += QStringLiteral("\r\n") + byteformat(freeBytes(library::config.path)) +
             QStringLiteral(" bytes free on volume.");
    artist->setText(lines);
}

void Tabout::OKClick(QObject*)
{
    cancel = true;
}

void Tabout::TimerTimer(QObject*)
{
    if (cancel && isVisible()) accept();
}

void Tabout::done(int result)
{
    cancel = true;
    Timer->stop();
    QDialog::done(result);
}

void Tabout::netsetClick(QObject*)
{
    netset->hide();
    QCoreApplication::processEvents();
    library::osk(false, false);
    QString folder = library::cachepath;
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    (void)library::runprogram(library::config.networksettings + QStringLiteral(" ") + folder, 0, true);
}

void Tabout::hyperlinkClick(QObject*)
{
    if (!kiosk) QDesktopServices::openUrl(QUrl(kWebAddress));
}

void Tabout::copyrightClick(QObject*) {}

void showabout(int mode)
{
    cancel = false;
    if (mode == 1) {
        aboutmode = true;
        Tabout box(QApplication::activeWindow());
        about = &box;
        (void)platform::dialogs().execModal(box);
        about = nullptr;
        return;
    }
    aboutmode = false;
    about = new Tabout();
    about->show();
}

void initmessage(const QString& mes, const QString& artist, const QString& album)
{
    if (firstrun && about && about->isVisible()) {
        about->mes->setText(mes);
        about->artist->setText(artist);
        about->album->setText(album);
    }
    QCoreApplication::processEvents();
}

} // namespace player
