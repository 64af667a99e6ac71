#pragma once

// The choice of a new cover among the JPEG pictures in the root folder of the CD in the drive:
// a progress ring while the pictures are read, then a picture scroller to pick from.
// Created, run and freed by `getcdartwork` on the GUI thread.

#include <QImage>
#include <QStringList>
#include <cstdint>

#include "ripper/ripdialog.h"

class QLabel;
namespace controls {
class TBitmapActionButton;
class TBitmapProgress;
class TPictureScroller;
class TTransparentPanel;
} // namespace controls

namespace ripper {

// At most this many pictures are offered.
constexpr int kMaxCdPictures = 200;

class Tcdartwork : public RipDialog
{
    Q_OBJECT

public:
    static constexpr int kChosen = 1;
    static constexpr int kGoBack = 2;

    // Looks for pictures in `drive` (a folder) once it is shown.
    explicit Tcdartwork(const QString& drive);

    // Offers the JPEG pictures of the folder `drive` (any case of ".jpg"), at most kMaxCdPictures;
    // pictures that cannot be read are left out. Returns how many are offered.
    int32_t getpics(const QString& drive);

    controls::TTransparentPanel* scanpanel = nullptr;
    QLabel* scanlabel = nullptr;
    controls::TBitmapProgress* progress = nullptr;
    controls::TTransparentPanel* selectpanel = nullptr;
    QLabel* selectlabel = nullptr;
    controls::TPictureScroller* lb = nullptr;
    controls::TBitmapActionButton* cancel = nullptr;

    // The files of the pictures offered, in the scroller's order.
    const QStringList& pictures() const { return pictures_; }

protected:
    int backResult() const override { return kGoBack; }
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void layOut();
    void FormActivate();
    // Takes the chosen picture as the cover; an unreadable one is reported and the choice stays open.
    void lbClick();

    QString drive_;
    QStringList pictures_;
    QImage backdrop_;
    bool activated_ = false;
};

// 1 when a picture of the CD was chosen (then in `apic`, 300 x 300), 2 when the user went back.
int32_t getcdartwork();

} // namespace ripper
