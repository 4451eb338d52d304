"""What the bench/*peers scripts share: the photo-like test picture and the
timing of Pillow calls and of ImageMagick runs."""
import json
import os
import subprocess
import time

import numpy as np
from PIL import Image

W, H = 4000, 3000
MAGICK = "/usr/bin/convert"
# Debian's policy caps ImageMagick's pixel memory at 256 MiB, which sends
# large results to a disk cache; the benchmarks lift the caps.
MAGICK_POLICY = """<policymap>
  <policy domain="resource" name="memory" value="8GiB"/>
  <policy domain="resource" name="map" value="8GiB"/>
  <policy domain="resource" name="area" value="1GP"/>
</policymap>
"""


def photo_like_array():
    """Smooth gradients, soft shapes and a little noise, as H x W x 3 bytes."""
    y, x = np.mgrid[0:H, 0:W].astype(np.float32)
    rng = np.random.default_rng(7)
    r = 128 + 100 * np.sin(x / 350.0) * np.cos(y / 420.0)
    g = 255 * y / H
    b = 128 + 90 * np.sin((x + y) / 500.0)
    noise = rng.normal(0, 6, (H, W, 3))
    return np.clip(np.dstack([r, g, b]) + noise, 0, 255).astype(np.uint8)


def photo_like():
    return Image.fromarray(photo_like_array(), "RGB")


def time_call(work, min_seconds=0.5, min_runs=2):
    """Milliseconds per call of work() over at least min_seconds, and its last result."""
    n, start, result = 0, time.perf_counter(), None
    while True:
        result = work()
        n += 1
        elapsed = time.perf_counter() - start
        if elapsed >= min_seconds and n >= min_runs:
            return elapsed * 1000 / n, result


def time_magick(src, extra, out, runs=3):
    """The time of `convert SRC EXTRA OUT` minus that of `convert SRC OUT`, best of `runs` each."""
    folder = os.path.dirname(out)
    with open(os.path.join(folder, "policy.xml"), "w") as policy:
        policy.write(MAGICK_POLICY)
    env = dict(os.environ, MAGICK_CONFIGURE_PATH=folder)

    def run(args):
        start = time.perf_counter()
        subprocess.run([MAGICK, src] + args + [out], check=True, env=env)
        return (time.perf_counter() - start) * 1000

    plain = min(run([]) for _ in range(runs))
    return max(min(run(extra) for _ in range(runs)) - plain, 0.01)


def bench_run(program, case, extra=()):
    """The JSON record of the Google Benchmark case BM_<case> of `program` (its counters included)."""
    out = subprocess.run([program, "--benchmark_filter=^BM_%s(/|$)" % case, "--benchmark_format=json",
                          "--benchmark_min_time=0.5"] + list(extra), check=True, capture_output=True, text=True).stdout
    run = json.loads(out)["benchmarks"][0]
    if run.get("error_occurred"):
        raise SystemExit("%s: %s" % (os.path.basename(program), run.get("error_message")))
    return run


def time_bench(program, case, extra=()):
    """Real milliseconds per iteration of the Google Benchmark case BM_<case> of `program`."""
    return bench_run(program, case, extra)["real_time"]
