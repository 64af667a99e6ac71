#include "ripper/warn.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/dialogs.h"

namespace ripper {

namespace {
constexpr int kMinimumWidth = 420;
}

Twarnform::Twarnform(const QString& caption)
{
    setWindowTitle(caption);
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setMinimumWidth(kMinimumWidth);
    auto* layout = new QVBoxLayout(this);
    maintext = new QLabel(this);
    sectext = new QLabel(this);
    for (QLabel* text : {maintext, sectext}) {
        text->setWordWrap(true);
        layout->addWidget(text);
    }
    hyperlink = new QLabel(this);
    hyperlink->setCursor(Qt::PointingHandCursor);
    hyperlink->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(hyperlink, &QLabel::linkActivated, this, &Twarnform::hyperlinkClick);
    layout->addWidget(hyperlink);
    remember = new QCheckBox(QStringLiteral("Don't warn me of this again."), this);
    layout->addWidget(remember);
    OK = new QPushButton(QStringLiteral("OK"), this);
    OK->setDefault(true);
    connect(OK, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(OK, 0, Qt::AlignHCenter);
}

void Twarnform::hyperlinkClick()
{
    QDesktopServices::openUrl(QUrl(aurl));
}

bool showwarning(const QString& caption, const QString& main, const QString& secondary,
                 const QString& urltext, const QString& url, bool w)
{
    aurl = url;
    ww = w;
    Twarnform dialog(caption);
    dialog.maintext->setText(main);
    dialog.sectext->setText(secondary);
    // The link text is shown as plain text inside a link, whatever characters it holds.
    dialog.hyperlink->setText(QStringLiteral("<a href=\"#\">") + urltext.toHtmlEscaped() +
                              QStringLiteral("</a>"));
    dialog.hyperlink->setVisible(!aurl.isEmpty());
    dialog.remember->setVisible(ww);
    (void)platform::dialogs().execModal(dialog);
    return !dialog.remember->isChecked();
}

} // namespace ripper
