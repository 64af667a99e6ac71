// The jukebox window's control tree, part two: the operator panels (kiosk, random playlist,
// advanced options, commerce), the thumbnail and cover panels, and their event bindings.

#include "jukebox/jukeboxform.h"

#include <QFont>
#include <QRegularExpressionValidator>

#include "controls/bitmapactionbutton.h"
#include "controls/bitmapcheckbox.h"
#include "controls/numericinput.h"
#include "controls/picturescroller.h"
#include "controls/scrolllistbox.h"
#include "controls/selecterlistbox.h"
#include "controls/transparentpanel.h"
#include "jukebox/editbox.h"
#include "jukebox/frameshape.h"
#include "jukebox/jukeboxform_build.h"
#include "jukebox/picturebox.h"
#include "jukebox/textlabel.h"
#include "skins/colors.h"

namespace jukebox {

using namespace build;

namespace {
constexpr int kCodeLength = 3;
constexpr int32_t kRedButton = 2;
constexpr int32_t kYellowButton = 4;
constexpr int kVolumeMax = 150;
constexpr int kMinutesMax = 100;
constexpr int kPlaysPerCreditMax = 100;

// The panels' buttons stand on black behind their captions.
template<class Button> void captioned(Button* button, const QString& caption)
{
    button->setcolor(kBlack);
    button->settext(caption);
}
} // namespace

void Tjukebox::buildKioskPanel()
{
    JUKEBOX_MAKE(panel_kiosk, QWidget, this);
    JUKEBOX_MAKE(panel_kioskshape1, FrameShape, panel_kiosk);
    JUKEBOX_MAKE(panel_kioskshape2, FrameShape, panel_kiosk);
    panel_kioskshape2->setPen(kOuterFrameColour, kOuterFrameWidth);
    panel_kioskshape2->setBrush(kBlack);
    panel_kioskshape1->setPen(kPanelTextColour, kInnerFrameWidth);
    JUKEBOX_MAKE(autoplaycb, controls::TBitmapCheckbox, panel_kiosk);
    autoplaycb->setcolor(kBlack);
    JUKEBOX_MAKE(goplaylistview, controls::TBitmapActionButton, panel_kiosk);
    JUKEBOX_MAKE(randombut, controls::TBitmapActionButton, panel_kiosk);
    JUKEBOX_MAKE(rejectall, controls::TBitmapActionButton, panel_kiosk);
    JUKEBOX_MAKE(ripbut, controls::TBitmapActionButton, panel_kiosk);
    JUKEBOX_MAKE(advancedbut, controls::TBitmapActionButton, panel_kiosk);
    JUKEBOX_MAKE(Shutdownbut, controls::TBitmapActionButton, panel_kiosk);
    for (controls::TBitmapActionButton* button :
         {goplaylistview, randombut, rejectall, ripbut, advancedbut, Shutdownbut})
        button->setcolor(kBlack);
    panel_kiosk->hide();
}

void Tjukebox::buildRandomPanel()
{
    JUKEBOX_MAKE(randompanel, controls::TTransparentPanel, this);
    JUKEBOX_MAKE(randompanelshape2, FrameShape, randompanel);
    JUKEBOX_MAKE(randompanelshape1, FrameShape, randompanel);
    randompanelshape2->setPen(kOuterFrameColour, kOuterFrameWidth);
    randompanelshape1->setPen(kPanelTextColour, kInnerFrameWidth);
    JUKEBOX_MAKE(randompanellb, controls::TSelecterListBox, randompanel);
    randompanellb->setcolor(kBlack);
    // Chosen albums are written in this colour, the others in grey, so it must not be grey.
    setTextColour(randompanellb, kPanelTextColour);
    JUKEBOX_MAKE(randomdicepanel, controls::TTransparentPanel, randompanel);
    JUKEBOX_MAKE(randomdice, PictureBox, randomdicepanel);
    randomdice->setStretch(true);
    JUKEBOX_MAKE(randompanelselectall, controls::TBitmapActionButton, randompanel);
    captioned(randompanelselectall, QStringLiteral("Select all albums"));
    JUKEBOX_MAKE(randompanelselectnone, controls::TBitmapActionButton, randompanel);
    captioned(randompanelselectnone, QStringLiteral("Select no albums"));
    JUKEBOX_MAKE(randomcountlabel, TextLabel, randompanel);
    JUKEBOX_MAKE(randompanelcancel, controls::TBitmapActionButton, randompanel);
    randompanelcancel->setcolor(kBlack);
    JUKEBOX_MAKE(RandomCancel, controls::TBitmapActionButton, randompanel);
    captioned(RandomCancel, QStringLiteral("Stop Adding Tracks"));
    JUKEBOX_MAKE(randompanelOK, controls::TBitmapActionButton, randompanel);
    randompanelOK->setcolor(kBlack);
    randompanel->hide();
}

void Tjukebox::buildAdvancedPanel()
{
    JUKEBOX_MAKE(advanced, controls::TTransparentPanel, this);
    JUKEBOX_MAKE(jbinfogo, controls::TBitmapActionButton, advanced);
    jbinfogo->setcolor(kBlack);
    JUKEBOX_MAKE(advancedOK, controls::TBitmapActionButton, advanced);
    captioned(advancedOK, QStringLiteral("Done"));
    JUKEBOX_MAKE(GoThemeManager, controls::TBitmapActionButton, advanced);
    GoThemeManager->setcolor(kBlack);
    GoThemeManager->setbuttoncolor(kYellowButton);
    JUKEBOX_MAKE(GoCommercialManager, controls::TBitmapActionButton, advanced);
    captioned(GoCommercialManager, QStringLiteral("Commerce Management"));
    GoCommercialManager->setbuttoncolor(kYellowButton);
    GoCommercialManager->hide();

    JUKEBOX_MAKE(codepanel, QWidget, advanced);
    fillBlack(codepanel);
    JUKEBOX_MAKE(codefirst, TextLabel, codepanel);
    codefirst->setText(QStringLiteral("0000"));
    JUKEBOX_MAKE(unlocklabel, TextLabel, codepanel);
    unlocklabel->setText(QStringLiteral("(Un)lock Passcode: "));
    JUKEBOX_MAKE(setcode, controls::TBitmapActionButton, codepanel);
    captioned(setcode, QStringLiteral("Set"));
    JUKEBOX_MAKE(code, EditBox, codepanel);
    code->setMaxLength(kCodeLength);
    // Only digits reach the passcode, typed or pasted.
    code->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), code));

    JUKEBOX_MAKE(editpanel, QWidget, advanced);
    JUKEBOX_MAKE(editlabel, TextLabel, editpanel);
    editlabel->setText(QStringLiteral("Edit Album:-"));
    JUKEBOX_MAKE(editlb, controls::TScrollListbox, editpanel);
    editlb->setcolor(kBlack);
    editlb->setlinespacing(2.0f);
    editlb->setnumbercolor(kWhite);
    setTextColour(editlb, kListTextColour);
    editlb->clear();

    JUKEBOX_MAKE(optionspanel, QWidget, advanced);
    JUKEBOX_MAKE(addallshow, controls::TBitmapCheckbox, optionspanel);
    captioned(addallshow, QStringLiteral("Show Add All"));
    JUKEBOX_MAKE(NoRepeatCb, controls::TBitmapCheckbox, optionspanel);
    captioned(NoRepeatCb, QStringLiteral("Never repeat track within a selection"));
    JUKEBOX_MAKE(volumeshow, controls::TBitmapCheckbox, optionspanel);
    captioned(volumeshow, QStringLiteral("Show Volume control panel"));
    advanced->hide();
}

