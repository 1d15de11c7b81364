#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The program beside the limit and its peers, on the same trees in the same run: adding a folder
tree, previewing, renaming, undoing, sorting. Run by scripts/bench compare (or scripts/bench undo or
sort, that job alone); prints one table."""

import os
import shutil
import statistics
import subprocess
import sys
import time

BUILD = sys.argv[1]
# "undo" or "sort": that job alone, on 100,000 and 1,000,000 files by default.
ONLY = (sys.argv[2] if len(sys.argv) > 2 and sys.argv[2] in ("undo", "sort", "repair", "regex", "chain", "convert",
                                                        "info")
        else None)
SIZES = [int(s) for s in sys.argv[2 + bool(ONLY):]] or ([10000] if ONLY == "info" else [1000000] if ONLY in ("regex", "chain", "convert") else [100000, 1000000] if ONLY
                                                      else [10000, 100000, 1000000])
RUNS = 3
RENAME_RUNS = 5  # renames vary more from run to run
TOOL = os.path.join(BUILD, "bench", "bench_compare")
LIMITS = os.path.join(BUILD, "bench", "limits")
SORTLIMIT = os.path.join(BUILD, "bench", "sortlimit")
PLACES = [("/dev/shm", "tmpfs"), ("/var/tmp", "disk")]
RULES = ["numbering", "delete", "insert", "replace", "case", "namelist"]
rows = []
skipped = set()


memory = {}


def program(*args):
    """Seconds a job of bench_compare or limits reports; the bytes a row holds are kept too."""
    out = subprocess.run(args, capture_output=True, text=True, check=True).stdout.split()
    if len(out) >= 3 and args[1] == "add":
        memory[int(out[1])] = int(out[2])
    return float(out[0])


def command(cmd, cwd=None):
    """Seconds a shell command takes."""
    start = time.monotonic()
    subprocess.run(cmd, shell=True, cwd=cwd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.monotonic() - start


def median(job):
    return statistics.median(job() for _ in range(RUNS))


def tree(place, files, name):
    path = os.path.join(place, f"tamsel-bench-{name}")
    shutil.rmtree(path, ignore_errors=True)
    subprocess.run([TOOL, "tree", path, str(files)], check=True, stderr=subprocess.DEVNULL)
    # The kernel frees the last tree's entries for a while after it was removed: let it finish
    # before anything is timed.
    os.sync()
    time.sleep(1 + files / 250000)
    return path


def record(job, files, where, results):
    limit = results[0][1]
    for tool, seconds in results:
        rows.append((job, files, where, tool, seconds, seconds / files * 1e6, seconds / limit))


def have(tool):
    if shutil.which(tool):
        return True
    if tool not in skipped:
        skipped.add(tool)
        print(f"{tool} is not installed: left out", file=sys.stderr)
    return False


def turns(jobs, place, files, name):
    """Median seconds of each job, every run on a tree of its own made for it and not timed; the
    jobs take turns, run by run, so that a slow spell of the machine falls on all of them alike."""
    times = {tool: [] for tool, _ in jobs}
    for _ in range(RENAME_RUNS):
        for tool, job in jobs:
            path = tree(place, files, name)
            try:
                times[tool].append(job(path))
            finally:
                shutil.rmtree(path)
    return [(tool, statistics.median(times[tool])) for tool, _ in jobs]


def undo_job(files):
    # Undoing renames each file back: the same system calls as the limit's loop.
    jobs = [("renameat2+statx loop (limit)", lambda p: program(LIMITS, "rename", p, "r_")),
            ("program, engine", lambda p: program(TOOL, "undo", p)),
            ("program, main window", lambda p: program(TOOL, "undo", p, "window"))]
    record("undo", files, "tmpfs", turns(jobs, "/dev/shm", files, "undo"))


def sort_job(files):
    root = tree("/dev/shm", files, "sort")
    results = [("ICU sort keys + std::sort (limit)", median(lambda: program(SORTLIMIT, root))),
               ("program, engine", median(lambda: program(TOOL, "sort", root))),
               ("program, main window", median(lambda: program(TOOL, "sort", root, "window")))]
    record("sort by name", files, "tmpfs", results)
    shutil.rmtree(root)


def repair_job(rows):
    results = [("numbering preview, same rows (limit)", median(lambda: program(TOOL, "repair", str(rows), "numbering"))),
               ("program, main window", median(lambda: program(TOOL, "repair", str(rows))))]
    record("repair names (a tenth garbled)", rows, "memory", results)


def regex_job(rows):
    # (\d+) -> E$1 beside the plain replace of DSC by IMG, on the same rows.
    results = [("plain replace preview, same rows (limit)", median(lambda: program(TOOL, "preview", str(rows), "replace"))),
               ("program, engine", median(lambda: program(TOOL, "preview", str(rows), "regex"))),
               ("plain replace, main window", median(lambda: program(TOOL, "preview", str(rows), "replace", "window"))),
               ("program, main window", median(lambda: program(TOOL, "preview", str(rows), "regex", "window")))]
    record("regular expression preview", rows, "memory", results)


def chain_job(rows):
    # Numbering, replace and case chained beside the sum of the three previews alone.
    for where, extra in (("engine", ()), ("main window", ("window",))):
        alone = sum(median(lambda: program(TOOL, "preview", str(rows), rule, *extra))
                    for rule in ("numbering", "replace", "case"))
        results = [(f"three previews alone, summed, {where} (limit)", alone),
                   (f"program, chained, {where}", median(lambda: program(TOOL, "preview", str(rows), "chain", *extra)))]
        record("chained preview of three steps", rows, "memory", results)


def convert_job(rows):
    # Medians of three runs each, taken inside bench_convert; 100,000 rows where all are Chinese.
    tool = os.path.join(BUILD, "bench", "bench_convert")

    def pair(*args):
        out = subprocess.run([tool, *args], capture_output=True, text=True, check=True).stdout.split()
        return float(out[0]), float(out[1])

    limit, program_s = pair("tenth", str(rows))
    record("繁体 → 简体, a tenth Chinese", rows, "memory",
           [("numbering preview, same rows (limit)", limit), ("program, engine", program_s)])
    some = max(1, rows // 10)
    for job, what in (("unique", "every Han run its own"), ("all", "Han runs shared")):
        limit, program_s = pair(job, str(some))
        record(f"繁体 → 简体, all Chinese, {what}", some, "memory",
               [("OpenCC's call in a plain loop (limit)", limit), ("program, engine", program_s)])
    load, program_s = pair("pinyin", str(some))
    record("汉字 → 拼音, all Chinese", some, "memory",
           [("one second (bound)", 1.0), ("program, engine, dictionary read included", load + program_s)])
    total, ours, icu = (int(x) for x in subprocess.run(
        [tool, "icu", os.path.join(os.path.dirname(__file__), "..", "tests", "convert", "polyphones.txt")],
        capture_output=True, text=True, check=True).stdout.split())
    print(f"Polyphone words read right: program {ours} of {total}, ICU Han-Latin {icu} of {total}", file=sys.stderr)


def info_job(files):
    # Medians of three runs each, taken inside bench_info, on files made once in /var/tmp and read
    # warm from the page cache.
    tool = os.path.join(BUILD, "bench", "bench_info")
    for kind, what, limit_name in (("jpeg", "{拍摄时间} of JPEGs", "exiv2 in a plain loop (limit)"),
                                   ("mp3", "{艺术家} - {标题} of MP3s", "TagLib in a plain loop (limit)")):
        out = subprocess.run([tool, kind, str(files), f"/var/tmp/tamsel-bench-info-{kind}"],
                             capture_output=True, text=True, check=True).stdout.split()
        record(f"按文件信息命名, {what}", files, "disk", [(limit_name, float(out[0])), ("program, engine", float(out[1]))])


for files in SIZES if ONLY else []:
    {"undo": undo_job, "sort": sort_job, "repair": repair_job, "regex": regex_job, "chain": chain_job,
     "convert": convert_job, "info": info_job}[ONLY](files)

for files in [] if ONLY else SIZES:
    for place, where in PLACES:
        if files > 100000 and where == "disk":
            continue  # a million files on disk takes longer to make than to measure
        root = tree(place, files, "walk")
        results = [("getdents64+statx loop (limit)", median(lambda: program(LIMITS, "walk", root))),
                   ("program, engine", median(lambda: program(TOOL, "add", root))),
                   ("program, main window", median(lambda: program(TOOL, "add", root, "window")))]
        if have("find"):
            results.append(("find -printf '%s %T@ %B@'",
                            median(lambda: command(f"find '{root}' -printf '%s %T@ %B@\\n' > /dev/null"))))
        record("add folder tree", files, where, results)
        shutil.rmtree(root)

        jobs = [("renameat2+statx loop (limit)", lambda p: program(LIMITS, "rename", p, "r_")),
                ("program, engine", lambda p: program(TOOL, "rename", p)),
                ("program, main window", lambda p: program(TOOL, "rename", p, "window"))]
        if files > 100000:
            print(f"peers left out of the rename of {files:,} files: minutes each", file=sys.stderr)
        else:
            if have("file-rename"):
                jobs.append(("perl rename (find | xargs)", lambda p: command(
                    "find . -type f -print0 | xargs -0 file-rename 's{([^/]+)$}{r_$1}'", cwd=p)))
            if have("mmv"):
                jobs.append(("mmv", lambda p: command(
                    "mmv ';*.JPG' '#1r_#2.JPG' </dev/null && mmv ';.*.JPG' '#1r_.#2.JPG' </dev/null", cwd=p)))
        record("rename", files, where, turns(jobs, place, files, "rename"))
        if where == "tmpfs" and files >= 100000:
            undo_job(files)
            sort_job(files)

    if files >= 100000:
        repair_job(files)
    for rule in RULES:
        results = [("C loop, same string work (limit)", median(lambda: program(LIMITS, "names", str(files), rule))),
                   ("program, engine", median(lambda: program(TOOL, "preview", str(files), rule))),
                   ("program, main window", median(lambda: program(TOOL, "preview", str(files), rule, "window")))]
        record(f"preview, {rule}", files, "memory", results)

print(f"Medians of {RUNS} runs, of {RENAME_RUNS} for renames; {os.cpu_count()} cores; {os.uname().release}")
for files, per in sorted(memory.items()):
    print(f"Memory after adding {files:,} files: {per} bytes resident a listed file")
print()
print("| job | files | on | tool | seconds | µs a file | × limit |")
print("|---|---:|---|---|---:|---:|---:|")
for job, files, where, tool, seconds, per, ratio in rows:
    print(f"| {job} | {files:,} | {where} | {tool} | {seconds:.3f} | {per:.2f} | {ratio:.2f} |")
