#include "jukebox/coverform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include "jukebox/jukeboxform.h"
#include "jukebox/picturebox.h"
#include "library/global.h"
#include "player/mainform.h"
#include "skins/coverloader.h"

namespace jukebox {

namespace {
constexpr QSize kDesignSize(680, 445);
} // namespace

Tcoverform::Tcoverform(QWidget* parent)
    : QWidget(parent), coverLoader_(std::make_unique<skins::CoverLoader>())
{
    setObjectName(QStringLiteral("coverform"));
    setWindowTitle(QStringLiteral("Album Cover"));
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    setPalette(colours);
    setAutoFillBackground(true);
    resize(kDesignSize);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    cdimage = new PictureBox(this);
    cdimage->setObjectName(QStringLiteral("cdimage"));
    cdimage->setStretch(true);
    layout->addWidget(cdimage);
    connect(cdimage, &PictureBox::OnClick, this, &Tcoverform::cdimageClick);
}

Tcoverform::~Tcoverform() = default;

void Tcoverform::covershow(const QString& name)
{
    const QList<QScreen*> monitors = QGuiApplication::screens();
    const QScreen* monitor = monitors.value(library::config.monitor, QGuiApplication::primaryScreen());
    if (monitor) move(monitor->geometry().left(), y());
    setWindowState(windowState() | Qt::WindowMaximized);
    cdimage->clearPicture();
    coverLoader_->load(name, QSize(), [this](const QImage& picture) { cdimage->setPicture(picture); });
    raise();
    if (isHidden()) show();
}

void Tcoverform::FormActivate(QObject*)
{
    cur = player::mainform ? player::mainform->Dalbumlist->currentIndex() + 1 : 0;
    max = library::albumcount;
}

void Tcoverform::cdimageClick(QObject*)
{
    if (!jukebox || !jukebox->isVisible()) {
        if (player::mainform) player::mainform->show();
    }
    if (player::mainform) player::mainform->showcover->setChecked(false);
    close();
}

void Tcoverform::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate(this);
}

} // namespace jukebox
