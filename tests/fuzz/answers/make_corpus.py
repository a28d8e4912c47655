#!/usr/bin/env python3
"""Writes the seed corpus of the receive-path fuzz entries from the simulator's answers.

    python3 tests/fuzz/answers/make_corpus.py build/bin/kestrel-receiver-sim

Starts the simulator on a private port folder, sends it the commands a channel read, a
search bank read and the group reads send, and turns the answer lines into seeds."""
import os
import subprocess
import sys
import tempfile
import termios
import time
import tty

HERE = os.path.dirname(os.path.abspath(__file__))

# What the operations send: region, a bank's main answers and header, one channel's
# detail chain (with an offset entry), a search bank's chain with the link list, groups.
COMMANDS = (["AZ"] + ["MA00%02d" % c for c in range(0, 6)] + ["MW00", "MR0000", "RX", "AU", "IF", "AT",
            "OL01", "OL20", "OF", "SQ", "NR", "AC", "CI", "SI", "DI", "CN", "SC", "DS", "DJ", "DC", "DW",
            "NM", "NC", "OT", "CM", "CC", "PM", "PC", "TS", "SR00", "SS00", "BK", "BK99", "SR39", "RX",
            "MG0", "SG1", "IX1", "MQ0049", "IX0", "XX", "", "EX"])


def read_line(fd, deadline):
    out = b""
    while time.time() < deadline:
        try:
            b = os.read(fd, 1)
        except BlockingIOError:
            time.sleep(0.002)
            continue
        if b == b"\r":
            return out
        if b != b"\n":
            out += b
    return None


def talk(sim, extra):
    with tempfile.TemporaryDirectory() as runtime:
        env = dict(os.environ, XDG_RUNTIME_DIR=runtime)
        p = subprocess.Popen([sim] + extra, env=env, stdout=subprocess.PIPE, text=True)
        try:
            device = p.stdout.readline().split()[2]
            fd = os.open(device, os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)
            tty.setraw(fd)
            answers = []
            for cmd in COMMANDS:
                os.write(fd, cmd.encode("latin-1") + b"\r\n")
                line = read_line(fd, time.time() + 1.0)
                if line is not None:
                    answers.append((cmd, line))
            os.close(fd)
            return answers
        finally:
            p.terminate()
            p.wait()


def write(folder, name, data):
    d = os.path.join(HERE, "corpus", folder)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, name), "wb") as f:
        f.write(data)


def main():
    sim = sys.argv[1]
    plain = talk(sim, [])
    full = talk(sim, ["--full", "--no-au"])
    lines = [a for _, a in plain]

    # Whole byte streams as the line assembly receives them.
    write("receive_line", "demo-read.bin", b"".join(a + b"\r\n" for a in lines))
    write("receive_line", "full-read-cr-only.bin", b"".join(a + b"\r" for _, a in full))
    write("receive_line", "prefixed.bin", b"".join(b"#>" + a + b"\r" for a in lines[:20]))
    write("receive_line", "overlong.bin", b"M" * 700 + b"\r" + lines[1] + b"\r")
    write("receive_line", "errors.bin", b"?\r30?\rMX?\r\r\n\r" + lines[0] + b"\r")

    # One file per parser: selector, index of the command last sent, the lines.
    by_key = {}
    for cmd, a in plain + full:
        by_key.setdefault(a[:2], []).append(a)
    memory = [a for a in lines if a[:2] not in (b"SE", b"BK", b"MG", b"SG")]
    write("answer_parser", "memory-read.bin", bytes([0, 2]) + b"\n".join(memory))
    write("answer_parser", "memory-read-after-ex.bin", bytes([0, 1]) + b"\n".join(memory[:5]))
    write("answer_parser", "memory-write.bin", bytes([1, 0]) + b"\n".join([b" ", b"20 ", b"?", b"30?", b"RX MR0000"]))
    search = [a for a in lines if a[:2] not in (b"MX", b"MW", b"MG", b"SG")]
    write("answer_parser", "search-read.bin", bytes([2, 4]) + b"\n".join(search))
    write("answer_parser", "search-write.bin", bytes([3, 5]) + b"\n".join(by_key.get(b"BK", [b"BK99"]) + [b" "]))
    write("answer_parser", "scan-group.bin", bytes([4, 0]) + b"\n".join(by_key.get(b"MG", [])))
    write("answer_parser", "search-group.bin", bytes([5, 0]) + b"\n".join(by_key.get(b"SG", [])))
    write("answer_parser", "mode-codes.bin", bytes([6, 0]) + b"\n".join([b"0F0", b"070", b"0F6", b"000", b"0X1"]))
    write("answer_parser", "link-lists.bin", bytes([7, 0]) + b"\n".join([b"BK0001053999", b"BK99", b"BK4", b"BK0x"]))
    write("answer_parser", "full-main-answers.bin", bytes([0, 2]) + b"\n".join(a for _, a in full))

    # Frequency texts: answer fields, typed forms; the first 8 bytes also seed the round trips.
    for i, text in enumerate([b"0145.00000", b"012.50", b"154.44375", b" 154.44375 ", b"3000.0",
                              b"-1.5", b"1.-5", b"4000", b"0.5", b"2999.999999"]):
        write("freq_text", "text-%02d.txt" % i, text)


if __name__ == "__main__":
    main()
