#!/usr/bin/env python3
"""How well `morlo-cli find-loop` and `morlo-cli check` find loops in real game music.

    find_loop.py [MORLO_CLI [FOLDER]] [--corpus FOLDER] [--seed N] [--no-speed]
    (or --cli MORLO_CLI --work FOLDER)

MORLO_CLI defaults to $MORLO_BUILD/native/src/cli/morlo-cli, FOLDER to $MORLO_BUILD/find-loop-bench
(emptied first when this script made it, kept afterwards for a look), the corpus to $MORLO_BUILD/find-loop-corpus, which
bench/find_loop_corpus.sh makes (and installs the Debian packages this script runs: sox, ffmpeg,
vorbis-tools, flac, time, espeak-ng, openmpt123); it is run here when the corpus is missing.

Every case is made from the corpus with fixed seeds, so two runs measure the same data. Per track:
  repeat      the track's first I s (intro) and the next L s (loop) repeated to 1.5-3 loops, lossless
              and through a lossy codec and back; truth: the earliest frame from which the made
              data repeats at lag L (computed from the data), and L.
  one-pass    the intro and one loop, the file ending at the loop's end, found with --near off by
              up to 2 s in start and length (and once without --near, for information). So that
              the wrap runs on as music does, the loop's last T s (1-4 s) are the T s of music
              before its start; truth: (I, L).
  check       a definition over the same one-pass data with the loop right, and with its start, end
              or both moved by 1-30 ms; lossless and lossy; the data running on 1 s past the loop's
              end (check can judge the music) and only 50 ms (only the waveform at the seam). A
              suggestion counts when it is a true loop: the true length (within 1 ms) and a start
              from which the data repeats at that lag; any such loop is as seamless.
Tracks that must not loop: speech, noise, fading notes, and real tracks played once.
Also: a file written by `convert --loops 2` fed back; speed and peak memory against `flac -5`.
The script measures and prints; it never fails on a figure.
"""
import argparse
import concurrent.futures
import json
import math
import os
import random
import shutil
import statistics
import struct
import subprocess
import sys
import time
import wave

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# (rate, bits, channels): every case's format comes from here, so each is met several times.
FORMATS = [(44100, 16, 2), (48000, 24, 2), (22050, 8, 1), (32000, 16, 1),
           (44100, 24, 1), (22050, 16, 2), (48000, 16, 2), (44100, 8, 2)]
CODECS = ["vorbis", "mp3"]
# How far each check definition's data runs on past the loop's end (the loop's start again): a
# second and more lets check judge the music; 50 ms leaves it the waveform at the seam alone.
RUN_ON_MS = {"runs-on": 1000.0, "short": 50.0}
NEGATIVE_TRACKS = ["path-intro", "path-bg", "frontiers", "strike", "machine", "tomatoes", "area3", "lapin"]
ROUND_TRIP_TRACKS = ["area2", "fridge", "frontiers", "path-bg"]


def run(cmd, **kw):
    return subprocess.run(cmd, capture_output=True, check=True, **kw)


# ---------------------------------------------------------------------------------------------
# Making data


def pcm_of(track, fmt, seconds, offset=0.0):
    """The track's samples in the format as WAVE data bytes (8-bit unsigned, else signed LE);
    no dither, so the bytes are the same on every run."""
    rate, bits, channels = fmt
    encoding = "unsigned-integer" if bits == 8 else "signed-integer"
    return run(["sox", "-V1", "-D", track, "-t", "raw", "-e", encoding, "-b", str(bits), "-c", str(channels),
                "-r", str(rate), "-", "trim", str(offset), str(seconds)]).stdout


def sox_to_wav(inputs, path, fmt, effects=()):
    """Runs sox into raw data and writes it with Python's wave module: sox would write 24-bit
    data in the extensible form, which that module (the reader that checks figures here) refuses."""
    rate, bits, channels = fmt
    encoding = "unsigned-integer" if bits == 8 else "signed-integer"
    data = run(["sox", "-V1", "-R", "-D"] + list(inputs) + ["-t", "raw", "-e", encoding, "-b", str(bits), "-c",
                                                            str(channels), "-r", str(rate), "-"] + list(effects)).stdout
    write_wav(path, data, fmt)
    return data


