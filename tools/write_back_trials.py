#!/usr/bin/env python3
"""Trials of a list's write-back against what can befall it, with a built Quillan, unattended.

save: while Quillan writes the sort information back (its temporary file is open in the
list's folder), another program's save is renamed over the list. Each trial must end with
status 3, the list holding that save, and nothing else in the folder.

kill: a list with a second hard link is sorted, and Quillan is killed (SIGKILL) at a random
moment of its write-back (--when any: from the moment its temporary file is open until the
write-back's usual end; --when in-place: from the moment the copy of the list as it was
appears beside it, over the time the list takes to be written over). A run that ends before
the kill is repeated. Right after the kill the script notes what the list holds and
whether the copy kept beside it is there; then the next run reads the list (with the
preferences set to printouts only, so that it writes nothing) and must leave it, under both
names, either as it was or completely written, with nothing else in the folder.

    write_back_trials.py --quillan build/quillan --program-dir DIR save --list L.txt [--trials 12]
    write_back_trials.py --quillan build/quillan --program-dir DIR kill --list L.txt [--trials 30]
        [--when any|in-place]

DIR is a program folder (tables/, bitmaps/) whose prefs.dat writes into the list and prints
nothing; the script copies it for the run that only reads.
"""

import argparse
import hashlib
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def temporary_file_open(pid, folder):
    """Quillan holds a temporary file of the list's folder open: unnamed ("#inode (deleted)"),
    or one of its own hidden names."""
    try:
        fds = os.listdir(f"/proc/{pid}/fd")
    except OSError:
        return False
    for fd in fds:
        try:
            target = os.readlink(f"/proc/{pid}/fd/{fd}")
        except OSError:
            continue
        name = os.path.basename(target)
        if os.path.dirname(target) == folder and (name.startswith("#") or ".quillan-" in name):
            return True
    return False


def start(args, list_path, program_dir):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    return subprocess.Popen([args.quillan, list_path, "NOSTOP", "--program-dir", program_dir],
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env)


def original_kept(folder):
    return any(".original-" in name for name in os.listdir(folder))


def wait_for_write(process, folder, in_place=False):
    """True once the write-back's temporary file is open (or, in_place, once the copy of the
    list as it was is kept beside it); False when the run ended first."""
    while process.poll() is None:
        if original_kept(folder) if in_place else temporary_file_open(process.pid, folder):
            return True
        time.sleep(0.0002)
    return False


def extension(args):
    return os.path.splitext(args.list)[1]


def save_trial(args, work):
    name = "list" + extension(args)
    folder = os.path.join(work, "w")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    target = os.path.join(folder, name)
    shutil.copyfile(args.list, target)
    saved = os.path.join(work, "saved")
    with open(args.list, "rb") as f:
        edited = f.read() + b"\r\nA LINE ADDED BY THE PERSON\r\n"
    with open(saved, "wb") as f:
        f.write(edited)
    process = start(args, target, args.program_dir)
    landed = wait_for_write(process, folder)
    if landed:
        os.rename(saved, target)
    _, err = process.communicate()
    kept = open(target, "rb").read() == edited
    left = sorted(os.listdir(folder))
    ok = landed and process.returncode == 3 and kept and left == [name]
    return ok, landed, process.returncode, kept, left, err.decode(errors="replace").strip()


def reading_only_folder(args, work):
    """The program folder again, its preferences asking for printouts only."""
    folder = os.path.join(work, "read-only-run")
    if not os.path.isdir(folder):
        shutil.copytree(args.program_dir, folder, symlinks=True)
        prefs = os.path.join(folder, "tables", "prefs.dat")
        lines = open(prefs, "rb").read().split(b"\r\n")
        lines[2] = b"2"
        open(prefs, "wb").write(b"\r\n".join(lines))
    return folder


def sorted_reference(args, work):
    folder = os.path.join(work, "reference")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    target = os.path.join(folder, "list" + extension(args))
    shutil.copyfile(args.list, target)
    os.link(target, os.path.join(folder, "other" + extension(args)))
    began = time.monotonic()
    process = start(args, target, args.program_dir)
    writing = kept = gone = None
    while process.poll() is None:
        now = time.monotonic()
        if writing is None and temporary_file_open(process.pid, folder):
            writing = now
        if kept is None and original_kept(folder):
            kept = now
        if kept is not None and gone is None and not original_kept(folder):
            gone = now
        time.sleep(0.0002)
    process.communicate()
    ended = time.monotonic()
    if process.returncode != 0 or writing is None or kept is None:
        sys.exit(f"the reference sort ended with status {process.returncode}, its write-back "
                 "not seen")
    return open(target, "rb").read(), ended - writing, (gone or ended) - kept, writing - began


