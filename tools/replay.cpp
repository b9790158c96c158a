// kavro-replay's argument parsing and the run: the program in a child process,
// its outcome read back and reported.
#include "tools/replay.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <vector>

#include "tools/compare.h"

namespace replay {
namespace fs = std::filesystem;

const char* const USAGE =
    "usage: kavro-replay [PROGRAM] SCRIPT [--start-time SECONDS] [--frames LIST] [--gif FILE] [--then-run N]\n"
    "                    [--out DIR] [--compare DIR] [--max-turns N] [--max-frames N]\n"
    "Runs PROGRAM (the bridge scene when none is given) headless, plays SCRIPT from its first wait for an\n"
    "event on and writes the chosen frames (0,83,500 | 100-120 | every:K | all) as DIR/frame-NNNNNN.png.\n"
    "Exit codes: 0 done, 1 frames differ from --compare, 2 bad input or output, 3 the program ended before\n"
    "the script did, 4 the program crashed or failed, 5 --max-turns, --max-frames or the time bound reached.\n";

namespace {

// The child's pid while it runs, for the signal handler.
volatile sig_atomic_t child_pid = 0;
volatile sig_atomic_t interrupted = 0;

void forward_signal(int signal) {
    interrupted = signal;
    if (child_pid > 0) kill(static_cast<pid_t>(child_pid), SIGKILL);
}

bool parse_count(const char* text, std::int64_t& value, std::int64_t most) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    long long parsed = std::strtoll(text, &end, 10);
    if (*end || errno || parsed < 0 || parsed > most) return false;
    value = parsed;
    return true;
}

// The bridge program installed beside kavro-replay (or one folder up, in a build tree).
std::string default_program() {
    std::error_code failed;
    fs::path self = fs::read_symlink("/proc/self/exe", failed);
    if (failed) return "bridge";
    for (const fs::path& candidate : {self.parent_path() / "bridge", self.parent_path().parent_path() / "bridge"})
        if (access(candidate.c_str(), X_OK) == 0) return candidate.string();
    return (self.parent_path() / "bridge").string();
}

struct ChildResult {
    bool started = false;
    int status = 0;
    std::string report;
};

ChildResult run_program(const std::string& program, const kavro::ReplaySettings& settings,
                        const ReplayOptions& options) {
    ChildResult result;
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) return result;
    fcntl(pipe_ends[0], F_SETFD, FD_CLOEXEC);
    struct sigaction action {};
    action.sa_handler = forward_signal;
    sigemptyset(&action.sa_mask);
    struct sigaction previous[3];
    const int signals[3] = {SIGINT, SIGTERM, SIGHUP};
    for (int i = 0; i < 3; ++i) sigaction(signals[i], &action, &previous[i]);

