# The role's one task per till (its options: library/zelvi_ip.py): finds the till at either of
# its addresses, has its program write the profiles and apply the till's own on trial, looks
# for the till at its new address and confirms the change from there; when that fails, finds
# out what became of the change and says it. The program runs over the task's SSH connection as
# a plain command (no module is sent: a till costs the control node little), in English, and
# its answers are read by their codes; in check mode it only says what would change.
import hashlib
import json
import os
import re
import shlex
import socket
import subprocess
import tempfile
import time

from ansible.errors import AnsibleConnectionFailure
from ansible.module_utils.parsing.convert_bool import boolean
from ansible.plugins.action import ActionBase
from ansible.utils.display import Display

display = Display()


def answers(address, port):
    try:
        with socket.create_connection((address, port), timeout=0.5):
            return True
    except OSError:
        return False


def first_answering(addresses, port, seconds):
    """The first of the addresses whose SSH port takes a connection within `seconds`, tried
    every half second, or None."""
    deadline = time.monotonic() + seconds
    while True:
        for address in addresses:
            if answers(address, port):
                return address
        if time.monotonic() >= deadline:
            return None
        time.sleep(0.5)


FIELDS = ("address", "mask", "gateway", "dns1", "dns2")


def problems(args):
    """What would be refused in the task's settings and the shop's profiles, found on the
    control node before any till is touched: the profiles judged by the program itself (the
    same rules as on the till), the addresses the play connects to, the trial's length."""
    found = []
    profiles = args.get("profiles") or {}
    if args.get("action") == "converge":
        if args.get("profile") not in (args.get("known") or profiles):
            found.append("zelvi_profile (%s) names none of zelvi_profiles (%s)"
                         % (args.get("profile"), ", ".join(args.get("known") or profiles)))
        trial = int(args.get("trial_seconds", 60))
        if not 10 <= trial <= 3600:
            found.append("zelvi_trial_seconds (%s) must be 10-3600" % trial)
        elif trial < int(args.get("reach_seconds", 30)) + 12:
            found.append("zelvi_trial_seconds (%s) must be at least zelvi_reach_seconds (%s) + 12"
                         % (trial, args.get("reach_seconds")))
    for name, fields in profiles.items():
        for field in FIELDS:
            value = str((fields if isinstance(fields, dict) else {}).get(field) or "").strip()
            # The play connects to the address: "010.099.000.031" is another address to the C
            # library (octal), and the till would be looked for where it never is.
            if re.fullmatch(r"[\d.]+", value) and any(len(o) > 1 and o[0] == "0"
                                                      for o in value.split(".")):
                found.append("%s: %s %s has a leading zero; write it as %s"
                             % (json.dumps(name, ensure_ascii=False), field, json.dumps(value),
                                ".".join(str(int(o or 0)) for o in value.split("."))))
    return found + judged(args.get("control_program"), profiles, bool(args.get("doubtful")))