def kill_trial(args, work, original, sorted_bytes, write_seconds, rng):
    folder = os.path.join(work, "w")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    target = os.path.join(folder, "list" + extension(args))
    other = os.path.join(folder, "other" + extension(args))
    shutil.copyfile(args.list, target)
    os.link(target, other)
    process = start(args, target, args.program_dir)
    if not wait_for_write(process, folder, args.when == "in-place"):
        process.communicate()
        return None
    time.sleep(rng.uniform(0, write_seconds))
    process.kill()
    process.communicate()
    if process.returncode != -9:
        return None

    def state(path):
        data = open(path, "rb").read()
        return "original" if data == original else "sorted" if data == sorted_bytes else "damaged"

    after_kill = state(target)
    kept = [n for n in os.listdir(folder) if ".original-" in n]
    names = sorted([os.path.basename(target), os.path.basename(other)])
    leftovers_after_kill = sorted(set(os.listdir(folder)) - set(names))
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    nxt = subprocess.run([args.quillan, target, "NOSTOP", "--program-dir",
                          reading_only_folder(args, work)], capture_output=True, env=env)
    after_next = (state(target), state(other))
    left = sorted(os.listdir(folder))
    ok = (after_next[0] == after_next[1] and after_next[0] in ("original", "sorted")
          and left == names and nxt.returncode == 0)
    return {"ok": ok, "after_kill": after_kill, "kept_copy": bool(kept),
            "left_after_kill": leftovers_after_kill, "after_next_run": after_next,
            "next_status": nxt.returncode, "left": left,
            "told": "Quillan was stopped while it wrote" in nxt.stderr.decode(errors="replace")}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--quillan", required=True)
    parser.add_argument("--program-dir", required=True)
    parser.add_argument("trial", choices=["save", "kill"])
    parser.add_argument("--list", required=True)
    parser.add_argument("--trials", type=int)
    parser.add_argument("--seed", type=int, default=45)
    parser.add_argument("--when", choices=["any", "in-place"], default="any")
    args = parser.parse_args()
    args.quillan = os.path.abspath(args.quillan)
    args.program_dir = os.path.abspath(args.program_dir)
    args.list = os.path.abspath(args.list)
    work = tempfile.mkdtemp(prefix="write-back-trials-")
    failures = 0
    if args.trial == "save":
        done = 0
        while done < (args.trials or 12):
            ok, landed, status, kept, left, err = save_trial(args, work)
            if not landed:
                print("the run ended before its write-back was seen; trial repeated")
                continue
            done += 1
            failures += not ok
            print(f"save trial {done}: status {status}, the save kept: {kept}, folder: {left}"
                  + ("" if ok else f"  FAILED  {err}"))
    else:
        original = open(args.list, "rb").read()
        sorted_bytes, write_seconds, in_place_seconds, before = sorted_reference(args, work)
        print(f"reference sort: {before:.2f} s to the write-back, {write_seconds:.3f} s from its "
              f"temporary file to the end of the run, {in_place_seconds:.3f} s of it with the "
              "copy as it was beside the list")
        if args.when == "in-place":
            write_seconds = in_place_seconds
        rng = random.Random(args.seed)
        after_kill = {}
        done = 0
        while done < (args.trials or 30):
            result = kill_trial(args, work, original, sorted_bytes, write_seconds, rng)
            if result is None:
                print("the run ended before it was killed; trial repeated")
                continue
            done += 1
            failures += not result["ok"]
            what = result["after_kill"] + (" with the copy kept" if result["kept_copy"] else "")
            after_kill[what] = after_kill.get(what, 0) + 1
            print(f"kill trial {done}: " + ", ".join(f"{k} {v}" for k, v in result.items()))
    shutil.rmtree(work, ignore_errors=True)
    if args.trial == "kill":
        print("right after the kill: " + ", ".join(
            f"{n} {what}" for what, n in sorted(after_kill.items())))
    print(f"{failures} of {done} trials failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
