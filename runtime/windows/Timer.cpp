#include "windows/Timer.h"

#include "qt/QtSupport.h"
#include "windows/Delegate.h"

#include <QTimer>

RUNTIME_CLASS_RECORD(Timer, "Timer", Control,
    property<Timer>("Period", &Timer::Period),
    property<Timer>("RunMode", &Timer::RunMode),
    property<Timer>("Mode", &Timer::Mode),
    property<Timer>("Enabled", &Timer::Enabled))

Timer::Timer()
    : m_timer(new QTimer)
{
    m_timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(m_timer, &QTimer::timeout, m_timer, [this] { tick(); });
}

Timer::~Timer()
{
    disposeQtObject(m_timer);
}

bool Timer::raisesEvent(int64_t eventId) const
{
    return eventId == kTimerActionEvent;
}

bool Timer::runs() const
{
    return m_enabled && m_mode != kOff && m_period > 0;
}

void Timer::update(bool freshInterval)
{
    checkUIThread();
    if (!runs()) {
        m_timer->stop();
        return;
    }
    if (m_timer->isActive() && !freshInterval)
        return;
    m_timer->start(toQtInt(m_period));
}

void Timer::Period(int64_t milliseconds)
{
    m_period = milliseconds;
    update(false);
}

void Timer::Mode(int64_t mode)
{
    m_mode = mode;
    update(false);
}

void Timer::Enabled(bool enabled)
{
    m_enabled = enabled;
    update(false);
}

void Timer::Reset()
{
    update(true);
}

void Timer::tick()
{
    SystemEventScope scope;
    if (m_mode == kSingle) {
        m_mode = kOff;
        m_timer->stop();
    } else if (m_timer->interval() != toQtInt(m_period)) {
        // Applied here rather than when set: setInterval restarts a running timer.
        m_timer->setInterval(toQtInt(m_period));
    }
    deliverEvent(kTimerActionEvent);
}
