"""Turns the benchmark JSON and the measurements of the running programs into
one Markdown table: the native Linux build beside the Windows build under Wine,
each above its toolkit's floor.

    table.py BENCHMARKS_JSON RESULTS_FOLDER

RESULTS_FOLDER holds the "name value" files of bench/idle.sh, bench/start_time.sh,
bench/announced.sh and quorvel_speech_latency; a missing or empty file reads as not measured."""
import json
import os
import platform
import sys

ROWS = [
    ("EvaluateRulesPerCall", "EvaluateRules, one call as the clock tick makes it", ""),
    ("FindNextMatchFor/worst_never_matches",
     "FindNextMatch, worst case: no match in 1,440 minutes, both trials", "well under 1 ms"),
    ("FindNextMatchFor/ascending_at_12_40_finds_13_23",
     "FindNextMatch, ascending at 12:40, 12-hour (finds 13:23)", ""),
    ("FindNextMatchFor/ascending_at_12_40_24_hour_finds_23_45",
     "FindNextMatch, ascending at 12:40, 24-hour (finds 23:45)", ""),
    ("FindNextMatchFor/mirror_at_12_22_both_finds_13_31",
     "FindNextMatch, mirror at 12:22, both clocks (finds 13:31)", ""),
    ("SaveSettingsToDisk", "SaveSettings: write, flush to disk, rename", ""),
    ("LoadSettingsFromDisk", "LoadSettings of the saved file", ""),
]

UNITS = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}
NOT_MEASURED = "not measured"
WAKEUP_GOAL = 1.5
MEMORY_GOAL_MB = 40
START_GOAL_MS = 300
SPEECH_GOAL_MS = 150
FLOOR_LABEL = "The same, each toolkit's floor: an empty window with a one-second timer"
FLOOR_CPU_GOAL = FLOOR_WAKEUP_GOAL = 0.10  # at most this share above Qt's floor
FLOOR_MEMORY_GOAL_MB = 5
FLOOR_START_GOAL_MS = 20


def readable(nanoseconds):
    for unit, size in (("ms", 1e6), ("µs", 1e3)):
        if nanoseconds >= size:
            return f"{nanoseconds / size:.3g} {unit}"
    return f"{nanoseconds:.3g} ns"


def machine():
    model = "unknown processor"
    with open("/proc/cpuinfo") as cpuinfo:
        for line in cpuinfo:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    with open("/proc/meminfo") as meminfo:
        memory_gib = int(meminfo.readline().split()[1]) / 2**20
    load = os.getloadavg()[0]
    return (f"{model}, {os.cpu_count()} cores, {memory_gib:.0f} GiB, Linux {platform.release()}, "
            f"load average {load:.1f} when the table was written")


def read_values(path):
    """The "name value" lines of one measurement; numbers where they parse."""
    values = {}
    if not os.path.exists(path):
        return values
    with open(path) as file:
        for line in file:
            parts = line.split(None, 1)
            if len(parts) != 2:
                continue
            key, value = parts[0], parts[1].strip()
            try:
                values[key] = float(value)
            except ValueError:
                values[key] = value
    return values


def verdict(met):
    return "met" if met else "**not met**"


def row(label, native, wine, goal):
    print(f"| {label} | {native} | {wine} | {goal} |")


def benchmark_rows(benchmarks_path):
    with open(benchmarks_path) as file:
        results = {b["name"]: b for b in json.load(file)["benchmarks"]}
    for name, label, target in ROWS:
        b = results.get(name)
        if b is None or b.get("error_occurred"):
            row(label, NOT_MEASURED, "", target)
            continue
        scale = UNITS[b["time_unit"]]
        wall, cpu = b["real_time"] * scale, b["cpu_time"] * scale
        shown = readable(wall) if abs(wall - cpu) < 0.2 * wall else f"{readable(wall)} ({readable(cpu)} CPU)"
        row(label, shown, "", target)


