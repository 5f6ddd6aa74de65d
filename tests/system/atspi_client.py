# Drives the program as a screen reader's user would, through the accessibility bus alone
# (pyatspi): in each language, every object that takes the focus in the main window, the
# profile editor and the adapter dialog has the name and role that say what it is, and a
# profile is created and applied by pressing buttons, setting texts and selecting rows; the
# address lines are read with what they show and the window with what its caption says.
#   atspi_client.py PROGRAM FOLDER
import os
import re
import subprocess
import sys
import time

import pyatspi

PROGRAM, FOLDER = sys.argv[1:3]

EXPECTED = {
    "tr": {
        "window": "ZELVİ IP AYAR EKRANI",
        "local": "BİLGİSAYAR IP", "external": "MODEM IP", "no service": "SERVİS YOK",
        "main": [("list", "ZELVİ IP SEÇ")] + [("push button", b) for b in (
            "EKLE", "DÜZENLE", "KOPYALA", "SİL", "ZELVİ IP UYGULA", "OTOMATİK IP UYGULA",
            "MODEME GİT", "PORT TESTİ", "BİLLGİSAYAR IPLERİ")],
        "editor": "Profil",
        "name": "AYAR ADI",
        "rows": ["ZELVİ IP", "MASKE", "MODEM IP", "DNS 1", "DNS 2"],
        "box": "{row}, {part}. bölüm",
        "save": "KAYDET", "close": "KAPAT",
        "adapters": "Ağ bağdaştırıcısı seçimi",
        "all": "Tüm Ağ Bağdaştırıcılarında Etkinleştir",
        "adapter list": "Seleziona la Sceda di Rete",
    },
    "en": {
        "window": "ZELVİ IP SETTINGS",
        "local": "COMPUTER IP", "external": "MODEM IP", "no service": "NO SERVICE",
        "main": [("list", "SELECT ZELVİ IP")] + [("push button", b) for b in (
            "ADD", "EDIT", "COPY", "DELETE", "APPLY ZELVİ IP", "APPLY AUTOMATIC IP",
            "GO TO MODEM", "PORT TEST", "REFRESH IP ADDRESSES")],
        "editor": "Profile",
        "name": "NAME",
        "rows": ["ZELVİ IP", "MASK", "MODEM IP", "DNS 1", "DNS 2"],
        "box": "{row}, part {part}",
        "save": "SAVE", "close": "CLOSE",
        "adapters": "Network adapter selection",
        "all": "Enable on All Network Adapters",
        "adapter list": "Select the network adapter",
    },
}
ADDRESSES = "192.168.7.40 255.255.255.0 192.168.7.1 192.168.7.1 8.8.8.8".split()


def wait_for(what, find, seconds=20):
    until = time.monotonic() + seconds
    while time.monotonic() < until:
        try:
            found = find()
        except Exception:  # an object that went away while it was read
            found = None
        if found:
            return found
        time.sleep(0.1)
    raise SystemExit("not found in %d s: %s\nshown: %s" % (seconds, what, shown()))


def shown():
    """The program's windows and their texts, for a failure's message."""
    def texts(root):
        found = []
        for child in root:
            if child.getRoleName() in ("label", "text", "push button") and child.name:
                found.append(child.name)
            found += texts(child)
        return found
    app = application()
    return [] if app is None else [(w.getRoleName(), w.name, texts(w)) for w in app]


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Nuvar_POS_Zelvi_IP":
            return app
    return None


def top(app, role, name):
    for child in app:
        if child.getRoleName() == role and child.name == name and \
                child.getState().contains(pyatspi.STATE_SHOWING):
            return child
    return None


def focusable(root):
    found = []
    for child in root:
        if child.getState().contains(pyatspi.STATE_FOCUSABLE) and \
                child.getRoleName() != "list item":
            found.append(child)
        found += focusable(child)
    return found


def named(objects):
    return sorted((o.getRoleName(), o.name) for o in objects)


