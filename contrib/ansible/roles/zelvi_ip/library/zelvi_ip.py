#!/usr/bin/python
# The till's side of the role: runs the program (in English, with --json) and reports what it
# said by its codes, with check mode and --diff.
DOCUMENTATION = r"""
module: zelvi_ip
short_description: Network profiles of a till, through the till's own program
description:
  - Writes the shop's profiles, applies one on trial, confirms it, or reads the till's state,
    each through the program installed on the till, which checks and writes its own settings.
  - In check mode nothing is changed: the program says what would change (--dry-run).
options:
  program: {type: path, required: true, description: The program on the till.}
  settings: {type: path, description: The settings file (the program's own when not given).}
  action:
    type: str
    required: true
    choices: [profiles, apply, confirm, status]
    description: What to do.
  profiles: {type: dict, default: {}, description: "NAME: {address, mask, gateway, dns1, dns2}"}
  profile: {type: str, description: The profile to apply.}
  adapter: {type: int, description: The adapter's number (all adapters when not given).}
  trial_seconds: {type: int, default: 60, description: How long the change stays on trial.}
  at_profile_address:
    type: bool
    default: false
    description: The till was reached at the profile's address (a change on trial there is kept).
  doubtful: {type: bool, default: false, description: Save and apply doubtful profiles too.}
"""
import json
import os

from ansible.module_utils.basic import AnsibleModule


def run(module, args, data=None):
    """The program's JSON answer and exit status; fails the task when it gave none."""
    p = module.params
    command = [p["program"], "--language", "en", "--json"]
    if p["settings"]:
        command += ["--settings", p["settings"]]
    rc, out, err = module.run_command(command + args, data=data)
    lines = [line for line in out.splitlines() if line.startswith("{")]
    if not lines:
        module.fail_json(msg="the program gave no answer (exit status %d): %s"
                         % (rc, (err or out).strip()), code="no-answer", rc=rc)
    return json.loads(lines[-1]), rc


def refuse(module, answer, what):
    module.fail_json(msg="%s: %s (%s)" % (what, answer.get("reason", "").strip(),
                                          answer.get("code", "failed")),
                     code=answer.get("code", "failed"), answer=answer)


def profiles(module):
    p = module.params
    wanted = {name: {k: str(v.get(k) or "") for k in ("address", "mask", "gateway", "dns1",
                                                         "dns2")}
              for name, v in p["profiles"].items()}
    args = ["--import-profiles", "-"] + (["--yes"] if p["doubtful"] else [])
    answer, rc = run(module, args + (["--dry-run"] if module.check_mode else []),
                     json.dumps(wanted, ensure_ascii=False))
    if rc != 0:
        bad = ["%s: %s" % (v["name"], v.get("reason", "")) for v in answer.get("profiles", [])
               if v.get("code")]
        module.fail_json(msg="the till refused the profiles, none was written: "
                         + "; ".join(bad or [answer.get("reason", "")]),
                         code=answer.get("code"), answer=answer)
    changed = [v for v in answer.get("profiles", []) if v.get("changed")]
    diff = {"before": "".join(v.get("before", "") + "\n" for v in changed if v.get("before")),
            "after": "".join("%s=%s\n" % (v["name"], v["value"]) for v in changed)}
    module.exit_json(changed=bool(changed), code=answer.get("code"), diff=diff,
                     profiles=[v["name"] for v in changed])


def folded(name):
    """A profile's name as the program compares names (Turkish capital dotted I too)."""
    return name.strip(" \t").replace("\u0130", "i").casefold()


def held(h):
    if not h:
        return "unknown"
    if h.get("dhcp"):
        return "automatic (DHCP)"
    return "%s/%s gateway %s dns %s" % (h["address"], h["mask"], h["gateway"],
                                        ",".join(h["dns"]))


def apply(module):
    p = module.params
    status, _ = run(module, ["--status"])
    remote = status.get("remote") or {}
    # A change of this very profile waiting on trial, and the till answers at its address:
    # an earlier run of the play was stopped before it confirmed it.
    if (p["at_profile_address"] and remote.get("state") == "applied"
            and folded(remote.get("profile", "")) == folded(p["profile"])):
        if module.check_mode:
            module.exit_json(changed=True, code="would-confirm", state="applied")
        answer, rc = run(module, ["--confirm"])
        if rc != 0:
            refuse(module, answer, "the change left on trial could not be kept")
        module.exit_json(changed=True, code="confirmed-pending", state="confirmed")
    args = ["--apply", p["profile"]] + (["--adapter", str(p["adapter"])]
                                         if p["adapter"] is not None else [])
    args += ["--yes"] if p["doubtful"] else []
    if module.check_mode:
        answer, rc = run(module, args + ["--dry-run"])
        if rc != 0:
            refuse(module, answer, "the till would refuse the profile")
        moves = [a for a in answer.get("preview", []) if a.get("changes")]
        module.exit_json(changed=answer.get("changed", False), code=answer.get("code"),
                         diff={"before": "".join("%s: %s\n" % (a["caption"], held(a["from"]))
                                                 for a in moves),
                               "after": "".join("%s: %s\n" % (a["caption"], held(a["to"]))
                                                for a in moves)})
    answer, rc = run(module, args + ["--confirm-within", str(p["trial_seconds"])])
    if rc != 0:
        refuse(module, answer, "the till did not take the profile, nothing was changed")
    module.exit_json(changed=answer.get("changed", False), code=answer.get("code"),
                     state="applying" if answer.get("changed") else "held")


def confirm(module):
    answer, rc = run(module, ["--confirm"])
    if rc != 0:
        module.fail_json(msg=answer.get("reason", "").strip(), code=answer.get("code"),
                         answer=answer)
    module.exit_json(changed=True, code=answer.get("code"))


def status(module):
    answer, _ = run(module, ["--status"])
    listed, _ = run(module, ["--list"])
    answer["profiles"] = [v["name"] for v in listed.get("profiles", [])]
    module.exit_json(changed=False, **answer)


def main():
    module = AnsibleModule(
        argument_spec=dict(
            program=dict(type="path", required=True),
            settings=dict(type="path"),
            action=dict(type="str", required=True,
                        choices=["profiles", "apply", "confirm", "status"]),
            profiles=dict(type="dict", default={}),
            profile=dict(type="str"),
            adapter=dict(type="int"),
            trial_seconds=dict(type="int", default=60),
            at_profile_address=dict(type="bool", default=False),
            doubtful=dict(type="bool", default=False),
        ),
        required_if=[("action", "apply", ["profile"])],
        supports_check_mode=True,
    )
    if not os.access(module.params["program"], os.X_OK):
        module.fail_json(msg="the program is not installed on the till at %s (zelvi_install: "
                         "true installs it; zelvi_program names another place)"
                         % module.params["program"], code="program-missing")
    if module.check_mode and module.params["action"] == "confirm":
        module.exit_json(changed=False, code="check-mode")
    {"profiles": profiles, "apply": apply, "confirm": confirm,
     "status": status}[module.params["action"]](module)


if __name__ == "__main__":
    main()
