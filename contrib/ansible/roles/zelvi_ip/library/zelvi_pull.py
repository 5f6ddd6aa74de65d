#!/usr/bin/python
# The till's own run of the shop's settings (pull.yml, started by the till's timer through
# ansible-pull): runs on the till itself and calls its program there.
DOCUMENTATION = r"""
module: zelvi_pull
short_description: A till takes its network profiles from the shop's repository by itself
description:
  - Writes the shop's profiles (all or none), removes those the shop no longer lists (only the
    ones this module wrote), applies the till's own profile on trial and keeps it only when the
    till then reaches the shop's server (a computer other than the till); otherwise the change
    is undone at once and remembered, by profile name and values, and not tried again until the
    repository changes that profile.
  - Leaves a report (outcome, code, time) in JSON on the till, and on a branch of the shop's
    repository of its own (report/TILL) when report_repo is given.
options:
  program: {type: path, required: true, description: The program on the till.}
  settings: {type: path, description: The settings file (the program's own when not given).}
  till: {type: str, required: true, description: The till's name in the shop's inventory.}
  profiles: {type: dict, default: {}, description: "NAME: {address, mask, gateway, dns1, dns2}"}
  profile: {type: str, required: true, description: The till's own profile.}
  adapter: {type: str, description: "The adapter: its number, its interface's name or all (not given: the till's only one)."}
  server: {type: str, required: true, description: "HOST:PORT the till must reach to keep it."}
  trial_seconds: {type: int, default: 60, description: How long the change stays on trial.}
  reach_seconds: {type: int, default: 30, description: How long the till tries to reach it.}
  doubtful: {type: bool, default: false, description: Save and apply doubtful profiles too.}
  state_dir: {type: path, default: /var/lib/nuvar-pos-zelvi-ip, description: What it remembers.}
  report_repo: {type: str, description: The shop's repository, for the till's report branch.}
"""
import json
import os
import socket
import subprocess
import tempfile
import time

from ansible.module_utils.basic import AnsibleModule

FIELDS = ("address", "mask", "gateway", "dns1", "dns2")


def oneline(text):
    return " ".join(line.strip() for line in str(text).split("\n") if line.strip())