    pid_t pid = fork();
    if (pid == 0) {
        setenv("KAVRO_REPLAY_SCRIPT", settings.script.c_str(), 1);
        setenv("KAVRO_REPLAY_START_TIME", std::to_string(options.start_time).c_str(), 1);
        setenv("KAVRO_REPLAY_FRAMES", options.frames.c_str(), 1);
        setenv("KAVRO_REPLAY_OUT", settings.out_dir.c_str(), 1);
        setenv("KAVRO_REPLAY_GIF", settings.gif.c_str(), 1);
        setenv("KAVRO_REPLAY_THEN_RUN", std::to_string(options.then_run).c_str(), 1);
        setenv("KAVRO_REPLAY_MAX_TURNS", std::to_string(options.max_turns).c_str(), 1);
        setenv("KAVRO_REPLAY_MAX_FRAMES", std::to_string(options.max_frames).c_str(), 1);
        setenv("KAVRO_REPLAY_REPORT_FD", std::to_string(pipe_ends[1]).c_str(), 1);
        for (int i = 0; i < 3; ++i) sigaction(signals[i], &previous[i], nullptr);
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        execv(program.c_str(), argv);
        _exit(127);
    }
    close(pipe_ends[1]);
    if (pid > 0) {
        result.started = true;
        child_pid = pid;
        char buffer[4096];
        for (;;) {
            ssize_t got = read(pipe_ends[0], buffer, sizeof buffer);
            if (got > 0) {
                result.report.append(buffer, static_cast<std::size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                break;
            }
        }
        while (waitpid(pid, &result.status, 0) < 0 && errno == EINTR) {
        }
        child_pid = 0;
    }
    close(pipe_ends[0]);
    for (int i = 0; i < 3; ++i) sigaction(signals[i], &previous[i], nullptr);
    return result;
}

bool read_outcome(const std::string& report, kavro::ReplayOutcome& outcome) {
    std::istringstream in(report);
    std::string key;
    bool complete = false;
    while (in >> key) {
        std::string rest;
        std::getline(in, rest);
        if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
        long long number = std::atoll(rest.c_str());
        if (key == "turns")
            outcome.turns = number;
        else if (key == "frames")
            outcome.frames = number;
        else if (key == "script-events")
            outcome.script_events = number;
        else if (key == "blank-lines")
            outcome.blank_lines = number;
        else if (key == "stopped-at-line")
            outcome.stopped_at_line = number;
        else if (key == "playback-finished")
            outcome.playback_finished = number != 0;
        else if (key == "bound")
            outcome.bound = rest;
        else if (key == "output-error")
            outcome.output_error = rest;
        else if (key == "png")
            outcome.png_frames.push_back(number);
        else if (key == "end")
            complete = true;
    }
    return complete;
}

std::string describe_status(int status) {
    if (WIFSIGNALED(status)) {
        int signal = WTERMSIG(status);
        return std::string("crashed (signal ") + std::to_string(signal) + ", " + strsignal(signal) + ")";
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127) return "could not be started";
    return "exited with status " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
}

// Outputs cut short are not left looking complete.
void remove_partial(const kavro::ReplaySettings& settings) {
    std::error_code ignored;
    if (!settings.gif.empty()) fs::remove(settings.gif, ignored);
}

std::string bound_text(const kavro::ReplayOutcome& outcome, const ReplayOptions& options) {
    if (outcome.bound == "max-turns")
        return "stopped after " + std::to_string(options.max_turns) + " turns (--max-turns)";
    if (outcome.bound == "max-frames")
        return "stopped after " + std::to_string(options.max_frames) + " frames (--max-frames)";
    return "the program waited for input that never came; it was told to quit";
}

}  // namespace

bool parse_arguments(int argc, const char* const* argv, ReplayOptions& options, std::string& error) {
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](const char*& text) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            text = argv[++i];
            return true;
        };
        const char* text = nullptr;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            return true;
        } else if (arg == "--start-time") {
            if (!value(text) || !parse_count(text, options.start_time, kavro::MAX_START_TIME)) {
                if (error.empty())
                    error = "--start-time needs whole seconds from 0 to " + std::to_string(kavro::MAX_START_TIME);
                return false;
            }
        } else if (arg == "--frames") {
            kavro::FrameList check;
            if (!value(text) || !check.parse(text, error)) return false;
            options.frames = text;
        } else if (arg == "--gif") {
            if (!value(text)) return false;
            options.gif = text;
        } else if (arg == "--then-run" || arg == "--max-turns" || arg == "--max-frames") {
            std::int64_t& target = arg == "--then-run"    ? options.then_run
                                   : arg == "--max-turns" ? options.max_turns
                                                          : options.max_frames;
            if (!value(text) || !parse_count(text, target, INT64_C(1) << 40) || (arg != "--then-run" && target == 0)) {
                if (error.empty()) error = arg + " needs a whole number" + (arg == "--then-run" ? "" : " of 1 or more");
                return false;
            }
        } else if (arg == "--out") {
            if (!value(text)) return false;
            options.out_dir = text;
        } else if (arg == "--compare") {
            if (!value(text)) return false;
            options.compare_dir = text;
        } else if (!arg.empty() && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.empty() || positional.size() > 2) {
        error = positional.empty() ? "no script given" : "one program and one script, please";
        error += " (kavro-replay --help)";
        return false;
    }
    if (positional.size() == 2) options.program = positional[0];
    options.script = positional.back();
    return true;
}

