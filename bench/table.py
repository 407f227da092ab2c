"""Turns the benchmark JSON and the idle measurements into one Markdown table."""
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


def main(benchmarks_path, idle_path, baseline_path):
    with open(benchmarks_path) as file:
        results = {b["name"]: b for b in json.load(file)["benchmarks"]}
    print(f"Machine: {machine()}\n")
    print("| measure | result | target |")
    print("|---|---|---|")
    for name, label, target in ROWS:
        b = results.get(name)
        if b is None or b.get("error_occurred"):
            print(f"| {label} | not measured | {target} |")
            continue
        scale = UNITS[b["time_unit"]]
        wall, cpu = b["real_time"] * scale, b["cpu_time"] * scale
        shown = readable(wall) if abs(wall - cpu) < 0.2 * wall else f"{readable(wall)} ({readable(cpu)} CPU)"
        print(f"| {label} | {shown} | {target} |")

    idle = read_idle(idle_path)
    baseline = read_idle(baseline_path)
    if not idle:
        print("| Idle cost, Windows build under Wine | not measured | |")
    else:
        print(f"| Idle CPU, Windows build under Wine, {idle['seconds']:.0f} s | "
              f"{idle['cpu_ms']:.1f} ms = {idle['cpu_percent_of_one_core']:.3f} % of one core | "
              f"well under 0.1 % |")
        threads = int(idle["threads"])
        print(f"| Idle wake-ups (voluntary context switches), {threads} thread{'s' * (threads != 1)} | "
              f"{idle['wakeups_per_s']:.2f} /s | close to 1 /s |")
    if baseline:
        print(f"| Wine's floor: an empty window with a one-second timer, {baseline['seconds']:.0f} s | "
              f"{baseline['cpu_ms']:.1f} ms = {baseline['cpu_percent_of_one_core']:.3f} %, "
              f"{baseline['wakeups_per_s']:.2f} wake-ups/s | |")
    print("| Idle cost, native Linux build | no native Linux build yet | |")


def read_idle(path):
    values = {}
    with open(path) as file:
        for line in file:
            key, value = line.split()
            values[key] = float(value)
    return values

if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], sys.argv[3])