def judged(program, profiles, doubtful):
    """The program's own judgement of the profiles (an import's dry run into an empty settings
    file on the control node): each refused one with the program's reason. Every till of a play
    is given the same profiles: the judgement is kept on the control node by what was judged
    (the profiles, the program file as it is now), so a play and the next one judge once."""
    if not profiles:
        return []
    if not program or not os.access(program, os.X_OK):
        return ["the program is not on the control node at %s (zelvi_control_program): it checks "
                "the profiles before any till is touched" % program]
    given = pushed(profiles)
    info = os.stat(program)
    key = hashlib.sha256(json.dumps([os.path.realpath(program), info.st_size, info.st_mtime_ns,
                                     doubtful, given]).encode()).hexdigest()
    kept = os.path.join(cache_folder(), "judged-%s.json" % key)
    try:
        with open(kept, encoding="utf-8") as f:
            found = json.load(f)
        if isinstance(found, list) and all(isinstance(p, str) for p in found):
            return found
    except (OSError, ValueError):
        pass  # judged again
    with tempfile.TemporaryDirectory() as folder:
        done = subprocess.run(
            [program, "--language", "en", "--json", "--settings",
             os.path.join(folder, "profiles.config"), "--import-profiles", "-", "--dry-run"]
            + (["--yes"] if doubtful else []), input=given.encode(),
            capture_output=True, timeout=120, check=False,
            env=dict(os.environ, LC_ALL="C.UTF-8", HOME=folder, XDG_CONFIG_HOME=folder))
    lines = [line for line in done.stdout.decode().split("\n") if line.startswith("{")]
    if not lines:
        return ["the program on the control node gave no answer (exit status %s): %s"
                % (done.returncode, done.stderr.decode().strip())]
    found = []
    if done.returncode != 0:
        answer = json.loads(lines[-1])
        found = ["%s: %s" % (json.dumps(v["name"], ensure_ascii=False),
                             oneline(v.get("reason", "")))
                 for v in answer.get("profiles", []) if v.get("code")] or [
                     oneline(answer.get("reason"))]
    try:
        write_whole(kept, found)
    except OSError:
        pass  # not kept (a full disk, say): the next till's task judges them again
    return found


def cache_folder():
    return os.path.join(os.path.expanduser("~"), ".cache", "nuvar-pos-zelvi-ip")


def write_whole(path, value):
    """`value` as the file's JSON, whole or not at all (another till's worker may read it)."""
    os.makedirs(os.path.dirname(path), mode=0o700, exist_ok=True)
    with tempfile.NamedTemporaryFile("w", encoding="utf-8", dir=os.path.dirname(path),
                                     delete=False) as f:
        json.dump(value, f)
    os.replace(f.name, path)


def pushed(profiles):
    """The shop's profiles as the program's import reads them (JSON)."""
    return json.dumps({name: {k: str((v or {}).get(k) or "") for k in FIELDS}
                       for name, v in profiles.items()}, ensure_ascii=False)


def oneline(text):
    """The program's text (lines for a terminal) as one line of the play's output."""
    return " ".join(line.strip() for line in str(text).split("\n") if line.strip())


def folded(name):
    """A profile's name as the program compares names (the Turkish capital dotted I too)."""
    return name.strip(" \t").replace("\u0130", "i").casefold()


def held(h):
    if not h:
        return "unknown"
    if h.get("dhcp"):
        return "automatic (DHCP)"
    return "%s/%s gateway %s dns %s" % (h["address"], h["mask"], h["gateway"],
                                        ",".join(h["dns"]))


def login_problem(message):
    if re.search(r"Host key verification failed|IDENTIFICATION HAS CHANGED", message):
        return ("its SSH host key has changed (a reinstalled till, or another computer at this "
                "address); check it, then replace the key in known_hosts")
    if "Permission denied" in message:
        return "ssh refused the login (user or key)"
    message = re.sub(r"(ssh: )+", "ssh: ", message.replace("\r", "")).strip()
    return message or "the connection failed"


class Till(Exception):
    """The till's own failure: what the play says about it."""