def write_wav(path, data, fmt):
    rate, bits, channels = fmt
    with wave.open(path, "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(bits // 8)
        w.setframerate(rate)
        w.writeframes(data)


def read_wav(path):
    with wave.open(path, "rb") as w:
        fmt = (w.getframerate(), w.getsampwidth() * 8, w.getnchannels())
        return fmt, w.readframes(w.getnframes())


def data_offset(path):
    """Where the data chunk's bytes begin in a WAVE file (for a definition that points into it)."""
    with open(path, "rb") as f:
        head = f.read(4096)
    pos = 12
    while pos + 8 <= len(head):
        ident, size = head[pos:pos + 4], struct.unpack("<I", head[pos + 4:pos + 8])[0]
        if ident == b"data":
            return pos + 8
        pos += 8 + size + (size & 1)
    raise ValueError(path)


def frame_bytes(fmt):
    return fmt[1] // 8 * fmt[2]


def earliest_repeat(data, fb, lag, start):
    """The earliest frame from which every frame equals the one lag frames later, scanning back
    from start (from where the data is known to repeat)."""
    e = start
    while e > 0 and data[(e - 1) * fb:e * fb] == data[(e - 1 + lag) * fb:(e + lag) * fb]:
        e -= 1
    return e


def repeats_from(data, fb, lag, start):
    """Whether every frame from start on equals the one lag frames later."""
    n = len(data) // fb
    return data[start * fb:(n - lag) * fb] == data[(start + lag) * fb:n * fb]


def channel0(data, fmt, start, count):
    """Channel 0 of count frames from start, as fractions of full scale."""
    rate, bits, channels = fmt
    fb = frame_bytes(fmt)
    out = []
    for k in range(start, min(start + count, len(data) // fb)):
        p = k * fb
        if bits == 8:
            out.append((data[p] - 128) / 128)
        elif bits == 16:
            out.append(struct.unpack_from("<h", data, p)[0] / 32768)
        else:
            out.append(int.from_bytes(data[p:p + 3], "little", signed=True) / 8388608)
    return out


def lossy(src_wav, dst_wav, codec, fmt):
    """Encodes src with a lossy codec and decodes it back into dst in the same format."""
    rate, bits, channels = fmt
    base = os.path.splitext(dst_wav)[0]
    if codec == "vorbis":
        run(["oggenc", "-Q", "-q", "4", "-o", base + ".ogg", src_wav])
        run(["oggdec", "-Q", "-b", "16", "-o", base + ".dec.wav", base + ".ogg"])
    else:
        run(["ffmpeg", "-v", "error", "-y", "-i", src_wav, "-c:a", "libmp3lame", "-b:a", "%dk" % (64 * channels + 32),
             base + ".mp3"])
        run(["ffmpeg", "-v", "error", "-y", "-i", base + ".mp3", "-c:a", "pcm_s16le", base + ".dec.wav"])
    data = sox_to_wav([base + ".dec.wav"], dst_wav, fmt)
    os.remove(base + ".dec.wav")
    return data


def codec_delay(original, decoded, fmt, at):
    """The shift (frames, decoded later > 0) that best lines the decoded data up with the
    original around frame at: a codec that adds or drops frames would move every truth."""
    a = channel0(original, fmt, at, 2048)
    b = channel0(decoded, fmt, at - 64, 2048 + 128)
    best, best_err = 0, None
    for shift in range(-64, 65):
        err = sum((a[k] - b[k + 64 + shift]) ** 2 for k in range(0, 2048, 2))
        if best_err is None or err < best_err:
            best, best_err = shift, err
    return best


def residual_db(data, fmt, start, lag, seconds=2.0):
    """How far the data at start differs from the data lag frames later (dB against its level):
    tells a track that repeats by itself (below about -30 dB) from one that does not."""
    count = int(seconds * fmt[0])
    a = channel0(data, fmt, start, count)
    b = channel0(data, fmt, start + lag, count)
    n = min(len(a), len(b))
    if n == 0:
        return float("nan")
    diff = sum((a[k] - b[k]) ** 2 for k in range(n)) / n
    level = sum(x * x for x in a[:n]) / n
    return 10 * math.log10((diff + 1e-12) / (level + 1e-12))


# ---------------------------------------------------------------------------------------------
# Running morlo-cli


class Cli:
    def __init__(self, path):
        self.path = path
        self.seconds = []

    def json(self, args):
        t0 = time.monotonic()
        p = subprocess.run([self.path] + args, capture_output=True, text=True)
        self.seconds.append(time.monotonic() - t0)
        try:
            return json.loads(p.stdout)
        except ValueError:
            return {"error": (p.stderr or p.stdout).strip()[:300], "status": p.returncode}

    def find_loop(self, wav, near=None):
        args = ["find-loop", wav, "--json"]
        if near:
            args[2:2] = ["--near", "%.3f,%.3f" % near]
        out = self.json(args)
        if "pieces" not in out:
            return {"found": False, "case": None, "reason": "error: %s" % out.get("error"), "candidates": []}
        return out["pieces"][0]


def has_find_loop(cli):
    p = subprocess.run([cli, "find-loop", "--help"], capture_output=True, text=True)
    return p.returncode == 0


# ---------------------------------------------------------------------------------------------
# The cases


def ms(frames, rate):
    return 1000.0 * frames / rate


def track_plan(index, name, seed):
    rng = random.Random(seed * 1000 + index)
    plan = {
        "name": name,
        "intro": rng.uniform(2.0, 20.0),
        "loop": rng.uniform(12.0, 45.0),
        "times": rng.uniform(1.5, 3.0),
        "tail": rng.uniform(1.0, 4.0),
        "near": (rng.uniform(-2.0, 2.0), rng.uniform(-2.0, 2.0)),
        "near_lossy": (rng.uniform(-2.0, 2.0), rng.uniform(-2.0, 2.0)),
        "fmt_repeat": FORMATS[index % len(FORMATS)],
        "fmt_repeat_lossy": FORMATS[(index + 3) % len(FORMATS)],
        "fmt_pass": FORMATS[(index + 5) % len(FORMATS)],
        "fmt_pass_lossy": FORMATS[(index + 1) % len(FORMATS)],
        "codec": CODECS[index % 2],
        "codec_pass": CODECS[(index + 1) % 2],
    }
    plan["tail"] = min(plan["tail"], plan["intro"] - 0.5)
    moves = []
    for kind in ("start", "end", "both"):
        for form in ("lossless", "lossy"):
            d = [rng.choice((-1, 1)) * rng.uniform(1.0, 30.0) for _ in range(2)]
            moves.append((kind, form, d[0] if kind != "end" else 0.0, d[1] if kind != "start" else 0.0))
    plan["moves"] = moves
    return plan


def make_repeat(track, fmt, plan, folder, tag):
    rate = fmt[0]
    fb = frame_bytes(fmt)
    intro, loop = round(plan["intro"] * rate), round(plan["loop"] * rate)
    pcm = pcm_of(track, fmt, plan["intro"] + plan["loop"] + 1)
    body = pcm[intro * fb:(intro + loop) * fb]
    total = round(loop * plan["times"])
    data = pcm[:intro * fb] + (body * 4)[:total * fb]
    start = earliest_repeat(data, fb, loop, intro)
    assert repeats_from(data, fb, loop, intro)
    path = os.path.join(folder, "%s.%s.wav" % (plan["name"], tag))
    write_wav(path, data, fmt)
    return path, data, start, loop


def make_pass(track, fmt, plan, tail_after_ms=0.0):
    """Intro and one loop whose last T s are the T s before its start (the wrap runs on as the
    music does); tail_after_ms more of the loop's start after its end, for a definition whose
    end is moved later."""
    rate = fmt[0]
    fb = frame_bytes(fmt)
    intro, loop, tail = round(plan["intro"] * rate), round(plan["loop"] * rate), round(plan["tail"] * rate)
    after = round(tail_after_ms * rate / 1000)
    pcm = pcm_of(track, fmt, plan["intro"] + plan["loop"] + 1)
    music = lambda a, b: pcm[a * fb:b * fb]
    data = music(0, intro) + music(intro, intro + loop - tail) + music(intro - tail, intro) + music(intro, intro + after)
    return data, intro, loop, tail


def judge_repeat(result, truth_start, truth_len, rate, lossy_case):
    cands = result.get("candidates") or []
    if not result.get("found") or not cands:
        return {"found": False, "len_ok": False, "start_ok": False, "line": "not found (%s)" % result.get("reason")}
    c = cands[0]
    dlen = c["loop_length_frames"] - truth_len
    dstart = c["loop_start_frame"] - truth_start
    len_ok = abs(dlen) <= (rate // 1000 if lossy_case else 0)
    start_ok = abs(ms(dstart, rate)) <= 20.0
    line = "%s start %+.1f ms, length %+d fr (%+.2f ms), conf %.2f, seam %s" % (
        result.get("case"), ms(dstart, rate), dlen, ms(dlen, rate), c.get("confidence", float("nan")),
        c.get("seam_measure"))
    return {"found": True, "len_ok": len_ok, "start_ok": start_ok, "line": line}


def candidates_note(judged, result, data, fmt):
    """For a lossless miss: each candidate's length and whether the data repeats at that lag from
    its start to the data's end, as the made loop does."""
    if judged["len_ok"] and judged["start_ok"]:
        return ""
    fb = frame_bytes(fmt)
    return "; candidates: " + ", ".join("%.2f s (%s)" % (
        c["loop_length_frames"] / fmt[0], "repeats to the end" if repeats_from(data, fb, c["loop_length_frames"],
                                                                               c["loop_start_frame"])
        else "stops repeating") for c in result.get("candidates") or []) if result.get("candidates") else ""


def judge_pass(result, truth_start, truth_len, rate, tail=0):
    """The loop as made, within 1 ms; or, since the loop's last T s repeat the T s before its start
    and the data holds that repetition, any start from T s earlier on: each is as seamless."""
    cands = result.get("candidates") or []
    if not result.get("found") or not cands:
        return {"ok": False, "line": "not found (%s)" % result.get("reason")}
    c = cands[0]
    ds = c["loop_start_frame"] - truth_start
    dl = c["loop_length_frames"] - truth_len
    ok = -tail - rate / 1000 <= ds <= rate / 1000 and abs(ms(dl, rate)) <= 1.0
    return {"ok": ok, "line": "%s start %+.2f ms, length %+.2f ms, conf %.2f" % (
        result.get("case"), ms(ds, rate), ms(dl, rate), c.get("confidence", float("nan")))}


class Bench:
    def __init__(self, args):
        self.args = args
        self.cli = Cli(args.cli)
        self.work = args.work
        self.tracks = os.path.join(args.corpus, "tracks")
        self.pool = concurrent.futures.ThreadPoolExecutor(max_workers=2)
        self.tally = {}
        self.lines = []
        self.finder = has_find_loop(args.cli)
        self.repeat_files = []

    def count(self, key, ok):
        good, total = self.tally.get(key, (0, 0))
        self.tally[key] = (good + bool(ok), total + 1)

    def say(self, text):
        print(text, flush=True)

    def track_path(self, name):
        return os.path.join(self.tracks, name + ".wav")

    # -- repeat and one pass through find-loop -------------------------------------------------
    def track_cases(self, index, name):
        plan = track_plan(index, name, self.args.seed)
        track = self.track_path(name)
        folder = os.path.join(self.work, "cases")
        out = []
        # repeat, lossless
        fmt = plan["fmt_repeat"]
        path, data, start, loop = make_repeat(track, fmt, plan, folder, "repeat")
        head = "I=%.2f L=%.2f x%.2f" % (plan["intro"], plan["loop"], plan["times"])
        self.repeat_files.append((index, name, path, fmt, start, loop))
        if self.finder:
            r = self.cli.find_loop(path)
            j = judge_repeat(r, start, loop, fmt[0], False)
            out.append(("repeat-lossless", j, "%-9s %-13s %s: %s%s%s" % (
                name, fmtname(fmt), head, j["line"], self.near_note(j, path, start, loop, fmt),
                candidates_note(j, r, data, fmt))))
        # repeat, lossy (the truth is the lossless data's)
        fmt = plan["fmt_repeat_lossy"]
        path, data, start, loop = make_repeat(track, fmt, plan, folder, "repeat-ll2")
        dec = os.path.join(folder, "%s.repeat-%s.wav" % (name, plan["codec"]))
        decoded = lossy(path, dec, plan["codec"], fmt)
        delay = codec_delay(data, decoded, fmt, start + fmt[0])
        note = "" if len(decoded) == len(data) and delay == 0 else " [decoded %+d fr, shifted %+d fr]" % (
            (len(decoded) - len(data)) // frame_bytes(fmt), delay)
        if self.finder:
            j = judge_repeat(self.cli.find_loop(dec), start, loop, fmt[0], True)
            out.append(("repeat-lossy", j, "%-9s %-13s %s %s: %s%s%s" % (
                name, fmtname(fmt), plan["codec"], head, j["line"], note, self.near_note(j, dec, start, loop, fmt))))
        # one pass, lossless and lossy, with --near off by up to 2 s, and lossless without it
        for form, fmt, near, codec in (("lossless", plan["fmt_pass"], plan["near"], None),
                                       ("lossy", plan["fmt_pass_lossy"], plan["near_lossy"], plan["codec_pass"])):
            data, intro, loop, tail = make_pass(track, fmt, plan)
            path = os.path.join(folder, "%s.pass-%s.wav" % (name, form))
            write_wav(path, data, fmt)
            if codec:
                src = path
                path = os.path.join(folder, "%s.pass-%s.wav" % (name, codec))
                lossy(src, path, codec, fmt)
            hint = (intro / fmt[0] + near[0], loop / fmt[0] + near[1])
            if self.finder:
                j = judge_pass(self.cli.find_loop(path, hint), intro, loop, fmt[0], tail)
                out.append(("pass-%s" % form, j, "%-9s %-13s %s near %+.2f,%+.2f T=%.2f: %s" % (
                    name, fmtname(fmt), codec or "", near[0], near[1], plan["tail"], j["line"])))
                if form == "lossless":
                    j = judge_pass(self.cli.find_loop(path), intro, loop, fmt[0], tail)
                    out.append(("pass-no-near", j, "%-9s %-13s no --near: %s" % (name, fmtname(fmt), j["line"])))
        return out

    def near_note(self, judged, path, start, loop, fmt):
        """For a miss, the same file with --near at the truth: tells a length never proposed (found
        with the hint) from a repetition the finder rejects (not found even then)."""
        if judged.get("len_ok", judged.get("ok")) and judged.get("start_ok", True):
            return ""
        r = self.cli.find_loop(path, (start / fmt[0], loop / fmt[0]))
        c = (r.get("candidates") or [None])[0]
        if not r.get("found") or not c:
            return "; with --near at the truth: not found (%s)" % r.get("reason")
        return "; with --near at the truth: %s start %+d fr, length %+d fr, conf %.2f" % (
            r.get("case"), c["loop_start_frame"] - start, c["loop_length_frames"] - loop, c.get("confidence", 0))

    # -- the definition form of find-loop ------------------------------------------------------
    def definition_form(self):
        """find-loop FILE.mrl --bgm DIR over the lossless repeat files: each piece points into its
        WAVE file past the header, its loop set to the whole data so that it hints at nothing."""
        folder = os.path.join(self.work, "definition")
        os.makedirs(folder, exist_ok=True)
        lines = ["[album]", "title=find loop", ""]
        files = sorted(self.repeat_files)
        for n, (index, name, path, fmt, start, loop) in enumerate(files):
            short = "a%02d.wav" % index  # the definition keeps a file name of up to 15 characters
            os.link(path, os.path.join(folder, short))
            offset = data_offset(path)
            size = os.path.getsize(path) - offset
            rate, bits, channels = fmt
            lines += ["[music%04d]" % n, "file=p%d.wav" % n, "title=%s" % name, "fmt_channels=%d" % channels,
                      "fmt_samples=%d" % rate, "fmt_bits=%d" % bits, "wave_file=%s" % short,
                      "wave_start=%d" % offset, "wave_size=%d" % size, "loop_start=0", "loop_size=%d" % size, ""]
        mrl = os.path.join(folder, "repeat.mrl")
        with open(mrl, "w", newline="\r\n") as f:
            f.write("\n".join(lines))
        out = self.cli.json(["find-loop", mrl, "--bgm", folder, "--json"])
        if "pieces" not in out:
            self.say("definition form failed: %s" % out)
            return
        for (index, name, path, fmt, start, loop), r in zip(files, out["pieces"]):
            j = judge_repeat(r, start, loop, fmt[0], False)
            cands = r.get("candidates") or []
            fb = frame_bytes(fmt)
            bytes_ok = bool(cands) and cands[0].get("loop_start") == cands[0]["loop_start_frame"] * fb and \
                cands[0].get("loop_size") == cands[0]["loop_length_frames"] * fb
            ok = j["len_ok"] and j["start_ok"] and bytes_ok
            self.count("definition-form", ok)
            self.say("definition-form %-9s %-13s %s: %s%s%s" % (name, fmtname(fmt), r.get("title"), j["line"],
                                                               "" if bytes_ok or not cands else " BYTES DIFFER",
                                                               "" if ok else "  MISS"))

    # -- check on definitions ------------------------------------------------------------------
    def check_pieces(self, index, name):
        """The pieces of this track for the check definition: (piece fields, truth, label)."""
        plan = track_plan(index, name, self.args.seed)
        track = self.track_path(name)
        folder = os.path.join(self.work, "bgm")
        pieces = []
        for form, fmt, codec in (("lossless", plan["fmt_pass"], None),
                                 ("lossy", plan["fmt_pass_lossy"], plan["codec_pass"])):
            longest, intro, loop, tail = make_pass(track, fmt, plan, tail_after_ms=RUN_ON_MS["runs-on"])
            if codec:
                tmp = os.path.join(folder, "%s.check-src.wav" % name)
                write_wav(tmp, longest, fmt)
                longest = lossy(tmp, os.path.join(folder, "%s.check-%s.wav" % (name, codec)), codec, fmt)
            rate = fmt[0]
            fb = frame_bytes(fmt)
            for kind, after_ms in RUN_ON_MS.items():
                data = longest[:(intro + loop + round(after_ms * rate / 1000)) * fb]
                # short: the definition keeps a file name of up to 15 characters
                bgm = "c%02d%s%s.bgm" % (index, form[-1], kind[0])
                with open(os.path.join(folder, bgm), "wb") as f:
                    f.write(data)
                truth = {"start": intro, "len": loop, "rate": rate, "fb": fb, "tail": tail,
                         "last": len(data) // fb - loop, "form": form, "kind": kind}
                base = {"fmt": fmt, "wave_file": bgm, "wave_size": len(data)}
                label = "%s %s %s %s" % (name, form, kind, fmtname(fmt))
                pieces.append((dict(base, loop_start=intro * fb, loop_size=loop * fb), dict(truth, moved=False),
                               label + " correct"))
                for move, mform, dstart, dend in plan["moves"]:
                    if mform != form:
                        continue
                    s = intro + round(dstart * rate / 1000)
                    e = intro + loop + round(dend * rate / 1000)
                    pieces.append((dict(base, loop_start=s * fb, loop_size=(e - s) * fb), dict(truth, moved=True),
                                   "%s %s moved: start %+.1f end %+.1f ms" % (label, move, dstart, dend)))
        return pieces

    def run_check(self, all_pieces):
        lines = ["[album]", "title=loop finding", ""]
        for n, (p, truth, label) in enumerate(all_pieces):
            rate, bits, channels = p["fmt"]
            lines += ["[music%04d]" % n, "file=p%d.wav" % n, "title=piece %d" % n, "fmt_channels=%d" % channels,
                      "fmt_samples=%d" % rate, "fmt_bits=%d" % bits, "wave_file=%s" % p["wave_file"],
                      "wave_start=0", "wave_size=%d" % p["wave_size"], "loop_start=%d" % p["loop_start"],
                      "loop_size=%d" % p["loop_size"], ""]
        mrl = os.path.join(self.work, "check.mrl")
        with open(mrl, "w", newline="\r\n") as f:
            f.write("\n".join(lines))
        out = self.cli.json(["check", mrl, "--bgm", os.path.join(self.work, "bgm"), "--json"])
        if "pieces" not in out:
            self.say("check failed: %s" % out)
            return
        for (p, truth, label), checked in zip(all_pieces, out["pieces"]):
            seam = [f for f in checked.get("findings", []) if f.get("code") == "loop-seam"]
            rate, fb = truth["rate"], truth["fb"]
            if not truth["moved"]:
                self.count("check-correct-%s-%s" % (truth["form"], truth["kind"]), not seam)
                self.say("check  %-56s %s (seam %s)" % (label, "FLAGGED" if seam else "not flagged",
                                                         checked.get("seam_measure")))
                continue
            s = seam[0].get("suggestion") if seam else None
            if not seam:
                verdict, strict, equiv = "not flagged", False, False
            elif not s:
                verdict, strict, equiv = "flagged, no suggestion", False, False
            else:
                start = s.get("loop_start_frame", s["loop_start"] // fb)
                length = s.get("loop_length_frames", s["loop_size"] // fb)
                ds, dl = ms(start - truth["start"], rate), ms(length - truth["len"], rate)
                strict = abs(ds) <= 1.0 and abs(dl) <= 1.0
                # Any loop of the true length starting where the data repeats at that lag is as seamless.
                equiv = abs(dl) <= 1.0 and truth["start"] - truth["tail"] - rate / 1000 <= start <= truth["last"] + \
                    rate / 1000
                bytes_ok = s["loop_start"] == start * fb and s["loop_size"] == length * fb
                verdict = "suggests start %+.2f ms, length %+.2f ms (shifts %s/%s ms)%s" % (
                    ds, dl, s.get("start_shift_ms"), s.get("end_shift_ms"), "" if bytes_ok else " BYTES DIFFER")
            self.count("check-moved-%s-%s" % (truth["form"], truth["kind"]), equiv)
            self.count("check-moved-exact-%s" % truth["kind"], strict)
            self.say("check  %-56s %s%s" % (label, verdict, " (the made loop)" if strict else (
                " (a seamless loop of the true length)" if equiv else " MISS")))

    # -- tracks that must not loop ---------------------------------------------------------------
    def negatives(self):
        folder = os.path.join(self.work, "negatives")
        rng = random.Random(self.args.seed + 7)
        made = []
        texts = [
            "The harbour was quiet that morning. A few boats rocked against the pier while gulls argued over "
            "scraps, and the old keeper counted the crates twice before he signed the paper. Nobody asked why "
            "the lamp had been lit all night, and he did not say.",
            "Press the left button to open the map. Each region shows the roads you have walked, the towns you "
            "have visited and the places still hidden. Travel costs time, and time changes the weather, so plan "
            "the route before the sun goes down.",
            "Numbers one to twenty, slowly: one, two, three, four, five, six, seven, eight, nine, ten, eleven, "
            "twelve, thirteen, fourteen, fifteen, sixteen, seventeen, eighteen, nineteen, twenty.",
        ]
        for k, text in enumerate(texts):
            fmt = FORMATS[(k * 3 + 1) % len(FORMATS)]
            raw = os.path.join(folder, "speech%d.raw.wav" % k)
            run(["espeak-ng", "-v", ["en", "en-us", "en-gb-x-rp"][k], "-s", str(140 + 20 * k), "-w", raw, text])
            path = os.path.join(folder, "speech%d.wav" % k)
            sox_to_wav([raw], path, fmt)
            made.append(("speech%d" % k, path, fmt))
        for k, colour in enumerate(("whitenoise", "pinknoise", "brownnoise")):
            fmt = FORMATS[(k * 3 + 2) % len(FORMATS)]
            path = os.path.join(folder, "%s.wav" % colour)
            sox_to_wav(["-n"], path, fmt, ["synth", "40", colour, "vol", "0.5"])
            made.append((colour, path, fmt))
        fades = [("fading-chord", ["synth", "30", "sine", "220", "sine", "277.2", "sine", "329.6", "tremolo", "5",
                                   "30", "fade", "t", "0", "30", "29.9", "vol", "0.3"]),
                 ("fading-plucks", ["synth", "25", "pluck", "A2", "pluck", "E3", "pluck", "C4", "fade", "t", "0.1",
                                    "25", "24", "vol", "0.5"])]
        for k, (name, effects) in enumerate(fades):
            fmt = FORMATS[(k * 5) % len(FORMATS)]
            path = os.path.join(folder, "%s.wav" % name)
            sox_to_wav(["-n"], path, fmt, effects)
            made.append((name, path, fmt))
        for k, name in enumerate(NEGATIVE_TRACKS):
            fmt = FORMATS[(k + 6) % len(FORMATS)]
            offset = rng.uniform(5.0, 30.0)
            data = pcm_of(self.track_path(name), fmt, 60.0, offset)
            path = os.path.join(folder, "once-%s.wav" % name)
            write_wav(path, data, fmt)
            made.append(("once-" + name, path, fmt))
        results = list(self.pool.map(lambda m: self.cli.find_loop(m[1]), made))
        for (name, path, fmt), r in zip(made, results):
            cands = r.get("candidates") or []
            confident = any(c.get("confidence", 0) >= 0.5 for c in cands)
            self.count("negative-not-found", not r.get("found"))
            self.count("negative-confident", confident)
            extra = ""
            repeats_itself = False
            if cands:
                c = cands[0]
                fmt_, data = read_wav(path)
                overlap = min(20.0, (len(data) // frame_bytes(fmt_) - c["loop_start_frame"] - c["loop_length_frames"])
                              / fmt_[0])
                db = residual_db(data, fmt_, c["loop_start_frame"], c["loop_length_frames"], overlap)
                # Below -40 dB the excerpt holds a copy of itself: a loop that is there, not a false find.
                repeats_itself = name.startswith("once-") and db <= -40
                extra = "; best start %.3f s length %.3f s conf %.2f; the data differs from itself at that lag " \
                        "by %.1f dB over %.1f s%s" % (c["loop_start_frame"] / fmt[0], c["loop_length_frames"] / fmt[0],
                                                     c.get("confidence", 0), db, overlap,
                                                     " (it repeats by itself)" if repeats_itself else "")
            if not repeats_itself:
                self.count("negative-not-found-clean", not r.get("found"))
                self.count("negative-confident-clean", confident)
            self.say("negative %-18s %-13s %s%s" % (name, fmtname(fmt), "FOUND " + str(r.get("case")) if r.get("found")
                                                    else "not found (%s)" % r.get("reason"), extra))

    # -- convert --loops 2 fed back ---------------------------------------------------------------
    def round_trip(self):
        folder = os.path.join(self.work, "roundtrip")
        out_dir = os.path.join(folder, "out")
        os.makedirs(out_dir, exist_ok=True)
        lines = ["[album]", "title=round trip", ""]
        truths = []
        rng = random.Random(self.args.seed + 11)
        for n, name in enumerate(ROUND_TRIP_TRACKS):
            fmt = FORMATS[(n * 2 + 1) % len(FORMATS)]
            rate, bits, channels = fmt
            fb = frame_bytes(fmt)
            intro, loop = round(rng.uniform(3, 15) * rate), round(rng.uniform(15, 40) * rate)
            data = pcm_of(self.track_path(name), fmt, (intro + loop) / rate + 1)[:(intro + loop) * fb]
            with open(os.path.join(folder, "%s.bgm" % name), "wb") as f:
                f.write(data)
            lines += ["[music%04d]" % n, "file=%s.wav" % name, "title=%s" % name, "fmt_channels=%d" % channels,
                      "fmt_samples=%d" % rate, "fmt_bits=%d" % bits, "wave_file=%s.bgm" % name, "wave_start=0",
                      "wave_size=%d" % len(data), "loop_start=%d" % (intro * fb), "loop_size=%d" % (loop * fb), ""]
            truths.append((name, fmt, intro, loop))
        mrl = os.path.join(folder, "roundtrip.mrl")
        with open(mrl, "w", newline="\r\n") as f:
            f.write("\n".join(lines))
        subprocess.run([self.args.cli, "convert", mrl, "--bgm", folder, "--out", out_dir, "--loops", "2", "--yes"],
                       capture_output=True, check=True)
        for name, fmt, intro, loop in truths:
            path = os.path.join(out_dir, name + ".wav")
            got_fmt, data = read_wav(path)  # Python's own reader: the file is what any player sees
            earliest = earliest_repeat(data, frame_bytes(got_fmt), loop, intro)
            # A second reader for the length: the file holds the introduction, two loops and the fade.
            probe = json.loads(run(["ffprobe", "-v", "error", "-select_streams", "a:0", "-count_packets", "-show_entries",
                                    "stream=duration_ts", "-of", "json", path]).stdout)["streams"][0]["duration_ts"]
            expected = intro + 2 * loop + min(10 * fmt[0], loop)
            if int(probe) != expected or len(data) // frame_bytes(got_fmt) != expected:
                self.say("round-trip %s: ffprobe reads %s frames, wave %d, expected %d" % (
                    name, probe, len(data) // frame_bytes(got_fmt), expected))
            r = self.cli.find_loop(path)
            cands = r.get("candidates") or []
            ok = bool(r.get("found") and cands and cands[0]["loop_start_frame"] == intro
                      and cands[0]["loop_length_frames"] == loop)
            self.count("round-trip", ok)
            got = ("%s start %+d fr, length %+d fr" % (r.get("case"), cands[0]["loop_start_frame"] - intro,
                                                       cands[0]["loop_length_frames"] - loop)
                   if cands else "not found (%s)" % r.get("reason"))
            note = "" if ok else self.near_note({"ok": False}, path, intro, loop, got_fmt)
            self.say("round-trip %-9s %-13s loop %d+%d frames (data repeats from %d): %s%s%s" % (
                name, fmtname(got_fmt), intro, loop, earliest, got, note, "" if ok else "  MISS"))

    # -- speed and memory --------------------------------------------------------------------------
    def speed(self):
        folder = os.path.join(self.work, "speed")
        fmt = (44100, 16, 2)
        plan = {"name": "speed", "intro": 20.0, "loop": 110.0, "times": 220.0 / 110.0}
        path, data, start, loop = make_repeat(self.track_path("title"), fmt, plan, folder, "4min")
        seconds = len(data) / frame_bytes(fmt) / fmt[0]
        # The slow side of the search: 4 minutes in which nothing repeats (two tracks one after the other).
        once = os.path.join(folder, "once-4min.wav")
        write_wav(once, pcm_of(self.track_path("lapin"), fmt, 120) + pcm_of(self.track_path("machine"), fmt, 120), fmt)
        rows = {"find-loop": [], "find-loop, no loop": [], "flac -5": []}
        for rep in range(3):
            for label, cmd in (("find-loop", [self.args.cli, "find-loop", path, "--json"]),
                               ("find-loop, no loop", [self.args.cli, "find-loop", once, "--json"]),
                               ("flac -5", ["flac", "-5", "-s", "-f", "-o", os.path.join(folder, "x.flac"), path])):
                t = subprocess.run(["/usr/bin/time", "-v"] + cmd, capture_output=True, text=True)
                wall = rss = None
                for line in t.stderr.splitlines():
                    if "Elapsed (wall clock)" in line:
                        parts = line.split()[-1].split(":")
                        wall = sum(float(x) * 60 ** k for k, x in enumerate(reversed(parts)))
                    if "Maximum resident set size" in line:
                        rss = int(line.split()[-1]) / 1024
                rows[label].append((wall, rss))
                if label == "find-loop" and rep == 0:
                    r = json.loads(t.stdout)["pieces"][0]
                    c = (r.get("candidates") or [{}])[0]
                    self.say("speed: find-loop on %.1f s found %s start %s (truth %d) length %s (truth %d)" % (
                        seconds, r.get("case"), c.get("loop_start_frame"), start, c.get("loop_length_frames"), loop))
        scale = 240.0 / seconds
        fl = statistics.median(w for w, _ in rows["find-loop"]) * scale
        fn = statistics.median(w for w, _ in rows["find-loop, no loop"])
        fc = statistics.median(w for w, _ in rows["flac -5"]) * scale
        rss = max(r for label in ("find-loop", "find-loop, no loop") for _, r in rows[label])
        mib = len(data) / 1048576
        for label, runs in rows.items():
            self.say("speed %-18s runs (s): %s; max RSS %.1f MiB" % (
                label, " ".join("%.2f" % w for w, _ in runs), max(r for _, r in runs)))
        self.speed_figures = (fl, fn, fc, rss, mib)

    # -- the whole run ---------------------------------------------------------------------------
    def main(self):
        names = sorted(f[:-4] for f in os.listdir(self.tracks) if f.endswith(".wav"))
        for sub in ("cases", "bgm", "negatives", "roundtrip", "speed"):
            os.makedirs(os.path.join(self.work, sub), exist_ok=True)
        if not self.finder:
            self.say("morlo-cli has no find-loop command: making the data and running check only")
        t0 = time.monotonic()
        for out in self.pool.map(lambda a: self.track_cases(*a), list(enumerate(names))):
            for key, j, line in out:
                if key.startswith("repeat"):
                    self.count(key + "-length", j["len_ok"])
                    self.count(key + "-start", j["start_ok"])
                    ok = j["len_ok"] and j["start_ok"]
                else:
                    self.count(key, j["ok"])
                    ok = j["ok"]
                self.say("%-15s %s%s" % (key, line, "" if ok else "  MISS"))
        pieces = [p for ps in self.pool.map(lambda a: self.check_pieces(*a), list(enumerate(names))) for p in ps]
        self.run_check(pieces)
        if self.finder:
            self.definition_form()
            self.negatives()
            self.round_trip()
            self.speed_figures = None
            if not self.args.no_speed:
                self.speed()
        self.summary(time.monotonic() - t0)

    def summary(self, elapsed):
        def pct(key):
            good, total = self.tally.get(key, (0, 0))
            return (100.0 * good / total if total else float("nan")), good, total

        rows = [
            ("repeat lossless: length exact to the frame", "repeat-lossless-length", ">= 95%", 95, True),
            ("repeat lossy: length within 1 ms", "repeat-lossy-length", ">= 95%", 95, True),
            ("repeat lossless: start within 20 ms", "repeat-lossless-start", ">= 90%", 90, True),
            ("repeat lossy: start within 20 ms", "repeat-lossy-start", ">= 90%", 90, True),
            ("one pass, --near off <= 2 s, lossless: within 1 ms", "pass-lossless", ">= 90%", 90, True),
            ("one pass, --near off <= 2 s, lossy: within 1 ms", "pass-lossy", ">= 90%", 90, True),
            ("repeat lossless, definition form: as the WAVE form, bytes agree", "definition-form", "-", None, True),
            ("one pass without --near (information)", "pass-no-near", "-", None, True),
            ("check, data runs on 1 s, moved 1-30 ms, lossless: a true loop +-1 ms", "check-moved-lossless-runs-on",
             ">= 90%", 90, True),
            ("check, data runs on 1 s, moved 1-30 ms, lossy: a true loop +-1 ms", "check-moved-lossy-runs-on",
             ">= 90%", 90, True),
            ("  the same, the suggestion is the made loop (I, L) +-1 ms (info)", "check-moved-exact-runs-on", "-",
             None, True),
            ("check, data runs on 1 s, correct loop lossless: not flagged", "check-correct-lossless-runs-on",
             ">= 95%", 95, True),
            ("check, data runs on 1 s, correct loop lossy: not flagged", "check-correct-lossy-runs-on", ">= 95%", 95,
             True),
            ("check, data ends 50 ms on, moved, lossless: a true loop +-1 ms", "check-moved-lossless-short", ">= 90%",
             90, True),
            ("check, data ends 50 ms on, moved, lossy: a true loop +-1 ms", "check-moved-lossy-short", ">= 90%", 90,
             True),
            ("  the same, the suggestion is the made loop (I, L) +-1 ms (info)", "check-moved-exact-short", "-",
             None, True),
            ("check, data ends 50 ms on, correct lossless: not flagged", "check-correct-lossless-short", ">= 95%", 95,
             True),
            ("check, data ends 50 ms on, correct lossy: not flagged", "check-correct-lossy-short", ">= 95%", 95, True),
            ("not looping: not found", "negative-not-found", ">= 90%", 90, True),
            ("not looping: a candidate with confidence >= 0.5", "negative-confident", "<= 5%", 5, False),
            ("  the same, less excerpts that repeat by themselves: not found", "negative-not-found-clean", ">= 90%", 90,
             True),
            ("  the same, less those: a candidate with confidence >= 0.5", "negative-confident-clean", "<= 5%", 5,
             False),
            ("convert --loops 2 fed back: loop exact", "round-trip", "100%", 100, True),
        ]
        self.say("")
        self.say("%-70s %-16s %-8s %s" % ("figure", "result", "target", ""))
        for label, key, target, goal, higher in rows:
            value, good, total = pct(key)
            if not total:
                continue
            met = "" if goal is None else ("met" if (value >= goal if higher else value <= goal) else "NOT MET")
            self.say("%-70s %5.1f%% (%d/%d) %-8s %s" % (label, value, good, total, target, met))
        if getattr(self, "speed_figures", None):
            fl, fn, fc, rss, mib = self.speed_figures
            self.say("%-70s %.2f s vs flac -5 %.2f s (%.2f x)" % ("speed per 4 min of 44.1 kHz stereo 16-bit", fl, fc,
                                                                 fl / fc))
            self.say("%-70s %.2f s vs flac -5 %.2f s (%.2f x)" % ("  the same, 4 min in which nothing repeats", fn, fc,
                                                                 fn / fc))
            self.say("%-70s %.1f MiB vs %.1f + 64 MiB  %s" % ("peak memory (max RSS) vs data + 64 MiB", rss, mib,
                                                             "met" if rss <= mib + 64 else "NOT MET"))
        calls = self.cli.seconds
        if calls:
            self.say("morlo-cli calls: %d, %.1f s in all, longest %.2f s; whole run %.0f s" % (
                len(calls), sum(calls), max(calls), elapsed))


def fmtname(fmt):
    return "%g kHz/%d/%s" % (fmt[0] / 1000, fmt[1], "st" if fmt[2] == 2 else "mono")


def main():
    build = os.environ.get("MORLO_BUILD", os.path.join(TOP, "build"))
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("cli_arg", nargs="?", metavar="MORLO_CLI")
    ap.add_argument("work_arg", nargs="?", metavar="FOLDER")
    ap.add_argument("--cli", default=os.path.join(build, "native", "src", "cli", "morlo-cli"))
    ap.add_argument("--work", default=os.path.join(build, "find-loop-bench"))
    ap.add_argument("--corpus", default=os.path.join(build, "find-loop-corpus"))
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--no-speed", action="store_true")
    args = ap.parse_args()
    args.cli = os.path.abspath(args.cli_arg or args.cli)
    args.work = os.path.abspath(args.work_arg or args.work)
    if not os.path.isdir(os.path.join(args.corpus, "tracks")) or len(os.listdir(os.path.join(args.corpus, "tracks"))) < 16:
        subprocess.run(["bash", os.path.join(TOP, "bench", "find_loop_corpus.sh"), args.corpus], check=True)
    marker = os.path.join(args.work, ".find-loop-bench")
    if os.path.isdir(args.work) and os.listdir(args.work):
        # Only a folder this script made is emptied: a mistyped path must not lose anyone's files.
        if not os.path.exists(marker):
            sys.exit("find_loop.py: %s is not empty and was not made by this script" % args.work)
        shutil.rmtree(args.work)
    os.makedirs(args.work, exist_ok=True)
    open(marker, "w").close()
    Bench(args).main()


if __name__ == "__main__":
    main()
