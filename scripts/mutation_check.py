#!/usr/bin/env python3
"""Applies, one at a time, faults the tests are meant to catch, and reports which tests fail.

Each mutation replaces one exact text of a source file (it must occur exactly once). The work is
done in a scratch worktree of the current commit (beside the checkout), built with the linux preset, so the checkout
itself is never touched.

  scripts/mutation_check.py [--worktree DIR] [--only NAME ...]

Exit status 0 when every mutation made at least one test fail, 1 otherwise.
"""

import argparse
import os
import re
import subprocess
import sys
from dataclasses import dataclass


@dataclass(frozen=True)
class Mutation:
    name: str
    path: str
    old: str
    new: str


MUTATIONS = [
    Mutation("overflow guard drops everything", "src/reading/record_parser.cpp",
             "ConsumeReceivedBytes(record, guard.drop);",
             "ConsumeReceivedBytes(record, record.RxCount);"),
    Mutation("wrong-length record not consumed", "src/reading/record_parser.cpp",
             "    if (!framed) {\n        return Finish(gage, record, output, &frame, options, false);",
             "    if (!framed) {\n        return Finish(gage, record, output, nullptr, options, false);"),
    Mutation("tick arithmetic without wrap", "src/reading/engine_clock.h",
             "return static_cast<std::int32_t>(now - deadline) >= 0;",
             "return now >= deadline;"),
    Mutation("serial ports: > 64 as >= 64", "src/channels/serial_channel.cpp",
             "if (record.PortNumber < 1 || record.PortNumber > kMaxSerialPortNumber) {",
             "if (record.PortNumber < 1 || record.PortNumber >= kMaxSerialPortNumber) {"),
    Mutation("TCP port without its low-16-bit rule", "src/config/connection_line.cpp",
             "if (row.TcpPort == 0) {",
             "if (row.PortNumber == 0) {"),
    Mutation("spinning wait", "src/reading/engine_clock.cpp",
             "const int woken = ChannelWaitReadable(record, bounded);",
             "const int woken = ChannelWaitReadable(record, bounded * 0);"),
    Mutation("no TCP_NODELAY", "src/channels/tcp_socket_posix.cpp",
             "return SetInt(socket, IPPROTO_TCP, TCP_NODELAY, 1);",
             "return socket >= 0;"),
    Mutation("no loop on partial sends", "src/channels/tcp_channel.cpp",
             "        sent += accepted;\n    }\n    return 1;",
             "        sent = length;\n    }\n    return 1;"),
    Mutation("rounding by round(v*10^p)/10^p", "src/support/builtin_math.cpp",
             "    // d.dddddddddddddde±X: 15 significant digits",
             "    return std::round(value * std::pow(10.0, places)) / std::pow(10.0, places);\n"
             "    // d.dddddddddddddde±X: 15 significant digits"),
    Mutation("a write in place instead of the atomic save", "src/config/profile_atomic_write.cpp",
             "    const std::string temporary = WriteTemporary(path, bytes, path, refusedStep);",
             "    if (!refusedStep) {\n"
             "        std::FILE* file = std::fopen(path.c_str(), \"wb\");\n"
             "        if (file == nullptr) {\n            return false;\n        }\n"
             "        std::fwrite(bytes.data(), 1, bytes.size(), file);\n"
             "        std::fclose(file);\n        return true;\n    }\n"
             "    const std::string temporary = WriteTemporary(path, bytes, path, refusedStep);"),
    Mutation("profile cache judges freshness by time and size only",
             "src/config/profile_file_posix.cpp",
             "    stamp.identity =\n        (static_cast<std::uint64_t>(info.st_dev) << 32) ^ "
             "static_cast<std::uint64_t>(info.st_ino);",
             "    stamp.identity = 0;"),
    Mutation("deleting only the first duplicate key", "src/config/profile_document.cpp",
             "            line.removed = true;\n        }\n    }\n    return true;",
             "            line.removed = true;\n            break;\n        }\n    }\n    return true;"),
    Mutation("command 11 answers the first match", "src/entry/engine_commands.cpp",
             "        value = runtime.readingResult.Value;\n",
             "        value = runtime.readingResult.Value;\n        break;\n"),
]


def run(command, cwd, **kwargs):
    return subprocess.run(command, cwd=cwd, text=True, capture_output=True, **kwargs)


def failed_tests(ctest_output):
    # ctest lists the failed programs after "The following tests FAILED:" as "  12 - Name (...)";
    # GoogleTest names the failed cases in the output ctest shows for them.
    tail = ctest_output.split("The following tests FAILED:", 1)
    if len(tail) < 2:
        return []
    programs = re.findall(r"^\s*\d+ - (\S+)", tail[1], flags=re.MULTILINE)
    cases = sorted(set(re.findall(r"^\[  FAILED  \] (\w+\.[\w/]+)", ctest_output, re.MULTILINE)))
    return cases or programs


def check(worktree, mutation):
    path = os.path.join(worktree, mutation.path)
    with open(path, encoding="utf-8") as file:
        original = file.read()
    if original.count(mutation.old) != 1:
        return "not applied: the text to replace does not occur exactly once"
    try:
        with open(path, "w", encoding="utf-8") as file:
            file.write(original.replace(mutation.old, mutation.new))
        build = run(["cmake", "--build", "--preset", "linux", "-j2"], worktree)
        if build.returncode != 0:
            return "caught by the build"
        tests = run(["ctest", "--preset", "linux", "-j2", "--timeout", "300", "--output-on-failure"], worktree)
        failures = failed_tests(tests.stdout)
        return ", ".join(failures) if failures else None
    finally:
        with open(path, "w", encoding="utf-8") as file:
            file.write(original)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--worktree", help="scratch worktree (default: beside the checkout, so a "
                        "compiler cache keyed on relative paths is shared with it)")
    parser.add_argument("--only", nargs="*", help="names (substrings) of the mutations to run")
    options = parser.parse_args()
    root = run(["git", "rev-parse", "--show-toplevel"], os.getcwd()).stdout.strip()
    worktree = options.worktree or root + "-mutants"
    if os.path.isdir(worktree):
        run(["git", "worktree", "remove", "--force", worktree], root)
    added = run(["git", "worktree", "add", "--detach", worktree, "HEAD"], root)
    if added.returncode != 0:
        sys.exit(added.stderr)
    configured = run(["cmake", "--preset", "linux", "-Wno-dev"], worktree)
    if configured.returncode != 0:
        sys.exit(configured.stderr)
    built = run(["cmake", "--build", "--preset", "linux", "-j2"], worktree)
    if built.returncode != 0:
        sys.exit("the unmutated tree does not build:\n" + built.stdout[-2000:])

    chosen = [m for m in MUTATIONS
              if not options.only or any(name in m.name for name in options.only)]
    survivors = 0
    print("| mutation | failing tests |\n|---|---|")
    for mutation in chosen:
        verdict = check(worktree, mutation)
        if verdict is None or verdict.startswith("not applied"):
            survivors += 1
        print(f"| {mutation.name} | {verdict or 'SURVIVED: no test failed'} |", flush=True)
    run(["cmake", "--build", "--preset", "linux", "-j2"], worktree)  # leave it unmutated
    return 1 if survivors else 0


if __name__ == "__main__":
    sys.exit(main())
