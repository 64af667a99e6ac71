#pragma once

// Writes hint texts into a label, framed by bullets: "• text •".
// GUI thread only; the label is not owned and may go away first.

#include <QLabel>
#include <QPointer>

class QString;

namespace controls {

class TTransparentHint
{
public:
    QLabel* lab() const { return flab; }
    void setlab(QLabel* label) { flab = label; }
    // Hiding empties the label; showing leaves it as it is.
    void setvisible(bool v);
    void dohint(const QString& txt);

private:
    QPointer<QLabel> flab;
};

} // namespace controls