class Pull:
    def __init__(self, module):
        self.module = module
        self.p = module.params
        self.state_file = os.path.join(self.p["state_dir"], "pull-state.json")
        self.report_file = os.path.join(self.p["state_dir"], "pull-report.json")

    def run(self, arguments, data=None):
        """The program's JSON answer and exit status."""
        command = [self.p["program"], "--language", "en", "--json"]
        if self.p.get("settings"):
            command += ["--settings", self.p["settings"]]
        done = subprocess.run(command + arguments, input=data.encode() if data else None,
                              capture_output=True, check=False)
        lines = [line for line in done.stdout.decode().split("\n") if line.startswith("{")]
        if not lines:
            raise RuntimeError("the program gave no answer (exit status %s): %s"
                               % (done.returncode, oneline(done.stderr.decode())))
        return json.loads(lines[-1]), done.returncode

    def load_state(self):
        try:
            with open(self.state_file, encoding="utf-8") as f:
                return json.load(f)
        except (OSError, ValueError):
            return {}

    def save(self, path, data):
        os.makedirs(os.path.dirname(path), mode=0o755, exist_ok=True)
        temp = path + ".new"
        with open(temp, "w", encoding="utf-8") as f:
            json.dump(data, f, ensure_ascii=False, indent=1)
            f.flush()
            os.fsync(f.fileno())
        os.replace(temp, path)

    def server(self):
        host, _, port = self.p["server"].rpartition(":")
        if not host or not port.isdigit():
            raise RuntimeError("server %r is not HOST:PORT" % self.p["server"])
        return host.strip("[]"), int(port)

    def reaches(self, host, port):
        """Whether the shop's server takes a connection from the till within reach_seconds."""
        deadline = time.monotonic() + self.p["reach_seconds"]
        while True:
            try:
                with socket.create_connection((host, port), timeout=1) as s:
                    # The server, not the till answering itself through a local address.
                    if s.getpeername()[0] != s.getsockname()[0]:
                        return True
            except OSError:
                pass
            if time.monotonic() >= deadline:
                return False
            time.sleep(0.5)

    def converge(self):
        state = self.load_state()
        profiles = self.p["profiles"] or {}
        wanted = json.dumps({n: {k: str((v or {}).get(k) or "") for k in FIELDS}
                             for n, v in profiles.items()}, ensure_ascii=False)
        yes = ["--yes"] if self.p["doubtful"] else []
        answer, rc = self.run(["--import-profiles", "-"] + yes, wanted)
        if rc != 0:
            bad = ["%s: %s" % (v["name"], oneline(v.get("reason", "")))
                   for v in answer.get("profiles", []) if v.get("code")]
            return "the profiles were refused, none was written: %s" % "; ".join(
                bad or [oneline(answer.get("reason"))]), answer.get("code"), False
        changed = any(v.get("changed") for v in answer.get("profiles", []))
        values = {v["name"]: v["value"] for v in answer.get("profiles", [])}
        # Profiles this module wrote that the shop no longer lists; a till's own are kept.
        for gone in sorted(set(state.get("written", [])) - set(values)):
            deleted, _ = self.run(["--delete-profile", gone])
            changed = changed or bool(deleted.get("changed"))
        state["written"] = sorted(values)
        self.save(self.state_file, state)

        name = self.p["profile"]
        value = values.get(name)
        if value is None:
            return "%s is not among the shop's profiles" % name, "no-such-profile", changed
        asked = {"name": name, "value": value}
        put_back = state.get("putBack") or {}
        if {k: put_back.get(k) for k in asked} == asked:
            return ("not applied again: it was put back at %s (%s); it is tried again once the "
                    "repository changes it" % (put_back.get("at"), put_back.get("why"))), \
                "put-back-before", changed
        host, port = self.server()
        arguments = ["--apply", name] + yes
        if self.p.get("adapter") is not None:
            arguments += ["--adapter", str(self.p["adapter"])]
        answer, rc = self.run(arguments + ["--confirm-within", str(self.p["trial_seconds"])])
        if rc != 0:
            return "the till did not take %s: %s" % (name, oneline(answer.get("reason"))), \
                answer.get("code"), changed
        if not answer.get("changed"):
            state.pop("putBack", None)
            self.save(self.state_file, state)
            return "%s already so" % name, "already-held", changed
        request = answer.get("request")
        remote = self.settled_start(request)
        if remote.get("state") != "applied":
            return "%s was not applied: %s" % (name, oneline(remote.get("reason"))), \
                remote.get("code") or remote.get("state"), changed
        if self.reaches(host, port):
            kept, rc = self.run(["--confirm", request])
            if rc == 0:
                state.pop("putBack", None)
                self.save(self.state_file, state)
                return "%s applied and kept (the till reached %s:%d)" % (name, host, port), \
                    "confirmed", True
            why = oneline(kept.get("reason"))
        else:
            why = "the till did not reach %s:%d within %d s" % (host, port,
                                                               self.p["reach_seconds"])
            self.run(["--undo", request])
        state["putBack"] = dict(asked, at=time.strftime("%Y-%m-%dT%H:%M:%S%z"), why=why)
        self.save(self.state_file, state)
        return "%s put back: %s" % (name, why), "put-back", True

    def settled_start(self, request):
        """The remote change once its detached run has made it (or refused it)."""
        deadline = time.monotonic() + 60
        while True:
            status, _ = self.run(["--status"])
            remote = status.get("remote") or {}
            if remote.get("request") == request and remote.get("state") not in (
                    "starting", "applying"):
                return remote
            if time.monotonic() >= deadline:
                return remote
            time.sleep(0.5)

    def report(self, outcome, code, changed):
        status, _ = self.run(["--status"])
        report = {"till": self.p["till"], "profile": self.p["profile"], "outcome": outcome,
                  "code": code, "changed": changed, "current": status.get("current"),
                  "local": status.get("local"), "time": time.strftime("%Y-%m-%dT%H:%M:%S%z")}
        self.save(self.report_file, report)
        if self.p.get("report_repo"):
            self.push_report(report)
        return report

    def push_report(self, report):
        """The report as the one commit of the till's own branch (report/TILL): tills never
        push to the same branch, so none waits for another."""
        with tempfile.TemporaryDirectory() as folder:
            with open(os.path.join(folder, "%s.json" % self.p["till"]), "w",
                      encoding="utf-8") as f:
                json.dump(report, f, ensure_ascii=False, indent=1)
            git = ["git", "-C", folder, "-c", "user.name=%s" % self.p["till"],
                   "-c", "user.email=%s@tills" % self.p["till"]]
            for step in (["init", "-q"], ["add", "-A"], ["commit", "-q", "-m",
                                                        "%s: %s" % (self.p["till"],
                                                                    report["outcome"])],
                         ["push", "-q", "--force", self.p["report_repo"],
                          "HEAD:refs/heads/report/%s" % self.p["till"]]):
                subprocess.run(git + step, check=True, capture_output=True)


def main():
    module = AnsibleModule(
        argument_spec=dict(
            program=dict(type="path", required=True),
            settings=dict(type="path"),
            till=dict(type="str", required=True),
            profiles=dict(type="dict", default={}),
            profile=dict(type="str", required=True),
            adapter=dict(type="str"),
            server=dict(type="str", required=True),
            trial_seconds=dict(type="int", default=60),
            reach_seconds=dict(type="int", default=30),
            doubtful=dict(type="bool", default=False),
            state_dir=dict(type="path", default="/var/lib/nuvar-pos-zelvi-ip"),
            report_repo=dict(type="str"),
        ),
        supports_check_mode=False,
    )
    pull = Pull(module)
    try:
        outcome, code, changed = pull.converge()
        report = pull.report(outcome, code, changed)
    except (RuntimeError, OSError, subprocess.CalledProcessError) as e:
        module.fail_json(msg=oneline(e))
    failed = code not in ("confirmed", "already-held", "put-back-before")
    if failed:
        module.fail_json(msg=outcome, code=code, report=report, changed=changed)
    module.exit_json(msg=outcome, code=code, report=report, changed=changed)


if __name__ == "__main__":
    main()