def idle_cpu(idle):
    if not idle:
        return NOT_MEASURED
    text = f"{idle['cpu_percent_of_one_core']:.4f} % ({idle['cpu_ms']:.1f} ms)"
    if idle.get("thread_set_changed"):
        text += ", a thread came or went"
    return text


def wakeups(idle):
    if not idle:
        return NOT_MEASURED
    threads = int(idle["threads"])
    return f"{idle['wakeups_per_s']:.2f} /s, {threads} thread{'s' * (threads != 1)}"


def start_time(start):
    if not start:
        return NOT_MEASURED
    return (f"{start['start_median_ms']:.0f} ms ({start['start_min_ms']:.0f} to "
            f"{start['start_max_ms']:.0f}; uncounted first {start['start_first_ms']:.0f})")


def above_floor(program, floor, key, unit, goal):
    """The floor's figure in the native column's words, how far the program
    stands above it, and the goal column's verdict; goal is a share of the
    floor when unit is "%", else an amount in unit."""
    if not (program and floor):
        return "", ""
    difference = program[key] - floor[key]
    if unit == "%":
        share = difference / floor[key] if floor[key] else float("inf")
        return (f"Quorvel {share * 100:+.1f} %",
                f"within {goal * 100:.0f} % of Qt's floor: " + verdict(share <= goal))
    return (f"Quorvel {difference:+.1f} {unit}",
            f"within {goal} {unit} of Qt's floor: " + verdict(difference <= goal))


def floor_row(floor_text, floor, native, key, unit, goal, wine_floor_text, native_extra=""):
    if not (floor or wine_floor_text):
        return
    above, goal_text = above_floor(native, floor, key, unit, goal)
    shown = NOT_MEASURED
    if floor:
        shown = floor_text(floor) + (f"; {above}" if above else "") + native_extra
    row(FLOOR_LABEL, shown, wine_floor_text, goal_text)


def memory(idle):
    return f"{idle['rss_mb']:.1f} MB" if idle else NOT_MEASURED


def announced_memory(idle):
    """The program's memory a minute after its first phrase, if measured."""
    if not idle or "rss_announced_mb" not in idle:
        return ""
    if idle["rss_announced_mb"] < 0:
        return "; after the first announcement: not measured, nothing was spoken"
    return f"; a minute after the first announcement: {idle['rss_announced_mb']:.1f} MB"


def announced_above(program, floor):
    if not (program and floor) or program.get("rss_announced_mb", -1) < 0:
        return ""
    return f", {program['rss_announced_mb'] - floor['rss_mb']:+.1f} MB after announcing"


def idle_rows(native, wine, qt_floor, wine_floor):
    seconds = next((int(round(d["seconds"])) for d in (native, wine) if d), 0)
    span = f", {seconds} s" if seconds else ""
    goal = "native no more than Wine's"
    if native and wine:
        goal += ": " + verdict(native["cpu_percent_of_one_core"] <= wine["cpu_percent_of_one_core"])
    row(f"Idle CPU, % of one core (run time of all threads){span}", idle_cpu(native),
        idle_cpu(wine), goal)
    floor_row(idle_cpu, qt_floor, native, "cpu_percent_of_one_core", "%", FLOOR_CPU_GOAL,
              idle_cpu(wine_floor) if wine_floor else "")

    goal = f"≤ {WAKEUP_GOAL} /s"
    if native:
        goal += ": " + verdict(native["wakeups_per_s"] <= WAKEUP_GOAL)
    row(f"Idle wake-ups (voluntary context switches of all threads){span}", wakeups(native),
        wakeups(wine), goal)
    floor_row(wakeups, qt_floor, native, "wakeups_per_s", "%", FLOOR_WAKEUP_GOAL,
              wakeups(wine_floor) if wine_floor else "")

    after = next((int(d["rss_after_s"]) for d in (native, wine) if d), 0)
    wine_memory = NOT_MEASURED
    if wine:
        wine_memory = (f"{wine['rss_mb']:.1f} MB; all {int(wine['wine_processes'])} processes "
                       f"of the prefix: {wine['wine_pss_mb']:.0f} MB PSS")
    goal = f"≤ {MEMORY_GOAL_MB} MB"
    if native:
        goal += ": " + verdict(native["rss_mb"] <= MEMORY_GOAL_MB)
    row(f"Resident memory (VmRSS) {after} s after the start" if after else "Resident memory (VmRSS)",
        memory(native) + announced_memory(native), wine_memory + announced_memory(wine), goal)
    wine_floor_text = ""
    if wine_floor:
        wine_floor_text = memory(wine_floor)
        if wine:
            wine_floor_text += f"; Quorvel {wine['rss_mb'] - wine_floor['rss_mb']:+.1f} MB"
            wine_floor_text += announced_above(wine, wine_floor)
    floor_row(memory, qt_floor, native, "rss_mb", "MB", FLOOR_MEMORY_GOAL_MB, wine_floor_text,
              announced_above(native, qt_floor))


