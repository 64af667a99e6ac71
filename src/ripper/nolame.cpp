#include "ripper/nolame.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/dialogs.h"
#include "platform/fatal.h"
#include "ripper/musripmain.h"

namespace ripper {

namespace {

// A label whose text is a link opened in the system's browser.
QLabel* linkLabel(QWidget* parent, const QString& text, const QString& url)
{
    auto* label = new QLabel(
        QStringLiteral("<a href=\"") + url + QStringLiteral("\">") + text + QStringLiteral("</a>"), parent);
    label->setTextFormat(Qt::RichText);
    QObject::connect(label, &QLabel::linkActivated, label,
                     [](const QString& link) { QDesktopServices::openUrl(QUrl(link)); });
    return label;
}

} // namespace

TnoLAME::TnoLAME(QWidget* parent) : QDialog(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Could not find LAME_ENC.DLL"), this));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setReadOnly(true);
    layout->addWidget(Memo1);
    layout->addWidget(linkLabel(this, QStringLiteral("Download the encoder library"),
                                QStringLiteral("https://packages.debian.org/stable/libmp3lame0")));
    layout->addWidget(linkLabel(this, QStringLiteral("Search the web for it"),
                                QStringLiteral("https://duckduckgo.com/?q=libmp3lame")));
    layout->addWidget(linkLabel(this, QStringLiteral("The encoder's web site with the latest links"),
                                QStringLiteral("https://lame.sourceforge.io/")));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    layout->addWidget(ok);
    connect(ok, &QPushButton::clicked, this, &TnoLAME::OKClick);
}

void TnoLAME::OKClick()
{
    if (ripmain) ripmain->die();
    platform::halt(0);
}

void donoLAME()
{
    TnoLAME dialog;
    dialog.Memo1->clear();
    platform::dialogs().execModal(dialog);
}

} // namespace ripper
