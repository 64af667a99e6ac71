#include "ripperfixture.h"

#include <QLabel>
#include <QPixmap>

#include "ripper/dialogframe.h"
#include "ripper/musripmain.h"

ExtractionWindow::ExtractionWindow(QSize screen) : window_(std::make_unique<ripper::Tripmain>())
{
    ripper::aspectx = screen.width() / 800.0;
    ripper::aspecty = screen.height() / 600.0;
    window_->setGeometry(QRect(QPoint(0, 0), screen));
    QLabel* bg = window_->bg;
    bg->setGeometry(window_->rect());
    QPixmap backdrop(screen);
    backdrop.fill(Qt::darkBlue);
    bg->setPixmap(backdrop);
    toptitle = window_->toptitle;
    toptitle->setGeometry(ripper::aspx(10), ripper::aspy(28), screen.width() - ripper::aspx(20), 40);
    ripper::ripmain = window_.get();
}

void ExtractionWindow::placeTitle()
{
    window_->placeTitle();
}

ExtractionWindow::~ExtractionWindow()
{
    ripper::ripmain = nullptr;
    ripper::aspectx = 1.0;
    ripper::aspecty = 1.0;
}
