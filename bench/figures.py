#!/usr/bin/env python3
"""Runs every benchmark program of a build and prints one table of figures, each beside its goal.

usage: figures.py BINDIR

The Google Benchmark programs are asked for JSON; bench_window_* print theirs with --json. A figure
whose program is missing or failed shows as "-". The margin is how many times over the goal is met
(goal / measured for an upper bound, measured / goal for a lower one): below 1 the goal is missed.
"""
import json
import os
import platform
import re
import subprocess
import sys

# (program, benchmark name, field, figure, unit, goal, "<" upper bound or ">" lower bound or "")
# A field is a counter of the benchmark, or "time" for its real time in UNIT.
ROWS = [
    ("Data path", None),
    ("bench_meter_40k", "ExtendedLines", "frames/s", "Five-digit lines decoded", "frames/s", 500000, ">"),
    ("bench_meter_4k", "SegmentFrames", "frames/s", "Segment frames decoded", "frames/s", 500000, ">"),
    ("bench_meter_4k", "CarriageReturnLines", "frames/s", "Carriage-return lines decoded", "frames/s", 500000, ">"),
    ("bench_meter_40k", "ExtendedLines", "allocs/frame", "Heap allocations a decoded frame", "", 0, "<"),
    ("Links", None),
    ("bench_serial_poll", "BM_IdlePortPolledEvery50ms", "cpu_percent", "Open serial port, idle", "% of a core", None, ""),
    ("bench_serial_poll", "BM_FramesArrivingAt19200Baud", "cpu_percent", "Serial port receiving at 19200 bit/s",
     "% of a core", None, ""),
    ("bench_hid_reader", "BM_IdleReader", "cpu_percent", "USB reader, adapter idle", "% of a core", None, ""),
    ("bench_hid_reader", "BM_Reading2400BaudThroughAdapter", "cpu_percent", "USB reader, meter at 2400 bit/s",
     "% of a core", None, ""),
    ("Display", None),
    ("bench_display", "BM_LcdRender_ChangedDigit", "time", "LCD shows a changed digit", "us", None, ""),
    ("bench_display", "BM_GaugeKDrun", "time", "Gauge needle moved", "us", None, ""),
    ("Reading log", None),
    ("bench_reading_log", "BM_AppendReading/records:0/turn:0", "time", "Log a reading, empty log", "us", 20, "<"),
    ("bench_reading_log", "BM_AppendReading/records:1000000/turn:0", "time", "Log a reading, 1 M records", "us", 20,
     "<"),
    ("bench_reading_log", "BM_AppendReading/records:10000000/turn:0", "time", "Log a reading, 10 M records", "us",
     20, "<"),
    ("bench_reading_log", "BM_AppendReading/records:10000000/turn:0", "resident_MB", "Memory with 10 M records",
     "MB", 200, "<"),
    ("bench_reading_log", "BM_AppendAndCommit/records:0/batch:1000", "time",
     "Commit of a second's batch (1000 readings) to the recovery file", "us", None, ""),
    ("bench_reading_log", "BM_RestoreMillion", "time", "Restore 1 M readings at start-up", "ms", None, ""),
    ("bench_reading_log", "BM_ExportText", "time", "Export 1 M records as text", "ms", 2000, "<"),
    ("bench_reading_log", "BM_SaveTable", "time", "Save 1 M records as a table", "ms", 2000, "<"),
    ("bench_reading_log", "BM_OpenAndShowGrid", "time", "Open 1 M records and show the grid", "ms", 500, "<"),
    ("bench_reading_log", "BM_PrintPreview/10000", "time", "Print preview of 10,000 records", "ms", 3000, "<"),
    ("bench_log_grid", "BM_AppendTurnWithGrid/records:0", "time", "Grid: a record and its turn, empty log", "us",
     None, ""),
    ("bench_log_grid", "BM_AppendTurnWithGrid/records:10000000", "time",
     "Grid: a record and its turn, 10 M records", "us", None, ""),
    ("Trend chart", None),
    ("bench_chart", "BM_AddReading_100PerPage/0", "time", "Add a reading, 100 a page, no points", "us", None, ""),
    ("bench_chart", "BM_AddReading_100PerPage/1000000", "time", "Add a reading, 100 a page, 1 M points", "us",
     None, ""),
    ("bench_chart", "BM_RedrawPage_1M", "time", "Redraw a page of a 1 M-point chart", "ms", 100, "<"),
    ("bench_chart", "BM_RedrawWholeChart_1M", "time", "Redraw all of a 1 M-point chart on one page", "ms", 100, "<"),
    ("Main window", None),
    ("bench_window_40k", "start", "value", "Start to a shown window (40k)", "ms", 300, "<"),
    ("bench_window_4k", "start", "value", "Start to a shown window (4k)", "ms", 300, "<"),
    ("bench_window_40k", "cpu_19200", "value", "CPU, meter streaming at the 19200-baud line rate (40k)",
     "% of a core", 2, "<"),
    ("bench_window_4k", "cpu_19200", "value", "CPU, meter streaming at the 19200-baud line rate (4k)",
     "% of a core", 2, "<"),
    ("bench_window_40k", "cpu_own_pace", "value", "CPU, meter at 2 frames/s (40k)", "% of a core", None, ""),
    ("bench_window_40k", "cpu_silent", "value", "CPU, port open, meter silent (40k)", "% of a core", None, ""),
    ("bench_window_40k", "latency_median", "value", "Last byte to the LCD model, median", "ms", None, ""),
    ("bench_window_40k", "latency_p99", "value", "Last byte to the LCD model, 99th percentile", "ms", None, ""),
    ("bench_window_40k", "reading_0", "value", "A reading through LCD, gauge, grid, chart, 0 records", "us", None,
     ""),
    ("bench_window_40k", "reading_1m", "value", "A reading through LCD, gauge, grid, chart, 1 M records", "us",
     None, ""),
    ("Long run: a million frames through the pty into the 40k window", None),
    ("bench_window_40k", "long_frames_per_s", "value", "Frames a second (the driver's 2 KB every 50 ms)", "frames/s",
     None, ""),
    ("bench_window_40k", "long_cpu_per_frame", "value", "CPU a frame", "us", None, ""),
    ("bench_window_40k", "long_memory_per_hour", "value", "Memory growth an hour of logging at 19200 bit/s", "MB",
     None, ""),
    ("bench_window_40k", "long_latency_median", "value", "Last byte to the LCD model, median", "ms", None, ""),
    ("bench_window_40k", "long_latency_p99", "value", "Last byte to the LCD model, 99th percentile", "ms", None, ""),
]

