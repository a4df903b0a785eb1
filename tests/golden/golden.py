#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Golden files: the expected trace of every replay script and the expected
pixels of every gallery shot, kept in tests/golden/, and of every generated data file.

Traces are compared line by line; the first line that differs is named with
its first differing key. Shots are compared by a checksum of their pixels
(not of the PNG bytes, so a different compressor cannot make them differ).

  golden.py trace REPLAY DATA SCRIPT GOLDEN CHECK_TRACE
      play SCRIPT and compare its trace with GOLDEN; the trace must also
      keep the contract (CHECK_TRACE, which must run)
  golden.py data GOLDEN NAME=DIR[:GLOB,GLOB...] ...
      every file under each DIR (or those that match a GLOB), named
      NAME/relative path, against the
      checksums in GOLDEN: the same files, byte for byte
  golden.py self-test GOLDEN
      the comparison must catch a changed value, a missing line and an
      extra line in a copy of GOLDEN
  LEXOVO_UPDATE_GOLDEN=1 golden.py trace ...   writes GOLDEN anew instead
"""
import fnmatch, hashlib, json, os, struct, subprocess, sys, tempfile, zlib


def first_difference(expected, actual, path=''):
    """The dotted name of the first key whose value differs, or None."""
    if isinstance(expected, dict) and isinstance(actual, dict):
        keys = list(expected) + [k for k in actual if k not in expected]
        for k in keys:
            if k not in expected or k not in actual:
                return path + k
            d = first_difference(expected[k], actual[k], path + k + '.')
            if d:
                return d
        if list(expected) != list(actual):
            return path + '(key order)'
        return None
    if type(expected) != type(actual) or expected != actual:
        return path.rstrip('.') or '(whole line)'
    return None


def compare_lines(expected_lines, actual_lines):
    """'' when equal, else a sentence naming the first differing line and key."""
    for n, (e, a) in enumerate(zip(expected_lines, actual_lines), 1):
        if e == a:
            continue
        try:
            je, ja = json.loads(e), json.loads(a)
        except ValueError:
            return 'trace line %d differs (not JSON)' % n
        key = first_difference(je, ja)
        if key is None:  # same values, other spelling (a number written otherwise)
            return 'trace line %d differs in its text: expected %s, got %s' % (n, e[:120], a[:120])
        def value(j):
            for part in key.split('.'):
                if not isinstance(j, dict) or part not in j:
                    return '(absent)'
                j = j[part]
            return json.dumps(j, ensure_ascii=False)
        return ('trace line %d (script line %s, %s): first differing key %s: expected %s, got %s'
                % (n, je.get('line'), je.get('cmd'), key, value(je), value(ja)))
    if len(expected_lines) != len(actual_lines):
        return 'the trace has %d lines, the golden trace %d' % (len(actual_lines), len(expected_lines))
    return ''


def read_lines(path):
    with open(path, encoding='utf-8') as f:
        return f.read().splitlines()


def updating():
    return os.environ.get('LEXOVO_UPDATE_GOLDEN') == '1'


def png_pixels(path):
    """The RGB pixels of one of our shots (8-bit RGB, not interlaced)."""
    with open(path, 'rb') as f:
        data = f.read()
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        raise ValueError(path + ' is not a PNG file')
    pos, idat, w = 8, b'', 0
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b'IHDR':
            w, h, depth, colour, _, _, interlace = struct.unpack('>IIBBBBB', body)
            if (depth, colour, interlace) != (8, 2, 0):
                raise ValueError(path + ': not 8-bit RGB without interlace')
        elif kind == b'IDAT':
            idat += body
        pos += 12 + length
    raw, stride = zlib.decompress(idat), w * 3
    out, prev = bytearray(), bytearray(stride)
    for y in range(h):
        f = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 3] if i >= 3 else 0
            b = prev[i]
            c = prev[i - 3] if i >= 3 else 0
            if f == 1:
                line[i] = (line[i] + a) & 255
            elif f == 2:
                line[i] = (line[i] + b) & 255
            elif f == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        out += line
        prev = line
    return w, h, bytes(out)


def frame_checksum(path):
    w, h, px = png_pixels(path)
    return '%dx%d:%s' % (w, h, hashlib.sha256(px).hexdigest()[:32])


def compare_frames(golden_path, shots):
    """shots: [(png file name, caption, path)]. '' when every checksum agrees."""
    lines = ['%s %s %s' % (name, frame_checksum(path), caption) for name, caption, path in shots]
    if updating():
        with open(golden_path, 'w', encoding='utf-8') as f:
            f.write('\n'.join(lines) + '\n')
        return ''
    if not os.path.exists(golden_path):
        return 'no golden frames at %s (make them with LEXOVO_UPDATE_GOLDEN=1)' % golden_path
    expected = read_lines(golden_path)
    for e, a in zip(expected, lines):
        if e.split(' ', 2)[:2] != a.split(' ', 2)[:2]:
            return 'frame %s differs from the golden one (%s)' % (a.split(' ', 2)[0], a.split(' ', 2)[2])
    if len(expected) != len(lines):
        return '%d frames shot, %d golden ones' % (len(lines), len(expected))
    return ''


def check_contract(check, trace):
    if not (check and os.path.isfile(check) and os.access(check, os.X_OK)):
        return 'the trace contract checker cannot run: %r' % check
    c = subprocess.run([check, trace], capture_output=True, text=True)
    return '' if c.returncode == 0 else 'trace breaks the contract: ' + c.stdout + c.stderr


def trace_test(replay, data, script, golden, check):
    fd, trace = tempfile.mkstemp(suffix='.jsonl')
    os.close(fd)
    p = subprocess.run([replay, script, '--data', data, '--trace', trace], capture_output=True, text=True,
                       timeout=600)
    if p.returncode != 0:
        return 'replay exited %d: %s' % (p.returncode, p.stderr)
    fault = check_contract(check, trace)
    if fault:
        return fault
    actual = read_lines(trace)
    os.remove(trace)
    if updating():
        with open(golden, 'w', encoding='utf-8') as f:
            f.write('\n'.join(actual) + '\n')
        print('wrote', golden)
        return ''
    return compare_lines(read_lines(golden), actual)


def data_test(golden, roots):
    lines = []
    for root in roots:
        name, _, top = root.partition('=')
        top, _, globs = top.partition(':')
        if not os.path.isdir(top):
            return 'no folder %s' % top
        for folder, _, files in os.walk(top):
            for f in files:
                if globs and not any(fnmatch.fnmatch(f, g) for g in globs.split(',')):
                    continue
                path = os.path.join(folder, f)
                with open(path, 'rb') as fh:
                    digest = hashlib.sha256(fh.read()).hexdigest()
                lines.append('%s %s/%s' % (digest, name, os.path.relpath(path, top)))
    lines.sort(key=lambda l: l.split(' ', 1)[1])
    if updating():
        with open(golden, 'w', encoding='utf-8') as f:
            f.write('\n'.join(lines) + '\n')
        print('wrote', golden)
        return ''
    expected = {l.split(' ', 1)[1]: l.split(' ', 1)[0] for l in read_lines(golden)}
    actual = {l.split(' ', 1)[1]: l.split(' ', 1)[0] for l in lines}
    faults = ['%s is missing' % n for n in sorted(expected) if n not in actual]
    faults += ['%s is new' % n for n in sorted(actual) if n not in expected]
    faults += ['%s differs' % n for n in sorted(actual) if n in expected and expected[n] != actual[n]]
    return '; '.join(faults[:12]) + (' (and %d more)' % (len(faults) - 12) if len(faults) > 12 else '')


def self_test(golden):
    lines = read_lines(golden)
    mid = len(lines) // 2
    rec = json.loads(lines[mid])
    rec['counters']['walk_step'] += 1
    changed = list(lines)
    changed[mid] = json.dumps(rec, ensure_ascii=False, separators=(',', ':'))
    faults = []
    said = compare_lines(lines, changed)
    if 'trace line %d' % (mid + 1) not in said or 'counters.walk_step' not in said:
        faults.append('a changed counter was reported as %r' % said)
    if not compare_lines(lines, lines[:-1]):
        faults.append('a missing last line went unseen')
    if not compare_lines(lines, lines + [lines[-1]]):
        faults.append('an extra line went unseen')
    if compare_lines(lines, list(lines)):
        faults.append('equal traces were reported as different')
    return '; '.join(faults)


def main():
    if len(sys.argv) >= 2 and sys.argv[1] == 'trace' and len(sys.argv) == 7:
        fault = trace_test(*sys.argv[2:])
    elif len(sys.argv) >= 4 and sys.argv[1] == 'data':
        fault = data_test(sys.argv[2], sys.argv[3:])
    elif len(sys.argv) == 3 and sys.argv[1] == 'self-test':
        fault = self_test(sys.argv[2])
    else:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    if fault:
        print('FAIL:', fault)
        return 1
    print('golden: the same')
    return 0


if __name__ == '__main__':
    sys.exit(main())
