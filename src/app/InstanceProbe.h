#pragma once
// A stand-in for the login and main windows, for tests of the single instance with
// real processes: with KIVTAL_TEST_SINGLE_INSTANCE set, the program shows one trivial
// marked window instead of logging in, reports on standard output ("probe window
// shown", "raise request: found") and ends when its standard input says "quit" or
// closes, or "restart" to end as the main window's restart command does. The rest of
// the start-up and ending runs as usual.
namespace kivtal {

class SingleInstance;

bool InstanceProbeRequested();
// True when asked to restart.
bool RunInstanceProbe(SingleInstance& instance, bool restartMode);

}  // namespace kivtal
