#include "ui/widgets/auto_repeat.h"

void autoRepeatArm(AutoRepeat *m, void *button)
{
    if (m->armed)
        return;
    m->armed = true;
    m->fired = false;
    m->button = button;
    m->timer = m->startTimer(m, m->firstMs);
}

void autoRepeatTimer(AutoRepeat *m)
{
    // The timer that called is spent; a stray one after the release is not ours.
    m->timer = 0;
    if (!m->armed)
        return;
    m->fired = true;
    m->action(m->button);
    // The action may run a nested event loop in which the button was released.
    if (m->armed && m->timer == 0)
        m->timer = m->startTimer(m, m->repeatMs);
}

void autoRepeatDisarm(AutoRepeat *m, void *button)
{
    if (!m->armed || button != m->button)
        return;
    if (m->timer) {
        m->cancelTimer(m->timer);
        m->timer = 0;
    }
    const bool click = !m->fired;
    m->armed = false;
    m->fired = false;
    if (click)
        m->action(button);
}
