#!/usr/bin/env python3
"""End-to-end runs of nuv-upgrade as a person would make them: the real
program in tmux, driven by keys and read from the screen, against the real
device simulator, each run in a network namespace of its own (loopback only).

    e2e.py BUILD_DIR CASE
"""
import os
import re
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


class Run:
    def __init__(self, build, sim_args, width=100, height=32):
        self.name = f"nuv-e2e-{os.getpid()}"
        self.tmp = tempfile.mkdtemp(prefix="nuv-e2e-")
        self.sim_log = os.path.join(self.tmp, "sim.log")
        self.status = os.path.join(self.tmp, "status")
        subprocess.run(["ip", "netns", "add", self.name], check=True)
        subprocess.run(["ip", "netns", "exec", self.name, "ip", "link", "set", "lo", "up"], check=True)
        self.sim = subprocess.Popen(["ip", "netns", "exec", self.name, os.path.join(ROOT, "sim", "nuv-device-sim"),
                                     "--log", self.sim_log, "--offline-seconds", "2"] + sim_args)
        self.wait_log("online")
        program = os.path.join(build, "nuv-upgrade")
        # After the program: its exit status, and whether the terminal is back
        # in its ordinary mode (canonical input, echo).
        command = (f"ip netns exec {self.name} {program}; echo $? > {self.status}; "
                   f"stty -a > {self.status}.stty; sleep 600")
        subprocess.run(["tmux", "new-session", "-d", "-s", self.name, "-x", str(width), "-y", str(height),
                        command], check=True)

    def close(self):
        subprocess.run(["tmux", "kill-session", "-t", self.name], stderr=subprocess.DEVNULL)
        self.sim.terminate()
        try:
            self.sim.wait(5)
        except subprocess.TimeoutExpired:
            self.sim.kill()
        subprocess.run(["ip", "netns", "del", self.name], stderr=subprocess.DEVNULL)

    def screen(self):
        return subprocess.run(["tmux", "capture-pane", "-p", "-t", self.name], capture_output=True,
                              text=True).stdout

    def keys(self, *keys):
        for k in keys:
            subprocess.run(["tmux", "send-keys", "-t", self.name] + (["-l", k] if len(k) == 1 else [k]), check=True)
            time.sleep(0.05)

    def type(self, text):
        for ch in text:
            self.keys(ch)

    def wait(self, text, timeout=10.0):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            s = self.screen()
            if text in s:
                return s
            time.sleep(0.1)
        raise AssertionError(f"timed out waiting for {text!r}; the screen:\n{self.screen()}")

    def log(self):
        try:
            with open(self.sim_log) as f:
                return f.read()
        except FileNotFoundError:
            return ""

    def wait_log(self, pattern, timeout=10.0):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if re.search(pattern, self.log()):
                return
            time.sleep(0.05)
        raise AssertionError(f"simulator never logged {pattern!r}:\n{self.log()}")

    def ended(self, timeout=10.0):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if os.path.exists(self.status + ".stty"):
                time.sleep(0.1)
                with open(self.status) as f:
                    status = f.read().strip()
                with open(self.status + ".stty") as f:
                    stty = f.read()
                assert status == "0", f"exit status {status}"
                assert re.search(r"(?<!-)icanon", stty) and re.search(r"(?<!-)echo\b", stty), \
                    f"terminal not restored:\n{stty}"
                return
            time.sleep(0.1)
        raise AssertionError(f"the program did not end; the screen:\n{self.screen()}")

    # The steps every run starts with.
    def to_address_and_fetch(self):
        self.wait("NUV-4101 Firmware Upgrade")
        self.wait("< Cancel >")
        self.keys("Tab", "Enter")
        self.wait("Please enter IP address of your NUV:")
        assert "[127.0.0.1" in self.screen(), self.screen()
        self.type("127.0.0.2")
        self.keys("Enter")

    def confirm(self, caption="Confirm Upgrade to Ver. 3.1.5(SE)"):
        s = self.wait(caption)
        self.keys("Enter")
        return s


def one_stage(r):
    r.to_address_and_fetch()
    s = r.confirm()
    assert "3.0.2" in s and "FM0123456789" in s and "Note: Since" not in s, s
    # The transfer itself takes well under a second: wait for the update.
    r.wait("Updating Target Firmware to NUV@127.0.0.2", 20)
    s = r.wait("NUV@127.0.0.2 Upgrade Successful!", 45)
    assert "3.1.5(SE)" in s, s
    r.keys("Enter")
    r.ended()
    log = r.log()
    assert "tftp result=done bytes=742976 tsize=742976" in log, log
    assert log.count("tftp event=rrq") == 1, log


