#pragma once

// The owner-drawn, touch-driven track list every list of the jukebox is made of. It has no
// scroll bar: "MORE" boxes at the top and bottom edge scroll by one row per press, ever faster
// while held. Rows carry a "%.3d" label, an optional icon and an optional picture; the cursor
// row is drawn larger, and two highlights mark rows. Each state change renders the whole face
// off-screen (keeping its hit rectangles); painting on screen only copies it.
// GUI thread only; owned by its Qt parent.

#include <QColor>
#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <vector>

#include "controls/rowlist.h"

namespace controls {

class TTransparentHint;

class TScrollListbox : public RowList
{
    Q_OBJECT

public:
    explicit TScrollListbox(QWidget* owner);
    ~TScrollListbox() override;

    void additemandinfo(const QString& s, int32_t album, int32_t track, const QImage& picture,
                        const QString& icon, const QString& data);
    void clear();
    // Rows without a picture of their own show `pictures` of their album (none for a null
    // picture), asked for only while the row is drawn.
    void setalbumpictures(std::function<QImage(int32_t)> pictures) { albumpictures_ = std::move(pictures); }
    void scrolltoend();
    void scrollup();
    void scrolldown();
    void remoteclick();
    void losefocus();

    // Renders the face from the list's state and shows it.
    void Paint() override;
    void Resize() override;

    int32_t itemindex() const { return fitemindex; }
    void setitemindex(int32_t v) { fitemindex = v; }
    int32_t topmost() const { return ftopmost; }
    void settopmost(int32_t i);
    int32_t displayitems() const { return fdisplayitems; }
    // Takes the look of `f`; the layout follows at the next Resize.
    void setfont(const QFont& f);
    bool remote() const { return fremote; }
    void setremote(bool v) { fremote = v; }
    bool inmotion() const { return finmotion; }
    void setinmotion(bool v) { finmotion = v; }
    int32_t scrollwidths() const { return fscrollwidths; }
    void setscrollwidths(int32_t v);
    TTransparentHint* itemhint() const { return Fitemhint; }
    void setitemhint(TTransparentHint* v) { Fitemhint = v; }
    bool highlightindex() const { return fhighlight; }
    void sethighlightindex(bool v) { fhighlight = v; }
    int32_t highlighteditem() const { return fhighlighteditem; }
    void sethighlighteditem(int32_t v) { fhighlighteditem = v; }
    void sethighlightcolor(int32_t v) { fhighlightcolor = v; }
    bool highlightindex2() const { return fhighlight2; }
    void sethighlightindex2(bool v) { fhighlight2 = v; }
    int32_t highlighteditem2() const { return fhighlighteditem2; }
    void sethighlighteditem2(int32_t v) { fhighlighteditem2 = v; }
    void sethighlightcolor2(int32_t v) { fhighlightcolor2 = v; }
    QString moretext() const { return fmoretext; }
    void setmoretext(const QString& v) { fmoretext = v; }
    int32_t morebackgroundcolor() const { return fmorebackgroundcolor; }
    void setmorebackgroundcolor(int32_t v) { fmorebackgroundcolor = v; }

    int32_t cursor() const { return marked; }
    int32_t rowheight() const { return itemheight; }
    int32_t firstrowy() const { return topborder; }

    // The press, release and movement handlers, in pixels of the list.
    void MouseDown(int x, int y) override;
    void MouseUp(int x, int y) override;
    void MouseMove(int x, int y) override;

Q_SIGNALS:
    void OnReachedtop();
    void OnReachedend();

private:
    void itemsChanged();
    void repeattimerRepeat() override;
    void applytopmost(int32_t i);
    int hit(int x, int y) const;
    void hidehint();
    void releaseRows();

    QImage cachedimage;
    std::vector<std::unique_ptr<TScrollListItemAdditonalInfo>> addinfo;
    int32_t addinfocount = 0;
    std::future<void> releasing_; // a long list's old rows being freed on a worker
    bool fremote = false;
    int32_t fitemindex = 0;
    int32_t ftopmost = 0;
    int32_t fdisplayitems = 0;
    bool isdown = false;
    bool clicked = false;
    bool remoteused = false;
    int32_t fscrollwidths = 0;
    bool finmotion = false;
    TTransparentHint* Fitemhint = nullptr;
    bool fhighlight = false;
    int32_t fhighlighteditem = 0;
    int32_t fhighlightcolor = 0;
    bool fhighlight2 = false;
    int32_t fhighlighteditem2 = 0;
    int32_t fhighlightcolor2 = 0;
    QString fmoretext;
    int32_t fmorebackgroundcolor;

    // The colour of the drawing font as the last layout took it.
    QColor canvasfontcolor_;
    std::function<QImage(int32_t)> albumpictures_;
};

} // namespace controls
