#pragma once

// The play log and its top-100 chart.
//
// The play log is a text file with one line per track put on the play queue: the date and
// time, then artist, album and title, each after a TAB and between double quotes. The window
// thread appends to it (`writeentry`); the chart thread `tlogfile` cuts it to the last month,
// counts how often each track occurs and fills the chart list with the 100 most played.
//
// The object lives on the window thread, owned by the jukebox window; its thread body runs
// once, on the first `Resume`. Every change of the chart list is handed over to the window
// thread synchronously. One lock (`logLock` in logfile.cpp) covers appending and the rewrite
// of the log, so a line written while the log is cleaned is kept.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QThread>
#include <cstdint>
#include <functional>
#include <vector>

#include "jukebox/logdateformat.h"

namespace jukebox {

// One line of the play log.
struct tlogentry
{
    QDateTime date;
    QString artist;
    QString album;
    QString track;
};

// A distinct track of the chart and how often it was played.
struct tcounter
{
    tlogentry entry;
    int32_t count = 0;
};

// The chart list's operations, carried out on the window thread. The list that shows the chart
// implements them; the default does nothing.
class Top100List
{
public:
    virtual ~Top100List() = default;
    virtual void setShowNumbers(bool on) { (void)on; }
    virtual void clearItems() {}
    virtual void addItem(const QString& text) { (void)text; }
    virtual void refresh() {}
};

class tlogfile : public QThread
{
    Q_OBJECT

public:
    // Created suspended: nothing runs until `Resume`. `chart` (not owned) receives the chart;
    // nullptr gives it to nobody.
    tlogfile(const QString& configfile, Top100List* chart, QObject* parent = nullptr);
    // Asks the thread to stop and waits for it with the project's wait helper.
    ~tlogfile() override;

    const QString& configfile() const { return fconfigfile; }

    // Appends one line stamped with the current date and time. Failures are silent: the play
    // must go on whether or not the log can be written. Window thread.
    void writeentry(const QString& Artist, const QString& Album, const QString& Track);
    // Reads one line of the log; false when it is unreadable.
    [[nodiscard]] bool readentry(const QString& ln, tlogentry& res) const;
    // Cuts the log to the last month. Chart thread (or a test).
    void cleanlogfile();

    // Starts the thread body the first time; later calls do nothing. Window thread.
    void Resume();
    // Asks the thread body to stop between lines and between steps.
    void Terminate();

    // The first day the cleaning keeps when run on `today`: the same day a month earlier,
    // cut to the length of that month.
    static QDate cutoffdate(const QDate& today);

protected:
    void run() override;

private:
    class ChartCounter;

    void Execute();
    // Cuts the log to the last month; with `counter`, also counts every line the cut log holds.
    // False when there is no log to read.
    bool cleanandcount(ChartCounter* counter);
    // The length of the date that starts `line` when the line reads as an entry; -1 otherwise.
    [[nodiscard]] qsizetype readdate(QByteArrayView line, QDate& date, LogDateFormat::Memo* memo) const;
    // Appends `line` to the log; false when it could not be written.
    [[nodiscard]] bool appendline(const QByteArray& line);
    // Puts `kept` (unless null) in place of the first `readsize` bytes of the log; `tail` gets
    // the lines appended after them. False when the log could not be read or written.
    [[nodiscard]] bool rewritelog(qint64 readsize, const QByteArray* kept, QByteArray& tail);
    void recoverworkingcopy();
    void showchart(const std::vector<tcounter>& chart);

    // Status lines: `sendmessage` shows at most one per 200 ms, `showstatus` always;
    // `statusdue` says whether the next one may show, and if so starts the next 200 ms.
    void sendmessage(const QString& m);
    bool statusdue();
    void showstatus(const QString& m);
    // Runs `change` on the chart list on the window thread and returns when it has run.
    void handover(const std::function<void(Top100List&)>& change);

    QString fconfigfile;
    Top100List* chart_;
    LogDateFormat format_;
    QDate today_; // the cleaning's "today": taken at creation and again when resumed
    bool resumed_ = false;
    uint32_t tc = 0; // chart thread only
};

} // namespace jukebox
