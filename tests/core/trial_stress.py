#!/usr/bin/env python3
"""Random concurrency against one simulated computer and one settings file.

Each round starts a few runs of the program at random moments with random commands (apply,
apply with a check, a remote apply, confirm, undo, DHCP, and readers: status and list, as a
window's countdown reads), kills some with SIGKILL and stops some for a while (SIGSTOP, then
SIGCONT), the detached runs of remote changes included. When every run has ended, the
computer's clock is moved past any trial still pending and one more run settles what is left.
Then the invariants must hold:

  agreement   the profile the settings name is the one every adapter holds (none: DHCP);
  settled     no trial, checkpoint or remote change under way is left that no run can settle;
  honest      an apply or DHCP switch that ended with 0 and said it changed something had its
              checkpoint kept; a --confirm that ended with 0 kept the change; an --undo that
              ended with 0 put it back (or found it put back); a --confirm that found nothing
              to confirm did not leave a remote change waiting to run out; no remote request
              was answered 0 while an earlier one's change was still under way or waiting; a
              refusal says "changed": false;
  bounded     every run ends within its deadline.

Usage: trial_stress.py --program PATH [--rounds N] [--worlds W] [--seed S]
Prints one JSON line with the rounds, the violations and the rate; exits 1 on any violation.
"""

import argparse
import http.server
import json
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

PROFILES = {"A": "10.0.0.5", "B": "10.0.0.6", "C": "10.0.0.7"}
FINAL_REMOTE = {"confirmed", "undone", "putBack", "refused"}
NOTHING_CHANGED = {"busy", "remote-waits", "record-unwritable", "no-such-profile",
                   "invalid-profile", "doubtful-profile", "no-such-adapter", "no-safety-net",
                   "settings-unreadable", "backend-unreachable"}
RUN_DEADLINE = 90  # seconds: lock waits, confirmation waits and checks are all bounded below it


class Answerer(http.server.BaseHTTPRequestHandler):
    """The address service: an address, or now and then a dropped connection (no internet)."""

    def do_POST(self):
        length = int(self.headers.get("Content-Length") or 0)
        self.rfile.read(length)
        if random.random() < 0.25:
            self.close_connection = True
            return
        body = b"203.0.113.7"
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def read_json(path):
    try:
        with open(path, "rb") as f:
            return json.loads(f.read() or b"{}")
    except FileNotFoundError:
        return {}


def alive(pid):
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().rsplit(")", 1)[1].split()[0] not in ("Z", "X")
    except (FileNotFoundError, IndexError):
        return False


def detached_runs(folder, requests=None):
    """Processes of this world that make a remote change (started detached, not our children),
    and into `requests` the request each was started for."""
    found = []
    for name in os.listdir("/proc"):
        if not name.isdigit():
            continue
        try:
            with open(f"/proc/{name}/cmdline", "rb") as f:
                args = f.read().split(b"\0")
        except OSError:
            continue
        if b"--detached-run" in args and any(folder.encode() in a for a in args):
            found.append(int(name))
            if requests is not None:
                requests[int(name)] = args[args.index(b"--detached-run") + 1].decode()
    return found