def labels(root):
    """The labels below root, by name."""
    found = {}
    for child in root:
        if child.getRoleName() == "label" and child.name:
            found[child.name] = child
        found.update(labels(child))
    return found


def press(root, name):
    button = [o for o in focusable(root) if o.name == name][0]
    button.queryAction().doAction(0)


def check(what, got, expected):
    if got != expected:
        raise SystemExit("%s:\n  got      %r\n  expected %r" % (what, got, expected))


def run(language):
    words = EXPECTED[language]
    settings = os.path.join(FOLDER, "settings-%s.config" % language)
    computer = os.path.join(FOLDER, "pc-%s.json" % language)
    with open(settings, "w", encoding="utf-8") as f:
        f.write("[Profiles]\nKasa=192.168.5.50.255.255.255.0.192.168.5.254.192.168.5.254....\n")
    program = subprocess.Popen([PROGRAM, "--language", language, "--settings", settings,
                                "--backend", "simulated=" + computer])
    try:
        app = wait_for("the program", application)
        window = wait_for("the main window", lambda: top(app, "frame", words["window"]))
        check("main window", named(focusable(window)), sorted(words["main"]))

        profile = "Kasa 7 " + language
        press(window, words["main"][1][1])  # EKLE / ADD
        editor = wait_for("the editor", lambda: top(app, "dialog", words["editor"]))
        boxes = [("text", words["box"].format(row=row, part=part))
                 for row in words["rows"] for part in range(1, 5)]
        check("editor", named(focusable(editor)),
              sorted(boxes + [("text", words["name"]), ("push button", words["save"]),
                              ("push button", words["close"])]))
        texts = {o.name: o for o in focusable(editor) if o.getRoleName() == "text"}
        texts[words["name"]].queryEditableText().setTextContents(profile)
        octets = ".".join(ADDRESSES).split(".")
        for (_, name), octet in zip(boxes, octets):
            texts[name].queryEditableText().setTextContents(octet)
        press(editor, words["save"])  # saved; the editor stays open until it is closed
        listed = [o for o in focusable(window) if o.getRoleName() == "list"][0]
        rows = wait_for("the new profile in the list",
                        lambda: [c.name for c in listed] if profile in
                        [c.name for c in listed] else None)
        press(editor, words["close"])
        wait_for("the editor to close", lambda: top(app, "dialog", words["editor"]) is None)
        listed.queryTable().addRowSelection(rows.index(profile))
        press(window, words["main"][5][1])  # ZELVİ IP UYGULA / APPLY ZELVİ IP
        dialog = wait_for("the adapter dialog", lambda: top(app, "dialog", words["adapters"]))
        check("adapter dialog", named(focusable(dialog)),
              sorted([("check box", words["all"]), ("list", words["adapter list"]),
                      ("push button", words["save"]), ("push button", words["close"])]))
        adapters = [o for o in focusable(dialog) if o.getRoleName() == "list"][0]
        adapters.queryTable().addRowSelection(0)
        press(dialog, words["save"])

        def applied():
            with open(settings, encoding="utf-8") as f:
                return "ProfileName=" + profile in f.read()
        wait_for("the profile applied and recorded", applied)
        with open(computer, encoding="utf-8") as f:
            check("address on the adapter", "192.168.7.40" in f.read(), True)
        # The address lines say what they show; the window says what its caption says.
        lines = labels(window)
        wait_for("the external address line's text",
                 lambda: lines[words["external"]].description == words["no service"])
        local = lines[words["local"]].description
        check("the computer's address line is read as an address",
              bool(re.fullmatch(r"\d+\.\d+\.\d+\.\d+", local)), True)
        wait_for("the window's description naming the profile",
                 lambda: "(" + profile + ")" in window.description)
        print("%s: names and roles as expected; profile created and applied" % language)
    finally:
        program.terminate()
        program.wait(10)


for language in ("tr", "en"):
    run(language)