def start_rows(native, qt_floor, wine, wine_running):
    starts = next((int(d["starts"]) for d in (native, wine, wine_running) if d), 0)
    label = "Start to visible window, warm, median"
    if starts:
        label += f" of {starts}"
    goal = f"native ≤ {START_GOAL_MS} ms"
    if native:
        goal += ": " + verdict(native["start_median_ms"] <= START_GOAL_MS)
    wine_text = f"Wine starting too: {start_time(wine)}"
    if wine_running:
        wine_text += f"; Wine already running: {start_time(wine_running)}"
    row(label, start_time(native), wine_text, goal)
    floor_row(start_time, qt_floor, native, "start_median_ms", "ms", FLOOR_START_GOAL_MS, "")


def sample_row(label, latency, kind):
    """The announcement-to-first-sample row of quorvel_speech_latency's `kind`
    (speech, wav) lines."""
    if not latency:
        row(label, NOT_MEASURED, "", f"≤ {SPEECH_GOAL_MS} ms")
        return
    runs = int(latency[f"{kind}_runs"])
    native = (f"median {latency[f'{kind}_heard_median_ms']:.0f} ms (runs 2 to {runs}), max "
              f"{latency[f'{kind}_heard_max_ms']:.0f} ms of all {runs} "
              f"(first {latency[f'{kind}_first_heard_ms']:.0f}); seen in the file: median "
              f"{latency[f'{kind}_written_median_ms']:.0f}, max "
              f"{latency[f'{kind}_written_max_ms']:.0f}")
    goal = f"≤ {SPEECH_GOAL_MS} ms, every run: " + verdict(
        latency[f"{kind}_heard_max_ms"] <= SPEECH_GOAL_MS)
    row(label, native, "", goal)


ANNOUNCED_CASES = [
    ("speech-dispatcher", "spoken through speech-dispatcher", True),
    ("espeak-ng", "spoken by espeak-ng (speech-dispatcher may not start)", False),
    ("wav", "a WAV file played (1 s tone)", False),
]


def announced_rows(cases, floor, text_floor):
    """Memory and shared objects 5 s after the start and a minute after the
    first announcement, each case beside Qt's floor on the same timeline."""
    def at_both(values):
        return (f"{values['rss_start_mb']:.1f} MB, {int(values['objects_start'])} shared objects; "
                f"a minute after 12:34: {values['rss_announced_mb']:.1f} MB, "
                f"{int(values['objects_announced'])} shared objects")

    for name, words, has_goal in ANNOUNCED_CASES:
        values = cases.get(name)
        label = f"Memory (VmRSS) 5 s after the start and a minute after 12:34 is {words}"
        goal = f"within {FLOOR_MEMORY_GOAL_MB} MB of Qt's floor a minute after" if has_goal else ""
        if not values:
            row(label, NOT_MEASURED, "", goal)
            continue
        shown = at_both(values)
        if not values.get("loaded_as_expected"):
            shown += "; **the modules mapped were not those this case needs**"
        if floor:
            start = values["rss_start_mb"] - floor["rss_start_mb"]
            after = values["rss_announced_mb"] - floor["rss_announced_mb"]
            shown += f"; Quorvel {start:+.1f} MB at the start, {after:+.1f} MB after"
            if has_goal:
                goal += ": " + verdict(after <= FLOOR_MEMORY_GOAL_MB)
        row(label, shown, "", goal)
    if floor:
        row("The same, Qt's floor beside them: an empty window with a one-second timer",
            at_both(floor), "", "")
    if floor and text_floor:
        row("The same floor drawing one line of text (\"12:34\", 48-point)",
            at_both(text_floor) + f"; {text_floor['rss_start_mb'] - floor['rss_start_mb']:+.1f} MB "
            "above the empty window at the start", "", "")


