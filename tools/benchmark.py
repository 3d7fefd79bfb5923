#!/usr/bin/env python3
"""Times quillmere-cli scan on a generated library against a peer scanner.

usage: tools/benchmark.py [--books N] [--copies K] [--runs R] [--library DIR]
                          [--build DIR] [--peer SCRIPT] [--no-end-record-gb G]
                          [--quiet] [--cold] [--share-latency MS]
                          [--baseline CLI]

Generates the library with quillmere-sample-library (or reuses one made with
the same book count; with --copies, a library of K hard-linked copies of it,
to see how memory grows with the book count without generating every book),
then runs, on the same library:
  quillmere-cli scan --subfolders --jobs 1
  quillmere-cli scan --subfolders            (one job per processor)
  python3 SCRIPT --subfolders                (the peer, when SCRIPT exists)
first with a warm page cache (one untimed run each, then R rounds in which
each runs once in turn), then cold (the page cache dropped before every run),
where the system permits dropping it. Prints the median wall time, books per
second, the median processor time (user and system) and the peak resident
memory of each, the ratios of their speeds, and checks that both scans print
the same list. On a machine that other programs share, --quiet leaves out
the rounds in which they used the processors. Last, it measures how much
faster one compute-only process per processor gets through its work than one
process alone: the ceiling of what several jobs can gain on this machine.
With --no-end-record-gb, also times `info` on a sparse file of that many
GiB that holds no end record.

--cold measures the cold cache only. --share-latency MS scans the library
through tools/delayed_share.py, a FUSE pass-through that delays every request
by MS milliseconds, as a network share does (needs `scripts/bootstrap.sh
bench` and permission to mount). --baseline CLI adds another build of
quillmere-cli (the one to compare with): its default, and a sweep of
--jobs 1, 2, 4, 8, 16 and 32, whose fastest is printed beside this build's
default, with the ratios.
"""

import argparse
import contextlib
import os
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


GNU_TIME = "/usr/bin/time"
# The machine's busy time is counted in clock ticks, so a reading may be off
# by about two of them.
TICK_ERROR = 2 / os.sysconf("SC_CLK_TCK")


def busy_seconds():
    """Processor seconds the whole machine has spent busy since it started."""
    with open("/proc/stat") as stat:
        fields = [int(value) for value in stat.readline().split()[1:]]
    idle = fields[3] + fields[4]  # idle and waiting for input or output
    return (sum(fields[:8]) - idle) / os.sysconf("SC_CLK_TCK")


def run(command):
    """Wall seconds, processor seconds, peak resident KiB (0 when unknown),
    standard output, and the processor seconds that other programs took
    meanwhile, of one run. The peak comes from GNU time, which measures the
    program alone: a child of this script would also count the script's own
    memory, which it shares until the program starts."""
    with tempfile.NamedTemporaryFile("r") as report:
        measured = os.path.exists(GNU_TIME)
        if measured:
            command = [GNU_TIME, "-f", "%M", "-o", report.name] + command
        busy = busy_seconds()
        start = time.monotonic()
        process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        output = process.stdout.read()
        _, _, usage = os.wait4(process.pid, 0)
        seconds = time.monotonic() - start
        own = usage.ru_utime + usage.ru_stime
        others = max(0.0, busy_seconds() - busy - own)
        peak = int(report.read().split()[-1]) if measured else 0
    return seconds, own, peak, output, others


def drop_caches():
    """Empties the page cache; False when the system does not permit it."""
    try:
        subprocess.run(["sync"], check=True)
        with open("/proc/sys/vm/drop_caches", "w") as control:
            control.write("3\n")
        return True
    except OSError:
        return False


SWEEP = (1, 2, 4, 8, 16, 32)


