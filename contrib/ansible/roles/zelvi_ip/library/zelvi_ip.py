#!/usr/bin/python
# The options of the role's task; the task itself is the role's action plugin of the same name,
# which runs on the control node and calls the till's program over the task's connection.
DOCUMENTATION = r"""
module: zelvi_ip
short_description: Network profiles of a till, through the till's own program
description:
  - Writes the shop's profiles, applies one on trial, confirms it, or reads the till's state,
    each through the program installed on the till, which checks and writes its own settings.
  - In check mode nothing is changed: the program says what would change (--dry-run).
  - The work is done on the control node by the role's action (action_plugins/zelvi_ip.py),
    which runs the program over the task's connection; this file names the options.
options:
  program: {type: path, required: true, description: The program on the till.}
  control_program:
    type: path
    description: The program on the control node, which judges the profiles before any till.
  settings: {type: path, description: The settings file (the program's own when not given).}
  address_service: {type: str, description: "The shop's address service, written on the till."}
  action:
    type: str
    required: true
    choices: [converge, check, status]
    description:
      - converge (the role's task) checks the profiles by the program's rules on the control
        node, then writes them and applies the till's own, confirmed from its new address;
        check only checks them; status reads the till's state.
  profiles: {type: dict, default: {}, description: "NAME: {address, mask, gateway, dns1, dns2}"}
  known: {type: list, elements: str, description: "Every profile's name of the shop."}
  profile: {type: str, description: The profile to apply.}
  adapter: {type: str, description: "The adapter: its number, its interface's name or all (not given: the till's only one)."}
  trial_seconds: {type: int, default: 60, description: How long the change stays on trial.}
  at_profile_address:
    type: bool
    default: false
    description: The till was reached at the profile's address (a change on trial there is kept).
  doubtful: {type: bool, default: false, description: Save and apply doubtful profiles too.}
  wait_for_put_back:
    type: bool
    default: true
    description: "converge: wait for the trial of a till out of reach, or fail it at once."
  address: {type: str, description: "converge: the profile's address, where the till moves."}
  reach_seconds: {type: int, default: 30, description: "converge: how long to look for it there."}
  find_seconds: {type: int, default: 5, description: "How long to look for the till at first."}
  port: {type: int, default: 22, description: The till's SSH port.}
"""
from ansible.module_utils.basic import AnsibleModule


def main():
    module = AnsibleModule(
        argument_spec=dict(
            program=dict(type="path", required=True),
            control_program=dict(type="path"),
            settings=dict(type="path"),
            address_service=dict(type="str"),
            action=dict(type="str", required=True,
                        choices=["converge", "check", "status"]),
            profiles=dict(type="dict", default={}),
            known=dict(type="list", elements="str"),
            profile=dict(type="str"),
            adapter=dict(type="str"),
            trial_seconds=dict(type="int", default=60),
            at_profile_address=dict(type="bool", default=False),
            doubtful=dict(type="bool", default=False),
            wait_for_put_back=dict(type="bool", default=True),
            # The control node's part of converge (the role's action plugin).
            address=dict(type="str"),
            reach_seconds=dict(type="int", default=30),
            find_seconds=dict(type="int", default=5),
            port=dict(type="int", default=22),
        ),
        required_if=[("action", "apply", ["profile"])],
        supports_check_mode=True,
    )
    module.fail_json(msg="zelvi_ip runs on the control node, through the zelvi_ip role's action")


if __name__ == "__main__":
    main()