void Tjukebox::buildCommercePanel()
{
    JUKEBOX_MAKE(Commerce, controls::TTransparentPanel, this);
    JUKEBOX_MAKE(CmTitleLab, TextLabel, Commerce);
    CmTitleLab->setText(QStringLiteral("Commerce Settings"));
    JUKEBOX_MAKE(CmCreditPanelLab, TextLabel, Commerce);
    CmCreditPanelLab->setText(QStringLiteral("Credit Options:-"));
    JUKEBOX_MAKE(CmBackgroundPanelLab, TextLabel, Commerce);
    CmBackgroundPanelLab->setText(QStringLiteral("Background Options:-"));
    JUKEBOX_MAKE(CmStatisticsPanelLab, TextLabel, Commerce);
    CmStatisticsPanelLab->setText(QStringLiteral("Statistics:-"));

    JUKEBOX_MAKE(CmCreditPanel, QWidget, Commerce);
    JUKEBOX_MAKE(CmPlaysPerCredit, controls::TNumericInput, CmCreditPanel);
    CmPlaysPerCredit->setmin(1);
    CmPlaysPerCredit->setmax(kPlaysPerCreditMax);
    JUKEBOX_MAKE(CmAllowFreeCredit, controls::TBitmapCheckbox, CmCreditPanel);
    captioned(CmAllowFreeCredit, QStringLiteral("Allow Free Credit"));
    JUKEBOX_MAKE(CmPlaysPerCreditLab, TextLabel, CmCreditPanel);
    CmPlaysPerCreditLab->setText(QStringLiteral("Plays Per Credit"));

    JUKEBOX_MAKE(CmBackgroundPanel, QWidget, Commerce);
    JUKEBOX_MAKE(CmBgDuration, controls::TNumericInput, CmBackgroundPanel);
    CmBgDuration->setmax(kMinutesMax);
    JUKEBOX_MAKE(CmBgDurationLab, TextLabel, CmBackgroundPanel);
    CmBgDurationLab->setText(QStringLiteral("Background Play Duration (mins)"));
    JUKEBOX_MAKE(CmBgVolume, controls::TNumericInput, CmBackgroundPanel);
    CmBgVolume->setmax(kVolumeMax);
    JUKEBOX_MAKE(CmBgVolumeLab, TextLabel, CmBackgroundPanel);
    CmBgVolumeLab->setText(QStringLiteral("Maximum Background Volume"));
    JUKEBOX_MAKE(CmBgWaitTime, controls::TNumericInput, CmBackgroundPanel);
    CmBgWaitTime->setmax(kMinutesMax);
    JUKEBOX_MAKE(CmBgWaitTimeLab, TextLabel, CmBackgroundPanel);
    CmBgWaitTimeLab->setText(QStringLiteral("Delay between background plays (mins)"));

    JUKEBOX_MAKE(CmStatisticsPanel, QWidget, Commerce);
    JUKEBOX_MAKE(CmResetCreditStats, controls::TBitmapActionButton, CmStatisticsPanel);
    captioned(CmResetCreditStats, QStringLiteral("Reset Credit Statistics"));
    CmResetCreditStats->setbuttoncolor(kRedButton);
    JUKEBOX_MAKE(CmCredit, TextLabel, CmStatisticsPanel);
    CmCredit->setText(QStringLiteral("Total Coin Credits"));
    JUKEBOX_MAKE(CmCreditLab, TextLabel, CmStatisticsPanel);
    CmCreditLab->setText(QStringLiteral("Total Free Credits"));
    // The totals line carries the free credits: this caption alone would read as a missing value.
    CmCreditLab->hide();
    JUKEBOX_MAKE(Cmtop100Lab, TextLabel, CmStatisticsPanel);
    Cmtop100Lab->setText(QStringLiteral("Top 100 Plays"));
    JUKEBOX_MAKE(CmTop100, controls::TScrollListbox, CmStatisticsPanel);
    CmTop100->setcolor(kBlack);
    setTextColour(CmTop100, kListTextColour);
    CmTop100->clear();

    JUKEBOX_MAKE(CommerceOK, controls::TBitmapActionButton, Commerce);
    captioned(CommerceOK, QStringLiteral("Done"));
    Commerce->hide();
}

