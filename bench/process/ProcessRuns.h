#pragma once
// Whole-process figures for the timed programs: a command is run several times after a
// warm-up, each run measured by the kernel's own accounting (wall time, processor time,
// peak memory of the process), and a row prints min / median / max next to a target and
// the floor the figure is held against.
#include <functional>
#include <string>
#include <vector>

namespace kivtal::bench {

struct RunFigures {
    double wallMs = 0;
    double cpuMs = 0;  // user + system, the child alone
    double peakMb = 0;
    double spawnedAtMs = 0;  // CLOCK_MONOTONIC just before the spawn
    std::string output;      // standard output and error, when the command keeps them
};

struct Spread {
    double min = 0, median = 0, max = 0;
};

struct Command {
    std::vector<std::string> argv;
    std::vector<std::string> env;  // "NAME=value" added to this process's environment
    // Keep what the program writes (in RunFigures::output) instead of throwing it away:
    // for a program that reports figures of its own.
    bool keepOutput = false;
};

// Runs the command once, output thrown away. False (and `error` says why) when it
// cannot be started or exits other than 0: a figure of a failed run means nothing.
bool RunOnce(const Command& command, RunFigures& figures, std::string& error);

// `warmups` runs not counted, then `runs` counted ones; `before` (may be empty) runs
// ahead of each one untimed, to put the scene back (a fresh store, a new device...).
bool RunMany(const Command& command, int warmups, int runs, std::vector<RunFigures>& out, std::string& error,
             const std::vector<Command>& before = {});

// CLOCK_MONOTONIC in ms: the one clock a child's own report and the spawn share.
double MonotonicMs();

// The number the run's output prints right after `label` (the first one), or NaN.
double NumberAfter(const RunFigures& run, const std::string& label);

// Puts the scene back in this process (copies of folders, a service restarted...);
// false, with `error` saying why, ends the series.
using Setup = std::function<bool(std::string& error)>;
// As above, with `before` a step of this process rather than commands.
bool RunMany(const Command& command, int warmups, int runs, std::vector<RunFigures>& out, std::string& error,
             const Setup& before);

// Runs `work` in a forked child and hands back the figure it produced (or its error).
// A child's peak memory starts from this process's own peak at the moment it is
// started, so work that holds much memory here would show in every later run's
// figure: such work (seeding, floors taken in-process) belongs in a child.
bool InChild(const std::function<bool(double& figure, std::string& error)>& work, double& figure, std::string& error);

Spread SpreadOf(std::vector<double> values);
std::vector<double> Wall(const std::vector<RunFigures>& runs);
std::vector<double> Cpu(const std::vector<RunFigures>& runs);
std::vector<double> Peak(const std::vector<RunFigures>& runs);

// "name  wall ms min/median/max  cpu ms …  peak MB …  target …  floor …"
void PrintRow(const std::string& name, const std::vector<RunFigures>& runs, const std::string& target,
              const std::string& floor);

}  // namespace kivtal::bench