int run_replay(const ReplayOptions& options, std::ostream& out, std::ostream& err) {
    std::error_code failed;
    std::string program = options.program.empty() ? default_program() : options.program;
    if (access(program.c_str(), X_OK) != 0) {
        err << "kavro-replay: cannot run program " << program << "\n";
        return EXIT_BAD_INPUT;
    }
    if (!std::ifstream(options.script) || fs::is_directory(options.script, failed)) {
        err << "kavro-replay: cannot read script " << options.script << "\n";
        return EXIT_BAD_INPUT;
    }
    kavro::ReplaySettings settings;
    settings.script = fs::absolute(options.script, failed).string();
    // PNG files go to --out, or to the current directory unless only a GIF is asked for.
    bool write_pngs = !options.out_dir.empty() || options.gif.empty() || !options.compare_dir.empty();
    if (write_pngs) {
        fs::path out_dir = options.out_dir.empty() ? fs::path(".") : fs::path(options.out_dir);
        fs::create_directories(out_dir, failed);
        if (!fs::is_directory(out_dir, failed) || access(out_dir.c_str(), W_OK) != 0) {
            err << "kavro-replay: cannot write to " << out_dir.string() << "\n";
            return EXIT_BAD_INPUT;
        }
        settings.out_dir = fs::absolute(out_dir, failed).string();
    }
    if (!options.gif.empty()) {
        fs::path gif = fs::absolute(options.gif, failed);
        if (!fs::is_directory(gif.parent_path(), failed) || access(gif.parent_path().c_str(), W_OK) != 0) {
            err << "kavro-replay: cannot write " << gif.string() << "\n";
            return EXIT_BAD_INPUT;
        }
        settings.gif = gif.string();
    }
    if (!options.compare_dir.empty() && !fs::is_directory(options.compare_dir, failed)) {
        err << "kavro-replay: no reference folder " << options.compare_dir << "\n";
        return EXIT_BAD_INPUT;
    }

    ChildResult child = run_program(program, settings, options);
    if (!child.started) {
        err << "kavro-replay: cannot start " << program << "\n";
        return EXIT_PROGRAM_FAILED;
    }
    if (interrupted) {
        remove_partial(settings);
        err << "kavro-replay: interrupted; the GIF was removed\n";
        return 128 + interrupted;
    }
    kavro::ReplayOutcome outcome;
    bool reported = read_outcome(child.report, outcome);
    bool clean_exit = WIFEXITED(child.status) && WEXITSTATUS(child.status) == 0;
    if (!reported || !clean_exit) {
        remove_partial(settings);
        if (!reported && clean_exit)
            err << "kavro-replay: " << program << " ended without opening KAVRO's windows; is it a KAVRO program?\n";
        else
            err << "kavro-replay: " << program << " " << describe_status(child.status) << " after " << outcome.turns
                << " turns\n";
        return EXIT_PROGRAM_FAILED;
    }
    if (!outcome.output_error.empty()) {
        remove_partial(settings);
        err << "kavro-replay: cannot write " << outcome.output_error << "\n";
        return EXIT_BAD_INPUT;
    }

    out << "turns: " << outcome.turns << ", frames written: " << outcome.frames;
    if (!settings.gif.empty()) out << " (GIF " << settings.gif << ")";
    if (write_pngs) out << ", PNG files: " << outcome.png_frames.size() << " in " << settings.out_dir;
    out << "\n";
    out << "script: " << outcome.script_events << " events played";
    if (outcome.blank_lines > 0) out << ", " << outcome.blank_lines << " blank lines skipped";
    if (outcome.stopped_at_line > 0)
        out << "; playback stopped at line " << outcome.stopped_at_line << ", which is no event line";
    out << "\n";

    if (!outcome.bound.empty()) {
        err << "kavro-replay: " << bound_text(outcome, options) << "\n";
        return EXIT_BOUND_REACHED;
    }
    if (!outcome.playback_finished) {
        err << "kavro-replay: " << program << " ended by itself after " << outcome.turns
            << " turns, before the script was played through\n";
        return EXIT_ENDED_EARLY;
    }
    if (!options.compare_dir.empty())
        return compare_frames(outcome.png_frames, settings.out_dir, options.compare_dir, out, err) ? EXIT_DONE
                                                                                                   : EXIT_FRAMES_DIFFER;
    return EXIT_DONE;
}

}  // namespace replay