void Tjukebox::buildThumbnailAndCoverPanels()
{
    JUKEBOX_MAKE(thumbpanel, controls::TTransparentPanel, this);
    JUKEBOX_MAKE(thumbs, controls::TPictureScroller, thumbpanel);
    thumbpanel->hide();

    JUKEBOX_MAKE(coverimagepanel, QWidget, this);
    fillBlack(coverimagepanel);
    JUKEBOX_MAKE(coverimage, PictureBox, coverimagepanel);
    coverimage->setStretch(true);

    JUKEBOX_MAKE(loadcovercaption, TextLabel, this);
    loadcovercaption->setText(QStringLiteral("Loading Album Covers"));
    fillBlack(loadcovercaption);
    loadcovercaption->hide();
}

void Tjukebox::bindOperatorEvents()
{
    connect(thumbs, &controls::TPictureScroller::OnClick, this, &Tjukebox::thumbsClick);
    connect(coverimage, &PictureBox::OnClick, this, &Tjukebox::coverimageClick);

    connect(autoplaycb, &controls::TBitmapCheckbox::OnClick, this, &Tjukebox::autoplaycbClick);
    connect(goplaylistview, &controls::TBitmapActionButton::OnClick, this, &Tjukebox::goplaylistviewClick);
    connect(randombut, &controls::TBitmapActionButton::OnClick, this, &Tjukebox::randombutClick);
    connect(rejectall, &controls::TBitmapActionButton::OnClick, this, &Tjukebox::rejectallClick);
    connect(ripbut, &controls::TBitmapActionButton::OnClick, this, &Tjukebox::ripbutClick);
    connect(advancedbut, &controls::TBitmapActionButton::OnClick, this, &Tjukebox::advancedbutClick);
    connect(Shutdownbut, &controls::TBitmapActionButton::OnClick, this, &Tjukebox::ShutdownbutClick);

    connect(randompanelOK, &controls::TBitmapActionButton::OnClick, this, &Tjukebox::randompanelOKClick);
    connect(randompanelcancel, &controls::TBitmapActionButton::OnClick, this,
            &Tjukebox::randompanelcancelClick);
    connect(RandomCancel, &controls::TBitmapActionButton::OnClick, this, &Tjukebox::RandomCancelClick);
    connect(randompanelselectall, &controls::TBitmapActionButton::OnClick, this,
            &Tjukebox::randompanelselectallClick);
    connect(randompanelselectnone, &controls::TBitmapActionButton::OnClick, this,
            &Tjukebox::randompanelselectnoneClick);
    connect(randompanellb, &controls::TSelecterListBox::OnClick, this, &Tjukebox::randompanellbClick);

    connect(jbinfogo, &controls::TBitmapActionButton::OnClick, this, &Tjukebox::jbinfogoClick);
    connect(advancedOK, &controls::TBitmapActionButton::OnClick, this, &Tjukebox::advancedOKClick);
    connect(GoThemeManager, &controls::TBitmapActionButton::OnClick, this, &Tjukebox::GoThemeManagerClick);
    connect(GoCommercialManager, &controls::TBitmapActionButton::OnClick, this,
            &Tjukebox::GoCommercialManagerClick);
    connect(codefirst, &TextLabel::OnClick, this, &Tjukebox::codefirstClick);
    connect(setcode, &controls::TBitmapActionButton::OnClick, this, &Tjukebox::setcodeClick);
    connect(code, &EditBox::OnClick, this, &Tjukebox::codeClick);
    connect(code, &EditBox::OnEnter, this, &Tjukebox::codeEnter);
    connect(code, &EditBox::OnExit, this, &Tjukebox::codeExit);
    connect(code, &EditBox::OnKeyPress, this, &Tjukebox::codeKeyPress);
    connect(editlb, &controls::TScrollListbox::OnClick, this, &Tjukebox::editlbClick);
    connect(addallshow, &controls::TBitmapCheckbox::OnClick, this, &Tjukebox::addallshowClick);
    connect(NoRepeatCb, &controls::TBitmapCheckbox::OnClick, this, &Tjukebox::NoRepeatCbClick);
    connect(volumeshow, &controls::TBitmapCheckbox::OnClick, this, &Tjukebox::volumeshowClick);

    connect(CmResetCreditStats, &controls::TBitmapActionButton::OnClick, this,
            &Tjukebox::cmResetCreditStatsClick);
    connect(CommerceOK, &controls::TBitmapActionButton::OnClick, this, &Tjukebox::commerceOKClick);
}

} // namespace jukebox
