import itertools
import matplotlib.pyplot as plt
import vexlink

with vexlink.Tracker("COM3") as tracker:
    samples = [s for s in itertools.islice(tracker.stream(rate=75), 750) if s.verdict == "good"]
t0 = samples[0].time
for angle in ("pitch", "yaw", "roll"):
    plt.plot([s.time - t0 for s in samples], [getattr(s, angle) for s in samples], label=angle)
plt.xlabel("seconds"); plt.ylabel("degrees"); plt.legend(); plt.show()
