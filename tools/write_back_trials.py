#!/usr/bin/env python3
"""Trials of a list's write-back against what can befall it, with a built Quillan, unattended.

Every trial folder also holds hidden files of a person's own beside the list (among them
names after the patterns earlier versions removed): each must be there, unchanged, at the
end.

save: while Quillan writes the sort information back (its temporary file is open in the
list's folder), another program's save is renamed over the list. Each trial must end with
status 3, the list holding that save, and nothing else in the folder. With --in-place the
list has a second hard link and the save lands once the list is to be written over in place
(once the copy of it as it was appears beside it): the other name must then hold the sorted
list (the save came during the overwrite) or the list as it was (it came just before), and
the message name both names and say which. --land-after waits so long before the save.

kill: a list with a second hard link is sorted, and Quillan is killed (SIGKILL) at a random
moment of its write-back (--when any: from the moment its temporary file is open until the
write-back's usual end; --when in-place: from the moment the copy of the list as it was
appears beside it, over the time the list takes to be written over). A run that ends before
the kill is repeated. Right after the kill the script notes what the list holds and
whether the copy kept beside it is there. Then (--after) nothing is done, or the person
saves an edited list in place (save), or deletes both names and copies new lists into the
folder until one takes the list's inode number (replace); a trial whose kill left no copy
is repeated for the last two. The next run reads the list, or the new list with the inode
(with the preferences set to printouts only, so that it writes nothing), and must end with
status 0 and: after nothing, the list under both names either as it was or completely
written, with nothing else in the folder; after save or replace, the list exactly as saved
or copied, the copy kept beside it holding the list as it was, and the person told.

refusals: a comma list whose record 3 has an address of 1,100 lines of 1,000 characters, and
one with a line of more than 1 MiB, must be refused (status 2) with a message naming the
file and the line, the list unchanged; a workbook of three sheets (made with xlwt, so run
this one with /usr/bin/python3) sorted naming a sheet it lacks must be refused naming its
sheets; and scripts/run-quillan, given an unattended sort of --list with
QUILLAN_RUN_SECONDS=0.1, must let it run to its end (status 0, the list written) and pass on
the status of a run that is stopped (SIGTERM: 4).

    write_back_trials.py --quillan build/quillan --program-dir DIR save --list L.txt [--trials 12]
        [--in-place] [--land-after SECONDS]
    write_back_trials.py --quillan build/quillan --program-dir DIR kill --list L.txt [--trials 30]
        [--when any|in-place] [--after nothing|save|replace]
    /usr/bin/python3 write_back_trials.py --quillan build/quillan --program-dir DIR refusals \
        --list L.txt

DIR is a program folder (tables/, bitmaps/) whose prefs.dat writes into the list and prints
nothing; the script copies it for the run that only reads.
"""

import argparse
import hashlib
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TOLD_LEFT_ALONE = "that stopped write left"


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def read(path):
    with open(path, "rb") as f:
        return f.read()


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def persons_files(list_name):
    """A person's own hidden files beside the list, some named after earlier patterns."""
    endings = [".Backup", ".BAK001", ".2024v1", ".orig12", ".quillan-mycopy", ".quillan-AbC123",
               ".Xy12Ab", ".sorting-q9W2e4", ".original-12345"]
    return {"." + list_name + e: ("a person's own file " + e + "\r\n").encode() for e in endings}


def put_persons_files(folder, list_name):
    files = persons_files(list_name)
    for name, data in files.items():
        write(os.path.join(folder, name), data)
    return files


def persons_files_kept(folder, files):
    return all(os.path.isfile(os.path.join(folder, n)) and read(os.path.join(folder, n)) == d
               for n, d in files.items())


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


def start(args, list_path, program_dir, extra=()):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    return subprocess.Popen([args.quillan, list_path, "NOSTOP", *extra, "--program-dir",
                             program_dir],
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env)


def kept_copies(folder):
    return sorted(n for n in os.listdir(folder) if ".original-" in n and not n.endswith("12345"))


def original_kept(folder):
    return bool(kept_copies(folder))


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


