#!/usr/bin/env python3
"""Benchmarks of nuv-upgrade against real peers, all on loopback.

    bench/run.py BUILD_DIR [--pairs N]

1. TFTP throughput: our listener and session against tftpd-hpa's in.tftpd,
   serving the same 742,976 bytes in 512-byte blocks to curl and atftp, runs
   alternating; also our server with the plain 1 ms sleep between polls, and
   a minimal UDP stop-and-wait ping-pong of 1,452 round trips.
2. Idle cost of nuv-upgrade in tmux while the waiting dialog is up: CPU and
   bytes written to the terminal over 10 s.
3. Peak resident memory of a whole simulated one-stage run.
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import e2e  # noqa: E402

NAME = "/nuv1a2b.bi0"
CLIENTS = {
    "curl": lambda port, out: ["curl", "-sS", "-o", out, f"tftp://127.0.0.1:{port}/{NAME}"],
    "atftp": lambda port, out: ["atftp", "-g", "-r", NAME, "-l", out, "127.0.0.1", str(port)],
}


def timed(cmd, size):
    out = tempfile.mktemp(prefix="nuv-bench-")
    start = time.perf_counter()
    subprocess.run(cmd(out), check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    elapsed = (time.perf_counter() - start) * 1000
    got = os.path.getsize(out)
    os.unlink(out)
    if got != size:
        raise SystemExit(f"downloaded {got} bytes, expected {size}")
    return elapsed


def throughput(build, pairs):
    image = os.path.join(build, "firmware", "target.bin")
    size = os.path.getsize(image)
    root = tempfile.mkdtemp(prefix="nuv-bench-tftpd-")
    shutil.copy(image, os.path.join(root, NAME.lstrip("/")))
    os.chmod(root, 0o755)  # in.tftpd drops its privileges
    os.chmod(os.path.join(root, NAME.lstrip("/")), 0o644)
    ours = subprocess.Popen([os.path.join(build, "bench", "tftp_serve"), "30069"])
    sleepy = subprocess.Popen([os.path.join(build, "bench", "tftp_serve"), "30071", "--sleep"])
    tftpd = subprocess.Popen(["in.tftpd", "-L", "-a", "127.0.0.1:30070", "-s", root, "-B", "512"])
    time.sleep(0.5)
    rows = []
    try:
        for client, cmd in CLIENTS.items():
            times = {"ours": [], "tftpd-hpa": [], "ours, 1 ms sleep": []}
            for _ in range(pairs):
                times["ours"].append(timed(lambda out: cmd(30069, out), size))
                times["tftpd-hpa"].append(timed(lambda out: cmd(30070, out), size))
                times["ours, 1 ms sleep"].append(timed(lambda out: cmd(30071, out), size))
            med = {k: statistics.median(v) for k, v in times.items()}
            rows.append((client, med["ours"], med["tftpd-hpa"], med["ours"] / med["tftpd-hpa"], med["ours, 1 ms sleep"]))
    finally:
        for p in (ours, sleepy, tftpd):
            p.terminate()
            p.wait()
        shutil.rmtree(root)
    pings = [float(subprocess.run([os.path.join(build, "bench", "udp_pingpong"), "1452"], capture_output=True,
                                  text=True, check=True).stdout) for _ in range(pairs)]
    ping = statistics.median(pings)
    print(f"TFTP, {size} bytes, median of {pairs} runs each (ms):")
    print(f"  {'client':8} {'ours':>8} {'tftpd-hpa':>10} {'ratio':>6} {'ours/ping':>10} {'1 ms sleep':>11}")
    for client, o, t, r, s in rows:
        print(f"  {client:8} {o:8.1f} {t:10.1f} {r:6.2f} {o / ping:10.2f} {s:11.1f}")
    print(f"  UDP stop-and-wait ping-pong, 1452 round trips: {ping:.1f} ms")


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])


def program_pid(run):
    out = subprocess.run(["pgrep", "-f", "-n", "build.*/nuv-upgrade$|/nuv-upgrade$"], capture_output=True, text=True)
    return int(out.stdout.split()[0])


def idle_cost(build):
    run = e2e.Run(build, ["--ignore-upgrade"])
    try:
        tty_bytes = os.path.join(run.tmp, "tty.bytes")
        run.to_address_and_fetch()
        run.confirm()
        run.wait("Waiting For Firmware Download Request From NUV")
        subprocess.run(["tmux", "pipe-pane", "-t", run.name, "-o", f"cat >> {tty_bytes}"], check=True)
        pid = program_pid(run)
        time.sleep(1)
        hz = os.sysconf("SC_CLK_TCK")
        t0, b0 = cpu_ticks(pid), os.path.getsize(tty_bytes) if os.path.exists(tty_bytes) else 0
        time.sleep(10)
        t1, b1 = cpu_ticks(pid), os.path.getsize(tty_bytes)
        print(f"Idle with the waiting dialog up, over 10 s: {100.0 * (t1 - t0) / hz / 10:.2f}% of one core, "
              f"{(b1 - b0) / 10 / 1024:.2f} KB/s to the terminal")
    finally:
        run.close()


def peak_memory(build):
    run = e2e.Run(build, [])
    try:
        run.to_address_and_fetch()
        pid = program_pid(run)
        run.confirm()
        run.wait("Upgrade Successful!", 60)
        with open(f"/proc/{pid}/status") as f:
            hwm = next(line for line in f if line.startswith("VmHWM")).split()[1]
        print(f"Peak resident memory of a one-stage run: {int(hwm) / 1024:.1f} MiB")
        run.keys("Enter")
        run.ended()
    finally:
        run.close()


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build")
    pairs = int(sys.argv[sys.argv.index("--pairs") + 1]) if "--pairs" in sys.argv else 7
    throughput(build, pairs)
    idle_cost(build)
    peak_memory(build)


if __name__ == "__main__":
    main()