@contextlib.contextmanager
def delayed_share(folder, latency_ms):
    """The folder mounted through the delaying pass-through, unmounted after."""
    mountpoint = tempfile.mkdtemp(prefix="quillmere-share-")
    tool = os.path.join(ROOT, "tools", "delayed_share.py")
    server = subprocess.Popen(["/usr/bin/python3", tool, "--delay-ms", str(latency_ms),
                               folder, mountpoint])
    try:
        deadline = time.monotonic() + 20
        while not os.path.ismount(mountpoint):
            if server.poll() is not None or time.monotonic() > deadline:
                raise SystemExit("the delayed share could not be mounted "
                                 "(scripts/bootstrap.sh bench; permission to mount)")
            time.sleep(0.1)
        yield mountpoint
    finally:
        subprocess.run(["fusermount", "-u", mountpoint], check=False)
        server.wait()
        os.rmdir(mountpoint)


def library(args):
    folder = args.library or os.path.join(tempfile.gettempdir(), f"quillmere-bench-{args.books}")
    marker = os.path.join(folder, ".complete")
    if not os.path.exists(marker):
        generator = os.path.join(args.build, "tools", "quillmere-sample-library")
        subprocess.run([generator, "--books", str(args.books), "--edited", "20", "--seed", "7",
                        folder], check=True, stdout=subprocess.DEVNULL)
        open(marker, "w").close()
    if args.copies == 1:
        return folder
    copies = f"{folder}-x{args.copies}"
    if not os.path.exists(copies):
        os.makedirs(copies)
        for copy in range(args.copies):
            subprocess.run(["cp", "-al", folder, os.path.join(copies, f"copy{copy}")], check=True)
    return copies


def measure(commands, books, runs, cold, quiet):
    """Runs the commands in turn, round after round, so that a machine whose
    speed drifts slows each of them alike and their ratios hold. With quiet,
    a round in which other programs took more than a tenth of a run's wall
    time (give or take the clock ticks of the machine's count) is done again (up to three times as many rounds in all), since
    another program on the same processors falsifies a parallel run most.
    Prints each command's medians; returns books/s and the set of outputs by
    name, or None when the cache cannot be dropped."""
    if not cold:
        for _, command in commands:
            run(command)  # warms the cache and the program
    samples = {name: ([], [], [], set()) for name, _ in commands}
    rounds = disturbed = 0
    while rounds < runs and rounds + disturbed < 3 * runs:
        results = []
        for name, command in commands:
            if cold and not drop_caches():
                print("cold: dropping the page cache is not permitted here")
                return None
            results.append((name, run(command)))
        if quiet and any(others > 0.1 * seconds + TICK_ERROR for _, (seconds, *_, others) in results):
            disturbed += 1
            continue
        rounds += 1
        for name, (seconds, busy, peak, output, _) in results:
            times, processor, peaks, outputs = samples[name]
            times.append(seconds)
            processor.append(busy)
            peaks.append(peak)
            outputs.add(output)
    if rounds == 0:
        print(f"{'cold' if cold else 'warm'}: every round was disturbed by other programs")
        return None
    if disturbed:
        print(f"{'cold' if cold else 'warm'}: {disturbed} rounds disturbed by other programs were left out")
    results = {}
    for name, (times, processor, peaks, outputs) in samples.items():
        median = statistics.median(times)
        peak = f"{max(peaks) / 1024:6.1f} MiB" if max(peaks) else "unknown (no GNU time)"
        print(f"{name:<27} {'cold' if cold else 'warm'}  {median:7.3f} s  {books / median:9.0f} books/s"
              f"  processor {statistics.median(processor):6.3f} s  peak {peak}")
        results[name] = (books / median, outputs)
    return results


def parallel_ceiling(runs):
    """How many times faster one process per processor, each running the same
    compute-only loop, gets through their loops than one process gets through
    all of them in turn. No scan can gain more from its jobs on this machine:
    a virtual machine's processors may share their physical cores."""
    loop = [sys.executable, "-c", "x = 0\nfor i in range(4_000_000): x += i * i"]
    count = os.cpu_count() or 1
    alone, together = [], []
    for _ in range(runs):
        start = time.monotonic()
        subprocess.run(loop, check=True)
        alone.append(time.monotonic() - start)
        start = time.monotonic()
        for process in [subprocess.Popen(loop) for _ in range(count)]:
            process.wait()
        together.append(time.monotonic() - start)
    return count * statistics.median(alone) / statistics.median(together)


