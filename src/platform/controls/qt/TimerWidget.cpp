// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/qt/TimerWidget.h"

#include "platform/controls/Timer.h"
#include "platform/controls/qt/Native.h"
#include "platform/controls/qt/QtControls.h"
#include "platform/runtime/qt/QtText.h"

namespace wobblix::platform {

namespace qt {

TimerWidget::TimerWidget(QObject* parent) : QTimer(parent)
{
    setTimerType(Qt::PreciseTimer);
}

void TimerWidget::setEnabled(bool enabled)
{
    if (enabled == isActive())
        return;
    if (enabled)
        start();
    else
        stop();
}

} // namespace qt

Timer::Timer(Form& form, String name) : Object(form, std::move(name)), m_native(std::make_unique<Native>())
{
    auto* timer = new qt::TimerWidget(&qt::window(form));
    timer->setObjectName(qt::toQString(Name()));
    m_native->timer = timer;
    QObject::connect(timer, &QTimer::timeout, timer, [this] { Tick.Raise(); });
}

Timer::~Timer() = default;

Long Timer::Interval() const
{
    return m_native->timer->interval();
}

void Timer::setInterval(Long milliseconds)
{
    m_native->timer->setInterval(milliseconds);
}

bool Timer::Enabled() const
{
    return m_native->timer->isActive();
}

void Timer::setEnabled(bool enabled)
{
    static_cast<qt::TimerWidget*>(m_native->timer.data())->setEnabled(enabled);
}

} // namespace wobblix::platform