# Extra arguments per program: the four-digit window skips the long run, which the five-digit one shows.
ARGUMENTS = {"bench_window_4k": ["start", "cpu", "latency", "reading"]}

TIME_SCALE = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}  # to microseconds


def run(bindir, program):
    path = os.path.join(bindir, program)
    if not os.access(path, os.X_OK):
        return None
    if program.startswith("bench_window"):
        command = [path, "--json"] + ARGUMENTS.get(program, [])
    else:
        command = [path, "--benchmark_format=json"]
    print(f"running {program} ...", file=sys.stderr, flush=True)
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    text = done.stdout[done.stdout.find("{"):]
    try:
        # Google Benchmark adds how a figure was run to its name ("/iterations:3", "/manual_time").
        return {re.sub(r"/(iterations:\d+|manual_time|real_time)", "", b["name"]): b
                for b in json.loads(text)["benchmarks"]}
    except (ValueError, KeyError):
        return None


def value(result, field, unit):
    if field != "time":
        return result.get(field)
    micros = result["real_time"] * TIME_SCALE[result.get("time_unit", "ns")]
    return micros / TIME_SCALE[unit]


def show(number):
    if number is None:
        return "-"
    if abs(number) >= 1000:
        return f"{number:,.0f}"
    return f"{number:.3g}" if abs(number) < 10 else f"{number:.1f}"


def margin(measured, goal, bound):
    if measured is None or goal is None:
        return ""
    if bound == "<":
        return "met" if measured <= goal == 0 else (f"{goal / measured:.1f}x" if measured > 0 else "met")
    return f"{measured / goal:.1f}x"


def machine():
    model = ""
    try:
        with open("/proc/cpuinfo") as info:
            model = next((l.split(":", 1)[1].strip() for l in info if l.startswith("model name")), "")
    except OSError:
        pass
    return f"{model or platform.processor()}, {os.cpu_count()} cores, {platform.system()} {platform.release()}"


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: figures.py BINDIR")
    bindir = sys.argv[1]
    results = {}
    for row in ROWS:
        if row[1] is not None and row[0] not in results:
            results[row[0]] = run(bindir, row[0])
    print(f"Measured on {machine()}.\n")
    print("| Figure | Measured | Goal | Margin |")
    print("|---|---|---|---|")
    for row in ROWS:
        if row[1] is None:
            print(f"| **{row[0]}** | | | |")
            continue
        program, name, field, figure, unit, goal, bound = row
        found = (results.get(program) or {}).get(name)
        measured = value(found, field, unit) if found else None
        goal_text = ""
        if goal == 0:
            goal_text = "0"
        elif goal is not None:
            goal_text = f"{'under' if bound == '<' else 'over'} {show(goal)} {unit}".strip()
        print(f"| {figure} | {show(measured)} {unit if measured is not None else ''} | {goal_text} | "
              f"{margin(measured, goal, bound)} |")


if __name__ == "__main__":
    main()