def two_stage_with_password(r):
    r.to_address_and_fetch()
    r.wait("Enter Password Information")
    r.type("secret")
    r.keys("Enter")
    s = r.confirm()
    assert "Note: Since your current firmware version" in s and "is older than 2.0.12" in s, s
    r.wait("Updating Transition Firmware to NUV@127.0.0.2", 20)
    # The waiting dialog of the target stage comes and goes in a moment: the
    # device asks for the second name as soon as it is announced.
    r.wait("Updating Target Firmware to NUV@127.0.0.2", 50)
    s = r.wait("NUV@127.0.0.2 Upgrade Successful!", 50)
    assert "Enter Password Information" not in s
    r.keys("Enter")
    r.ended()
    log = r.log()
    names = re.findall(r"tftp event=rrq server=\S+ name=(\S+)", log)
    assert len(names) == 2 and names[0].endswith(".bi0") and names[1].endswith(".bi1"), names
    assert "image_version=2.0.12" in log and "image_version=3.1.5(SE)" in log, log
    # After each restart the old nonce is refused and the next request
    # carries the new one without a prompt.
    assert log.count("problems=stale-nonce") >= 2, log


def wrong_password_first(r):
    r.to_address_and_fetch()
    r.wait("Enter Password Information")
    r.type("guess")
    r.keys("Enter")
    time.sleep(0.5)
    r.wait("Enter Password Information")
    r.wait_log("authorization result=bad problems=response")
    r.type("secret")
    r.keys("Enter")
    r.confirm()
    r.wait("NUV@127.0.0.2 Upgrade Successful!", 60)
    r.keys("Enter")
    r.ended()


def version_mismatch(r):
    r.to_address_and_fetch()
    r.confirm()
    r.wait("Upgrade Failed: Version not matching", 60)
    r.keys("Enter")
    r.ended()


def cancel_while_waiting(r):
    r.to_address_and_fetch()
    r.confirm()
    s = r.wait("Waiting For Firmware Download Request From NUV")
    assert "Firmware upload will begin when the NUV is idle" in s, s
    r.keys("Escape")
    r.wait("Upgrade Failed: User Abort")
    r.keys("Enter")
    r.ended()


def lossy_network(r):
    r.to_address_and_fetch()
    r.confirm()
    r.wait("NUV@127.0.0.2 Upgrade Successful!", 70)
    r.keys("Enter")
    r.ended()
    assert "event=data-dropped" in r.log()


def password_dialog_small_terminal(r):
    r.to_address_and_fetch()
    s = r.wait("Enter Password Information")
    assert "This NUV requires a password in order to be" in s, s
    assert "PgUp/PgDn" in s, s
    for _ in range(5):
        r.keys("PageDown")
    s = r.wait("information.")
    assert "[admin" in s, s
    r.keys("Escape")
    r.wait("Upgrade Failed: User Abort")
    r.keys("Enter")
    r.ended()


CASES = {
    "one_stage": (one_stage, [], {}),
    "two_stage_with_password": (two_stage_with_password,
                                ["--password", "secret", "--software", "2.0.11", "--nonce-policy", "restart"], {}),
    "wrong_password_first": (wrong_password_first, ["--password", "secret", "--nonce-policy", "keep"], {}),
    "version_mismatch": (version_mismatch, ["--report-version", "3.1.4"], {}),
    "cancel_while_waiting": (cancel_while_waiting, ["--ignore-upgrade"], {}),
    "lossy_network": (lossy_network, ["--drop-data", "10", "--seed", "3"], {}),
    "password_dialog_80x24": (password_dialog_small_terminal, ["--password", "secret"],
                              {"width": 80, "height": 24}),
}


def main():
    build, case = sys.argv[1], sys.argv[2]
    body, sim_args, size = CASES[case]
    run = Run(build, sim_args, **size)
    try:
        body(run)
        print(f"e2e {case}: passed")
    except AssertionError as e:
        print(f"e2e {case}: FAILED\n{e}\nsimulator log:\n{run.log()}")
        sys.exit(1)
    finally:
        run.close()


if __name__ == "__main__":
    main()