def dispatcher_row(dispatcher):
    label = "Announcement to the text at speech-dispatcher's output module (\"1 2 3 4\")"
    if not dispatcher:
        row(label, NOT_MEASURED, "", f"≤ {SPEECH_GOAL_MS} ms")
        return
    runs = int(dispatcher["dispatcher_runs"])
    native = (f"median {dispatcher['dispatcher_median_ms']:.0f} ms (runs 2 to {runs}), max "
              f"{dispatcher['dispatcher_max_ms']:.0f} ms of all {runs} "
              f"(first, starting the daemon: {dispatcher['dispatcher_first_ms']:.0f})")
    goal = f"≤ {SPEECH_GOAL_MS} ms, every run: " + verdict(
        dispatcher["dispatcher_max_ms"] <= SPEECH_GOAL_MS)
    row(label, native, "", goal)


def load_note(measurements):
    loads = [f"{name} {values['load_average']:.1f}" for name, values in measurements
             if values and "load_average" in values]
    if loads:
        print(f"Load average (1 min) as each measurement began: {', '.join(loads)}. "
              "With other work on the machine the program measures are noisy.")


def main(benchmarks_path, folder):
    def values(name):
        return read_values(os.path.join(folder, name))

    idle_native, idle_qt_floor = values("idle_native.txt"), values("idle_qt_floor.txt")
    idle_wine, idle_wine_floor = values("idle_windows.txt"), values("idle_baseline.txt")
    start_native, start_qt_floor = values("start_native.txt"), values("start_qt_floor.txt")
    start_wine, start_running = (values("start_windows.txt"),
                                 values("start_windows_wine_running.txt"))
    speech = values("speech_latency.txt")
    dispatcher = values("dispatcher_latency.txt")
    wav = values("wav_latency.txt")
    announced = {name: values(f"announced_{name}.txt") for name, _, _ in ANNOUNCED_CASES}
    announced_floor = values("announced_floor.txt")
    announced_text_floor = values("announced_floor_text.txt")

    print(f"Machine: {machine()}\n")
    print("| measure | native Linux build | Windows build under Wine | goal |")
    print("|---|---|---|---|")
    benchmark_rows(benchmarks_path)
    idle_rows(idle_native, idle_wine, idle_qt_floor, idle_wine_floor)
    start_rows(start_native, start_qt_floor, start_wine, start_running)
    sample_row("Announcement to the first non-silent speech sample (\"1 2 3 4\")", speech, "speech")
    dispatcher_row(dispatcher)
    sample_row("Announcement to the first non-silent sample of a WAV file (1 s tone)", wav, "wav")
    announced_rows(announced, announced_floor, announced_text_floor)
    print("\nThe first seven rows time the core alone, built for Linux with the test backend.")
    load_note([("native idle", idle_native), ("Qt's floor idle", idle_qt_floor),
               ("Wine idle", idle_wine), ("Wine's floor idle", idle_wine_floor),
               ("native starts", start_native), ("Qt's floor starts", start_qt_floor),
               ("Wine starts", start_wine),
               ("Wine-running starts", start_running), ("speech", speech),
               ("speech-dispatcher", dispatcher), ("WAV", wav)] +
              [(f"announcing, {name}", announced[name]) for name, _, _ in ANNOUNCED_CASES] +
              [("announcing, Qt's floor", announced_floor),
               ("announcing, Qt's floor with text", announced_text_floor)])


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
