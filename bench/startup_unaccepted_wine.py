#!/usr/bin/env python3
"""Start-up under Wine with 64 TCP/IP converters that never answer, time-out 1 s.

Usage: bench/startup_unaccepted_wine.py BUILD_DIR   (a win64 or win32 build)
A listener with a backlog of 0 whose queue is already full drops every new SYN, so each connect
runs into the connection time-out. `gagesrv probe` loads the library (the whole start-up) and
unloads it; the figure is its wall time less that of `gagesrv --help` (Wine's own start)."""
import os, socket, subprocess, sys, tempfile, time

build = os.path.abspath(sys.argv[1])
runner = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "windows", "wine-run.sh")
program = os.path.join(build, "tools", "gagesrv", "gagesrv.exe")
listener = socket.socket()
listener.bind(("127.0.0.1", 0))
listener.listen(0)
port = listener.getsockname()[1]
fillers = []
for _ in range(4):  # fill the accept queue; the connects that do not fit stay pending
    filler = socket.socket()
    filler.setblocking(False)
    filler.connect_ex(("127.0.0.1", port))
    fillers.append(filler)
time.sleep(0.5)  # the kernel completes the handshakes that fit on its own

def timed(*arguments):
    start = time.monotonic()
    subprocess.run([runner, build, program, *arguments], check=True, capture_output=True)
    return time.monotonic() - start

with tempfile.TemporaryDirectory() as directory:
    def write(name, text):
        with open(os.path.join(directory, name), "w", newline="\n") as f:
            f.write(text)
    write("ZRN_SYS.INI", "[GAGESERVER]\nCOM_PREFIX=COM\nWAITTIME=150\nTCPIP_CONNECTION_TIMEOUT=1\n")
    write("BRW_GAGE.DEF", "[TYPE1]\nDESCRIPTION=Network converter\nINIT1=0,I<13>\n"
          "[TYPE1.1]\nDESCRIPTION=One value per line\nDATATYPE=0\nSDECIMAL=.\nRECEND=<13><10>\n"
          "MEAS_READ=R<13>\nMEASTIMEOUT=1000\nVALUE1=1,1,0\n")
    write("BRW_GAGE.CFG", "[APPLICATION]\nNAME=ZRNGSV32\nVERSION=9\n[INTERFACES]\n"
          + "".join(f'MUX_{i}="Net {i}",1,{port},127,0,0,1,1,1024,1,\n' for i in range(64))
          + "[GAGES]\n"
          + "".join(f'GAGE_{i + 1}="Net gage {i + 1}",1,1,0,{i + 1},SN,0,0,0,1,4,0,{i}\n' for i in range(64)))
    wine_directory = "Z:" + directory.replace("/", "\\")
    base = min(timed("--help") for _ in range(2))
    load = min(timed("--shared-dir", wine_directory, "--local-dir", wine_directory, "probe") for _ in range(2))
    with open(os.path.join(directory, "ZRNGSV32.LOG"), errors="replace") as log:
        timeouts = sum("WSAETIMEDOUT" in line for line in log)
    print(f"start-up with 64 silent converters: {load - base:.3f} s "
          f"({(load - base) / 1.0:.2f} time-outs); {timeouts // 2} time-outs logged per load")