class World:
    def __init__(self, program, port, rng):
        self.program = program
        self.rng = rng
        self.dir = tempfile.mkdtemp(prefix="zelvi-stress-")
        self.settings = os.path.join(self.dir, "a.config")
        self.pc = os.path.join(self.dir, "pc.json")
        with open(self.settings, "w") as f:
            f.write("[Profiles]\n")
            for name, address in PROFILES.items():
                f.write(f"{name}={address}.255.0.0.0.10.0.0.1.10.0.0.1....\n")
            f.write(f"[Links]\nExternalAddressUrl=http://127.0.0.1:{port}/ip.php\n")
        self.env = {k: v for k, v in os.environ.items()
                    if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANGUAGE")}
        self.env["LC_ALL"] = "C.UTF-8"

    def command(self, args):
        return [self.program, "--settings", self.settings, "--backend",
                "simulated=" + self.pc, "--json"] + args

    def random_args(self):
        r = self.rng.random()
        profile = self.rng.choice(list(PROFILES))
        if r < 0.22:
            return ["--apply", profile, "--all"]
        if r < 0.34:
            return ["--apply", profile, "--all", "--check", "--check-after", str(self.rng.choice([0, 1]))]
        if r < 0.50:
            return ["--apply", profile, "--all", "--confirm-within", "10"]
        if r < 0.62:
            return ["--confirm"]
        if r < 0.70:
            return ["--undo"]
        if r < 0.80:
            return ["--dhcp"]
        if r < 0.90:
            return ["--status"]
        return ["--list"]

    def actor(self, results, killed):
        """One run: started at a random moment, perhaps killed or stopped for a while."""
        time.sleep(self.rng.uniform(0, 0.8))
        args = self.random_args()
        started = time.time() * 1000  # the run looks at nothing before this
        proc = subprocess.Popen(self.command(args), stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, env=self.env)
        fate = self.rng.random()
        entry = {"args": args, "pid": proc.pid, "killed": False, "stopped": False,
                 "startedMs": started}
        if fate < 0.12:
            time.sleep(self.rng.uniform(0, 0.6))
            proc.kill()
            entry["killed"] = True
            killed.add(proc.pid)
        elif fate < 0.22:
            time.sleep(self.rng.uniform(0, 0.5))
            try:
                os.kill(proc.pid, signal.SIGSTOP)
                entry["stopped"] = True
                time.sleep(self.rng.uniform(0.2, 1.5))
                os.kill(proc.pid, signal.SIGCONT)
            except ProcessLookupError:
                pass
        try:
            out, err = proc.communicate(timeout=RUN_DEADLINE)
            entry["endedMs"] = time.time() * 1000
        except subprocess.TimeoutExpired:
            proc.kill()
            out, err = proc.communicate()
            entry["hung"] = True
        entry["rc"] = proc.returncode
        entry["err"] = err.decode(errors="replace")[-400:]
        try:
            entry["json"] = json.loads(out.decode().strip().splitlines()[-1])
        except (ValueError, IndexError):
            entry["json"] = {}
        results.append(entry)

    def detached_watcher(self, detached, done):
        """Which processes made remote changes this round (each lives a second at least), and
        for which request."""
        while not done.is_set():
            detached_runs(self.dir, detached)
            time.sleep(0.05)

    def detached_killer(self, killed):
        """Now and then the run that makes a remote change is killed or stopped too."""
        time.sleep(self.rng.uniform(0.3, 1.6))
        for pid in detached_runs(self.dir):
            r = self.rng.random()
            try:
                if r < 0.15:
                    os.kill(pid, signal.SIGKILL)
                    killed.add(pid)
                elif r < 0.25:
                    os.kill(pid, signal.SIGSTOP)
                    time.sleep(self.rng.uniform(0.2, 1.2))
                    os.kill(pid, signal.SIGCONT)
            except ProcessLookupError:
                pass

    def settle(self):
        """Every run has ended; the clock moves past any trial; one more run settles the rest."""
        deadline = time.time() + RUN_DEADLINE
        while detached_runs(self.dir) and time.time() < deadline:
            time.sleep(0.05)
        stuck = detached_runs(self.dir)
        pc = read_json(self.pc)
        if "checkpoint" in pc:
            pc["checkpoint"]["until"] = 0
            tmp = self.pc + ".stress"
            with open(tmp, "w") as f:
                json.dump(pc, f)
            os.rename(tmp, self.pc)
        out = subprocess.run(self.command(["--list"]), capture_output=True, env=self.env,
                             timeout=RUN_DEADLINE)
        return stuck, json.loads(out.stdout.decode().strip() or "{}")

    def check(self, results, killed, stuck, listed, detached):
        problems = []
        if stuck:
            problems.append(f"detached runs still going after {RUN_DEADLINE} s: {stuck}")
        current = listed.get("current", "")
        pc = read_json(self.pc)
        adapters = pc.get("adapters", [])
        if current:
            if any(a.get("dhcp") or a.get("address") != PROFILES.get(current) for a in adapters):
                problems.append(f"agreement: settings name {current!r}, adapters hold "
                                f"{[(a.get('dhcp'), a.get('address')) for a in adapters]}")
        elif not all(a.get("dhcp") for a in adapters):
            problems.append(f"agreement: settings name no profile, adapters hold "
                            f"{[(a.get('dhcp'), a.get('address')) for a in adapters]}")
        if "checkpoint" in pc:
            problems.append("settled: a checkpoint is still pending")
        record = read_json(self.settings + ".trial")
        for key in ("profileBefore", "phase", "checkpoint"):
            if key in record:
                problems.append(f"settled: the record still holds {key}: {record}")
        remote = record.get("remote", {}).get("state")
        if remote and remote not in FINAL_REMOTE:
            problems.append(f"settled: the remote change is left {remote!r}")
        history = pc.get("history", [])
        # Remote requests answered 0: none while an earlier request's change was made and not
        # yet ended (it should have been refused as remote-waits). Only a run that started after
        # the earlier one was answered surely asked after it: a run (stopped for a while, or
        # slow on a busy machine) may have asked long before it ended.
        answered = {r["json"].get("request"): r for r in results
                    if r.get("rc") == 0 and r["json"].get("request") and "endedMs" in r}
        for pid, request in detached.items():
            first = answered.get(request)
            if first is None or pid in killed:
                continue
            for h in history:
                if int(h.get("pid", 0)) != pid:
                    continue
                for other, later in answered.items():
                    if other != request and \
                            first["endedMs"] < later["startedMs"] and \
                            later["endedMs"] < h.get("ended", 0) - 100:
                        problems.append(f"honest: remote request {other} answered 0 while "
                                        f"{request}'s change waited: {h}")
        for r in results:
            if r.get("hung"):
                problems.append(f"bounded: {r['args']} did not end in {RUN_DEADLINE} s")
            if r["killed"] or r["rc"] is None or r["rc"] < 0:
                continue
            j, args, pid = r["json"], r["args"], r["pid"]
            code = j.get("code", "")
            if r["rc"] == 1 and code in NOTHING_CHANGED and j.get("changed") is True:
                problems.append(f"honest: {args} refused ({code}) but says changed: {j}")
            if args[0] == "--confirm" and r["rc"] != 0 and \
                    code in ("not-applied", "no-remote-change") and "endedMs" in r:
                for h in history:
                    made_by = int(h.get("pid", 0))
                    made = h.get("made", 0)
                    # The change was there for the whole run: made before it started, still
                    # waiting when it ended (when it looked in between is not known).
                    if made_by in detached and made_by not in killed and not h.get("kept") and \
                            made < r["startedMs"] and r["endedMs"] < h.get("ended", 0) - 100:
                        problems.append(f"honest: --confirm found nothing to confirm ({code}) "
                                        f"while a remote change waited: {j} {h}")
            if r["rc"] != 0:
                continue
            if args[0] in ("--apply", "--dhcp") and "--confirm-within" not in args and \
                    j.get("changed") and not j.get("revertedToDhcp"):
                made = [h for h in history if int(h.get("pid", 0)) == pid]
                if not made or not made[-1].get("kept"):
                    problems.append(f"honest: {args} ended with 0 but its change was not kept "
                                    f"({made or 'no checkpoint'}): {r['err']}")
            if args[0] == "--confirm" and not any(
                    h.get("kept") and int(h.get("by", 0)) in killed | {pid} for h in history):
                problems.append(f"honest: --confirm ended with 0 but kept nothing: {j}")
            if args[0] == "--undo" and code == "undone" and not any(
                    not h.get("kept") and int(h.get("by", 0)) == pid for h in history):
                problems.append(f"honest: --undo ended with 0 but put nothing back: {j}")
        return problems

    def round(self):
        # The history of this round only: a checkpoint's process number may come again later.
        pc = read_json(self.pc)
        if pc.get("history"):
            pc["history"] = []
            tmp = self.pc + ".stress"
            with open(tmp, "w") as f:
                json.dump(pc, f)
            os.rename(tmp, self.pc)
        results, killed, detached, done = [], set(), {}, threading.Event()
        threads = [threading.Thread(target=self.actor, args=(results, killed))
                   for _ in range(self.rng.randint(2, 5))]
        threads.append(threading.Thread(target=self.detached_killer, args=(killed,)))
        watcher = threading.Thread(target=self.detached_watcher, args=(detached, done))
        watcher.start()
        for t in threads:
            t.start()
        for t in threads:
            t.join()
        stuck, listed = self.settle()
        done.set()
        watcher.join()
        return self.check(results, killed, stuck, listed, detached), results


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--rounds", type=int, default=200)
    parser.add_argument("--worlds", type=int, default=3)
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--outcomes", action="store_true", help="also count what the runs said")
    a = parser.parse_args()
    seed = a.seed if a.seed is not None else random.randrange(1 << 30)

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Answerer)
    threading.Thread(target=server.serve_forever, daemon=True).start()

    lock = threading.Lock()
    state = {"rounds": 0, "violations": [], "outcomes": {}}
    started = time.time()

    def run_world(world):
        while True:
            with lock:
                if state["rounds"] >= a.rounds or state["violations"]:
                    return
                state["rounds"] += 1
                number = state["rounds"]
            problems, results = world.round()
            with lock:
                for r in results:
                    key = "%s %s" % (r["args"][0] + (" --confirm-within" if "--confirm-within"
                                                     in r["args"] else ""),
                                     "killed" if r["killed"] else r["json"].get("code", r["rc"]))
                    state["outcomes"][key] = state["outcomes"].get(key, 0) + 1
            if problems:
                with lock:
                    state["violations"].append({"round": number, "world": world.dir,
                                                "problems": problems, "runs": results})

    worlds = []

    def world_loop(index):
        world = World(a.program, server.server_address[1], random.Random(seed + index))
        worlds.append(world)
        run_world(world)

    workers = [threading.Thread(target=world_loop, args=(i,)) for i in range(a.worlds)]
    for w in workers:
        w.start()
    for w in workers:
        w.join()
    elapsed = time.time() - started
    for v in state["violations"]:
        print(json.dumps(v, ensure_ascii=False, indent=1), file=sys.stderr)
    print(json.dumps({"seed": seed, "rounds": state["rounds"],
                      "violations": len(state["violations"]),
                      "seconds": round(elapsed, 1),
                      "roundsPerMinute": round(state["rounds"] * 60 / elapsed, 1)}))
    if a.outcomes:
        print(json.dumps(dict(sorted(state["outcomes"].items())), indent=1))
    server.shutdown()
    if not state["violations"]:  # a violation's world is kept to look at
        for world in worlds:
            shutil.rmtree(world.dir, ignore_errors=True)
    return 1 if state["violations"] else 0


if __name__ == "__main__":
    sys.exit(main())