def fresh_folder(work, name="w"):
    folder = os.path.join(work, name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    return folder


def save_trial(args, work, sorted_bytes):
    name = "list" + extension(args)
    folder = fresh_folder(work)
    target = os.path.join(folder, name)
    other = os.path.join(folder, "other" + extension(args))
    shutil.copyfile(args.list, target)
    names = [name]
    if args.in_place:
        os.link(target, other)
        names.append(os.path.basename(other))
    persons = put_persons_files(folder, name)
    saved = os.path.join(work, "saved")
    edited = read(args.list) + b"\r\nA LINE ADDED BY THE PERSON\r\n"
    write(saved, edited)
    process = start(args, target, args.program_dir)
    landed = wait_for_write(process, folder, args.in_place)
    if landed:
        time.sleep(args.land_after)
        os.rename(saved, target)
    _, err = process.communicate()
    err = err.decode(errors="replace").strip()
    kept = read(target) == edited
    left = sorted(set(os.listdir(folder)) - set(persons))
    ok = (landed and process.returncode == 3 and kept and left == sorted(names)
          and persons_files_kept(folder, persons))
    if args.in_place:
        # Landed during the overwrite, the sort is under the other name; just before it, the
        # list as it was is. The message names both, and says which.
        other_holds = ("sorted" if read(other) == sorted_bytes and "went into" in err else
                       "original" if read(other) == read(args.list) and "still holds" in err
                       else "damaged")
        kept = f"{kept}, the other name holds the {other_holds} list"
        ok = ok and other_holds != "damaged" and f'"{name}"' in err and \
            f'"{os.path.basename(other)}"' in err
    return ok, landed, process.returncode, kept, left, err


def reading_only_folder(args, work):
    """The program folder again, its preferences asking for printouts only."""
    folder = os.path.join(work, "read-only-run")
    if not os.path.isdir(folder):
        shutil.copytree(args.program_dir, folder, symlinks=True)
        prefs = os.path.join(folder, "tables", "prefs.dat")
        lines = read(prefs).split(b"\r\n")
        lines[2] = b"2"
        write(prefs, b"\r\n".join(lines))
    return folder


def sorted_reference(args, work):
    folder = fresh_folder(work, "reference")
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
    return read(target), ended - writing, (gone or ended) - kept, writing - began


def take_the_inode(folder, inode, data, tries=1000):
    """Copies new lists into the folder until one takes this inode number; its path, or
    None."""
    for n in range(1, tries + 1):
        path = os.path.join(folder, f"new{n}.txt")
        write(path, data)
        if os.stat(path).st_ino == inode:
            return path
    return None


def kill_trial(args, work, original, sorted_bytes, write_seconds, rng):
    folder = fresh_folder(work)
    list_name = "list" + extension(args)
    target = os.path.join(folder, list_name)
    other = os.path.join(folder, "other" + extension(args))
    shutil.copyfile(args.list, target)
    os.link(target, other)
    persons = put_persons_files(folder, list_name)
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
        data = read(path)
        return "original" if data == original else "sorted" if data == sorted_bytes else "damaged"

    after_kill = state(target)
    kept = kept_copies(folder)
    if args.after != "nothing" and not kept:
        return None
    names = sorted([os.path.basename(target), os.path.basename(other)])
    leftovers_after_kill = sorted(set(os.listdir(folder)) - set(names) - set(persons))
    inode = os.stat(target).st_ino
    read_path, expected = target, None
    if args.after == "save":
        expected = original.replace(b"\r\n", b" EDITED BY THE PERSON\r\n", 1)
        with open(target, "r+b") as f:  # as an editor saves a file with other names
            f.truncate(0)
            f.write(expected)
    elif args.after == "replace":
        os.remove(target)
        os.remove(other)
        expected = original[:original.rindex(b"\r\n", 0, len(original) - 2) + 2]  # another list
        read_path = take_the_inode(folder, inode, expected)
        if read_path is None:
            return {"ok": False, "after_kill": after_kill, "kept_copy": bool(kept),
                    "inode_taken": False}
        names = sorted(n for n in os.listdir(folder) if n.startswith("new"))
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    nxt = subprocess.run([args.quillan, read_path, "NOSTOP", "--program-dir",
                          reading_only_folder(args, work)], capture_output=True, env=env)
    err = nxt.stderr.decode(errors="replace")
    left = sorted(set(os.listdir(folder)) - set(persons))
    result = {"after_kill": after_kill, "kept_copy": bool(kept),
              "left_after_kill": leftovers_after_kill, "next_status": nxt.returncode,
              "left": left, "persons_files_kept": persons_files_kept(folder, persons)}
    if args.after == "nothing":
        after_next = (state(target), state(other))
        result.update(after_next_run=after_next,
                      told="Quillan was stopped while it wrote" in err)
        result["ok"] = (after_next[0] == after_next[1] and after_next[0] in ("original", "sorted")
                        and left == names and nxt.returncode == 0
                        and result["persons_files_kept"])
        return result
    copy = os.path.join(folder, kept[0])
    result.update(read=os.path.basename(read_path), as_saved=read(read_path) == expected,
                  copy_is_the_list_as_it_was=os.path.exists(copy) and read(copy) == original,
                  told=TOLD_LEFT_ALONE in err and kept[0] in err)
    result["ok"] = (result["as_saved"] and result["copy_is_the_list_as_it_was"] and result["told"]
                    and left == sorted(names + kept) and nxt.returncode == 0
                    and result["persons_files_kept"])
    return result


def run_quillan(args, path, *extra):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    return subprocess.run([args.quillan, path, "NOSTOP", *extra, "--program-dir",
                           args.program_dir], capture_output=True, env=env)


def refusal_trial(args, work, name, data, says, *extra):
    folder = fresh_folder(work, "refusals")
    path = os.path.join(folder, name)
    write(path, data)
    run = run_quillan(args, path, *extra)
    err = run.stderr.decode(errors="replace")
    ok = run.returncode == 2 and all(s in err for s in says) and read(path) == data
    print(f"{name}: status {run.returncode}, list unchanged: {read(path) == data}"
          + ("" if ok else f"  FAILED  {err.strip()}"))
    return ok


def workbook_of_three_sheets(path):
    import xlwt
    book = xlwt.Workbook()
    for sheet_name in ("Notes", "Mailing", "Old"):
        sheet = book.add_sheet(sheet_name)
        for r, row in enumerate([("NAME", "ZIP", "SORT"), ("Ann", "75201", ""),
                                 ("Bo", "75202", "")]):
            for c, value in enumerate(row):
                sheet.write(r, c, value)
    book.save(path)


def refusals(args, work):
    records = [b"NAME,ADDRESS,CITY,ZIP"] + [
        b"PERSON %d,%d MAIN ST,DALLAS,75201" % (i, i) for i in range(2000)]
    address = b"\r\n".join([b"A" * 1000] * 1100)
    run_on = records[:3] + [b'PERSON X,"' + address + b'",DALLAS,75202'] + records[3:]
    long_line = records[:5] + [b"PERSON Y," + b"B" * (1 << 20) + b",DALLAS,75202"] + records[5:]
    failures = 0
    failures += not refusal_trial(args, work, "runon.txt", b"\r\n".join(run_on) + b"\r\n",
                                  ["Quillan cannot read runon.txt.", "Line 4 of the file begins "
                                   "a quoted field that runs on to line 1103"])
    failures += not refusal_trial(args, work, "long.txt", b"\r\n".join(long_line) + b"\r\n",
                                  ["Quillan cannot read long.txt.", "Line 6 of the file is "
                                   "longer than 1,048,576 bytes"])
    book = os.path.join(work, "book.xls")
    workbook_of_three_sheets(book)
    failures += not refusal_trial(args, work, "book.xls", read(book),
                                  ['book.xls has no sheet named "Elsewhere": its sheets are '
                                   '"Notes", "Mailing" and "Old".'], "Elsewhere")
    failures += not script_passes_status_on(args, work)
    return failures, 4


def script_passes_status_on(args, work):
    """scripts/run-quillan lets an unattended sort run past QUILLAN_RUN_SECONDS, and passes
    on the status of one that is stopped."""
    build = os.path.dirname(args.quillan)
    env = dict(os.environ, QUILLAN_RUN_SECONDS="0.1", QT_QPA_PLATFORM="offscreen")
    env.pop("DISPLAY", None)
    env.pop("WAYLAND_DISPLAY", None)
    folder = fresh_folder(work, "script")
    path = os.path.join(folder, "list" + extension(args))
    shutil.copyfile(args.list, path)
    began = time.monotonic()
    whole = subprocess.run([os.path.join(REPO, "scripts", "run-quillan"), build, path, "NOSTOP",
                            "--program-dir", args.program_dir], capture_output=True, env=env)
    took = time.monotonic() - began
    written = read(path) != read(args.list)
    shutil.copyfile(args.list, path)
    stopped = subprocess.Popen([os.path.join(REPO, "scripts", "run-quillan"), build, path,
                                "NOSTOP", "--program-dir", args.program_dir],
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env)
    time.sleep(0.1)
    stopped.send_signal(signal.SIGTERM)
    stopped.communicate()
    ok = whole.returncode == 0 and written and took > 0.1 and stopped.returncode == 4
    print(f"run-quillan: a sort of {took:.1f} s ran to its end with status {whole.returncode}, "
          f"the list written: {written}; stopped by SIGTERM after 0.1 s: status "
          f"{stopped.returncode}" + ("" if ok else "  FAILED"))
    return ok


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--quillan", required=True)
    parser.add_argument("--program-dir", required=True)
    parser.add_argument("trial", choices=["save", "kill", "refusals"])
    parser.add_argument("--list", required=True)
    parser.add_argument("--trials", type=int)
    parser.add_argument("--seed", type=int, default=45)
    parser.add_argument("--when", choices=["any", "in-place"], default="any")
    parser.add_argument("--after", choices=["nothing", "save", "replace"], default="nothing")
    parser.add_argument("--in-place", action="store_true")
    parser.add_argument("--land-after", type=float, default=0.0,
                        help="save: seconds between seeing the write and the save")
    args = parser.parse_args()
    args.quillan = os.path.abspath(args.quillan)
    args.program_dir = os.path.abspath(args.program_dir)
    args.list = os.path.abspath(args.list)
    work = tempfile.mkdtemp(prefix="write-back-trials-")
    failures = 0
    if args.trial == "refusals":
        failures, done = refusals(args, work)
    elif args.trial == "save":
        sorted_bytes = sorted_reference(args, work)[0] if args.in_place else None
        done = 0
        while done < (args.trials or 12):
            ok, landed, status, kept, left, err = save_trial(args, work, sorted_bytes)
            if not landed:
                print("the run ended before its write-back was seen; trial repeated")
                continue
            done += 1
            failures += not ok
            print(f"save trial {done}: status {status}, the save kept: {kept}, folder: {left}"
                  + (f"  told: {err}" if args.in_place and ok and done == 1 else "")
                  + ("" if ok else f"  FAILED  {err}"))
    else:
        original = read(args.list)
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
                print("the run ended before it was killed, or left no copy; trial repeated")
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
