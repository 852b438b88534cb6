// Auto-repeat of a held button: one action on a click, or, while the button
// is held, a first repeat after firstMs and then one every repeatMs. A pure
// machine: the timer is a seam (the event loop's timer in the program, a fake
// clock in tests), so the timing rules are tested without a display.
#pragma once

struct AutoRepeat;

// Starts a one-shot timer that calls autoRepeatTimer(machine) after ms
// milliseconds; returns its id (never 0).
using AutoRepeatStartTimer = unsigned long (*)(AutoRepeat *machine, int ms);
// Removes a pending timer.
using AutoRepeatCancelTimer = void (*)(unsigned long id);
// What a step does, for the button that armed the machine.
using AutoRepeatAction = void (*)(void *button);

struct AutoRepeat {
    // Set up by the owner.
    int firstMs;                    // from the press to the first repeat
    int repeatMs;                   // between repeats
    AutoRepeatStartTimer startTimer;
    AutoRepeatCancelTimer cancelTimer;
    AutoRepeatAction action;
    // The machine's own state.
    bool armed;
    bool fired;                     // a repeat has run since the press
    void *button;                   // the button that armed it
    unsigned long timer;            // pending timer; 0 = none
};

// The button was pressed: unless the machine is armed already (one button
// repeats at a time), arm it for this button and start the first timer.
void autoRepeatArm(AutoRepeat *machine, void *button);

// The pending timer expired: run the action and start the next timer.
void autoRepeatTimer(AutoRepeat *machine);

// The button was released: stop the timer; a press that never repeated runs
// the action once (a click). A release of another button than the one that
// armed the machine changes nothing.
void autoRepeatDisarm(AutoRepeat *machine, void *button);
