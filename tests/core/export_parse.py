#!/usr/bin/env python3
"""Profiles with odd names and interfaces with odd names, exported as another tool's file and
read back as that tool reads it (YAML 1.1 for netplan and nmstate, networkd's line rules):
exactly one interface, the one asked for, with exactly the profile; and every JSON answer
about such a name is one line for a reader that splits lines wherever Python does."""
import argparse
import json
import os
import subprocess
import sys
import tempfile

import yaml

# Names a technician or an import can store; each once broke a line where a reader ends one.
NAMES = [
    "Kasa\u2028    evil0:\u2028      addresses: [10.66.0.1/8]",
    "Kasa\u2029evil1:",
    "Kasa\u0085evil2:",
    "Kasa\x0b\x0c\x1c\x1d\x1e",
    "Işık # \"tırnak\" ' : - [ ] { }",
    "\x1b[31mrenk\u202e",
]
# Interface names a YAML 1.1 reader would take for a number, a boolean, null or a float.
INTERFACES = ["enp1s0", "123", "on", "true", "null", "-", "0x1f", "1e5", "yes", "Off", ".inf",
              "08", "1_0", "0o7"]
ADDRESS = "10.1.2.3"


def run(program, settings, *args):
    done = subprocess.run([program, "--settings", settings, *args], capture_output=True,
                          env={**os.environ, "LC_ALL": "C.UTF-8"})
    return done.returncode, done.stdout.decode("utf-8")


def check_networkd(text, interface):
    lines = [line for line in text.split("\n") if line and line[0] not in "#;"]
    names = [line[len("Name="):] for line in lines if line.startswith("Name=")]
    addresses = [line[len("Address="):] for line in lines if line.startswith("Address=")]
    return names == [interface] and addresses == [ADDRESS + "/24"]


def check_netplan(text, interface):
    ethernets = yaml.safe_load(text)["network"]["ethernets"]
    return list(ethernets) == [interface] and ethernets[interface]["addresses"] == [ADDRESS + "/24"]


def check_nmstate(text, interface):
    document = yaml.safe_load(text)
    interfaces = document["interfaces"]
    routes = document["routes"]["config"]
    return (set(document) == {"interfaces", "routes", "dns-resolver"} and len(interfaces) == 1
            and interfaces[0]["name"] == interface
            and interfaces[0]["ipv4"]["address"] == [{"ip": ADDRESS, "prefix-length": 24}]
            and [r["next-hop-interface"] for r in routes] == [interface])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    program = parser.parse_args().program
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        settings = os.path.join(folder, "ayar.config")
        with open(settings, "w", encoding="utf-8", newline="\n") as f:
            f.write("[Profiles]\n")
            for name in NAMES:
                f.write(f"{name}={ADDRESS}.255.255.255.0.10.1.2.1.10.1.2.1....\n")
        checks = {"networkd": check_networkd, "netplan": check_netplan, "nmstate": check_nmstate}
        for name in NAMES:
            status, out = run(program, settings, "--show", name, "--json")
            if status != 0 or len(out.splitlines()) != 1 or json.loads(out).get("name") != name:
                failures.append(f"--show --json {name!r}: {status} {out!r}")
            for form, check in checks.items():
                for interface in INTERFACES:
                    status, out = run(program, settings, "--export-profile", name, "--format", form,
                                      "--interface", interface)
                    try:
                        good = status == 0 and check(out, interface)
                    except (yaml.YAMLError, KeyError, TypeError, IndexError) as e:
                        good = False
                        out += f"\n({e})"
                    if not good:
                        failures.append(f"{form} {name!r} on {interface!r}: {status}\n{out}")
    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
