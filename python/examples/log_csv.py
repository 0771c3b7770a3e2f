import csv, itertools, sys
import vexlink

count = int(sys.argv[1]) if len(sys.argv) > 1 else 750  # 10 s at rate 75; Ctrl-C ends it sooner
with vexlink.Tracker("COM3") as tracker, open("samples.csv", "w", newline="") as out:
    writer = csv.writer(out)
    writer.writerow(["time", "pitch", "yaw", "roll", "verdict"])
    for s in itertools.islice(tracker.stream(rate=75), count):
        writer.writerow([f"{s.time:.6f}", s.pitch, s.yaw, s.roll, s.verdict])
print("wrote samples.csv")
