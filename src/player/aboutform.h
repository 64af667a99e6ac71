#pragma once

// The About box: the start-up splash with progress texts, and the modal information box.
// It exists only while shown; `about` points at it then and is empty otherwise. GUI thread only.

#include <QString>
#include <QWidget>

namespace player {

class Tabout : public QWidget
{
    Q_OBJECT

public:
    explicit Tabout(QWidget* parent = nullptr);
    ~Tabout() override;
};

// The About box while it exists (owned by whoever showed it); nullptr otherwise.
inline Tabout* about = nullptr;

// Mode 0 opens the start-up splash; mode 1 shows the modal information box.
void showabout(int mode);
// Shows progress texts on the splash while it is up; always lets pending window events run.
void initmessage(const QString& mes, const QString& artist = QString(), const QString& album = QString());

} // namespace player
