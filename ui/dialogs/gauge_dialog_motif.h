// "GaugeDialog": a percentage with a Cancel button while a long load runs.
// Open, set, ask, close is the caller's protocol; while it is open the rest
// of the application takes no input, and setting it dispatches only the
// pending X events (so Cancel and redraws work, but no timer, TCP client or
// play step runs inside the caller's loop).
#pragma once

// Builds the gauge on first use; its title from the message resource named
// (fetched at every open); percentage 0; the cancel flag cleared.
void openGaugeDialog(const char *titleResource);
void gaugeDlgSetPercent(int percent);
int gaugeDlgCancelled();
void closeGaugeDialog();

// Puts the gauge's routines into uiHooks.
void registerGaugeHooks();