def end_record_search(args, cli):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "no-end-record.epub")
        with open(path, "wb") as sparse:
            sparse.truncate(args.no_end_record_gb << 30)
        run([cli, "info", path])  # warm
        seconds = run([cli, "info", path])[0]
        print(f"info on a {args.no_end_record_gb} GiB file without an end record: {seconds:.2f} s")


def compare(args, folder, books):
    """Measures the commands on the folder, warm and cold (or cold alone), and
    prints their ratios; 1 when two scans listed different books."""
    cli = os.path.join(args.build, "src", "quillmere-cli")
    scan = ["scan", "--subfolders"]
    commands = [("scan --jobs 1", [cli, *scan, "--jobs", "1", folder]),
                ("scan (default)", [cli, *scan, folder])]
    if args.baseline:
        commands.append(("baseline scan (default)", [args.baseline, *scan, folder]))
        commands += [(f"baseline scan --jobs {jobs}", [args.baseline, *scan, "--jobs", str(jobs), folder])
                     for jobs in SWEEP]
    if os.path.exists(args.peer):
        commands.append(("peer script", [sys.executable, args.peer, "--subfolders", folder]))
    else:
        print(f"peer script not found at {args.peer}; give it with --peer")
    print(f"library: {folder}, {books} books")
    for cold in (True,) if args.cold else (False, True):
        results = measure(commands, books, args.runs, cold, args.quiet)
        if not results:
            continue
        scans = set()
        for name, (_, outputs) in results.items():
            if "scan" in name:
                scans |= outputs
        if len(scans) != 1:
            print("the scans' lists differ between runs, builds or job counts")
            return 1
        rate = {name: results[name][0] for name, _ in commands}
        one, default = rate["scan --jobs 1"], rate["scan (default)"]
        ratios = [f"default/jobs 1 {default / one:.2f}x"]
        if "peer script" in rate:
            peer = rate["peer script"]
            ratios += [f"jobs 1/peer {one / peer:.2f}x", f"default/peer {default / peer:.2f}x"]
        if args.baseline:
            best = max(SWEEP, key=lambda jobs: rate[f"baseline scan --jobs {jobs}"])
            ratios += [f"default/baseline best (--jobs {best}) "
                       f"{default / rate[f'baseline scan --jobs {best}']:.2f}x",
                       f"default/baseline default {default / rate['baseline scan (default)']:.2f}x",
                       f"jobs 1/baseline jobs 1 {one / rate['baseline scan --jobs 1']:.2f}x"]
        print(f"{'ratios':<27} {'cold' if cold else 'warm'}  " + ", ".join(ratios))
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--books", type=int, default=2000)
    parser.add_argument("--copies", type=int, default=1)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--library")
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "default"))
    parser.add_argument("--peer", default=os.path.join(ROOT, "..", "shared", "bench", "peer_python.py"))
    parser.add_argument("--no-end-record-gb", type=int, default=0)
    parser.add_argument("--quiet", action="store_true",
                        help="leave out rounds in which other programs used the processors")
    parser.add_argument("--cold", action="store_true",
                        help="measure with the page cache dropped before every run only")
    parser.add_argument("--share-latency", type=float, metavar="MS",
                        help="scan through a FUSE pass-through that delays every request by MS ms")
    parser.add_argument("--baseline", metavar="CLI",
                        help="another build's quillmere-cli: its default and a --jobs sweep")
    args = parser.parse_args()

    folder = library(args)
    books = args.books * args.copies
    if args.share_latency is None:
        status = compare(args, folder, books)
    else:
        with delayed_share(folder, args.share_latency) as share:
            print(f"share: {share}, every request delayed by {args.share_latency} ms")
            status = compare(args, share, books)
    if status:
        return status
    print(f"ceiling: {os.cpu_count()} compute-only processes at once run "
          f"{parallel_ceiling(args.runs):.2f}x as fast as one")
    if args.no_end_record_gb:
        end_record_search(args, os.path.join(args.build, "src", "quillmere-cli"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
