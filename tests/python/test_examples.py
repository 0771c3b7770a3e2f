"""The README's Python examples, run as written against the simulated tracker, and the
module installed by cmake --install."""
import csv
import json
import os
import pathlib
import shlex
import subprocess
import sys

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]
BUILD = pathlib.Path(os.environ.get("VEXLINK_BUILD_DIR", ROOT / "build"))
EXAMPLES = ROOT / "python" / "examples"
README = (ROOT / "README.md").read_text()


def readme_command(example):
    """The README's command line that runs example, made to work from any folder."""
    lines = [l.strip() for l in README.splitlines() if l.strip().endswith(example)]
    assert len(lines) == 1, "the README shows how to run " + example
    line = lines[0].replace("build/", str(BUILD) + "/").replace("python/examples/", str(EXAMPLES) + "/")
    return shlex.split(line)


@pytest.mark.parametrize("example", ["log_csv.py", "plot_angles.py"])
def test_the_readme_shows_each_example_as_it_is(example):
    source = (EXAMPLES / example).read_text()
    indented = "".join("    " + l if l.strip() else l for l in source.splitlines(True))
    assert indented in README


def test_the_csv_example_logs_samples(tmp_path):
    command = readme_command("log_csv.py 150")
    run = subprocess.run(command, cwd=tmp_path, capture_output=True, text=True, timeout=60)
    assert run.returncode == 0, run.stderr
    assert "wrote samples.csv" in run.stdout
    with open(tmp_path / "samples.csv", newline="") as f:
        rows = list(csv.reader(f))
    assert rows[0] == ["time", "pitch", "yaw", "roll", "verdict"]
    samples = rows[1:]
    assert len(samples) == 150
    good = [r for r in samples if r[4] == "good"]
    assert len(good) > 100
    for time, pitch, yaw, roll, _ in good:
        assert -90 <= int(pitch) <= 269 and 0 <= int(yaw) <= 719 and -90 <= int(roll) <= 269
    times = [float(r[0]) for r in samples]
    assert times == sorted(times)


PYPLOT_STUB = '''
import json, os
calls = []
def _record(name):
    def call(*args, **kwargs):
        calls.append([name, [list(a) if not isinstance(a, str) else a for a in args], kwargs])
        if name == "show":
            with open(os.environ["PLOT_RECORD"], "w") as f:
                json.dump(calls, f)
    return call
plot, xlabel, ylabel, legend, show = (_record(n) for n in ("plot", "xlabel", "ylabel", "legend", "show"))
'''


def test_the_plot_example_plots_the_three_angles(tmp_path):
    # matplotlib is no dependency: a stand-in records what the example asks of it.
    stub = tmp_path / "stub" / "matplotlib"
    stub.mkdir(parents=True)
    (stub / "__init__.py").write_text("")
    (stub / "pyplot.py").write_text(PYPLOT_STUB)
    command = [a.replace("PYTHONPATH=", "PYTHONPATH=%s:" % stub.parent, 1) for a in readme_command("plot_angles.py")]
    record = tmp_path / "plot.json"
    run = subprocess.run(command, cwd=tmp_path, capture_output=True, text=True, timeout=90,
                         env=dict(os.environ, PLOT_RECORD=str(record)))
    assert run.returncode == 0, run.stderr
    calls = json.loads(record.read_text())
    plots = [c for c in calls if c[0] == "plot"]
    assert [p[2]["label"] for p in plots] == ["pitch", "yaw", "roll"]
    seconds, degrees = plots[1][1]
    assert seconds[0] == 0 and seconds == sorted(seconds) and 9 < seconds[-1] < 30
    assert len(degrees) > 500 and all(0 <= d <= 719 for d in degrees)
    assert calls[-1][0] == "show"


@pytest.mark.parametrize("prefix,destdir,folder", [
    ("/usr", True, "lib/python3/dist-packages"),
    ("/usr/local", True, "lib/python3.%d/dist-packages" % sys.version_info.minor),
    ("home", False, "lib/python3.%d/site-packages" % sys.version_info.minor),
])
def test_cmake_install_puts_the_module_where_the_interpreter_looks(tmp_path, prefix, destdir, folder):
    cmake = os.environ.get("VEXLINK_CMAKE", "cmake")
    env = dict(os.environ)
    env.pop("LD_LIBRARY_PATH", None)
    env.pop("PYTHONPATH", None)
    if destdir:
        env["DESTDIR"] = str(tmp_path)
        root = tmp_path / prefix.lstrip("/")
    else:
        prefix = str(tmp_path / prefix)
        root = pathlib.Path(prefix)
    for component in ("runtime", "python"):
        subprocess.run([cmake, "--install", str(BUILD), "--prefix", prefix, "--component", component],
                       env=env, check=True, capture_output=True, timeout=60)
    modules = list((root / folder).glob("vexlink*.so"))
    assert len(modules) == 1

    # The interpreter finds the module there, and the module the library beside it.
    env["PYTHONPATH"] = str(root / folder)
    probe = ("import vexlink; print(vexlink.__file__); "
             "print([l.split()[-1] for l in open('/proc/self/maps') if 'libvexlink' in l][0])")
    run = subprocess.run([sys.executable, "-c", probe], env=env, capture_output=True, text=True, timeout=30)
    assert run.returncode == 0, run.stderr
    module_file, library = run.stdout.split()
    assert pathlib.Path(module_file) == modules[0]
    assert pathlib.Path(library).is_relative_to(root)
