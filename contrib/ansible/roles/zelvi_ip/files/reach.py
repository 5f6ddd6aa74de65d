#!/usr/bin/env python3
"""Which of a till's addresses answers: reach.py SECONDS PORT ADDRESS... prints the first
address (in the order given, among those that answer in the same round) whose port accepts a
connection, trying every half second for SECONDS; prints nothing when none does. Runs on the
control node, so finding a till costs no connection to it."""
import socket
import sys
import time


def answers(address, port):
    try:
        with socket.create_connection((address, port), timeout=0.5):
            return True
    except OSError:
        return False


def main():
    seconds, port, addresses = float(sys.argv[1]), int(sys.argv[2]), sys.argv[3:]
    deadline = time.monotonic() + seconds
    while True:
        for address in addresses:
            if answers(address, port):
                print(address)
                return
        if time.monotonic() >= deadline:
            return
        time.sleep(0.5)


main()