class ActionModule(ActionBase):
    TRANSFERS_FILES = False
    _VALID_ARGS = frozenset(("program", "control_program", "settings", "address_service",
                             "action", "profiles",
                             "known", "profile",
                             "address", "adapter", "trial_seconds", "reach_seconds",
                             "find_seconds", "port", "doubtful", "wait_for_put_back"))

    def run(self, tmp=None, task_vars=None):
        result = super().run(tmp, task_vars)
        self._vars = task_vars or {}
        args = self._task.args
        self._port = int(args.get("port", 22))
        self._program = {"program": args["program"]}
        if args.get("settings"):
            self._program["settings"] = args["settings"]
        inventory = self._play_context.remote_addr
        new = args.get("address") or inventory
        self._where = inventory
        self._request = None  # the change this task asked for, as the till named it
        self._answered = {}  # answers of commands sent ahead in one round trip
        if args["action"] in ("check", "converge"):
            found = problems(args)
            if found:
                return dict(result, failed=True, msg="; ".join(found))
        try:
            found = first_answering([inventory, new], self._port, int(args.get("find_seconds", 5)))
            pending = self._pending()
            if not found and pending and args["action"] == "converge":
                # A change this play started is on trial where the control node cannot reach
                # the till (an earlier run was stopped): it is back when its trial ends.
                found = first_answering([pending["old"], pending["new"], inventory], self._port,
                                        max(0, pending["until"] - time.time()) + 15)
                if found:
                    self._talk_to(found)
                    raise Till(self._what_became(pending))
            if not found:
                raise Till("it answers neither at %s (the inventory) nor at %s (its profile's "
                           "address) on port %d within %s s: is it on, and on this network?"
                           % (inventory, new, self._port, args.get("find_seconds", 5)))
            self._talk_to(found)
            if args["action"] == "check":
                result["msg"] = "the profiles can be stored; the till answers at %s" % found
            elif args["action"] == "status":
                result.update(self._status(), found_at=found)
                result["profiles"] = [v["name"] for v in self._run(["--list"])[0]
                                      .get("profiles", [])]
            else:
                result.update(self._converge(args, found, new))
        except Till as e:
            result.update(failed=True, msg=str(e))
        # Where the till answered, for the install's tasks that follow (ansible_host itself is a
        # name a module's facts may not set).
        result.setdefault("ansible_facts", {})["zelvi_found_at"] = self._where
        return result

    def _memory(self):
        """Where the control node remembers a change it started on this till until it knows
        what became of it (a stopped play's successor reads it)."""
        return os.path.join(cache_folder(), "%s.json" % self._task_host())

    def _pending(self):
        try:
            with open(self._memory(), encoding="utf-8") as f:
                return json.load(f)
        except (OSError, ValueError):
            return None

    def _remember(self, pending):
        path = self._memory()
        if pending is None:
            if os.path.exists(path):
                os.remove(path)
            return
        write_whole(path, pending)

    def _what_became(self, pending):
        """The change an earlier run left on trial, as the till tells it now."""
        self._remember(None)
        status = self._status()
        remote = status.get("remote") or {}
        now = ("profile " + status["current"] if status.get("current")
               else "automatic addressing (DHCP)")
        if remote.get("request") == pending.get("request") and remote.get("state") == "confirmed":
            return ("%s (%s), started by an earlier play, was kept; the till "
                    "answers at %s with %s" % (pending["profile"], pending["new"], self._where, now))
        return ("%s (%s), started by an earlier play, did not stay: the till could "
                "not be reached there, and it put the earlier settings back at the end of the trial "
                "(state on the till: %s); it answers at %s with %s. Nothing was started again"
                % (pending["profile"], pending["new"], remote.get("state", "none"), self._where,
                   now))

    def _talk_to(self, address):
        self._where = address
        self._connection.set_option("host", address)
        self._play_context.remote_addr = address

    def _command(self, arguments):
        command = [self._task.args["program"], "--language", "en", "--json"]
        if self._task.args.get("settings"):
            command += ["--settings", self._task.args["settings"]]
        return " ".join(shlex.quote(str(a)) for a in command + arguments)

    def _execute(self, command, data=None):
        try:
            return self._low_level_execute_command(
                command, in_data=data.encode() if data is not None else None)
        except AnsibleConnectionFailure as e:
            raise Till("it answers at %s but could not be logged in to: %s"
                       % (self._where, login_problem(str(e))))

    def _answer(self, stdout, rc, stderr=""):
        # Split at line feeds alone: str.splitlines() also splits at U+2028 and the like, which
        # a profile's name may hold.
        lines = [line for line in stdout.split("\n") if line.startswith("{")]
        if not lines:
            if rc in (126, 127):
                raise Till("the program is not installed on the till at %s (zelvi_install: true "
                           "installs it; zelvi_program names another place)"
                           % self._task.args["program"])
            raise Till("the program gave no answer (exit status %s): %s"
                       % (rc, (stderr or stdout).strip()))
        return json.loads(lines[-1]), rc

    def _run(self, arguments, data=None):
        """The program's JSON answer and exit status, over the task's connection (or as the
        pair that asked for it already answered); a broken connection is the till's failure,
        said plainly."""
        if tuple(arguments) in self._answered:
            return self._answered.pop(tuple(arguments))
        done = self._execute(self._command(arguments), data)
        return self._answer(done.get("stdout", ""), done.get("rc"), done.get("stderr", ""))

    def _run_pair(self, first, data, then):
        """Two commands in one round trip over the connection: `then` (without input) only
        when `first` succeeded. Their answers wait for _run()."""
        mark = "@zelvi-status "
        done = self._execute("%s; s=$?; echo; echo %s$s; [ $s -ne 0 ] || { %s </dev/null; "
                             "s=$?; echo; echo %s$s; }" % (self._command(first), mark,
                                                           self._command(then), mark), data)
        parts, outputs = [], done.get("stdout", "").split("\n" + mark)
        for output, rest in zip(outputs, outputs[1:]):
            parts.append((output, int(rest.split("\n")[0] or 1)))
        if not parts:
            return
        self._answered[tuple(first)] = self._answer(parts[0][0], parts[0][1],
                                                    done.get("stderr", ""))
        if len(parts) > 1:
            self._answered[tuple(then)] = self._answer(parts[1][0], parts[1][1],
                                                       done.get("stderr", ""))

    def _refused(self, answer, what):
        return Till("%s: %s (%s)" % (what, oneline(answer.get("reason", "")),
                                     answer.get("code", "failed")))

    def _status(self):
        answer, _ = self._run(["--status"])
        return answer

    def _keep(self, request):
        """--confirm of that request alone (another change waiting there is left as it is):
        None when kept, else why not."""
        answer, rc = self._run(["--confirm"] + ([request] if request else []))
        return None if rc == 0 else "%s (%s)" % (oneline(answer.get("reason", "")),
                                                 answer.get("code"))

    def _address_service(self, url):
        """The shop's address service written on the till (in check mode only asked whether it
        would change); whether it changed."""
        arguments = ["--set-link", "ExternalAddressUrl", url]
        answer, rc = self._run(arguments + (["--dry-run"] if self._play_context.check_mode else []))
        if rc != 0:
            raise self._refused(answer, "the address service could not be written")
        return bool(answer.get("changed"))

    def _profile_arguments(self, doubtful):
        arguments = ["--import-profiles", "-"] + (["--yes"] if doubtful else [])
        return arguments + (["--dry-run"] if self._play_context.check_mode else [])

    def _apply_arguments(self, profile, adapter, doubtful):
        return (["--apply", profile] + (["--adapter", str(adapter)] if adapter is not None else [])
                + (["--yes"] if doubtful else []))

    def _profiles(self, profiles, doubtful):
        answer, rc = self._run(self._profile_arguments(doubtful), pushed(profiles))
        if rc != 0:
            bad = ["%s: %s" % (v["name"], oneline(v.get("reason", "")))
                   for v in answer.get("profiles", []) if v.get("code")]
            raise Till("the till refused the profiles, none was written: %s (%s)"
                       % ("; ".join(bad or [oneline(answer.get("reason", ""))]),
                          answer.get("code")))
        changed = [v for v in answer.get("profiles", []) if v.get("changed")]
        return bool(changed), {
            "before": "".join(v["before"] + "\n" for v in changed if v.get("before")),
            "after": "".join("%s=%s\n" % (v["name"], v["value"]) for v in changed)}

    def _apply(self, profile, adapter, trial, at_profile_address, doubtful, profiles):
        """(changed, code, diff): the profile applied on trial, or what would move (with the
        values the play pushes, when it pushes `profiles`, not the ones the till holds yet)."""
        arguments = self._apply_arguments(profile, adapter, doubtful)
        if self._play_context.check_mode:
            answer, rc = self._run(
                arguments + ["--dry-run"] + (["--with-profiles", "-"] if profiles else []),
                pushed(profiles) if profiles else None)
            # As the real run: a change of this very profile waiting on trial (the dry run
            # answers remote-waits, as the apply would) is confirmed, not refused.
            if (rc != 0 or answer.get("trialSecondsLeft") is not None) and self._left_on_trial(
                    profile, at_profile_address) is not None:
                return True, "would-confirm", {}
            if rc != 0:
                raise self._refused(answer, "the till would refuse the profile")
            moves = [a for a in answer.get("preview", []) if a.get("changes")]
            return bool(answer.get("changed")), answer.get("code"), {
                "before": "".join("%s: %s\n" % (a["caption"], held(a["from"])) for a in moves),
                "after": "".join("%s: %s\n" % (a["caption"], held(a["to"])) for a in moves)}
        answer, rc = self._run(arguments + ["--confirm-within", str(trial)])
        if rc != 0:
            # A change of this very profile waiting on trial, and the till answers at its
            # address: an earlier run of the play was stopped before it confirmed it.
            left = self._left_on_trial(profile, at_profile_address)
            if left is None and answer.get("code") == "remote-waits":
                # Another play (or an administrator) has a change waiting there: its own to
                # decide; this play changed nothing.
                remote = self._status().get("remote") or {}
                raise Till("another run's change waits on the till for its confirmation (profile "
                           "%s, request %s): this play changed nothing there; that run keeps or "
                           "undoes it, or its trial ends" % (remote.get("profile", "?"),
                                                             remote.get("request", "?")))
            if left is None:
                raise self._refused(answer, "the till did not take the profile, nothing was "
                                            "changed")
            why = self._keep(left)
            if why:
                raise Till("the change left on trial could not be kept: %s" % why)
            return True, "confirmed-pending", {}
        self._request = answer.get("request")
        if answer.get("changed"):
            self._remember({"profile": profile, "request": self._request,
                            "old": self._where, "new": self._task.args.get("address") or self._where,
                            "until": time.time() + trial + 5})
        return bool(answer.get("changed")), "applying" if answer.get("changed") else "held", {}

    def _left_on_trial(self, profile, at_profile_address):
        """The request of the change of this profile that the till, reached at the profile's
        address, waits on trial with (an earlier run's), or None."""
        if not at_profile_address:
            return None
        remote = self._status().get("remote") or {}
        if (remote.get("state") == "applied"
                and folded(remote.get("profile", "")) == folded(profile)):
            return remote.get("request") or ""
        return None

    def _task_host(self):
        return self._vars.get("inventory_hostname", self._play_context.remote_addr)

    def _tagged(self, tag):
        run = self._vars.get("ansible_run_tags", ["all"])
        skip = self._vars.get("ansible_skip_tags", [])
        return ("all" in run or tag in run) and tag not in skip

    def _converge(self, args, found, new):
        profile = args["profile"]
        changed, diffs = False, []
        outcome = "profiles only (--tags profiles)"
        adapter = args.get("adapter")
        adapter = None if adapter in (None, "") else str(adapter)
        doubtful = bool(args.get("doubtful", False))
        if self._tagged("profiles") and args.get("address_service"):
            changed = self._address_service(args["address_service"])
        if self._tagged("profiles") and self._tagged("apply") and not self._play_context.check_mode:
            # A till with nothing to change costs one round trip: the apply goes with the
            # profiles, and runs only when they were written.
            self._run_pair(self._profile_arguments(doubtful), pushed(args.get("profiles") or {}),
                           self._apply_arguments(profile, adapter, doubtful)
                           + ["--confirm-within", str(int(args.get("trial_seconds", 60)))])
        if self._tagged("profiles"):
            written, diff = self._profiles(args.get("profiles") or {},
                                           bool(args.get("doubtful", False)))
            changed = changed or written
            diffs.append(diff)
            outcome = "profiles saved" if changed else "profiles as they were"
        if self._tagged("apply"):
            moved, code, diff = self._apply(
                profile, adapter,
                int(args.get("trial_seconds", 60)), found == new, bool(args.get("doubtful")),
                (args.get("profiles") or {}) if self._tagged("profiles") else None)
            diffs.append(diff)
            changed = changed or moved
            if code != "applying" and not self._play_context.check_mode:
                self._remember(None)  # nothing of this play's left on trial there
            if self._play_context.check_mode:
                outcome = "would move" if moved else "already so"
            elif code == "confirmed-pending":
                outcome = "kept the change an earlier run left on trial"
            elif code == "applying":
                try:
                    outcome = self._confirm(args, found, new)
                except Till as e:
                    if not getattr(e, "pending", False):
                        self._remember(None)  # said, whatever became of it
                    raise
                self._remember(None)
            else:
                outcome = "already so, nothing changed"
        where = self._where
        display.display("%s: %s at %s: %s" % (self._task_host(), profile, where, outcome))
        return {"changed": changed, "diff": [d for d in diffs if d.get("before") or
                                             d.get("after")],
                "msg": "%s at %s: %s" % (profile, where, outcome), "outcome": outcome}

    def _confirm(self, args, old, new):
        """Confirms the change from the new address; otherwise says what became of it."""
        trial = int(args.get("trial_seconds", 60))
        reach = int(args.get("reach_seconds", 30))
        why = None
        if first_answering([new], self._port, reach):
            self._talk_to(new)
            try:
                why = self._keep(self._request)
                if not why:
                    return "applied and kept"
            except Till:
                why = "the connection at %s broke during --confirm" % new
        else:
            why = "it did not answer at %s within %d s" % (new, reach)
            if not boolean(args.get("wait_for_put_back", True)):
                # A big fleet's batch is not held for this till's trial: the next play waits
                # for it and says what became of the change.
                e = Till("%s (%s): %s; it puts its earlier settings back by itself when its "
                         "trial ends, by %s; the next play says what became of it"
                         % (args["profile"], new, why,
                            time.strftime("%H:%M:%S", time.localtime(time.time() + trial))))
                e.pending = True
                raise e
        # Kept or still on trial, the till answers at its new address; put back, at its old one.
        back = first_answering([new, old], self._port, trial + 15)
        if not back:
            raise Till("%s (%s): %s; the till answers neither there nor at %s since"
                       % (args["profile"], new, why, old))
        self._talk_to(back)
        status = self._status()
        remote = status.get("remote") or {}
        if back == new and remote.get("state") == "applied" and not self._keep(self._request):
            return "applied and kept (%s, confirmed at the second try)" % why
        if remote.get("state") == "confirmed":
            return "applied and kept (%s, but the till says it was kept)" % why
        deadline = time.monotonic() + trial + 15
        while status.get("trialSecondsLeft") is not None and time.monotonic() < deadline:
            time.sleep(2)
            try:
                status = self._status()
            except Till:
                # Put back meanwhile: the till answers at its old address again.
                if not first_answering([old], self._port, 15):
                    raise
                self._talk_to(old)
                status = self._status()
        remote = status.get("remote") or {}
        state = remote.get("state") or "none"
        said = {"putBack": "The till put the earlier settings back: the trial ran out, or "
                           "NetworkManager restarted, before the change was confirmed.",
                "refused": "The till refused it: %s" % remote.get("reason", ""),
                "undone": "It was undone on the till (--undo)."}
        raise Till("%s (%s) did not stay: %s. %s The till answers at %s again, with %s."
                   % (args["profile"], new, why,
                      said.get(state, "Its state on the till: %s." % state), self._where,
                      "profile " + status["current"] if status.get("current")
                      else "automatic addressing (DHCP)"))
