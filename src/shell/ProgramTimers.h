#pragma once

#include <QObject>
#include <map>

#include "shell/Views.h"

class QTimer;

namespace travenor {

// The program's five ticks as timers. Until they are made live (and for tests
// driving the ticks by hand) periods are only recorded.
class ProgramTimers : public QObject, public TickPeriods {
    Q_OBJECT
  public:
    explicit ProgramTimers(QObject* parent = nullptr);

    int period(Tick tick) const override;
    void setPeriod(Tick tick, int milliseconds) override;

    void setLive(bool live);
    QTimer* timer(Tick tick) const;

  private:
    struct Entry {
        QTimer* timer;
        int period;
    };
    std::map<Tick, Entry> entries;
    bool live = false;
};

}  // namespace travenor
