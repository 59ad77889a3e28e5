#include "shell/ProgramTimers.h"

#include <QTimer>

#include "shell/Ticks.h"

namespace travenor {

ProgramTimers::ProgramTimers(QObject* parent) : QObject(parent) {
    for (const TickPlan& t : TICKS) {
        auto* timer = new QTimer(this);
        timer->setObjectName(QString::fromUtf8(t.name));
        timer->setTimerType(Qt::PreciseTimer);
        if (t.period > 0) timer->setInterval(t.period);
        entries.emplace(t.tick, Entry{timer, t.period});
    }
}

int ProgramTimers::period(Tick tick) const {
    return entries.at(tick).period;
}

QTimer* ProgramTimers::timer(Tick tick) const {
    return entries.at(tick).timer;
}

void ProgramTimers::setPeriod(Tick tick, int milliseconds) {
    Entry& entry = entries.at(tick);
    if (entry.period == milliseconds) return;
    entry.period = milliseconds;
    if (!live) return;
    // Period 0 means stopped: a 0 ms QTimer would fire on every pass of the loop.
    if (milliseconds <= 0) {
        entry.timer->stop();
    } else {
        entry.timer->start(milliseconds);
    }
}

void ProgramTimers::setLive(bool on) {
    live = on;
    for (auto& [tick, entry] : entries) {
        if (live && entry.period > 0) {
            entry.timer->start(entry.period);
        } else {
            entry.timer->stop();
        }
    }
}

}  // namespace travenor
